#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/images.h"

namespace glugmo {

// Frame properties of a GIF as an image source reports them: one record per
// image in the file (at most kMostGifFrames), delays in seconds. Nothing
// when the bytes are not a GIF that giflib can open.
std::optional<std::vector<GifFrameProperties>> readGifFrameProperties(std::string_view bytes);

}  // namespace glugmo
