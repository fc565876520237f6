#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Writes an indexed animation as a GIF89a that plays once: one global
// palette, one transparent index, and each frame stored as only the pixels
// that changed since the previous one.
namespace artwork {

struct IndexedAnimation {
    int width = 0;
    int height = 0;
    std::array<std::uint32_t, 256> palette{};       // 0xRRGGBB
    std::uint8_t transparent = 255;                 // the palette index shown as see-through
    std::vector<std::vector<std::uint8_t>> frames;  // width * height indices each, row-major
    std::vector<int> delaysCs;                      // one per frame, hundredths of a second
};

// The file's bytes; throws std::runtime_error if giflib refuses.
std::vector<std::uint8_t> encodeGif(const IndexedAnimation& animation);

}  // namespace artwork
