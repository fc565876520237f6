#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include <optional>
#include <string>
#include <vector>

#include "gif/gif_frame_reader.h"
#include "gif/gif_structure.h"
#include "gif/streamed_gif.h"

namespace glugmo {
namespace {

// Encodes small animations in memory with giflib's own encoder. Each frame
// is 2x2 pixels; `frameEnds` records where each frame's bytes stop, so tests
// can cut a file at a frame boundary.
struct EncodedGif {
    std::string bytes;
    std::vector<std::size_t> frameEnds;
};

int appendTo(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// A frame's delay in centiseconds, or none for a frame without a graphic
// control extension.
EncodedGif encode(const std::vector<std::optional<int>>& delays) {
    EncodedGif out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out.bytes, appendTo, &error);
    EGifSetGifVersion(gif, true);
    GifColorType colors[2] = {{0, 0, 0}, {255, 255, 255}};
    ColorMapObject* palette = GifMakeMapObject(2, colors);
    EXPECT_EQ(EGifPutScreenDesc(gif, 2, 2, 1, 0, palette), GIF_OK);
    GifFreeMapObject(palette);

    // The looping extension every animation carries: two sub-blocks to skip.
    const GifByteType loop[] = {1, 0, 0};
    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
    EGifPutExtensionBlock(gif, sizeof loop, loop);
    EGifPutExtensionTrailer(gif);

    for (const auto& delay : delays) {
        if (delay) {
            GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, *delay, NO_TRANSPARENT_COLOR};
            GifByteType extension[4];
            EGifGCBToExtension(&control, extension);
            EXPECT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension), GIF_OK);
        }
        EXPECT_EQ(EGifPutImageDesc(gif, 0, 0, 2, 2, false, nullptr), GIF_OK);
        GifPixelType row[2] = {0, 1};
        for (int y = 0; y < 2; ++y) EXPECT_EQ(EGifPutLine(gif, row, 2), GIF_OK);
        out.frameEnds.push_back(out.bytes.size());
    }
    EXPECT_EQ(EGifCloseFile(gif, &error), GIF_OK);
    return out;
}

GifFrameProperties frame(std::optional<double> unclamped, std::optional<double> played) {
    return {true, unclamped, played};
}

void expectFrames(const std::optional<std::vector<GifFrameProperties>>& actual,
                  const std::vector<GifFrameProperties>& expected) {
    ASSERT_TRUE(actual.has_value());
    ASSERT_EQ(actual->size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ((*actual)[i].hasGifDictionary, expected[i].hasGifDictionary);
        ASSERT_EQ((*actual)[i].unclampedDelayTime.has_value(),
                  expected[i].unclampedDelayTime.has_value());
        ASSERT_EQ((*actual)[i].delayTime.has_value(), expected[i].delayTime.has_value());
        if (expected[i].unclampedDelayTime) {
            EXPECT_DOUBLE_EQ(*(*actual)[i].unclampedDelayTime, *expected[i].unclampedDelayTime);
            EXPECT_DOUBLE_EQ(*(*actual)[i].delayTime, *expected[i].delayTime);
        }
    }
}

