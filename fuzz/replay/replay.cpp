// Replays every input saved in fuzz/regressions/TARGET through the check its
// fuzzer runs; the GIF targets only where the GIF reader is built.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fuzz/checks.h"

namespace glugmo::fuzz {
namespace {

namespace fs = std::filesystem;

struct SavedTarget {
    const char* folder;
    Problem (*check)(std::string_view bytes);
};
void PrintTo(const SavedTarget& target, std::ostream* out) { *out << target.folder; }

struct FuzzRegressions : ::testing::TestWithParam<SavedTarget> {};

TEST_P(FuzzRegressions, EverySavedInputPassesTheFuzzersChecks) {
    const fs::path folder = fs::path(GLUGMO_FUZZ_REGRESSIONS) / GetParam().folder;
    int replayed = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ostringstream bytes;
        bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        if (const Problem problem = GetParam().check(bytes.str())) ADD_FAILURE() << entry.path() << ": " << *problem;
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << "nothing saved in " << folder;
}

#ifdef GLUGMO_REPLAY_GIF
const SavedTarget kTargets[] = {{"gif_frames", gifFramesProblem}, {"gif_decoder", gifDecoderProblem}};
#else
const SavedTarget kTargets[] = {{"quotes", quotesProblem}, {"settings", settingsProblem}};
#endif
INSTANTIATE_TEST_SUITE_P(Saved, FuzzRegressions, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.folder); });

}  // namespace
}  // namespace glugmo::fuzz
