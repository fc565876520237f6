#include "bubble/debug_format.h"

#include <charconv>
#include <cmath>

namespace glugmo {

std::string formatDouble(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    // Plain digits between 1e-4 and 2^53, exponent form outside, as a double
    // prints by default; either way the shortest text that reads back.
    const double magnitude = std::fabs(value);
    const bool plain = value == 0 || (magnitude >= 1e-4 && magnitude < 9007199254740992.0);
    char buffer[400];
    const auto result = plain ? std::to_chars(buffer, buffer + sizeof buffer, value,
                                              std::chars_format::fixed)
                              : std::to_chars(buffer, buffer + sizeof buffer, value,
                                              std::chars_format::scientific);
    std::string text(buffer, result.ptr);
    if (plain && text.find('.') == std::string::npos) text += ".0";
    return text;
}

std::string formatRect(Rect rect) {
    return "(" + formatDouble(rect.origin.x) + ", " + formatDouble(rect.origin.y) + ", " +
           formatDouble(rect.size.width) + ", " + formatDouble(rect.size.height) + ")";
}

std::string debugStatusLine(bool visible, Rect frame, bool hasImage) {
    return std::string("DEBUG visible=") + (visible ? "true" : "false") +
           " frame=" + formatRect(frame) + " hasImage=" + (hasImage ? "true" : "false");
}

}  // namespace glugmo
