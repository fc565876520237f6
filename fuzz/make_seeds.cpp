// Writes a starting corpus for each fuzz target: usage `glugmo_fuzz_seeds DIR`
// makes DIR/quotes, DIR/settings and DIR/gif_frames. The GIFs come from
// giflib's own encoder, so they are well-formed files the fuzzer then damages.
#include <gif_lib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kQuotes = {
    "功德+1\n莫生气 +1\n工资+1\n",
    "\xEF\xBB\xBF第一句\r\n\r\n  第二句  \r\n",
    "line one\vline two\fthree\rfour\xC2\x85" "five\xE2\x80\xA8six\xE2\x80\xA9seven",
    "\t\xC2\xA0\xE3\x80\x80 padded \xE2\x80\x83\n\xE2\x80\xAF\n",
    "emoji \xF0\x9F\x90\xB8 and \xF4\x8F\xBF\xBF\n",
    "bad \xC0\xAF overlong\n",
    "bad \xED\xA0\x80 surrogate\n",
    "cut \xE5\x8A",
};

const std::vector<std::string> kSettings = {
    "true", "YES", " false ", "0", "0.0", "-3", "2.5", "80.5", "120", "4000", "4000.0001",
    "1e300", "1e400", "-1e400", "1e-400", "nan", "-inf", "Infinity", "+12abc", "  \t\n7",
    "", "0x10", "+-5", ".5e1",
};

int appendTo(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

struct Frame {
    std::optional<int> delay;  // centiseconds; none: no graphic control extension
    bool interlaced = false;
    bool localPalette = false;
};

std::string encodeGif(const std::vector<Frame>& frames, bool loops, const char* comment) {
    std::string bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendTo, &error);
    EGifSetGifVersion(gif, true);
    GifColorType colors[4] = {{0, 0, 0}, {255, 255, 255}, {0, 120, 255}, {255, 80, 0}};
    ColorMapObject* palette = GifMakeMapObject(4, colors);
    EGifPutScreenDesc(gif, 4, 3, 2, 0, palette);
    if (loops) {
        const GifByteType forever[] = {1, 0, 0};
        EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
        EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
        EGifPutExtensionBlock(gif, sizeof forever, forever);
        EGifPutExtensionTrailer(gif);
    }
    if (comment) EGifPutComment(gif, comment);
    for (const Frame& frame : frames) {
        if (frame.delay) {
            GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, *frame.delay, NO_TRANSPARENT_COLOR};
            GifByteType extension[4];
            EGifGCBToExtension(&control, extension);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
        }
        EGifPutImageDesc(gif, 0, 0, 4, 3, frame.interlaced, frame.localPalette ? palette : nullptr);
        for (int y = 0; y < 3; ++y) {
            GifPixelType row[4] = {0, 1, 2, static_cast<GifPixelType>(y)};
            EGifPutLine(gif, row, 4);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(palette);
    return bytes;
}

void writeAll(const fs::path& folder, const std::vector<std::string>& seeds) {
    fs::create_directories(folder);
    for (std::size_t k = 0; k < seeds.size(); ++k) {
        std::ofstream(folder / ("seed-" + std::to_string(k)), std::ios::binary) << seeds[k];
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path out = argv[1];
    writeAll(out / "quotes", kQuotes);
    writeAll(out / "settings", kSettings);
    writeAll(out / "gif_frames",
             {encodeGif({{}}, false, nullptr),
              encodeGif({{10}, {10}, {10}, {10}}, true, nullptr),
              encodeGif({{0}, {1}, {2}, {65535}}, true, "delays at the edges"),
              encodeGif({{5, true}, {std::nullopt, false, true}, {7, true, true}}, false, "mixed")});
    return 0;
}
