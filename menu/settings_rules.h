#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glugmo {

// The stored settings. Values arrive as text, whoever wrote them.
inline constexpr std::string_view kClockOnKey = "clockOn";
inline constexpr std::string_view kDrinkOnKey = "drinkOn";
inline constexpr std::string_view kGhostModeKey = "ghostMode";
inline constexpr std::string_view kPetSizeKey = "petSize";

// The boolean reading of a stored value: "true", "yes", or a number that is
// not zero; anything else, and a missing value, is false.
bool readBool(const std::optional<std::string>& stored);

// The numeric reading: the leading number of the text, 0 when there is
// none or the value is missing.
double readDouble(const std::optional<std::string>& stored);

// The clock and drink switches are on until the user turns them off.
bool switchIsOn(const std::optional<std::string>& stored);

// The pet width to use for a stored reading. Zero, negative and NaN mean
// "unset"; so do infinities and sizes too large for any window.
double petSizeFromStored(double stored);
inline constexpr double kDefaultPetSize = 120.0;
inline constexpr double kMaxPetSize = 4000.0;

}  // namespace glugmo
