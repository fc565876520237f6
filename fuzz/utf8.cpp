#include "fuzz/utf8.h"

#include <cstdint>

namespace glugmo::fuzz {
namespace {

// Per lead byte range: the sequence's length and its second byte's range;
// later bytes are always 80..BF.
constexpr struct {
    std::uint8_t leadLow, leadHigh;
    int length;
    std::uint8_t secondLow, secondHigh;
} kRules[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF}, {0xED, 0xED, 3, 0x80, 0x9F},
    {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF}, {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

// The length of the well-formed sequence at `i`, or 0.
int sequenceLength(std::string_view bytes, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<std::uint8_t>(bytes[k]); };
    if (at(i) < 0x80) return 1;
    for (const auto& rule : kRules) {
        if (at(i) < rule.leadLow || at(i) > rule.leadHigh) continue;
        if (bytes.size() - i < static_cast<std::size_t>(rule.length)) return 0;
        if (at(i + 1) < rule.secondLow || at(i + 1) > rule.secondHigh) return 0;
        for (int k = 2; k < rule.length; ++k)
            if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
        return rule.length;
    }
    return 0;
}

}  // namespace

bool isWellFormedUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const int length = sequenceLength(bytes, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::vector<char32_t> codePoints(std::string_view wellFormed) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < wellFormed.size();) {
        const int length = sequenceLength(wellFormed, i);
        const auto lead = static_cast<std::uint8_t>(wellFormed[i]);
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<std::uint8_t>(wellFormed[i + k]) & 0x3F);
        out.push_back(cp);
        i += length;
    }
    return out;
}

}  // namespace glugmo::fuzz
