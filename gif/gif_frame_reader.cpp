#include "gif/gif_frame_reader.h"

#include "gif/gif_walker.h"
#include "gif/picture_limits.h"

namespace glugmo {

namespace {
// Players show frames of 0 or 1 centisecond for a tenth of a second.
constexpr double kShortestPlayedDelay = 0.011;
constexpr double kClampedDelay = 0.1;

GifFrameProperties propertiesFor(int delayCs) {
    const double delay = delayCs / 100.0;
    return {true, delay, delay < kShortestPlayedDelay ? kClampedDelay : delay};
}
}  // namespace

std::optional<std::vector<GifFrameProperties>> readGifFrameProperties(std::string_view bytes) {
    GifWalker walker(bytes);
    if (!walker.isOpen()) return std::nullopt;
    // Damage ends the walk; the frames described before it still count.
    std::vector<GifFrameProperties> frames;
    while (frames.size() < kMostGifFrames) {
        const std::optional<GifFrameHeader> frame = walker.nextFrame();
        if (!frame) break;
        frames.push_back(propertiesFor(frame->delayCs));
        if (!walker.skipPixels()) break;
    }
    return frames;
}

}  // namespace glugmo
