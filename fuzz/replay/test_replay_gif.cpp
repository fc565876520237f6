#include "fuzz/replay/replay.h"

namespace glugmo::fuzz {

INSTANTIATE_TEST_SUITE_P(Gif, FuzzRegressions, ::testing::Values(SavedTarget{"gif_frames", gifFramesProblem},
                                                             SavedTarget{"gif_decoder", gifDecoderProblem}),
                         folderName);

}  // namespace glugmo::fuzz
