#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cmath>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "gif/gif_frame_reader.h"
#include "gif/gif_structure.h"
#include "gif/streamed_gif.h"

namespace glugmo {
namespace {

struct FrameSpec {
    std::optional<int> delayCs;  // none: no graphic control block
    int disposal = DISPOSAL_UNSPECIFIED;
    int left = 0, top = 0;
    std::vector<GifPixelType> row = {0, 1};  // every row; as many rows as pixels in one
    int transparent = NO_TRANSPARENT_COLOR;
};

int appendTo(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// Encoded with giflib's own encoder.
std::string encode(const std::vector<FrameSpec>& frames, int canvas = 2) {
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendTo, &error);
    EGifSetGifVersion(gif, true);
    GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* palette = GifMakeMapObject(4, colours);
    EXPECT_EQ(EGifPutScreenDesc(gif, canvas, canvas, 2, 0, palette), GIF_OK);
    GifFreeMapObject(palette);
    // The looping extension every animation carries: two sub-blocks to skip.
    const GifByteType loop[] = {1, 0, 0};
    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
    EGifPutExtensionBlock(gif, sizeof loop, loop);
    EGifPutExtensionTrailer(gif);
    for (FrameSpec frame : frames) {
        if (frame.delayCs) {
            GraphicsControlBlock control{frame.disposal, false, *frame.delayCs, frame.transparent};
            GifByteType extension[4];
            EGifGCBToExtension(&control, extension);
            EXPECT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension), GIF_OK);
        }
        const int side = static_cast<int>(frame.row.size());
        EXPECT_EQ(EGifPutImageDesc(gif, frame.left, frame.top, side, side, false, nullptr), GIF_OK);
        for (int y = 0; y < side; ++y) EXPECT_EQ(EGifPutLine(gif, frame.row.data(), side), GIF_OK);
    }
    EXPECT_EQ(EGifCloseFile(gif, &error), GIF_OK);
    return out;
}

// A GIF built byte by byte: a canvas and `frames` images of the given size
// with no pixels, and the trailer unless `cut`.
std::string declared(int width, int height, int frames, int frameWidth, int frameHeight, bool cut = false) {
    const auto le16 = [](int v) { return std::string{char(v & 0xff), char(v >> 8)}; };
    std::string bytes = "GIF89a" + le16(width) + le16(height) + std::string(3, '\0');
    for (int i = 0; i < frames; ++i)
        bytes += "\x2c" + le16(0) + le16(0) + le16(frameWidth) + le16(frameHeight) + std::string("\0\x02\0", 3);
    return cut ? bytes : bytes + ";";
}

using Delays = std::vector<std::pair<double, double>>;  // per frame, as written and as played

// The limits bound what a file may cost; damage keeps the frames before it.
// The duration reader and the frame decoder walk the same blocks, so the pet
// returns to idle exactly when the animation has played.
TEST(GifStructure, DelaysLimitsAndDamage) {
    const std::string gif = encode({{25}, {25}, {25}, {25}});
    const std::size_t screenEnd = 6 + 7 + 4 * 3;  // header, screen descriptor, palette
    const auto cut = [&](std::size_t length) { return gif.substr(0, length); };
    const auto end = [](int frames) { return encode(std::vector<FrameSpec>(frames, {25})).size() - 1; };  // ; ends
    const auto tenths = [](int frames) { return Delays(frames, {0.1, 0.1}); };  // no control block
    const auto quarters = [](int frames) { return Delays(frames, {0.25, 0.25}); };
    const std::string notGif = "is not a GIF picture", tooLarge = "is wider or taller than 4096 px";
    const struct {
        const char* name;
        std::string bytes;
        std::string problem;  // empty: accepted
        bool complete;
        Delays delays;
    } cases[] = {
        {"steady, and the largest delay", encode({{25}, {65535}}), "", true, {{0.25, 0.25}, {655.35, 655.35}}},
        {"clamped", encode({{0}, {1}, {5}}), "", true, {{0, 0.1}, {0.01, 0.1}, {0.05, 0.05}}},
        {"a control block applies to the next frame only", encode({{50}, {std::nullopt}, {2}}), "", true,
         {{0.5, 0.5}, {0.1, 0.1}, {0.02, 0.02}}},
        {"largest canvas", declared(4096, 4096, 1, 1, 1), "", true, tenths(1)},
        {"one pixel too wide", declared(4097, 1, 1, 1, 1), tooLarge, false, {}},
        {"one pixel too tall", declared(1, 4097, 1, 1, 1), tooLarge, false, {}},
        {"most frames", declared(1, 1, 1000, 1, 1), "", true, tenths(1000)},
        {"one frame too many", declared(1, 1, 1001, 1, 1), "has more than 1000 frames", false, {}},
        {"16 full frames of the largest canvas", declared(4096, 4096, 16, 4096, 4096), "", true, tenths(16)},
        {"17 of them", declared(4096, 4096, 17, 4096, 4096), "has frames too large to draw in time", false, {}},
        {"frames count only as far as the canvas", declared(64, 64, 1000, 65535, 65535), "", true, tenths(1000)},
        {"no frame", declared(8, 8, 0, 1, 1), "cannot be decoded", false, {}},
        {"empty canvas", declared(0, 8, 1, 1, 1), "has an empty canvas", false, {}},
        {"cut before the trailer", declared(8, 8, 2, 1, 1, true), "", false, tenths(2)},
        {"cut after frame 2", cut(end(2)), "", false, quarters(2)},
        {"cut inside frame 3's image descriptor", cut(end(2) + 8 + 5), "", false, quarters(2)},
        {"cut inside frame 3's pixels", cut(end(3) - 2), "", false, quarters(3)},
        {"cut inside the looping extension", cut(screenEnd + 5), "cannot be decoded", false, {}},
        {"cut inside the screen descriptor", cut(12), notGif, false, {}},
        {"header only", "GIF89a", notGif, false, {}},
        {"a PNG", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), notGif, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GifReading reading = readGifStructure(c.bytes);
        EXPECT_EQ(reading.problem, c.problem);
        EXPECT_EQ(reading.gif != nullptr, c.problem.empty());
        EXPECT_EQ(reading.gif && reading.gif->complete, c.complete);
        const auto frames = readGifFrameProperties(c.bytes);
        EXPECT_EQ(frames.has_value(), c.problem != notGif);
        if (!reading.gif) continue;
        ASSERT_EQ(frames->size(), c.delays.size());
        ASSERT_EQ(reading.gif->delaysMs.size(), c.delays.size());
        for (std::size_t i = 0; i < c.delays.size(); ++i) {
            EXPECT_TRUE((*frames)[i].hasGifDictionary);
            EXPECT_DOUBLE_EQ((*frames)[i].unclampedDelayTime.value_or(-1), c.delays[i].first) << i;
            EXPECT_DOUBLE_EQ((*frames)[i].delayTime.value_or(-1), c.delays[i].second) << i;
            EXPECT_EQ(reading.gif->delaysMs[i], std::lround(c.delays[i].first * 1000)) << i;
        }
    }
}

