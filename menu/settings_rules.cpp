#include "menu/settings_rules.h"

#include <locale.h>
#include <cctype>
#include <cmath>
#include <charconv>
#include <cstdlib>
#include <string>
#include <system_error>
#if defined(__APPLE__)
#include <xlocale.h>
#endif

namespace glugmo {

namespace {
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The value strtod gives a decimal that from_chars found out of range:
// +-HUGE_VAL past the top, something at or near zero below the bottom. The
// "C" locale keeps the decimal point a point whatever the user's locale.
double outOfRange(std::string_view number) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(std::string(number).c_str(), nullptr, cLocale);
}
}  // namespace

bool readBool(const std::optional<std::string>& stored) {
    if (!stored) return false;
    std::string_view text = *stored;
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    const std::string word = lowered(text);
    if (word == "true" || word == "yes") return true;
    // Any other text counts by its number, so "1", "2.5" and "-3" are true
    // and "0", "0.0", "false", "no" and words are false.
    const double number = readDouble(std::string(text));
    return number != 0 && !std::isnan(number);
}

double readDouble(const std::optional<std::string>& stored) {
    if (!stored) return 0;
    // from_chars, unlike strtod, ignores the process locale: "80.5" is 80.5
    // under a German locale too.
    std::string_view text = *stored;
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // An overflow reads as infinity with the text's sign, an underflow
        // (denormals included) as zero.
        const double far = outOfRange(text.substr(0, result.ptr - text.data()));
        return std::isinf(far) ? far : 0;
    }
    return result.ec == std::errc() ? value : 0;
}

bool switchIsOn(const std::optional<std::string>& stored) {
    return !stored || readBool(stored);
}

double petSizeFromStored(double stored) {
    if (!(stored > 0) || !std::isfinite(stored) || stored > kMaxPetSize) return kDefaultPetSize;
    return stored;
}

}  // namespace glugmo
