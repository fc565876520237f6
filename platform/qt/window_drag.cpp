#include "platform/qt/window_drag.h"

#include <QLineF>
#include <QWindow>

#include "platform/qt/floating_window.h"
#include "platform/qt/x11_window.h"

namespace glugmo {

namespace {
// The pointer must travel this far (points) before a press becomes a drag.
constexpr double kDragDistance = 6.0;
// The window manager's final position normally arrives well within this.
constexpr int kSettleMs = 250;
constexpr int kButtonWatchMs = 100;
}  // namespace

WindowDrag::WindowDrag(QWidget& window, std::function<void()> pressEnded)
    : window_(window), pressEnded_(std::move(pressEnded)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    QObject::connect(&settle_, &QTimer::timeout, [this] { finish(); });
    buttonWatch_.setInterval(kButtonWatchMs);
    QObject::connect(&buttonWatch_, &QTimer::timeout, [this] {
        if (x11::leftButtonHeld() == false) released();
    });
}

void WindowDrag::pressed(QPointF globalPosition) {
    // A press that comes before the last drag settled ends that drag first.
    if (state_ == State::Settling) finish();
    state_ = State::Pressed;
    allowed_ = false;
    pressGlobal_ = globalPosition;
    pressWindowPosition_ = window_.pos();
}

void WindowDrag::allow() {
    if (state_ == State::Pressed) allowed_ = true;
}

void WindowDrag::pointerMoved(QPointF globalPosition) {
    if (state_ == State::Pressed && allowed_ &&
        QLineF(pressGlobal_, globalPosition).length() >= kDragDistance) {
        QWindow* handle = window_.windowHandle();
        state_ = handle && !isUnmanaged(window_) && handle->startSystemMove()
                     ? State::MovedByManager
                     : State::MovingOurselves;
        if (state_ == State::MovedByManager) buttonWatch_.start();
    }
    if (state_ == State::MovingOurselves) {
        window_.move(pressWindowPosition_ + (globalPosition - pressGlobal_).toPoint());
    }
}

void WindowDrag::released() {
    switch (state_) {
        case State::Pressed:
        case State::MovingOurselves:
            finish();
            break;
        case State::MovedByManager:
            buttonWatch_.stop();
            state_ = State::Settling;
            settle_.start();
            break;
        case State::Idle:
        case State::Settling:
            break;
    }
}

void WindowDrag::windowMoved() {
    if (state_ == State::Settling) finish();
}

void WindowDrag::finish() {
    settle_.stop();
    buttonWatch_.stop();
    state_ = State::Idle;
    allowed_ = false;
    pressEnded_();
}

}  // namespace glugmo
