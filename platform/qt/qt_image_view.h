#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

#include "platform/qt/frame_timeline.h"
#include "platform/qt/pet_picture.h"
#include "platform/qt/qt_layer.h"
#include "platform/qt/window_canvas.h"
#include "platform/windows.h"

namespace glugmo {

// The pet's image view. It is not a widget of its own: it shows its
// pictures on the pet window through the window server's canvas, or where
// there is none, draws into the window, which passes it the paint events.
// It wakes up only when what it shows is due to change (the next animation
// frame, the next rotation step) and only while the window is visible.
class QtImageView final : public ImageView {
public:
    // `frameChanged` runs when the view's rectangle in the window changes.
    QtImageView(QWidget& window, std::function<void()> frameChanged);

    void setImage(std::shared_ptr<const Image> image) override;
    bool hasImage() const override;
    void setFrame(Rect frame) override;
    Rect frame() const override;
    Layer* layer() override;
    void setMouseHandler(MouseHandler* handler) override;
    std::optional<std::string> renderPng(Rect area) override;

    MouseHandler* mouseHandler() const { return handler_; }
    // The view's rectangle in the window, logical pixels, top-left origin.
    QRectF rectInWindow() const;
    // A point in the view's own coordinates on the screen, Qt's way.
    QPoint globalPosition(Point inView) const;
    void setContentFrame(Rect frame);
    // The window was resized, shown, hidden or moved to another screen.
    void windowChanged();
    // Stops what the canvas shows by itself until the next change: for a
    // change to the native window that must come between two steps.
    void holdCues();
    // Without a compositor the window shows only its opaque pixels.
    void setMasksToOpaquePixels(bool masks);
    void paint(QPainter& painter);

private:
    struct Shown {
        std::uint64_t revision = 0;
        std::size_t frame = 0;
        int step = 0;
        QRect bounds;
        bool operator==(const Shown&) const = default;
    };

    Shown shownAt(double time);
    // What is shown at `time`, working nothing out but which frame and step.
    WindowCanvas::Key keyAt(double time) const;
    FramePosition framePosition(double time) const;
    void layoutPicture();
    void refresh();
    // The first moment after `time` at which something may change from
    // `step`: a frame's end or another rotation step.
    double nextChangeAfter(double time, int step) const;
    void scheduleNextChange(double time);
    void applyMask();
    // The window server's canvas, once the native window exists; none
    // where the widget paints.
    WindowCanvas* canvas();
    void showOnCanvas(WindowCanvas& canvas);
    // The picture shown, as the canvas knows it.
    std::uint64_t pictureKey() const;
    WindowCanvas::Key keyOf(const Shown& shown) const;

    QWidget& window_;
    std::function<void()> frameChanged_;
    QtLayer layer_;
    PetPicture picture_;
    std::shared_ptr<const QtImage> image_;
    std::vector<int> frameDelays_;
    double imageStart_ = 0;
    Rect frame_;
    Rect contentFrame_;
    MouseHandler* handler_ = nullptr;
    QTimer tick_;
    std::uint64_t revision_ = 1;
    Shown target_;
    bool masks_ = false;
    std::unique_ptr<WindowCanvas> canvas_;
    bool canvasTried_ = false;
    std::uint64_t layoutRevision_ = 1;  // the size, place and scale of the picture
    std::uint64_t canvasLayout_ = 0;
};

}  // namespace glugmo
