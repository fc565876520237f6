#include <iconv.h>

#include <algorithm>
#include <bit>

#include "fuzz/checks.h"
#include "menu/quotes.h"

namespace glugmo::fuzz {

namespace {

// The code points of well-formed UTF-8, by glibc's converter (apart from the
// program's own decoder, so the two can disagree); nothing for any other bytes.
std::optional<std::u32string> codePoints(std::string_view bytes) {
    const iconv_t utf32 = iconv_open(std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE", "UTF-8");
    std::u32string out(bytes.size(), U'\0');
    char *in = const_cast<char*>(bytes.data()), *to = reinterpret_cast<char*>(out.data());
    std::size_t inLeft = bytes.size(), outLeft = out.size() * sizeof(char32_t);
    const bool converted = iconv(utf32, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(utf32);
    if (!converted) return std::nullopt;
    out.resize(out.size() - outLeft / sizeof(char32_t));
    return out;
}

bool isLineEnd(char32_t c) {
    return c == U'\n' || c == U'\v' || c == U'\f' || c == U'\r' || c == 0x85 || c == 0x2028 ||
           c == 0x2029;
}

// The tab and Unicode's space separators.
bool isBlank(char32_t c) {
    return c == U'\t' || c == U' ' || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

std::u32string visible(const std::u32string& text) {
    std::u32string out;
    std::copy_if(text.begin(), text.end(), std::back_inserter(out),
                 [](char32_t c) { return !isLineEnd(c) && !isBlank(c); });
    return out;
}

Problem quipProblem(const std::string& quip) {
    if (quip.empty()) return "an empty quip";
    const auto decoded = codePoints(quip);
    if (!decoded) return "a quip that is not well-formed UTF-8";
    const std::u32string& text = *decoded;
    if (std::any_of(text.begin(), text.end(), isLineEnd)) return "a quip spanning lines";
    if (isBlank(text.front()) || isBlank(text.back())) return "a quip with blanks around it";
    return std::nullopt;
}

}  // namespace

Problem quotesProblem(std::string_view bytes) {
    const auto quips = parseQuotes(bytes);
    if (quips.has_value() != codePoints(bytes).has_value())
        return quips ? "ill-formed UTF-8 was accepted" : "well-formed UTF-8 was refused";
    if (!quips) return std::nullopt;

    std::string_view body = bytes;
    if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
    std::size_t searchFrom = 0;
    std::u32string kept;
    for (const std::string& quip : *quips) {
        if (Problem problem = quipProblem(quip)) return problem;
        const std::size_t at = body.find(quip, searchFrom);
        if (at == std::string_view::npos) return "a quip that is not in the file, in order";
        searchFrom = at + quip.size();
        kept += visible(*codePoints(quip));
    }
    if (kept != visible(*codePoints(body))) return "visible text was lost or added";
    // Written back, a first quip that starts with U+FEFF would read as a byte
    // order mark; any other list must come back as it was.
    const bool startsWithMark = !quips->empty() && quips->front().starts_with("\xEF\xBB\xBF");
    if (!startsWithMark && parseQuotes(serializeQuotes(*quips)) != quips)
        return "the quips do not survive being written";
    return std::nullopt;
}

}  // namespace glugmo::fuzz
