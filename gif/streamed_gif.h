#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gif/gif_lzw.h"
#include "gif/gif_structure.h"
#include "gif/gif_walker.h"

namespace glugmo {

// A GIF decoded one frame at a time, as the frames are shown. However many
// frames it has, it holds one canvas, the area under a frame that restores
// the picture before it, and one frame's indices, where decoding every frame
// up front would hold a full canvas per frame. Frames come out as Qt's
// reader makes them, except that the canvas starts transparent where Qt
// would fill it with the background colour: on the desktop that would be a
// box around the pet. Each viewer of a GIF has its own.
class StreamedGif {
public:
    explicit StreamedGif(std::shared_ptr<const GifStructure> gif);

    // The whole canvas while frame `index` shows, width x height
    // premultiplied ARGB pixels (0xAARRGGBB) row by row, valid until the next
    // call. Going forward decodes only the frames in between; going back
    // starts again from the first frame. From a frame that fails to decode
    // on, the canvas stays as far as it got.
    std::span<const std::uint32_t> frame(std::size_t index);
    // A frame asked for so far did not decode whole.
    bool damaged() const { return damaged_; }

private:
    struct Area {
        int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    };

    void rewind();
    bool decodeNext();
    void disposeShown();
    bool draw(const GifFrameHeader& frame);
    Area clipped(const GifFrameHeader& frame) const;

    std::shared_ptr<const GifStructure> gif_;
    std::unique_ptr<GifWalker> walker_;
    std::vector<std::uint32_t> canvas_;
    std::vector<std::uint32_t> saved_;  // under the frame shown, when it restores what was there
    Area shown_;
    GifDisposal shownDisposal_ = GifDisposal::Keep;
    std::size_t decoded_ = 0;  // frames drawn onto the canvas so far
    bool damaged_ = false;
    GifLzw lzw_;
    std::vector<std::uint8_t> compressed_;  // one frame's sub-blocks, joined
};

}  // namespace glugmo
