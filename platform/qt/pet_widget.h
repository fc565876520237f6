#pragma once

#include <QWidget>

namespace glugmo {

// The pet window's native window. It only passes its events on; the
// pet window decides what they mean.
class PetWidget final : public QWidget {
public:
    class Events {
    public:
        virtual ~Events() = default;
        virtual void paint(QPainter& painter) = 0;
        virtual void leftPressed(QPointF local, QPointF global, int clickCount) = 0;
        virtual void rightPressed(QPointF local) = 0;
        virtual void pointerMoved(QPointF global) = 0;
        virtual void leftReleased() = 0;
        virtual void windowMoved() = 0;
        virtual void windowResized() = 0;
        virtual void visibilityChanged() = 0;
    };

    explicit PetWidget(Events& events);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Events& events_;
};

}  // namespace glugmo
