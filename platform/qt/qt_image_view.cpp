#include "platform/qt/qt_image_view.h"

#include <cmath>

#include "platform/qt/coordinates.h"
#include "platform/qt/monotonic_time.h"
#include "platform/qt/png_bytes.h"
#include "platform/qt/resident_pages.h"

namespace glugmo {

namespace {
// How far ahead a rotation is searched for its next step, and how finely.
// Beyond the horizon the view simply looks again; the rocking rests longer
// than a quarter second where it turns back, so a second's horizon spares
// those wake-ups.
constexpr StepSearch kStepSearch{.horizon = 1.0, .stride = 0.016, .resolution = 0.001};

// How far ahead the canvas is given its cues: the view itself wakes up once
// in that time (about 25 steps of the rocking) to work out the next ones.
constexpr double kCuesAhead = 3.0;
constexpr std::size_t kMostCues = 64;

}  // namespace

QtImageView::QtImageView(QWidget& window, std::function<void()> frameChanged)
    : window_(window), frameChanged_(std::move(frameChanged)), layer_(monotonicSeconds, [this] {
          layoutPicture();
          refresh();
      }) {
    tick_.setSingleShot(true);
    tick_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick_, &QTimer::timeout, [this] { refresh(); });
}

void QtImageView::setImage(std::shared_ptr<const Image> image) {
    const bool wasAnimated = image_ && image_->isAnimated();
    image_ = std::dynamic_pointer_cast<const QtImage>(image);
    frameDelays_ = image_ ? image_->delaysMs() : std::vector<int>{};
    imageStart_ = monotonicSeconds();
    picture_.setImage(image_);
    ++revision_;
    refresh();
    // A play leaves its decoded frames' memory free but still held by the
    // allocator; the pet may stay idle for hours after it.
    if (wasAnimated) releaseFreedMemory();
}

bool QtImageView::hasImage() const { return image_ != nullptr; }

void QtImageView::setFrame(Rect frame) {
    frame_ = frame;
    // Like a layer-backed view, the layer follows the view's bounds.
    layer_.setFrame(Rect{{0, 0}, frame.size});
    frameChanged_();
}

Rect QtImageView::frame() const { return frame_; }

Layer* QtImageView::layer() { return &layer_; }

void QtImageView::setMouseHandler(MouseHandler* handler) { handler_ = handler; }

QRectF QtImageView::rectInWindow() const {
    const Rect inWindow{
        {contentFrame_.origin.x + frame_.origin.x, contentFrame_.origin.y + frame_.origin.y},
        frame_.size};
    return toQtLocal(inWindow, window_.height());
}

QPoint QtImageView::globalPosition(Point inView) const {
    const QPointF inWindow = rectInWindow().topLeft() + toQtLocal(inView, frame_.size.height);
    return window_.mapToGlobal(inWindow).toPoint();
}

void QtImageView::setContentFrame(Rect frame) {
    contentFrame_ = frame;
    layoutPicture();
    refresh();
    frameChanged_();
}

void QtImageView::windowChanged() {
    layoutPicture();
    refresh();
}

void QtImageView::holdCues() {
    if (canvas_) canvas_->play({});
}

void QtImageView::setMasksToOpaquePixels(bool masks) {
    if (masks == masks_) return;
    masks_ = masks;
    if (WindowCanvas* canvas = this->canvas()) {
        canvas->setShaped(masks_);
        target_ = {};  // shown again, with its shape
        refresh();
        return;
    }
    if (masks_) {
        applyMask();
    } else {
        window_.clearMask();
    }
}

void QtImageView::layoutPicture() {
    const QRectF view = rectInWindow();
    const QRectF layer = toQtLocal(layer_.frame(), frame_.size.height).translated(view.topLeft());
    const Point anchor = layer_.anchorPoint();
    const QPointF pivot(layer.left() + anchor.x * layer.width(),
                        layer.bottom() - anchor.y * layer.height());
    if (picture_.setGeometry(layer, pivot, window_.devicePixelRatioF())) {
        ++revision_;
        ++layoutRevision_;
    }
}

FramePosition QtImageView::framePosition(double time) const {
    if (!image_) return {};
    const auto elapsedMs = static_cast<std::int64_t>((time - imageStart_) * 1000.0);
    return framePositionAt(frameDelays_, image_->loopCount(), elapsedMs);
}

WindowCanvas::Key QtImageView::keyAt(double time) const {
    return {pictureKey(), framePosition(time).index, picture_.steps().indexOf(layer_.rotationAt(time))};
}

QtImageView::Shown QtImageView::shownAt(double time) {
    const WindowCanvas::Key key = keyAt(time);
    Shown shown;
    shown.revision = revision_;
    shown.frame = key.frame;
    shown.step = key.step;
    shown.bounds = picture_.logicalBounds(shown.frame, shown.step);
    return shown;
}

