#include "menu/quotes.h"

#include "menu/utf8.h"

namespace glugmo {

namespace {

bool isLineEnd(char32_t c) {
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// Unicode space separators (general category Zs) plus the tab.
bool isBlank(char32_t c) {
    return c == 0x09 || c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

}  // namespace

std::optional<std::vector<std::string>> parseQuotes(std::string_view bytes) {
    // A byte order mark is an encoding detail, not part of the first quip.
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);

    std::vector<std::string> quips;
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t textBegin = kNone;  // first non-blank byte of the current line
    std::size_t textEnd = 0;        // just past its last non-blank character
    const auto endLine = [&] {
        if (textBegin != kNone) quips.emplace_back(bytes.substr(textBegin, textEnd - textBegin));
        textBegin = kNone;
    };
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t begin = i;
        const std::optional<char32_t> cp = decodeUtf8At(bytes, i);
        if (!cp) return std::nullopt;
        if (isLineEnd(*cp)) {
            endLine();
        } else if (!isBlank(*cp)) {
            if (textBegin == kNone) textBegin = begin;
            textEnd = i;
        }
    }
    endLine();
    return quips;
}

std::string serializeQuotes(const std::vector<std::string>& quips) {
    std::string text;
    for (std::size_t k = 0; k < quips.size(); ++k) {
        if (k > 0) text += '\n';
        text += quips[k];
    }
    return text;
}

}  // namespace glugmo
