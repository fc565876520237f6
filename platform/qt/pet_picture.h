#pragma once

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/qt/qt_image.h"
#include "platform/qt/rotation_steps.h"

namespace glugmo {

// The pet's picture as drawn: a frame of the image, scaled proportionally and
// centred into the layer's rectangle, rotated about the pivot by a whole
// number of rotation steps. Scaling and rotating are done once per frame,
// size, device pixel ratio and step and kept, so a repaint is a plain copy
// of pixels. Only the part of a frame that shows counts: its transparent
// margins are neither repainted nor turned, and a still picture's rotation
// steps are measured from its farthest visible pixel.
class PetPicture {
public:
    void setImage(std::shared_ptr<const QtImage> image);
    // In the window's logical pixels (top-left origin). True when what is
    // drawn changes.
    bool setGeometry(const QRectF& layerRect, const QPointF& pivot, qreal devicePixelRatio);

    bool isEmpty() const;
    std::size_t frameCount() const;
    const RotationSteps& steps() const { return steps_; }

    // Where the visible pixels land, in the window's device pixels; scales
    // the frame but draws nothing.
    QRect deviceBounds(std::size_t frame, int step);
    // The same, in logical pixels, rounded outward.
    QRect logicalBounds(std::size_t frame, int step);
    // Draws from renders kept for the next time.
    void draw(QPainter& painter, std::size_t frame, int step);
    // The frame turned by the step, kept nowhere; `deviceTopLeft` receives
    // where it goes in the window.
    QImage render(std::size_t frame, int step, QPoint& deviceTopLeft);
    // Lets go of an animation's scaled frame once it is kept elsewhere (the
    // window server); it is scaled again should it be drawn afresh.
    void releaseAnimationFrame(std::size_t frame);
    // Its opaque pixels, in logical pixels.
    QRegion opaqueRegion(std::size_t frame, int step);

private:
    struct Rendered {
        QImage image;
        QPoint deviceTopLeft;
        std::optional<QRegion> opaque;
        std::uint64_t lastUse = 0;
    };
    struct Scaled {
        QImage image;                 // the whole fitted rectangle
        std::optional<QRect> opaque;  // its visible part, in its own pixels
    };
    using Key = std::pair<std::size_t, int>;
    // What is measured of a picture at this geometry, kept past the picture
    // itself: the next load of the same file finds its bounds and steps
    // without decoding a frame.
    struct Measured {
        std::vector<std::optional<QRect>> opaque;  // each frame's visible part
        std::optional<double> farthest;            // a still picture's farthest visible pixel
    };

    const Scaled& scaledFrame(std::size_t frame);
    QRect opaqueOfFrame(std::size_t frame);
    // The measurements of the image shown, when its identity is known.
    Measured* measured();
    void forgetFramesBut(std::size_t frame);
    Rendered& rendered(std::size_t frame, int step);
    QTransform rotation(int step) const;
    QRect fittedFor(const QRectF& layerRect, qreal dpr) const;
    // After a new image or geometry: forgets the turned renders, measures the steps.
    void relayout();
    void evictBeyondBudget();

    std::shared_ptr<const QtImage> image_;
    QtImage::Frames frames_;  // this picture's own place in a GIF
    QRectF layerRect_;
    QPointF pivot_;
    qreal dpr_ = 1;
    QRect fitted_;  // the unrotated picture, device pixels
    RotationSteps steps_;
    std::vector<Scaled> scaled_;
    std::map<Key, Rendered> rendered_;
    std::map<std::uint64_t, Measured> measured_;  // by the image's identity
    std::uint64_t uses_ = 0;
};

}  // namespace glugmo