void QtImageView::refresh() {
    if (!window_.isVisible()) {
        // Nothing runs while hidden; the animations keep their time and
        // resume in phase when the window comes back.
        tick_.stop();
        if (canvas_) canvas_->play({});
        return;
    }
    const double time = monotonicSeconds();
    const Shown next = shownAt(time);
    if (WindowCanvas* canvas = this->canvas()) {
        // The cues given before may have moved the canvas on since.
        const bool stale = !(next == target_) || canvas->shown() != keyOf(next);
        target_ = next;
        if (stale) showOnCanvas(*canvas);
    } else if (!(next == target_)) {
        const QRect previous = target_.bounds;
        target_ = next;
        window_.update(QRegion(previous).united(next.bounds));
        if (masks_) applyMask();
    }
    scheduleNextChange(time);
}

WindowCanvas* QtImageView::canvas() {
    if (!canvasTried_ && window_.testAttribute(Qt::WA_WState_Created)) {
        canvasTried_ = true;
        canvas_ = createWindowCanvas(window_);
    }
    return canvas_.get();
}

void QtImageView::showOnCanvas(WindowCanvas& canvas) {
    if (canvasLayout_ != layoutRevision_) {
        // Another size or scale: the old pictures will not come back.
        canvas.forget();
        canvasLayout_ = layoutRevision_;
    }
    if (picture_.isEmpty()) {
        canvas.clear();
        return;
    }
    const WindowCanvas::Key key = keyOf(target_);
    if (!canvas.has(key)) {
        QPoint topLeft;
        const QImage image = picture_.render(key.frame, key.step, topLeft);
        canvas.keep(key, image, topLeft);
        picture_.releaseAnimationFrame(key.frame);
    }
    canvas.show(key);
}

WindowCanvas::Key QtImageView::keyOf(const Shown& shown) const {
    return {pictureKey(), shown.frame, shown.step};
}

std::uint64_t QtImageView::pictureKey() const {
    // A picture of unknown origin is never taken for another: its key is
    // this showing's, with the top bit set, which no file's identity has.
    constexpr std::uint64_t kUnknown = std::uint64_t{1} << 63;
    const std::uint64_t identity = image_ ? image_->identity() : 0;
    return identity != 0 ? identity & ~kUnknown : kUnknown | revision_;
}

double QtImageView::nextChangeAfter(double time, int step) const {
    double next = INFINITY;
    if (const auto msUntilNextFrame = framePosition(time).msUntilNext) {
        next = time + *msUntilNextFrame / 1000.0;
    }
    if (layer_.isAnimatingAt(time)) {
        const auto angleAt = [this](double t) { return layer_.rotationAt(t); };
        next = std::min(next, nextStepChange(angleAt, picture_.steps(), step, time, kStepSearch));
    }
    return next;
}

void QtImageView::scheduleNextChange(double time) {
    // What the canvas already keeps it shows by itself, ahead of time; the
    // view wakes for the first change it must draw, or once the cues run out.
    WindowCanvas* canvas = picture_.isEmpty() ? nullptr : this->canvas();
    std::vector<Cue> cues;
    double wake = nextChangeAfter(time, target_.step);
    for (WindowCanvas::Key at = keyOf(target_); canvas && !std::isinf(wake) &&
                                                wake <= time + kCuesAhead && cues.size() < kMostCues;) {
        const WindowCanvas::Key next = keyAt(wake);
        if (next != at) {
            if (!canvas->has(next)) break;
            cues.push_back({wake, next});
            at = next;
        }
        // A change is always later than the moment it is looked for from.
        wake = std::max(nextChangeAfter(wake, at.step), wake + kStepSearch.resolution);
    }
    if (canvas) canvas->play(std::move(cues));
    if (std::isinf(wake)) {
        tick_.stop();
        return;
    }
    tick_.start(std::max(1, static_cast<int>(std::ceil((wake - time) * 1000.0))));
}

void QtImageView::applyMask() {
    const QRegion opaque = picture_.opaqueRegion(target_.frame, target_.step);
    // An empty region would mean "no mask" to Qt and show the whole black
    // window; one pixel outside it shows nothing.
    window_.setMask(opaque.isEmpty() ? QRegion(-1, -1, 1, 1) : opaque);
}

void QtImageView::paint(QPainter& painter) {
    // The picture may have changed while the window was hidden, when nothing refreshes.
    if (target_.revision != revision_) target_ = shownAt(monotonicSeconds());
    picture_.draw(painter, target_.frame, target_.step);
}

std::optional<std::string> QtImageView::renderPng(Rect area) {
    const QRectF inWindow =
        toQtLocal(area, frame_.size.height).translated(rectInWindow().topLeft());
    const qreal dpr = window_.devicePixelRatioF();
    QImage image(qCeil(inWindow.width() * dpr), qCeil(inWindow.height() * dpr),
                 QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return std::nullopt;
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(-inWindow.topLeft());
    if (!picture_.isEmpty()) {
        // Rendered afresh: on the canvas the renders are kept in the server.
        const Shown now = shownAt(monotonicSeconds());
        QPoint topLeft;
        const QImage picture = picture_.render(now.frame, now.step, topLeft);
        painter.drawImage(QPointF(topLeft) / dpr, picture);
    }
    painter.end();
    return pngBytes(image);
}

}  // namespace glugmo
