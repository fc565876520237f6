#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/images.h"
#include "platform/resources.h"

namespace glugmo {

// Seconds one pass through a GIF lasts, from its frame properties (nothing:
// the file could not be opened as an image source, which counts as 2 s).
double gifDurationFromFrames(const std::optional<std::vector<GifFrameProperties>>& frames);

std::optional<std::string> gifURL(const Resources& resources, std::string_view name);

// Reads the GIF afresh on every call: the files are small and rarely played.
double gifDuration(const Resources& resources, ImageLoader& images, std::string_view name);

}  // namespace glugmo
