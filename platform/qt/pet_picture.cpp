#include "platform/qt/pet_picture.h"

#include <QBitmap>
#include <QtMath>
#include <algorithm>

#include "platform/qt/opaque_extent.h"
#include "platform/qt/rotation_transform.h"

namespace glugmo {

namespace {

// Rotated renders are a few hundred kilobytes each; a rocking pet needs a
// few dozen of them, a stretch some more.
constexpr qsizetype kRenderedBudgetBytes = 24 * 1024 * 1024;

QRect fittedRect(QSize picture, const QRectF& box) {
    if (picture.isEmpty() || box.isEmpty()) return {};
    const QSizeF size = QSizeF(picture).scaled(box.size(), Qt::KeepAspectRatio);
    const QPointF topLeft = box.center() - QPointF(size.width(), size.height()) / 2;
    return QRect(qRound(topLeft.x()), qRound(topLeft.y()), qMax(1, qRound(size.width())),
                 qMax(1, qRound(size.height())));
}

QRect outwardLogical(const QRect& device, qreal dpr) {
    const QRectF logical(device.left() / dpr, device.top() / dpr, device.width() / dpr,
                         device.height() / dpr);
    return logical.toAlignedRect();
}

}  // namespace

void PetPicture::setImage(std::shared_ptr<const QtImage> image) {
    image_ = std::move(image);
    frames_ = image_ ? image_->frames() : QtImage::Frames();
    scaled_.clear();
    fitted_ = fittedFor(layerRect_, dpr_);
    relayout();
}

QRect PetPicture::fittedFor(const QRectF& layerRect, qreal dpr) const {
    if (!image_) return {};
    return fittedRect(image_->pixelSize(),
                      QRectF(layerRect.topLeft() * dpr, layerRect.size() * dpr));
}

bool PetPicture::setGeometry(const QRectF& layerRect, const QPointF& pivot,
                             qreal devicePixelRatio) {
    const QRect fitted = fittedFor(layerRect, devicePixelRatio);
    const bool changed = fitted != fitted_ || pivot != pivot_ || devicePixelRatio != dpr_;
    layerRect_ = layerRect;
    pivot_ = pivot;
    dpr_ = devicePixelRatio;
    if (!changed) return false;
    if (fitted.size() != fitted_.size()) scaled_.clear();
    measured_.clear();
    fitted_ = fitted;
    relayout();
    return true;
}

void PetPicture::relayout() {
    rendered_.clear();
    // An animation's later frames may reach farther than its first, and
    // are not decoded yet: its steps go by the whole rectangle.
    if (isEmpty() || image_->isAnimated()) {
        steps_ = RotationSteps(farthestDistance(QRectF(fitted_), pivot_ * dpr_));
        return;
    }
    Measured* known = measured();
    if (!known || !known->farthest) {
        const double farthest =
            farthestOpaqueDistance(scaledFrame(0).image, fitted_.topLeft(), pivot_ * dpr_);
        if (known) known->farthest = farthest;
        steps_ = RotationSteps(farthest);
        return;
    }
    steps_ = RotationSteps(*known->farthest);
}

PetPicture::Measured* PetPicture::measured() {
    if (isEmpty() || image_->identity() == 0) return nullptr;
    Measured& known = measured_[image_->identity()];
    known.opaque.resize(frameCount());
    return &known;
}

bool PetPicture::isEmpty() const { return !image_ || fitted_.isEmpty(); }

std::size_t PetPicture::frameCount() const { return image_ ? image_->frameCount() : 0; }

QTransform PetPicture::rotation(int step) const {
    // Counter-clockwise on screen, where y grows downward.
    return rotationAbout(pivot_ * dpr_, -steps_.angleOf(step));
}

QRect PetPicture::deviceBounds(std::size_t frame, int step) {
    if (isEmpty()) return {};
    const QRect opaque = opaqueOfFrame(frame).translated(fitted_.topLeft());
    if (step == 0 || opaque.isEmpty()) return opaque;
    // Smoothing spreads a turned picture by up to a pixel.
    return rotation(step).mapRect(QRectF(opaque)).toAlignedRect().adjusted(-1, -1, 1, 1);
}

QRect PetPicture::logicalBounds(std::size_t frame, int step) {
    return outwardLogical(deviceBounds(frame, step), dpr_);
}

const PetPicture::Scaled& PetPicture::scaledFrame(std::size_t frame) {
    frame = std::min(frame, frameCount() - 1);
    if (scaled_.size() != frameCount()) scaled_.assign(frameCount(), Scaled());
    Scaled& scaled = scaled_[frame];
    if (scaled.image.isNull()) {
        // An animation that plays once never comes back to a frame.
        if (image_->isAnimated() && image_->loopCount() == 0) forgetFramesBut(frame);
        // Scaled straight from the decoder's pixels, which a picture already
        // at its size must not keep.
        const QImage source = frames_.view(frame);
        scaled.image =
            source.size() == fitted_.size() && frames_.drawsOver()
                ? source.copy()
                : source.scaled(fitted_.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!scaled.opaque) scaled.opaque = opaqueBounds(scaled.image);
        if (Measured* known = measured()) known->opaque[frame] = scaled.opaque;
        if (!image_->isAnimated()) frames_.releasePixels();
        scaled.image.setDevicePixelRatio(dpr_);
    }
    return scaled;
}

QRect PetPicture::opaqueOfFrame(std::size_t frame) {
    frame = std::min(frame, frameCount() - 1);
    if (frame < scaled_.size() && scaled_[frame].opaque) return *scaled_[frame].opaque;
    if (const Measured* known = measured(); known && known->opaque[frame])
        return *known->opaque[frame];
    return *scaledFrame(frame).opaque;
}

void PetPicture::releaseAnimationFrame(std::size_t frame) {
    if (isEmpty() || !image_->isAnimated()) return;
    frame = std::min(frame, frameCount() - 1);
    if (frame < scaled_.size()) scaled_[frame].image = QImage();
}

void PetPicture::forgetFramesBut(std::size_t frame) {
    for (std::size_t other = 0; other < scaled_.size(); ++other) {
        if (other != frame) scaled_[other] = {};
    }
    std::erase_if(rendered_, [frame](const auto& entry) { return entry.first.first != frame; });
}

QImage PetPicture::render(std::size_t frame, int step, QPoint& deviceTopLeft) {
    // A frame index chosen for the previous picture (a GIF replaced by the
    // still idle picture while the window was hidden) must not reach past
    // this one's frames.
    frame = std::min(frame, frameCount() - 1);
    const Scaled& scaledEntry = scaledFrame(frame);
    const QImage& scaled = scaledEntry.image;
    if (step == 0) {
        // Only the visible part: the margins around it cost memory where the
        // picture is kept and time where it is sent.
        const QRect opaque = *scaledEntry.opaque;
        deviceTopLeft = fitted_.topLeft() + opaque.topLeft();
        return opaque == scaled.rect() ? scaled : scaled.copy(opaque);
    }
    const QRect bounds = deviceBounds(frame, step);
    QImage image(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(-bounds.topLeft());
    painter.setTransform(rotation(step), true);
    painter.drawImage(QRectF(fitted_), scaled, QRectF(scaled.rect()));
    painter.end();
    image.setDevicePixelRatio(dpr_);
    deviceTopLeft = bounds.topLeft();
    return image;
}

PetPicture::Rendered& PetPicture::rendered(std::size_t frame, int step) {
    frame = std::min(frame, frameCount() - 1);
    const Key key{frame, step};
    auto found = rendered_.find(key);
    if (found == rendered_.end()) {
        Rendered entry;
        entry.image = render(frame, step, entry.deviceTopLeft);
        entry.lastUse = ++uses_;
        rendered_.emplace(key, std::move(entry));
        evictBeyondBudget();
        return rendered_.at(key);
    }
    found->second.lastUse = ++uses_;
    return found->second;
}

void PetPicture::evictBeyondBudget() {
    qsizetype total = 0;
    for (const auto& [key, entry] : rendered_) total += entry.image.sizeInBytes();
    while (total > kRenderedBudgetBytes && rendered_.size() > 1) {
        auto oldest = std::min_element(
            rendered_.begin(), rendered_.end(),
            [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
        total -= oldest->second.image.sizeInBytes();
        rendered_.erase(oldest);
    }
}

void PetPicture::draw(QPainter& painter, std::size_t frame, int step) {
    if (isEmpty()) return;
    const Rendered& entry = rendered(frame, step);
    painter.drawImage(QPointF(entry.deviceTopLeft) / dpr_, entry.image);
}

QRegion PetPicture::opaqueRegion(std::size_t frame, int step) {
    if (isEmpty()) return {};
    Rendered& entry = rendered(frame, step);
    if (!entry.opaque) {
        const QRegion device = QRegion(QBitmap::fromImage(entry.image.createAlphaMask()))
                                   .translated(entry.deviceTopLeft);
        entry.opaque = dpr_ == 1 ? device : QTransform::fromScale(1 / dpr_, 1 / dpr_).map(device);
    }
    return *entry.opaque;
}

}  // namespace glugmo
