#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glugmo {

// The quips of a quotes file: one per line, trimmed, blank lines dropped.
// Nothing when the bytes are not valid UTF-8.
std::optional<std::vector<std::string>> parseQuotes(std::string_view bytes);

// The quips as the program writes them on first launch.
std::string serializeQuotes(const std::vector<std::string>& quips);

inline constexpr std::string_view kQuotesFolderName = "Glugmo";
inline constexpr std::string_view kQuotesFileName = "quotes.txt";

}  // namespace glugmo
