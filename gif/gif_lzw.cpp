#include "gif/gif_lzw.h"

#include <algorithm>

namespace glugmo {

std::size_t GifLzw::decode(std::span<const std::uint8_t> data, int minimumCodeSize,
                           std::span<std::uint8_t> out) {
    // Indices are bytes: wider literal codes cannot come from a GIF.
    if (minimumCodeSize < 1 || minimumCodeSize > 8) return 0;
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    for (int code = 0; code < clear; ++code) {
        last_[code] = first_[code] = static_cast<std::uint8_t>(code);
        length_[code] = 1;
    }
    int codeSize = minimumCodeSize + 1;
    int next = clear + 2;
    int previous = -1;
    std::uint32_t bits = 0;
    int bitCount = 0;
    std::size_t read = 0;
    std::size_t written = 0;
    while (written < out.size()) {
        while (bitCount < codeSize) {
            if (read == data.size()) return written;
            bits |= std::uint32_t{data[read++]} << bitCount;
            bitCount += 8;
        }
        const int code = static_cast<int>(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        bitCount -= codeSize;
        if (code == clear) {
            codeSize = minimumCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end) break;
        if (previous < 0) {
            if (code > clear) return written;  // only a plain index may follow a clear
            out[written++] = static_cast<std::uint8_t>(code);
            previous = code;
            continue;
        }
        if (code > next) return written;
        // A full table stays as it is until the next clear.
        if (next < static_cast<int>(kTableSize)) {
            // The new string: the previous one plus the first index of this
            // one, which is the previous one's own first when this code is
            // the string being defined.
            prefix_[next] = static_cast<std::uint16_t>(previous);
            last_[next] = first_[code == next ? previous : code];
            first_[next] = first_[previous];
            length_[next] = static_cast<std::uint16_t>(length_[previous] + 1);
            ++next;
            if (next == (1 << codeSize) && codeSize < kLongestCode) ++codeSize;
        }
        // Walk the string from its end back to its start, writing in place.
        const std::size_t length = length_[code];
        const std::size_t kept = std::min(length, out.size() - written);
        int walk = code;
        for (std::size_t skip = length - kept; skip > 0; --skip) walk = prefix_[walk];
        for (std::size_t i = kept; i > 0; --i) {
            out[written + i - 1] = last_[walk];
            walk = prefix_[walk];
        }
        written += kept;
        previous = code;
    }
    return written;
}

}  // namespace glugmo
