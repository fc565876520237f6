#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace glugmo {

// Decodes the UTF-8 sequence at `i` and steps past it; nothing when it is
// malformed (overlong forms, surrogates and code points past U+10FFFF
// included), with `i` left where it was.
std::optional<char32_t> decodeUtf8At(std::string_view s, std::size_t& i);

bool isWellFormedUtf8(std::string_view s);

}  // namespace glugmo
