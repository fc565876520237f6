#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "gif_encoder.h"

// Turns drawn frames into the indexed pixels a GIF stores.
namespace artwork {

// GIF transparency is on or off per pixel. A pixel at least half covered
// becomes opaque, its colour blended over `edge` (the outline colour), so an
// antialiased rim darkens into the outline instead of keeping a pale halo.
// Returns 0xAARRGGBB with alpha 0 or 255.
std::vector<std::uint32_t> flattenAlpha(const QImage& frame, std::uint32_t edge);

// One palette for all frames: `keys` kept exactly, the remaining entries by
// median cut over the other colours; index `animation.transparent` is the
// see-through one. Frames, delays and size are filled in.
IndexedAnimation quantize(const std::vector<QImage>& frames, const std::vector<std::uint32_t>& keys,
                          std::uint32_t edge);

// The indexed frame back as a picture, for the contact sheet.
QImage indexedToImage(const IndexedAnimation& animation, std::size_t frame);

}  // namespace artwork
