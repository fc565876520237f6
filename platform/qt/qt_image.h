#pragma once

#include <QImage>
#include <vector>

#include "platform/images.h"

namespace glugmo {

// A picture decoded once: every frame with its delay, and how many times an
// animation plays through (loopCount extra passes after the first; -1 for
// ever).
class QtImage final : public Image {
public:
    struct Frame {
        QImage image;  // premultiplied ARGB, full canvas
        int delayMs = 0;
    };

    QtImage(std::vector<Frame> frames, int loopCount)
        : frames_(std::move(frames)), loopCount_(loopCount) {}

    const std::vector<Frame>& frames() const { return frames_; }
    int loopCount() const { return loopCount_; }
    QSize pixelSize() const { return frames_.empty() ? QSize() : frames_.front().image.size(); }
    bool isAnimated() const { return frames_.size() > 1; }

private:
    std::vector<Frame> frames_;
    int loopCount_;
};

}  // namespace glugmo
