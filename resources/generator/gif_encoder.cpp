#include "gif_encoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

namespace artwork {

namespace {

struct Box {
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive
    bool empty() const { return right < left; }
    void add(int x, int y) {
        if (empty()) {
            left = right = x;
            top = bottom = y;
            return;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    void add(const Box& b) {
        if (b.empty()) return;
        add(b.left, b.top);
        add(b.right, b.bottom);
    }
};

// One frame as it goes into the file.
struct Patch {
    Box box;
    int disposal = DISPOSE_DO_NOT;
    std::vector<std::uint8_t> pixels;
};

// Decides every frame's rectangle and disposal. A frame normally leaves its
// pixels for the next one to build on ("do not dispose") and stores only what
// differs. Where the next frame turns opaque pixels back into background,
// the frame is grown to cover them and asks to be restored to background, as
// a kept pixel could never become transparent again.
std::vector<Patch> planPatches(const IndexedAnimation& a) {
    const auto n = a.frames.size();
    const std::uint8_t clear = a.transparent;
    std::vector<std::uint8_t> shown(static_cast<std::size_t>(a.width) * a.height, clear);
    std::vector<Patch> patches;
    for (std::size_t k = 0; k < n; ++k) {
        const auto& now = a.frames[k];
        Box box;
        Box vanishing;
        for (int y = 0; y < a.height; ++y) {
            for (int x = 0; x < a.width; ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * a.width + x;
                if (now[i] != shown[i]) {
                    if (now[i] == clear) throw std::logic_error("a kept pixel must turn clear");
                    box.add(x, y);
                }
                if (k + 1 < n && now[i] != clear && a.frames[k + 1][i] == clear) {
                    vanishing.add(x, y);
                }
            }
        }
        // The first frame covers the whole screen so that no decoder has to
        // guess the initial background.
        if (k == 0) box = Box{0, 0, a.width - 1, a.height - 1};
        box.add(vanishing);
        if (box.empty()) box.add(0, 0);  // an unchanged frame still needs one pixel

        Patch patch;
        patch.box = box;
        patch.disposal = vanishing.empty() ? DISPOSE_DO_NOT : DISPOSE_BACKGROUND;
        for (int y = box.top; y <= box.bottom; ++y) {
            for (int x = box.left; x <= box.right; ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * a.width + x;
                patch.pixels.push_back(now[i] != shown[i] ? now[i] : clear);
            }
        }
        shown = now;
        if (patch.disposal == DISPOSE_BACKGROUND) {
            for (int y = box.top; y <= box.bottom; ++y) {
                std::fill_n(shown.begin() + static_cast<std::ptrdiff_t>(y) * a.width + box.left,
                            box.right - box.left + 1, clear);
            }
        }
        patches.push_back(std::move(patch));
    }
    return patches;
}

int appendBytes(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + length);
    return length;
}

void check(int result, GifFileType* gif, const char* what) {
    if (result != GIF_OK) {
        throw std::runtime_error(std::string("giflib: ") + what + ": " +
                                 GifErrorString(gif->Error));
    }
}

struct GifCloser {
    void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};
struct MapFreer {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

}  // namespace

std::vector<std::uint8_t> encodeGif(const IndexedAnimation& a) {
    if (a.frames.empty() || a.frames.size() != a.delaysCs.size()) {
        throw std::invalid_argument("every frame needs a delay");
    }
    for (const auto& frame : a.frames) {
        if (frame.size() != static_cast<std::size_t>(a.width) * a.height) {
            throw std::invalid_argument("frame size differs from the screen");
        }
    }
    const std::vector<Patch> patches = planPatches(a);

    std::vector<std::uint8_t> bytes;
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&bytes, appendBytes, &error));
    if (!gif) throw std::runtime_error(std::string("giflib: ") + GifErrorString(error));
    EGifSetGifVersion(gif.get(), true);

    std::array<GifColorType, 256> colours{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        colours[i] = {static_cast<GifByteType>(a.palette[i] >> 16),
                      static_cast<GifByteType>(a.palette[i] >> 8),
                      static_cast<GifByteType>(a.palette[i])};
    }
    std::unique_ptr<ColorMapObject, MapFreer> map(GifMakeMapObject(256, colours.data()));
    check(EGifPutScreenDesc(gif.get(), a.width, a.height, 8, a.transparent, map.get()), gif.get(),
          "screen");

    for (std::size_t k = 0; k < patches.size(); ++k) {
        const Patch& patch = patches[k];
        GraphicsControlBlock control{patch.disposal, false, a.delaysCs[k], a.transparent};
        GifByteType extension[4];
        const auto length = EGifGCBToExtension(&control, extension);
        check(EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length),
                               extension),
              gif.get(), "frame timing");
        const int w = patch.box.right - patch.box.left + 1;
        const int h = patch.box.bottom - patch.box.top + 1;
        check(EGifPutImageDesc(gif.get(), patch.box.left, patch.box.top, w, h, false, nullptr),
              gif.get(), "frame");
        std::vector<GifPixelType> row(static_cast<std::size_t>(w));
        for (int y = 0; y < h; ++y) {
            std::copy_n(patch.pixels.begin() + static_cast<std::ptrdiff_t>(y) * w, w, row.begin());
            check(EGifPutLine(gif.get(), row.data(), w), gif.get(), "pixels");
        }
    }
    int closeError = 0;
    if (EGifCloseFile(gif.release(), &closeError) != GIF_OK) {
        throw std::runtime_error(std::string("giflib: ") + GifErrorString(closeError));
    }
    return bytes;
}

}  // namespace artwork
