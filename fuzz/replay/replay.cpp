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

#ifdef GLUGMO_REPLAY_GIF
TEST(FuzzRegressions, EverySavedGifPassesTheFuzzersChecks) {
    const std::pair<const char*, Problem (*)(std::string_view)> targets[] = {{"gif_frames", gifFramesProblem},
                                                                             {"gif_decoder", gifDecoderProblem}};
#else
TEST(FuzzRegressions, EverySavedQuotesFileAndSettingPassesTheFuzzersChecks) {
    const std::pair<const char*, Problem (*)(std::string_view)> targets[] = {{"quotes", quotesProblem},
                                                                             {"settings", settingsProblem}};
#endif
    for (const auto& [folder, check] : targets) {
        int replayed = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(GLUGMO_FUZZ_REGRESSIONS) / folder)) {
            std::ostringstream bytes;
            bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
            if (const Problem problem = check(bytes.str())) ADD_FAILURE() << entry.path() << ": " << *problem;
            ++replayed;
        }
        EXPECT_GT(replayed, 0) << "nothing saved in " << folder;
    }
}

}  // namespace
}  // namespace glugmo::fuzz
