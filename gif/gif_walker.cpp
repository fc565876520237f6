#include "gif/gif_walker.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace glugmo {

namespace {

int readFromMemory(GifFileType* gif, GifByteType* destination, int length) {
    auto& remaining = *static_cast<std::string_view*>(gif->UserData);
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(length, 0)), remaining.size());
    std::memcpy(destination, remaining.data(), count);
    remaining.remove_prefix(count);
    return static_cast<int>(count);
}

bool isLoopExtension(const GifByteType* block) {
    return block && block[0] == 11 &&
           (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 ||
            std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0);
}

GifDisposal disposalOf(int mode) {
    if (mode == DISPOSE_BACKGROUND) return GifDisposal::Background;
    if (mode == DISPOSE_PREVIOUS) return GifDisposal::Previous;
    return GifDisposal::Keep;
}

}  // namespace

GifWalker::GifWalker(std::string_view bytes) : remaining_(bytes) {
    gif_ = DGifOpen(&remaining_, readFromMemory, nullptr);
}

GifWalker::~GifWalker() {
    if (gif_) DGifCloseFile(gif_, nullptr);
}

int GifWalker::width() const { return gif_ ? gif_->SWidth : 0; }
int GifWalker::height() const { return gif_ ? gif_->SHeight : 0; }

bool GifWalker::readExtension(std::optional<GifFrameHeader>& control) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif_, &code, &block) == GIF_ERROR) return false;
    GraphicsControlBlock parsed{};
    if (code == GRAPHICS_EXT_FUNC_CODE && block &&
        DGifExtensionToGCB(block[0], block + 1, &parsed) == GIF_OK) {
        control.emplace();
        control->delayCs = parsed.DelayTime;
        control->disposal = disposalOf(parsed.DisposalMode);
        control->transparent = parsed.TransparentColor;
    }
    const bool loop = code == APPLICATION_EXT_FUNC_CODE && isLoopExtension(block);
    bool loopRead = false;
    while (block) {
        if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR) return false;
        if (loop && !loopRead && block && block[0] >= 3 && block[1] == 1) {
            // Qt's count: a stored 0 loops for ever.
            const int stored = block[2] | (block[3] << 8);
            loopCount_ = stored == 0 ? -1 : stored;
            loopRead = true;
        }
    }
    return true;
}

std::optional<GifFrameHeader> GifWalker::nextFrame() {
    if (!gif_ || reachedEnd_) return std::nullopt;
    std::optional<GifFrameHeader> control;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif_, &record) == GIF_ERROR) return std::nullopt;
        if (record == TERMINATE_RECORD_TYPE) {
            reachedEnd_ = true;
            return std::nullopt;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            if (!readExtension(control)) return std::nullopt;
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            // The header alone, not DGifGetImageDesc, which keeps a record
            // of every image and so grows with a file of many tiny frames.
            if (DGifGetImageHeader(gif_) == GIF_ERROR) return std::nullopt;
            GifFrameHeader header = control.value_or(GifFrameHeader{});
            const GifImageDesc& desc = gif_->Image;
            header.left = desc.Left;
            header.top = desc.Top;
            header.width = desc.Width;
            header.height = desc.Height;
            header.interlaced = desc.Interlace;
            const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif_->SColorMap;
            for (int i = 0; map && i < std::min(map->ColorCount, 256); ++i) {
                const GifColorType& c = map->Colors[i];
                header.colours[static_cast<std::size_t>(i)] =
                    0xff000000u | std::uint32_t{c.Red} << 16 | std::uint32_t{c.Green} << 8 | c.Blue;
            }
            return header;
        }
    }
}

bool GifWalker::skipPixels() {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif_, &codeSize, &block) == GIF_ERROR) return false;
    while (block) {
        if (DGifGetCodeNext(gif_, &block) == GIF_ERROR) return false;
    }
    return true;
}

bool GifWalker::readPixels(std::vector<std::uint8_t>& compressed, int& minimumCodeSize) {
    GifByteType* block = nullptr;
    compressed.clear();
    if (DGifGetCode(gif_, &minimumCodeSize, &block) == GIF_ERROR) return false;
    while (block) {
        compressed.insert(compressed.end(), block + 1, block + 1 + block[0]);
        if (DGifGetCodeNext(gif_, &block) == GIF_ERROR) return false;
    }
    return true;
}

}  // namespace glugmo
