#include <gtest/gtest.h>

#include "bubble/debug_format.h"

namespace glugmo {
namespace {

TEST(DebugFormat, DoublesPrintShortestWithWholeNumbersMarked) {
    const std::pair<double, const char*> cases[] = {
        {1204.8, "1204.8"}, {65, "65.0"},     {175.2, "175.2"}, {167.67418738049716, "167.67418738049716"},
        {0, "0.0"},         {-3, "-3.0"},     {100000, "100000.0"}, {0.1, "0.1"}, {1e16, "1e+16"},
        {0.00001, "1e-05"}, {0.0001, "0.0001"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(formatDouble(value), text);
}

}  // namespace
}  // namespace glugmo
