#pragma once

#include <cstddef>
#include <cstdint>

namespace glugmo {

// What one picture may cost. Pictures can come from the user's own folder,
// so a file must not be able to take the pet's memory or its time: these
// bound both, far above anything a pet needs (ours are 460 px wide, with
// a few dozen frames and a quarter of a megabyte each).
inline constexpr std::int64_t kMostPictureBytes = 20 * 1024 * 1024;
inline constexpr int kMostPictureSide = 4096;
inline constexpr std::size_t kMostGifFrames = 1000;
// Frame areas drawn in one pass through an animation: a thousand frames of a
// 4096-pixel square would take minutes to draw.
inline constexpr std::int64_t kMostDrawnPixels = std::int64_t{1} << 28;

}  // namespace glugmo
