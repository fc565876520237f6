#pragma once

#include <gtest/gtest.h>

#include "fuzz/checks.h"

namespace glugmo::fuzz {

// One fuzz target as the replay sees it: its folder under fuzz/regressions
// and the check its fuzzer runs.
struct SavedTarget {
    const char* folder;
    Problem (*check)(std::string_view bytes);
};

inline void PrintTo(const SavedTarget& target, std::ostream* out) { *out << target.folder; }

struct FuzzRegressions : ::testing::TestWithParam<SavedTarget> {};

std::string folderName(const ::testing::TestParamInfo<SavedTarget>& info);

}  // namespace glugmo::fuzz
