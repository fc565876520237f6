#include "fuzz/replay/replay.h"

namespace glugmo::fuzz {

INSTANTIATE_TEST_SUITE_P(Text, FuzzRegressions,
                         ::testing::Values(SavedTarget{"quotes", quotesProblem},
                                           SavedTarget{"settings", settingsProblem}),
                         folderName);

}  // namespace glugmo::fuzz
