#include "platform/qt/qt_pet_window.h"

#include <QScreen>
#include <QWindow>

#include "platform/qt/coordinates.h"
#include "platform/qt/floating_window.h"
#include "platform/qt/resident_pages.h"
#include "platform/qt/x11_window.h"

namespace glugmo {

QtPetWindow::QtPetWindow(Rect frame, bool ignoresMouseEvents)
    : widget_(*this), view_(widget_, [this] { applyInputShape(); }), drag_(widget_, [this] {
          if (MouseHandler* handler = view_.mouseHandler()) handler->mouseUp();
      }) {
    setFrame(frame);
    // The native window exists from here on, for its input shape and flags.
    widget_.winId();
    setIgnoresMouseEvents(ignoresMouseEvents);
    // A reparenting window manager copies the input shape to its frame only
    // when the shape changes after it manages the window: set it again then.
    reparentWatch_ = std::make_unique<WindowEventWatch>(widget_, WindowEventWatch::Change::Reparented,
                                                        [this](std::uint32_t) { applyInputShape(); });
    attentionGuard_ = std::make_unique<WindowEventWatch>(
        widget_, WindowEventWatch::Change::PropertyChanged,
        [this](std::uint32_t property) { x11::dropAttention(widget_, property); });
    compositorWatch_ = std::make_unique<CompositorWatch>(
        widget_, [this](bool composited) { view_.setMasksToOpaquePixels(!composited); });
    QObject::connect(widget_.windowHandle(), &QWindow::screenChanged, [this] { windowResized(); });
}

QtPetWindow::~QtPetWindow() {
    attentionGuard_.reset();
    stackingWatch_.reset();
    compositorWatch_.reset();
    reparentWatch_.reset();
    // Hidden now, while the view still exists to hear about it.
    widget_.hide();
}

Rect QtPetWindow::frame() const {
    if (widget_.geometry() == appliedGeometry_) return requestedFrame_;
    return fromQtScreen(QRectF(widget_.geometry()), primaryScreenGeometry());
}

void QtPetWindow::setFrame(Rect frame) {
    requestedFrame_ = frame;
    appliedGeometry_ = toWholePixels(toQtScreen(frame, primaryScreenGeometry()));
    widget_.setGeometry(appliedGeometry_);
    windowResized();
}

void QtPetWindow::setContentFrame(Rect frame) { view_.setContentFrame(frame); }

bool QtPetWindow::isVisible() const { return widget_.isVisible(); }

void QtPetWindow::orderOut() {
    widget_.hide();
    releaseAfterHiding();
}

void QtPetWindow::orderFrontRegardless() {
    const bool mapping = !widget_.isVisible();
    if (mapping) {
        // Mapped where the frame says, whatever the window manager made of
        // the last show: one that offsets a window by a frame it does not
        // draw would otherwise move the pet further at every show.
        setFrame(frame());
    }
    showFloating(widget_);
    if (isUnmanaged(widget_) && !stackingWatch_) stackingWatch_ = std::make_unique<StackingWatch>(widget_, false);
    // Only now: showing delivers the move that setFrame made.
    if (mapping) placing_ = true;
}

void QtPetWindow::setIgnoresMouseEvents(bool ignores) {
    ignoresMouseEvents_ = ignores;
    // Live on the native window: QWidget::setWindowFlag would recreate and
    // remap it, and the window manager would forget that it stays on top.
    if (QWindow* handle = widget_.windowHandle()) {
        // The flag changes the events the window asks for, which a step
        // without a compositor puts back as it found them.
        view_.holdCues();
        handle->setFlag(Qt::WindowTransparentForInput, ignores);
        x11::restoreWindowType(widget_);
        view_.windowChanged();
    }
    // Turning the flag off gives the whole window back its input.
    applyInputShape();
}

bool QtPetWindow::ignoresMouseEvents() const { return ignoresMouseEvents_; }

ImageView& QtPetWindow::imageView() { return view_; }

void QtPetWindow::performWindowDrag() { drag_.allow(); }

void QtPetWindow::paint(QPainter& painter) { view_.paint(painter); }

bool QtPetWindow::hitsImageView(QPointF local) const {
    // The input shape already keeps the margins out; this is for platforms
    // without one.
    return view_.rectInWindow().contains(local);
}

void QtPetWindow::leftPressed(QPointF local, QPointF global, int clickCount) {
    if (!hitsImageView(local)) return;
    placing_ = false;
    drag_.pressed(global);
    if (MouseHandler* handler = view_.mouseHandler()) handler->mouseDown(clickCount);
}

void QtPetWindow::rightPressed(QPointF local) {
    if (!hitsImageView(local)) return;
    if (MouseHandler* handler = view_.mouseHandler()) handler->rightMouseDown();
}

void QtPetWindow::pointerMoved(QPointF global) { drag_.pointerMoved(global); }

void QtPetWindow::leftReleased() { drag_.released(); }

void QtPetWindow::windowMoved() {
    drag_.windowMoved();
    // The window manager's own placement of a window just shown is taken
    // back once; later moves of its own (struts, snapping) stand.
    if (!placing_) return;
    placing_ = false;
    if (widget_.geometry() != appliedGeometry_) widget_.setGeometry(appliedGeometry_);
}

void QtPetWindow::windowResized() {
    view_.windowChanged();
    applyInputShape();
}

void QtPetWindow::visibilityChanged() { view_.windowChanged(); }

void QtPetWindow::applyInputShape() {
    if (!widget_.testAttribute(Qt::WA_WState_Created)) return;
    // In ghost mode Qt empties the shape itself, but a window manager that
    // manages the window afresh (after a hide) only learns of a shape set
    // after that, so it is set here too.
    if (ignoresMouseEvents_) {
        x11::setInputShape(widget_, QRect());
        return;
    }
    const qreal dpr = widget_.devicePixelRatioF();
    const QRectF view = view_.rectInWindow();
    x11::setInputShape(widget_, QRectF(view.topLeft() * dpr, view.size() * dpr).toAlignedRect());
}

}  // namespace glugmo
