#pragma once

#include <QImage>
#include <optional>
#include <string>

namespace glugmo {

// The image encoded as PNG, or nothing when encoding fails.
std::optional<std::string> pngBytes(const QImage& image);

}  // namespace glugmo
