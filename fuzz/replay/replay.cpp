#include "fuzz/replay/replay.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace glugmo::fuzz {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST_P(FuzzRegressions, EverySavedInputPassesTheFuzzersChecks) {
    const fs::path folder = fs::path(GLUGMO_FUZZ_REGRESSIONS) / GetParam().folder;
    int replayed = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        if (const Problem problem = GetParam().check(contents(entry.path()))) {
            ADD_FAILURE() << entry.path().filename() << ": " << *problem;
        }
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << "nothing saved in " << folder;
}

}  // namespace

std::string folderName(const ::testing::TestParamInfo<SavedTarget>& info) { return info.param.folder; }

}  // namespace glugmo::fuzz
