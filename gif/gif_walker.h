#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

struct GifFileType;

namespace glugmo {

// How long a frame without a graphic control block shows, in centiseconds.
// The frame decoder and the duration reader both take it from here, so the
// return to idle always comes when the animation has played.
inline constexpr int kDelayWithoutControlCs = 10;

enum class GifDisposal { Keep, Background, Previous };

// A frame's image descriptor with the graphic control block before it.
struct GifFrameHeader {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    int delayCs = kDelayWithoutControlCs;
    GifDisposal disposal = GifDisposal::Keep;
    int transparent = -1;  // the palette index drawn as nothing, if any
    // Premultiplied ARGB (opaque); indices past the palette are transparent.
    std::array<std::uint32_t, 256> colours{};
};

// One pass over the blocks of a GIF held in memory, frame by frame: the one
// place that reads the file's structure, for the duration and the pictures.
class GifWalker {
public:
    // The bytes must outlive the walker.
    explicit GifWalker(std::string_view bytes);
    ~GifWalker();
    GifWalker(const GifWalker&) = delete;
    GifWalker& operator=(const GifWalker&) = delete;

    // False when the bytes do not start like a GIF.
    bool isOpen() const { return gif_ != nullptr; }
    int width() const;
    int height() const;
    // Passes after the first as Qt counts them, from the loop extensions read
    // so far: 0 without one, -1 for ever.
    int loopCount() const { return loopCount_; }
    // True once the trailer has been read.
    bool reachedEnd() const { return reachedEnd_; }

    // Reads up to the next frame's image descriptor; nothing at the end of
    // the file or where it is damaged. Follow it by one of the two below.
    std::optional<GifFrameHeader> nextFrame();
    bool skipPixels();
    // The frame's compressed pixels, sub-blocks joined.
    bool readPixels(std::vector<std::uint8_t>& compressed, int& minimumCodeSize);

private:
    bool readExtension(std::optional<GifFrameHeader>& control);

    std::string_view remaining_;
    GifFileType* gif_ = nullptr;
    int loopCount_ = 0;
    bool reachedEnd_ = false;
};

}  // namespace glugmo
