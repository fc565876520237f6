#include "fuzz/replay/replay.h"

namespace glugmo::fuzz {

INSTANTIATE_TEST_SUITE_P(Gif, FuzzRegressions, ::testing::Values(SavedTarget{"gif_frames", gifFramesProblem}),
                         folderName);

}  // namespace glugmo::fuzz
