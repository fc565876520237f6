#include "platform/qt/pet_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/x11_window.h"

namespace glugmo {

// Not Qt::Tool: Qt makes tool windows transient for its hidden group leader,
// and KWin then keeps them on one desktop and minimises them with it. The
// utility type that Qt::Tool would give is set on the native window instead.
Qt::WindowFlags floatingWindowFlags() {
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
    // A window manager that cannot keep the pet above (i3, sway's XWayland)
    // also floats it where it likes, offsets it by a frame it does not draw,
    // keeps it on one workspace and focuses it; unmanaged, the pet is placed
    // exactly, on every workspace, never focused, and raises itself.
    if (x11::available() && !x11::windowManagerKeepsAbove()) flags |= Qt::BypassWindowManagerHint;
    return flags;
}

bool isUnmanaged(const QWidget& window) {
    return window.windowFlags().testFlag(Qt::BypassWindowManagerHint);
}

void makeFloating(QWidget& window) {
    window.setAttribute(Qt::WA_TranslucentBackground);
    window.setAttribute(Qt::WA_ShowWithoutActivating);
}

PetWidget::PetWidget(Events& events) : QWidget(nullptr, floatingWindowFlags()), events_(events) {
    makeFloating(*this);
    setWindowTitle(QStringLiteral("咕噜宝"));
}

void PetWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    events_.paint(painter);
}

void PetWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        events_.leftPressed(event->position(), event->globalPosition(), 1);
    } else if (event->button() == Qt::RightButton) {
        events_.rightPressed(event->position());
    }
}

// Qt sends the second press of a double click as this event alone.
void PetWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        events_.leftPressed(event->position(), event->globalPosition(), 2);
    } else if (event->button() == Qt::RightButton) {
        events_.rightPressed(event->position());
    }
}

void PetWidget::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) events_.pointerMoved(event->globalPosition());
}

void PetWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) events_.leftReleased();
}

void PetWidget::moveEvent(QMoveEvent*) { events_.windowMoved(); }

void PetWidget::resizeEvent(QResizeEvent*) { events_.windowResized(); }

void PetWidget::showEvent(QShowEvent*) { events_.visibilityChanged(); }

void PetWidget::hideEvent(QHideEvent*) { events_.visibilityChanged(); }

}  // namespace glugmo
