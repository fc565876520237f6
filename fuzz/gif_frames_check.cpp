#include <algorithm>

#include "fuzz/checks.h"
#include "gif/gif_frame_reader.h"

namespace glugmo::fuzz {

namespace {

// An image descriptor takes ten bytes, so a file cannot describe more frames.
constexpr std::size_t kSmallestFrameBytes = 10;
// Delays are stored in centiseconds in sixteen bits.
constexpr double kLongestDelay = 655.35;
constexpr double kShortestPlayedDelay = 0.011;

bool sameFrame(const GifFrameProperties& a, const GifFrameProperties& b) {
    return a.hasGifDictionary == b.hasGifDictionary && a.unclampedDelayTime == b.unclampedDelayTime &&
           a.delayTime == b.delayTime;
}

Problem frameProblem(const GifFrameProperties& frame) {
    if (!frame.hasGifDictionary) return "a GIF frame without GIF properties";
    if (frame.unclampedDelayTime.has_value() != frame.delayTime.has_value())
        return "a frame with only one of its two delays";
    if (!frame.delayTime) return std::nullopt;
    const double stored = *frame.unclampedDelayTime;
    if (!(stored >= 0 && stored <= kLongestDelay)) return "a stored delay out of range";
    if (!(*frame.delayTime >= kShortestPlayedDelay && *frame.delayTime <= kLongestDelay))
        return "a played delay out of range";
    return std::nullopt;
}

}  // namespace

Problem gifFramesProblem(std::string_view bytes) {
    const auto frames = readGifFrameProperties(bytes);
    if (!frames) return std::nullopt;
    if (!bytes.starts_with("GIF")) return "bytes without a GIF signature were read";
    if (frames->size() > bytes.size() / kSmallestFrameBytes) return "more frames than the bytes can hold";
    for (const GifFrameProperties& frame : *frames)
        if (Problem problem = frameProblem(frame)) return problem;

    // Cutting the file short must lose frames at the end and nothing else.
    const auto front = readGifFrameProperties(bytes.substr(0, bytes.size() / 2));
    if (front) {
        if (front->size() > frames->size() ||
            !std::equal(front->begin(), front->end(), frames->begin(), sameFrame)) {
            return "a cut file read differently before the cut";
        }
    }
    return std::nullopt;
}

}  // namespace glugmo::fuzz
