#pragma once

#include <QPointF>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace glugmo {

// Moves the window with a left press once the pointer has travelled far
// enough, and reports the end of the press. The move is the window
// manager's (it then also snaps and constrains), or, without one, our own.
//
// The window manager's move starts only once the pointer has moved: started
// on the press itself, a quick click would leave the manager in move mode
// and swallow the next click. When its move ends, the release arrives before
// the new position does, so the end of the press is reported once the
// window has moved (or shortly after, if it did not). A manager that keeps
// the release to itself is caught by watching the button during its move.
class WindowDrag {
public:
    WindowDrag(QWidget& window, std::function<void()> pressEnded);

    void pressed(QPointF globalPosition);
    // Lets the current press move the window.
    void allow();
    void pointerMoved(QPointF globalPosition);
    void released();
    void windowMoved();

private:
    enum class State { Idle, Pressed, MovingOurselves, MovedByManager, Settling };
    void finish();

    QWidget& window_;
    std::function<void()> pressEnded_;
    State state_ = State::Idle;
    bool allowed_ = false;
    QPointF pressGlobal_;
    QPoint pressWindowPosition_;
    QTimer settle_;
    QTimer buttonWatch_;
};

}  // namespace glugmo
