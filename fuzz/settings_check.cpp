#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "fuzz/checks.h"
#include "menu/settings_rules.h"

namespace glugmo::fuzz {

namespace {

bool sameReading(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

Problem sizeProblem(double stored) {
    const double size = petSizeFromStored(stored);
    if (!std::isfinite(size) || !(size > 0) || size > kMaxPetSize) return "an unusable pet size";
    if (std::isfinite(stored) && stored > 0 && stored <= kMaxPetSize && size != stored)
        return "a usable stored size was replaced";
    return std::nullopt;
}

// What strtod reads from the text, where both readers accept the same forms:
// strtod also takes hexadecimal and, after a '+', no second sign. The process
// runs in the C locale, so the decimal point is '.'.
std::optional<double> cLibraryReading(const std::string& text) {
    const std::size_t start = text.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string::npos) return 0.0;
    std::string_view number = std::string_view(text).substr(start);
    if (number.starts_with('+')) {
        number.remove_prefix(1);
        if (number.starts_with('+') || number.starts_with('-')) return std::nullopt;
    }
    if (number.starts_with('-')) number.remove_prefix(1);
    if (number.starts_with("0x") || number.starts_with("0X")) return std::nullopt;
    return std::strtod(text.c_str() + start, nullptr);
}

}  // namespace

Problem settingsProblem(std::string_view bytes) {
    const std::string text(bytes);
    const double number = readDouble(text);
    if (Problem problem = sizeProblem(number)) return problem;
    if (bytes.size() >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, bytes.data(), sizeof raw);
        if (Problem problem = sizeProblem(raw)) return problem;
    }

    if (switchIsOn(text) != readBool(text)) return "a stored switch read unlike a stored bool";
    if (number != 0 && !std::isnan(number) && !readBool(text)) return "a non-zero number read as false";
    if (!sameReading(readDouble(" \t" + text), number)) return "leading blanks changed the number";
    if (std::isfinite(number)) {
        char written[64];
        const auto end = std::to_chars(written, written + sizeof written, number).ptr;
        if (readDouble(std::string(written, end)) != number) return "a number does not survive being written";
    }
    if (const std::optional<double> expected = cLibraryReading(text)) {
        // An underflow reads as zero rather than as the nearest tiny number.
        const bool underflow = std::fabs(*expected) < std::numeric_limits<double>::min() && number == 0;
        if (!sameReading(number, *expected) && !underflow) return "a number read unlike strtod reads it";
    }
    return std::nullopt;
}

}  // namespace glugmo::fuzz
