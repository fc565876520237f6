#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "menu/settings_rules.h"

namespace glugmo {
namespace {

// Switches are on unless a stored value reads false.
TEST(SettingsRules, BooleanReadingOfStoredTextAndSwitches) {
    const struct {
        std::optional<std::string> text;
        bool value, switchOn;
    } cases[] = {
        {std::nullopt, false, true}, {"true", true, true}, {"TRUE", true, true},  {" yes ", true, true},
        {"1", true, true},           {"2.5", true, true},  {"-3", true, true},    {"false", false, false},
        {"no", false, false},        {"0", false, false},  {"0.0", false, false}, {"", false, false},
        {"banana", false, false},    {"nan", false, false}, {"inf", true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readBool(c.text), c.value) << c.text.value_or("<missing>");
        EXPECT_EQ(switchIsOn(c.text), c.switchOn) << c.text.value_or("<missing>");
    }
}

TEST(SettingsRules, NumericReadingOfStoredText) {
    const std::pair<std::optional<std::string>, double> cases[] = {
        {std::nullopt, 0}, {"200", 200},  {"80.5", 80.5},         {" +150px", 150}, {"-5", -5},
        {"a word", 0},     {"1e300", 1e300}, {"1e999", HUGE_VAL}, {"1e-999", 0},    {"-1e999", -HUGE_VAL},
        {"1e43011e-40", HUGE_VAL},  // only the number counts, not what follows
        {"1" + std::string(400, '0') + "e-5", HUGE_VAL},
        {"0." + std::string(330, '0') + "1", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(readDouble(text), value) << text.value_or("<missing>");
    EXPECT_TRUE(std::isnan(readDouble("nan")));
}

TEST(SettingsRules, NumbersReadTheSameUnderALocaleWithDecimalCommas) {
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale here";
    EXPECT_EQ(readDouble("80.5"), 80.5);
    std::setlocale(LC_NUMERIC, "C");
}

TEST(SettingsRules, PetSizeFallsBackToTheDefaultForUnusableValues) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, double> cases[] = {
        {0, 120},   {-5, 120},  {std::nan(""), 120}, {inf, 120}, {-inf, 120},
        {1e300, 120}, {80.5, 80.5}, {150, 150}, {200, 200},  {0.5, 0.5}, {kMaxPetSize, kMaxPetSize},
    };
    for (const auto& [stored, expected] : cases) EXPECT_EQ(petSizeFromStored(stored), expected) << stored;
}

}  // namespace
}  // namespace glugmo
