#pragma once

#include <memory>
#include <string>
#include <vector>

namespace glugmo {

// What a GIF holds, read without decoding any pixels: its encoded bytes, the
// canvas size, each frame's delay and the loop count. Shared by every
// decoder that plays it.
struct GifStructure {
    std::string bytes;
    int width = 0;
    int height = 0;
    std::vector<int> delaysMs;  // per frame, as stored
    int loopCount = 0;          // passes after the first as Qt counts them; -1 for ever
    bool complete = false;      // every block up to the trailer was there
};

struct GifReading {
    std::shared_ptr<const GifStructure> gif;  // null when refused
    std::string problem;                      // why it was refused, for a person
};

// Refuses bytes that are not a GIF, that hold no frame, or that exceed the
// limits of picture_limits.h. A file cut short keeps the frames before the cut.
GifReading readGifStructure(std::string bytes);

}  // namespace glugmo
