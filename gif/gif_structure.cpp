#include "gif/gif_structure.h"

#include <algorithm>
#include <cstdint>

#include "gif/gif_walker.h"
#include "gif/picture_limits.h"

namespace glugmo {

namespace {
GifReading refused(std::string problem) { return {nullptr, std::move(problem)}; }
}  // namespace

GifReading readGifStructure(std::string bytes) {
    auto gif = std::make_shared<GifStructure>();
    gif->bytes = std::move(bytes);
    GifWalker walker(gif->bytes);
    if (!walker.isOpen()) return refused("is not a GIF picture");
    gif->width = walker.width();
    gif->height = walker.height();
    if (gif->width <= 0 || gif->height <= 0) return refused("has an empty canvas");
    if (gif->width > kMostPictureSide || gif->height > kMostPictureSide) {
        return refused("is wider or taller than " + std::to_string(kMostPictureSide) + " px");
    }
    const std::int64_t canvas = std::int64_t{gif->width} * gif->height;
    std::int64_t drawn = 0;
    while (const std::optional<GifFrameHeader> frame = walker.nextFrame()) {
        if (gif->delaysMs.size() == kMostGifFrames) {
            return refused("has more than " + std::to_string(kMostGifFrames) + " frames");
        }
        // A frame is decoded only as far as the canvas would hold.
        drawn += std::min(std::int64_t{std::max(frame->width, 0)} * std::max(frame->height, 0), canvas);
        if (drawn > kMostDrawnPixels) return refused("has frames too large to draw in time");
        gif->delaysMs.push_back(frame->delayCs * 10);
        if (!walker.skipPixels()) break;
    }
    if (gif->delaysMs.empty()) return refused("cannot be decoded");
    gif->loopCount = walker.loopCount();
    gif->complete = walker.reachedEnd();
    return {std::move(gif), {}};
}

}  // namespace glugmo
