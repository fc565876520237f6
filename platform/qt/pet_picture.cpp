#include "platform/qt/pet_picture.h"

#include <QBitmap>
#include <QtMath>
#include <algorithm>

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
    clearCaches();
    setGeometry(layerRect_, pivot_, dpr_);
}

bool PetPicture::setGeometry(const QRectF& layerRect, const QPointF& pivot,
                             qreal devicePixelRatio) {
    const QRect fitted =
        image_ ? fittedRect(image_->pixelSize(), QRectF(layerRect.topLeft() * devicePixelRatio,
                                                        layerRect.size() * devicePixelRatio))
               : QRect();
    const bool changed = fitted != fitted_ || pivot != pivot_ || devicePixelRatio != dpr_;
    layerRect_ = layerRect;
    pivot_ = pivot;
    dpr_ = devicePixelRatio;
    if (!changed) return false;
    if (fitted.size() != fitted_.size()) scaled_.clear();
    fitted_ = fitted;
    rendered_.clear();
    steps_ = RotationSteps(farthestDistance(QRectF(fitted_), pivot_ * dpr_));
    return true;
}

void PetPicture::clearCaches() {
    scaled_.clear();
    rendered_.clear();
}

bool PetPicture::isEmpty() const { return !image_ || fitted_.isEmpty(); }

std::size_t PetPicture::frameCount() const { return image_ ? image_->frameCount() : 0; }

QTransform PetPicture::rotation(int step) const {
    // Counter-clockwise on screen, where y grows downward.
    const QPointF pivot = pivot_ * dpr_;
    QTransform transform;
    transform.translate(pivot.x(), pivot.y());
    transform.rotateRadians(-steps_.angleOf(step));
    transform.translate(-pivot.x(), -pivot.y());
    return transform;
}

QRect PetPicture::deviceBounds(std::size_t, int step) const {
    if (isEmpty()) return {};
    if (step == 0) return fitted_;
    return rotation(step).mapRect(QRectF(fitted_)).toAlignedRect();
}

QRect PetPicture::logicalBounds(std::size_t frame, int step) const {
    return outwardLogical(deviceBounds(frame, step), dpr_);
}

const QImage& PetPicture::scaledFrame(std::size_t frame) {
    if (scaled_.size() != frameCount()) scaled_.assign(frameCount(), QImage());
    QImage& scaled = scaled_[frame];
    if (scaled.isNull()) {
        scaled = image_->frame(frame).scaled(fitted_.size(), Qt::IgnoreAspectRatio,
                                                      Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(dpr_);
    }
    return scaled;
}

PetPicture::Rendered& PetPicture::rendered(std::size_t frame, int step) {
    // A frame index chosen for the previous picture (a GIF replaced by the
    // still idle picture while the window was hidden) must not reach past
    // this one's frames.
    frame = std::min(frame, frameCount() - 1);
    const Key key{frame, step};
    auto found = rendered_.find(key);
    if (found == rendered_.end()) {
        Rendered entry;
        const QImage& scaled = scaledFrame(frame);
        if (step == 0) {
            entry.image = scaled;
            entry.deviceTopLeft = fitted_.topLeft();
        } else {
            const QRect bounds = deviceBounds(frame, step);
            entry.image = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
            entry.image.fill(Qt::transparent);
            QPainter painter(&entry.image);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.translate(-bounds.topLeft());
            painter.setTransform(rotation(step), true);
            painter.drawImage(QRectF(fitted_), scaled, QRectF(scaled.rect()));
            painter.end();
            entry.image.setDevicePixelRatio(dpr_);
            entry.deviceTopLeft = bounds.topLeft();
        }
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
