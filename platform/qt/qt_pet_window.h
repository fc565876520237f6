#pragma once

#include <memory>

#include "platform/qt/compositor_watch.h"
#include "platform/qt/pet_widget.h"
#include "platform/qt/qt_image_view.h"
#include "platform/qt/stacking_watch.h"
#include "platform/qt/window_drag.h"
#include "platform/qt/window_event_watch.h"
#include "platform/windows.h"

namespace glugmo {

// The pet's floating window. Its frame is kept as the behaviour set it, in
// fractional points, while X11 places the window on whole pixels; only a
// move by a drag or by the window manager replaces it with where the window
// really is.
class QtPetWindow final : public PetWindow, private PetWidget::Events {
public:
    QtPetWindow(Rect frame, bool ignoresMouseEvents);
    ~QtPetWindow() override;

    Rect frame() const override;
    void setFrame(Rect frame) override;
    void setContentFrame(Rect frame) override;
    bool isVisible() const override;
    void orderOut() override;
    void orderFrontRegardless() override;
    void setIgnoresMouseEvents(bool ignores) override;
    bool ignoresMouseEvents() const override;
    ImageView& imageView() override;
    void performWindowDrag() override;

    QtImageView& qtImageView() { return view_; }
    QWidget& widget() { return widget_; }

private:
    void paint(QPainter& painter) override;
    void leftPressed(QPointF local, QPointF global, int clickCount) override;
    void rightPressed(QPointF local) override;
    void pointerMoved(QPointF global) override;
    void leftReleased() override;
    void windowMoved() override;
    void windowResized() override;
    void visibilityChanged() override;

    bool hitsImageView(QPointF local) const;
    void applyInputShape();

    PetWidget widget_;
    QtImageView view_;
    WindowDrag drag_;
    std::unique_ptr<WindowEventWatch> reparentWatch_;
    std::unique_ptr<CompositorWatch> compositorWatch_;
    std::unique_ptr<StackingWatch> stackingWatch_;
    std::unique_ptr<WindowEventWatch> attentionGuard_;
    Rect requestedFrame_;
    QRect appliedGeometry_;
    bool ignoresMouseEvents_ = false;
    // From a show until the window manager's first move of the window.
    bool placing_ = false;
};

}  // namespace glugmo
