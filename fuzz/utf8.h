#pragma once

#include <string_view>
#include <vector>

namespace glugmo::fuzz {

// Well-formed UTF-8 after the Unicode standard's table of byte sequences,
// written apart from the program's own decoder so the two can disagree.
bool isWellFormedUtf8(std::string_view bytes);

// The code points of well-formed UTF-8.
std::vector<char32_t> codePoints(std::string_view wellFormed);

}  // namespace glugmo::fuzz
