#include "menu/settings_rules.h"

#include <cctype>
#include <cmath>
#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>
#include <string>

#include "app/pet_layout.h"

namespace glugmo {

namespace {
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Whether a decimal that from_chars found out of range lies past the top of
// a double's range rather than below its bottom: whether its leading digit's
// place plus its exponent is at least zero.
bool pastTheTop(std::string_view number) {
    if (number.starts_with('-')) number.remove_prefix(1);
    const std::size_t e = number.find_first_of("eE");
    const std::string_view digits = number.substr(0, e);
    const std::size_t point = std::min(digits.find('.'), digits.size());
    const std::size_t lead = digits.find_first_not_of("0.");  // out of range, so not all zeros
    const long long place = lead < point ? static_cast<long long>(point - lead) - 1
                                         : -static_cast<long long>(lead - point);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view power = number.substr(e + 1);
        const bool negative = power.starts_with('-');
        if (negative || power.starts_with('+')) power.remove_prefix(1);
        // Any exponent this large is far past either end; capping it keeps
        // the sum below from overflowing.
        constexpr long long kFarAway = std::numeric_limits<long long>::max() / 4;
        if (std::from_chars(power.data(), power.data() + power.size(), exponent).ec != std::errc() ||
            exponent > kFarAway) {
            exponent = kFarAway;
        }
        if (negative) exponent = -exponent;
    }
    return place + exponent >= 0;
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
        // Past the range of a double: an overflow reads as infinity with the
        // text's sign, an underflow as zero.
        const std::string_view number = text.substr(0, result.ptr - text.data());
        if (!pastTheTop(number)) return 0;
        return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
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
