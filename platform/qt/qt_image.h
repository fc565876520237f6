#pragma once

#include <QImage>
#include <memory>
#include <vector>

#include "platform/images.h"
#include "platform/qt/streamed_gif.h"

namespace glugmo {

// A decoded picture: a still, or an animation with each frame's delay and
// how many times it plays through (loopCount extra passes after the first;
// -1 for ever). A GIF's frames are decoded as they are asked for.
class QtImage final : public Image {
public:
    struct Frame {
        QImage image;  // premultiplied ARGB, full canvas
        int delayMs = 0;
    };

    // Every frame decoded already.
    QtImage(std::vector<Frame> frames, int loopCount);
    explicit QtImage(std::unique_ptr<StreamedGif> gif);

    std::size_t frameCount() const { return delaysMs_.size(); }
    const std::vector<int>& delaysMs() const { return delaysMs_; }
    int loopCount() const { return loopCount_; }
    QSize pixelSize() const { return size_; }
    bool isAnimated() const { return frameCount() > 1; }

    // Valid until the next call. Decoding a GIF's frame changes no visible
    // state, so this is const; like all of Qt's GUI, it runs on one thread.
    const QImage& frame(std::size_t index) const;

private:
    std::vector<QImage> decoded_;
    std::unique_ptr<StreamedGif> gif_;
    std::vector<int> delaysMs_;
    int loopCount_ = 0;
    QSize size_;
};

}  // namespace glugmo
