#include "platform/qt/pet_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/floating_window.h"

namespace glugmo {

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
