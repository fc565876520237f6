#include "app/gif_duration.h"

#include <algorithm>

namespace glugmo {

namespace {
constexpr double kUnknownDuration = 2.0;
constexpr double kMinimumDuration = 0.5;
constexpr double kMinimumFrameDelay = 0.02;
constexpr double kDefaultFrameDelay = 0.1;

double frameDelay(const GifFrameProperties& frame) {
    if (!frame.hasGifDictionary) return 0;
    const std::optional<double> stored =
        frame.unclampedDelayTime ? frame.unclampedDelayTime : frame.delayTime;
    // Treat a delay that is not a number like a missing one rather than
    // letting it poison the total.
    if (!stored || *stored != *stored) return kDefaultFrameDelay;
    return std::max(*stored, kMinimumFrameDelay);
}
}  // namespace

double gifDurationFromFrames(const std::optional<std::vector<GifFrameProperties>>& frames) {
    if (!frames) return kUnknownDuration;
    double total = 0;
    for (const GifFrameProperties& frame : *frames) total += frameDelay(frame);
    return total <= kMinimumDuration ? kMinimumDuration : total;
}

std::optional<std::string> gifURL(const Resources& resources, std::string_view name) {
    return resources.pathFor(name, "gif");
}

double gifDuration(const Resources& resources, ImageLoader& images, std::string_view name) {
    const std::optional<std::string> path = gifURL(resources, name);
    if (!path) return kUnknownDuration;
    return gifDurationFromFrames(images.gifFrameProperties(*path));
}

}  // namespace glugmo
