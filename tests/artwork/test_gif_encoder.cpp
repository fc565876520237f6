// The encoder stores only what changes between frames; whatever it writes
// must still decode, through Qt's reader as the program uses it, to exactly
// the frames it was given.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <string>
#include <vector>

#include "gif_encoder.h"

namespace {

using artwork::IndexedAnimation;
constexpr std::uint8_t kClear = 255;
constexpr int kW = 12, kH = 9;

using Frame = std::vector<std::uint8_t>;

Frame blank() { return Frame(kW * kH, kClear); }

Frame withRect(Frame f, int x0, int y0, int w, int h, std::uint8_t index) {
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) f[y * kW + x] = index;
    }
    return f;
}

IndexedAnimation animationOf(std::vector<Frame> frames) {
    IndexedAnimation a;
    a.width = kW;
    a.height = kH;
    a.palette[0] = 0x1f2a4d;
    a.palette[1] = 0x86cdf7;
    a.palette[2] = 0xff5476;
    a.transparent = kClear;
    a.delaysCs.assign(frames.size(), 8);
    a.delaysCs.back() = 40;
    a.frames = std::move(frames);
    return a;
}

std::vector<QImage> decodeWithQt(const std::vector<std::uint8_t>& bytes, std::vector<int>* delays,
                                 int* loopCount) {
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    *loopCount = reader.loopCount();
    std::vector<QImage> frames;
    QImage image;
    while (frames.size() < 100 && reader.read(&image)) {
        frames.push_back(image.convertToFormat(QImage::Format_ARGB32));
        delays->push_back(reader.nextImageDelay());
    }
    return frames;
}

// Any fully see-through pixel counts as the same, whatever colour it carries.
QRgb seen(QRgb pixel) { return qAlpha(pixel) == 0 ? 0u : pixel; }

QRgb expectedPixel(const IndexedAnimation& a, std::uint8_t index) {
    return index == a.transparent ? 0u : 0xff000000u | a.palette[index];
}

struct Case {
    const char* name;
    std::vector<Frame> frames;
};

std::vector<Case> cases() {
    const Frame body = withRect(blank(), 3, 2, 5, 6, 1);
    return {
        {"a square sliding right uncovers background",
         {withRect(blank(), 0, 3, 4, 4, 2), withRect(blank(), 2, 3, 4, 4, 2),
          withRect(blank(), 6, 3, 4, 4, 2)}},
        {"a prop that comes and goes beside a still body",
         {body, withRect(body, 9, 0, 2, 2, 2), body, withRect(body, 9, 5, 2, 3, 2), body}},
        {"everything vanishes, then returns", {body, blank(), body}},
        {"unchanged frames still count", {body, body, body}},
        {"a shape shrinking inside another",
         {withRect(withRect(blank(), 1, 1, 10, 7, 0), 3, 3, 6, 3, 1),
          withRect(withRect(blank(), 2, 2, 8, 5, 0), 4, 3, 4, 3, 1),
          withRect(blank(), 4, 3, 4, 3, 1)}},
    };
}

TEST(GifEncoder, DecodesToTheFramesItWasGiven) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const IndexedAnimation a = animationOf(c.frames);
        std::vector<int> delays;
        int loopCount = -2;
        const std::vector<QImage> decoded =
            decodeWithQt(artwork::encodeGif(a), &delays, &loopCount);
        ASSERT_EQ(decoded.size(), a.frames.size());
        EXPECT_EQ(loopCount, 0) << "plays once";
        for (std::size_t k = 0; k < decoded.size(); ++k) {
            EXPECT_EQ(delays[k], a.delaysCs[k] * 10);
            ASSERT_EQ(decoded[k].size(), QSize(kW, kH));
            for (int y = 0; y < kH; ++y) {
                for (int x = 0; x < kW; ++x) {
                    ASSERT_EQ(seen(decoded[k].pixel(x, y)),
                              expectedPixel(a, a.frames[k][y * kW + x]))
                        << "frame " << k << " at " << x << "," << y;
                }
            }
        }
    }
}

}  // namespace