// The frame decoder against Qt's own GIF reader: the same pixels for every
// frame. The one known difference, a canvas that starts transparent rather
// than in the background colour, does not show in GIFs whose frames say
// which colour is transparent, as all of ours do.
void expectSameFramesAsQt(const std::string& bytes) {
    const GifReading reading = readGifStructure(bytes);
    ASSERT_TRUE(reading.gif) << reading.problem;
    QByteArray copy(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&copy);
    QImageReader qt(&buffer, "gif");
    StreamedGif ours(reading.gif);
    std::size_t index = 0;
    for (QImage expected; qt.read(&expected); ++index) {
        SCOPED_TRACE(index);
        ASSERT_LT(index, reading.gif->delaysMs.size());
        const auto canvas = ours.frame(index);
        const QImage actual(reinterpret_cast<const uchar*>(canvas.data()), reading.gif->width,
                            reading.gif->height, QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(actual, expected.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    EXPECT_EQ(index, reading.gif->delaysMs.size());
    EXPECT_FALSE(ours.damaged());
}

// Every shipped GIF is the idle picture's size, plays once for one to three
// seconds and decodes to Qt's frames; all pictures stay within the budget.
TEST(GifDecoder, ShippedPicturesFitThePetAndDecodeAsQtDecodesThem) {
    const QDir resources(QStringLiteral(GLUGMO_RESOURCES));
    const QImage idle(resources.filePath(QStringLiteral("idle.png")));
    EXPECT_GE(idle.width(), 400);
    EXPECT_NEAR(idle.height(), idle.width() * 599.0 / 523.0, 1.0);
    qint64 budget = 3000000;
    for (const QFileInfo& picture : resources.entryInfoList({QStringLiteral("*.gif"), QStringLiteral("*.png")}))
        budget -= picture.size();
    EXPECT_GT(budget, 0);
    const QStringList shipped = resources.entryList({QStringLiteral("*.gif")});
    ASSERT_EQ(shipped.size(), 13);
    for (const QString& name : shipped) {
        SCOPED_TRACE(name.toStdString());
        QFile file(resources.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const std::string bytes = file.readAll().toStdString();
        expectSameFramesAsQt(bytes);
        const QImageReader qt(file.fileName());
        EXPECT_EQ(qt.loopCount(), 0);
        EXPECT_EQ(qt.size(), idle.size());
        const std::vector<int> delays = readGifStructure(bytes).gif->delaysMs;
        EXPECT_GE(delays.size(), 10u);
        const int ms = std::accumulate(delays.begin(), delays.end(), 0);
        EXPECT_TRUE(ms >= 1000 && ms <= 3000) << ms;
    }
    // Three overlapping 4x4 frames on an 8x8 canvas; the third shows what
    // the middle one's disposal left.
    for (int disposal : {DISPOSE_DO_NOT, DISPOSE_BACKGROUND, DISPOSE_PREVIOUS}) {
        SCOPED_TRACE(disposal);
        std::vector<FrameSpec> frames;
        for (int i = 0; i < 3; ++i) {
            const auto c = GifPixelType(i + 1);
            frames.push_back({10, i == 1 ? disposal : DISPOSE_DO_NOT, i * 2, i, {c, 0, c, c}, 0});
        }
        expectSameFramesAsQt(encode(frames, 8));
    }
}

}  // namespace
}  // namespace glugmo
