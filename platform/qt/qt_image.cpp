#include "platform/qt/qt_image.h"

#include <QBuffer>
#include <QImageReader>

namespace glugmo {

QtImage::QtImage(std::vector<Frame> frames, int loopCount, std::uint64_t identity)
    : loopCount_(loopCount), identity_(identity) {
    for (Frame& frame : frames) {
        delaysMs_.push_back(frame.delayMs);
        decoded_.push_back(std::move(frame.image));
    }
    if (!decoded_.empty()) size_ = decoded_.front().size();
}

QtImage::QtImage(std::shared_ptr<const GifStructure> gif, std::uint64_t identity)
    : gif_(std::move(gif)),
      delaysMs_(gif_->delaysMs),
      loopCount_(gif_->loopCount),
      size_(gif_->width, gif_->height),
      identity_(identity) {}

QtImage::QtImage(QByteArray encoded, QSize size, std::uint64_t identity)
    : encoded_(std::move(encoded)), delaysMs_{0}, size_(size), identity_(identity) {}

QtImage::Frames QtImage::frames() const {
    Frames frames;
    frames.stills_ = decoded_;  // shared, not copied
    frames.encoded_ = encoded_;
    if (gif_) frames.gif_ = std::make_unique<StreamedGif>(gif_);
    frames.size_ = size_;
    return frames;
}

QImage QtImage::Frames::frame(std::size_t index) {
    // A copy: the decoder draws the next frame over the same pixels.
    return drawsOver() ? view(index).copy() : view(index);
}

QImage QtImage::Frames::view(std::size_t index) {
    if (gif_) {
        const std::span<const std::uint32_t> canvas = gif_->frame(index);
        return QImage(reinterpret_cast<const uchar*>(canvas.data()), size_.width(), size_.height(),
                      size_.width() * 4, QImage::Format_ARGB32_Premultiplied);
    }
    if (stills_.empty() && !encoded_.isEmpty()) {
        QBuffer buffer(&encoded_);
        QImageReader reader(&buffer);
        if (isPng(encoded_)) readAsPng(reader);
        reader.setAutoTransform(true);
        QImage image = reader.read();
        // In place: the pixels are not held twice at their full size.
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
        if (!image.isNull()) stills_.push_back(std::move(image));
    }
    if (stills_.empty()) return {};
    return stills_[std::min(index, stills_.size() - 1)];
}

void QtImage::Frames::releasePixels() {
    if (!encoded_.isEmpty()) stills_.clear();
}

bool isPng(const QByteArray& encoded) { return encoded.startsWith("\x89PNG\r\n\x1a\n"); }

void readAsPng(QImageReader& reader) {
    reader.setFormat(QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
}

}  // namespace glugmo
