#include "platform/qt/gif_frame_reader.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "platform/posix/posix_file_system.h"

namespace glugmo {
namespace {

// Players show frames of 0 or 1 centisecond for a tenth of a second.
constexpr double kShortestPlayedDelay = 0.011;
constexpr double kClampedDelay = 0.1;

struct Cursor {
    std::string_view remaining;
};

int readFromCursor(GifFileType* gif, GifByteType* destination, int length) {
    auto& cursor = *static_cast<Cursor*>(gif->UserData);
    if (length <= 0) return 0;
    const std::size_t count = std::min(static_cast<std::size_t>(length), cursor.remaining.size());
    std::memcpy(destination, cursor.remaining.data(), count);
    cursor.remaining.remove_prefix(count);
    return static_cast<int>(count);
}

class GifDecoder {
public:
    explicit GifDecoder(Cursor& cursor) : gif_(DGifOpen(&cursor, readFromCursor, nullptr)) {}
    GifDecoder(const GifDecoder&) = delete;
    GifDecoder& operator=(const GifDecoder&) = delete;
    ~GifDecoder() {
        if (gif_) DGifCloseFile(gif_, nullptr);
    }
    GifFileType* get() const { return gif_; }

private:
    GifFileType* gif_;
};

// The delay of a frame's graphic control block, in centiseconds, or
// kNoControl when no block came before the frame. (A plain int: GCC 12 warns
// falsely about an optional here.)
using ControlDelay = int;
constexpr ControlDelay kNoControl = -1;

GifFrameProperties propertiesFor(ControlDelay control) {
    GifFrameProperties properties;
    properties.hasGifDictionary = true;
    if (control != kNoControl) {
        const double delay = control / 100.0;
        properties.unclampedDelayTime = delay;
        properties.delayTime = delay < kShortestPlayedDelay ? kClampedDelay : delay;
    }
    return properties;
}

// Reads an extension's sub-blocks to the end; the graphic control block is
// the first one of a 0xF9 extension.
bool readExtension(GifFileType* gif, ControlDelay& control) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    GraphicsControlBlock parsed{};
    if (code == GRAPHICS_EXT_FUNC_CODE && block &&
        DGifExtensionToGCB(block[0], block + 1, &parsed) == GIF_OK) {
        control = parsed.DelayTime;
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    }
    return true;
}

// Steps over the compressed pixels one sub-block at a time, so nothing is
// allocated from the image size the descriptor claims.
bool skipImageData(GifFileType* gif) {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR) return false;
    while (block) {
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return false;
    }
    return true;
}

}  // namespace

std::optional<std::vector<GifFrameProperties>> readGifFrameProperties(std::string_view bytes) {
    Cursor cursor{bytes};
    GifDecoder decoder(cursor);
    GifFileType* gif = decoder.get();
    if (!gif) return std::nullopt;

    // Damage ends the walk; the frames described before it still count.
    std::vector<GifFrameProperties> frames;
    ControlDelay control = kNoControl;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) break;
        if (record == TERMINATE_RECORD_TYPE) break;
        if (record == EXTENSION_RECORD_TYPE) {
            if (!readExtension(gif, control)) break;
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            // The header alone, not DGifGetImageDesc, which keeps a record
            // of every image and so grows with a file of many tiny frames.
            if (DGifGetImageHeader(gif) == GIF_ERROR) break;
            frames.push_back(propertiesFor(control));
            control = kNoControl;
            if (!skipImageData(gif)) break;
        }
    }
    return frames;
}

std::optional<std::vector<GifFrameProperties>> readGifFramePropertiesFromFile(
    const std::string& path) {
    const auto bytes = PosixFileSystem(std::nullopt).readFile(path);
    if (!bytes) return std::nullopt;
    return readGifFrameProperties(*bytes);
}

}  // namespace glugmo