TEST(GifFrameReader, ReportsEachFramesDelay) {
    // A frame without a control block shows for a tenth of a second.
    const auto tenth = frame(0.1, 0.1);
    const struct {
        const char* name;
        std::vector<std::optional<int>> delays;
        std::vector<GifFrameProperties> expected;
    } cases[] = {
        {"steady", {25, 25, 25, 25}, std::vector(4, frame(0.25, 0.25))},
        {"clamped", {0, 1, 5}, {frame(0, 0.1), frame(0.01, 0.1), frame(0.05, 0.05)}},
        {"no control blocks", {std::nullopt, std::nullopt}, {tenth, tenth}},
        {"control applies to the next frame only",
         {50, std::nullopt, 2},
         {frame(0.5, 0.5), tenth, frame(0.02, 0.02)}},
        {"largest delay", {65535}, {frame(655.35, 655.35)}},
        {"still", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = encode(c.delays).bytes;
        expectFrames(readGifFrameProperties(bytes), c.expected);
        // The decoder plays each frame for the delay the duration counts.
        std::vector<int> shownMs;
        for (const auto& f : c.expected) shownMs.push_back(static_cast<int>(*f.unclampedDelayTime * 1000 + 0.5));
        if (const auto gif = readGifStructure(bytes).gif) {
            EXPECT_EQ(gif->delaysMs, shownMs);
        } else {
            EXPECT_TRUE(c.expected.empty());
        }
    }
}

TEST(GifFrameReader, TruncatedFileKeepsTheFramesBeforeTheDamage) {
    const EncodedGif gif = encode({25, 25, 25, 25});
    const std::size_t screenEnd = 6 + 7 + 2 * 3;  // header, screen descriptor, palette
    const struct {
        const char* name;
        std::size_t length;
        std::size_t frames;
    } cases[] = {
        {"after frame 2", gif.frameEnds[1], 2},
        {"inside frame 3's image descriptor", gif.frameEnds[1] + 8 + 5, 2},  // 8: control block
        {"inside frame 3's pixels", gif.frameEnds[2] - 2, 3},
        {"after the screen descriptor", screenEnd, 0},
        {"inside the looping extension", screenEnd + 5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto frames = readGifFrameProperties(std::string_view(gif.bytes).substr(0, c.length));
        ASSERT_TRUE(frames.has_value());
        EXPECT_EQ(frames->size(), c.frames);
    }
}

TEST(GifFrameReader, NothingWhenTheBytesAreNoGif) {
    using namespace std::string_literals;
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    const std::string cases[] = {"", png, "GIF89a", "GIF89a\x02\x00"s,
                                 encode({25}).bytes.substr(0, 12)};
    for (const auto& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        EXPECT_EQ(readGifFrameProperties(bytes), std::nullopt);
    }
}

// A GIF built byte by byte: a canvas and `frames` images of the given size
// with no pixels, and the trailer unless `cut`.
std::string declared(int width, int height, int frames, int frameWidth, int frameHeight, bool cut = false) {
    const auto le16 = [](int v) { return std::string{char(v & 0xff), char(v >> 8)}; };
    std::string bytes = "GIF89a" + le16(width) + le16(height) + std::string(3, '\0');
    for (int i = 0; i < frames; ++i) {
        bytes += "\x2c" + le16(0) + le16(0) + le16(frameWidth) + le16(frameHeight) + std::string("\0\x02\0", 3);
    }
    return cut ? bytes : bytes + ";";
}

TEST(GifStructure, LimitsBoundWhatAFileMayCost) {
    const struct {
        const char* name;
        std::string bytes;
        std::string problem;  // empty: accepted
        bool complete;
    } cases[] = {
        {"largest canvas", declared(4096, 4096, 1, 1, 1), "", true},
        {"one pixel too wide", declared(4097, 1, 1, 1, 1), "is wider or taller than 4096 px", false},
        {"one pixel too tall", declared(1, 4097, 1, 1, 1), "is wider or taller than 4096 px", false},
        {"most frames", declared(1, 1, 1000, 1, 1), "", true},
        {"one frame too many", declared(1, 1, 1001, 1, 1), "has more than 1000 frames", false},
        {"16 full frames of the largest canvas", declared(4096, 4096, 16, 4096, 4096), "", true},
        {"17 of them", declared(4096, 4096, 17, 4096, 4096), "has frames too large to draw in time", false},
        {"frames count only as far as the canvas", declared(64, 64, 1000, 65535, 65535), "", true},
        {"no frame", declared(8, 8, 0, 1, 1), "cannot be decoded", false},
        {"empty canvas", declared(0, 8, 1, 1, 1), "has an empty canvas", false},
        {"cut before the trailer", declared(8, 8, 2, 1, 1, true), "", false},
        {"not a GIF", "\x89PNG\r\n\x1a\n", "is not a GIF picture", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GifReading reading = readGifStructure(c.bytes);
        EXPECT_EQ(reading.problem, c.problem);
        ASSERT_EQ(reading.gif != nullptr, c.problem.empty());
        if (reading.gif) {
            EXPECT_EQ(reading.gif->complete, c.complete);
        }
    }
}

// The frame decoder against Qt's own GIF reader: the same pixels for every
// frame. The one known difference, a canvas that starts transparent rather
// than in the background colour, does not show in GIFs whose frames say
// which colour is transparent, as all of ours do.
// Three 4x4 frames on an 8x8 canvas, overlapping, the middle one disposed of
// as given, so the third frame shows what that disposal left.
std::string disposing(int disposal) {
    std::string bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendTo, &error);
    EGifSetGifVersion(gif, true);
    GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* palette = GifMakeMapObject(4, colours);
    EGifPutScreenDesc(gif, 8, 8, 2, 0, palette);
    GifFreeMapObject(palette);
    for (int i = 0; i < 3; ++i) {
        GraphicsControlBlock control{i == 1 ? disposal : DISPOSE_DO_NOT, false, 10, 0};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
        EGifPutImageDesc(gif, i * 2, i, 4, 4, false, nullptr);
        GifPixelType row[4] = {GifPixelType(i + 1), 0, GifPixelType(i + 1), GifPixelType(i + 1)};
        for (int y = 0; y < 4; ++y) EGifPutLine(gif, row, 4);
    }
    EGifCloseFile(gif, &error);
    return bytes;
}

void expectSameFramesAsQt(const std::string& bytes) {
    const GifReading reading = readGifStructure(bytes);
    ASSERT_TRUE(reading.gif) << reading.problem;
    QByteArray copy(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&copy);
    QImageReader qt(&buffer, "gif");
    StreamedGif ours(reading.gif);
    const QSize size(reading.gif->width, reading.gif->height);
    std::size_t index = 0;
    for (QImage expected; qt.read(&expected); ++index) {
        SCOPED_TRACE(index);
        ASSERT_LT(index, reading.gif->delaysMs.size());
        const auto canvas = ours.frame(index);
        const QImage actual(reinterpret_cast<const uchar*>(canvas.data()), size.width(), size.height(),
                            QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(actual, expected.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    EXPECT_EQ(index, reading.gif->delaysMs.size());
    EXPECT_FALSE(ours.damaged());
}

TEST(GifDecoder, FramesMatchQtsReader) {
    const QStringList shipped = QDir(QStringLiteral(GLUGMO_RESOURCES)).entryList({QStringLiteral("*.gif")});
    ASSERT_EQ(shipped.size(), 13);
    for (const QString& name : shipped) {
        SCOPED_TRACE(name.toStdString());
        QFile file(QDir(QStringLiteral(GLUGMO_RESOURCES)).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        expectSameFramesAsQt(file.readAll().toStdString());
    }
    for (int disposal : {DISPOSE_DO_NOT, DISPOSE_BACKGROUND, DISPOSE_PREVIOUS}) {
        SCOPED_TRACE(disposal);
        expectSameFramesAsQt(disposing(disposal));
    }
}

}  // namespace
}  // namespace glugmo
