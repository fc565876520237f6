#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/images.h"

namespace glugmo {

// Frame properties of a GIF as an image source reports them: one record per
// image in the file, delays in seconds. Nothing when the bytes are not a GIF
// that giflib can open.
std::optional<std::vector<GifFrameProperties>> readGifFrameProperties(std::string_view bytes);
std::optional<std::vector<GifFrameProperties>> readGifFramePropertiesFromFile(const std::string& path);

}  // namespace glugmo
