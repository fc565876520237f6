#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/gif_structure.h"
#include "gif/streamed_gif.h"
#include "platform/images.h"

class QImageReader;

namespace glugmo {

// A decoded picture: a still, or an animation with each frame's delay and
// how many times it plays through (loopCount extra passes after the first;
// -1 for ever). A GIF's frames are decoded as they are asked for, by each
// viewer's own Frames, so two viewers of one GIF never move each other's
// place in it.
class QtImage final : public Image {
public:
    struct Frame {
        QImage image;  // premultiplied ARGB, full canvas
        int delayMs = 0;
    };

    // One viewer's place in the frames.
    class Frames {
    public:
        Frames() = default;
        // Premultiplied ARGB, the whole canvas; null when there is no picture.
        QImage frame(std::size_t index);
        // The same without a copy: a GIF's pixels are only valid until the
        // next frame is asked for (see drawsOver).
        QImage view(std::size_t index);
        bool drawsOver() const { return gif_ != nullptr; }
        // Drops a still's pixels when it is kept encoded (they are decoded
        // again should they be asked for): once scaled, a still is not
        // needed at its own size.
        void releasePixels();

    private:
        friend class QtImage;
        std::vector<QImage> stills_;
        QByteArray encoded_;
        std::unique_ptr<StreamedGif> gif_;
        QSize size_;
    };

    // Every frame decoded already.
    QtImage(std::vector<Frame> frames, int loopCount, std::uint64_t identity = 0);
    explicit QtImage(std::shared_ptr<const GifStructure> gif, std::uint64_t identity = 0);
    // A still kept in its file's encoding, `size` pixels once decoded.
    QtImage(QByteArray encoded, QSize size, std::uint64_t identity = 0);

    std::size_t frameCount() const { return delaysMs_.size(); }
    const std::vector<int>& delaysMs() const { return delaysMs_; }
    int loopCount() const { return loopCount_; }
    QSize pixelSize() const { return size_; }
    bool isAnimated() const { return frameCount() > 1; }

    // The same for every load of the same file as it is now, so what was
    // drawn from one load can serve the next; 0 when unknown.
    std::uint64_t identity() const { return identity_; }

    // A GIF's structure and encoded bytes; null for other pictures.
    const std::shared_ptr<const GifStructure>& gif() const { return gif_; }

    Frames frames() const;
    // For one look at a frame: a GIF is decoded from its first frame up.
    QImage frame(std::size_t index) const { return frames().frame(index); }

private:
    std::vector<QImage> decoded_;
    QByteArray encoded_;
    std::shared_ptr<const GifStructure> gif_;
    std::vector<int> delaysMs_;
    int loopCount_ = 0;
    QSize size_;
    std::uint64_t identity_ = 0;
};

// Whether `encoded` starts as every PNG file does.
bool isPng(const QByteArray& encoded);

// Has `reader` read PNG and nothing else. Left to work out the format, even
// from a ".png" name, Qt first loads every image format plugin it has (GIF,
// ICO, JPEG...) to ask each, and they stay loaded.
void readAsPng(QImageReader& reader);

}  // namespace glugmo
