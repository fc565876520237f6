// The encoder stores only what changes between frames; whatever it writes
// must still decode, through Qt's reader as the program uses it, to exactly
// the frames it was given.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <vector>

#include "gif_encoder.h"

namespace {

constexpr std::uint8_t kClear = 255;
constexpr int kW = 12, kH = 9;
using Frame = std::vector<std::uint8_t>;

Frame withRect(int x0, int y0, int w, int h, std::uint8_t index, Frame f = Frame(kW * kH, kClear)) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) f[y * kW + x] = index;
    return f;
}

TEST(GifEncoder, DecodesToTheFramesItWasGiven) {
    const Frame body = withRect(3, 2, 5, 6, 1), blank(kW * kH, kClear);
    const struct {
        const char* name;
        std::vector<Frame> frames;
    } cases[] = {
        {"a square sliding right uncovers background",
         {withRect(0, 3, 4, 4, 2), withRect(2, 3, 4, 4, 2), withRect(6, 3, 4, 4, 2)}},
        {"a prop that comes and goes beside a still body",
         {body, withRect(9, 0, 2, 2, 2, body), body, withRect(9, 5, 2, 3, 2, body), body}},
        {"everything vanishes, then returns and stays", {body, blank, body, body}},
        {"a shape shrinking inside another",
         {withRect(3, 3, 6, 3, 1, withRect(1, 1, 10, 7, 0)), withRect(4, 3, 4, 3, 1, withRect(2, 2, 8, 5, 0)),
          withRect(4, 3, 4, 3, 1)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        artwork::IndexedAnimation a;
        a.width = kW, a.height = kH, a.transparent = kClear;
        a.palette[0] = 0x1f2a4d, a.palette[1] = 0x86cdf7, a.palette[2] = 0xff5476;
        a.delaysCs.assign(c.frames.size(), 8);
        a.delaysCs.back() = 40;
        a.frames = c.frames;
        const std::vector<std::uint8_t> bytes = artwork::encodeGif(a);
        QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
        QBuffer buffer(&data);
        QImageReader reader(&buffer, "gif");
        EXPECT_EQ(reader.loopCount(), 0) << "plays once";
        std::size_t k = 0;
        for (QImage image; k < 100 && reader.read(&image); ++k) {
            ASSERT_LT(k, a.frames.size());
            EXPECT_EQ(reader.nextImageDelay(), a.delaysCs[k] * 10);
            ASSERT_EQ(image.size(), QSize(kW, kH));
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) {
                    const QRgb pixel = image.pixel(x, y), index = a.frames[k][y * kW + x];
                    // Any fully see-through pixel counts as the same, whatever colour it carries.
                    ASSERT_EQ(qAlpha(pixel) == 0 ? 0u : pixel, index == kClear ? 0u : 0xff000000u | a.palette[index])
                        << "frame " << k << " at " << x << "," << y;
                }
        }
        EXPECT_EQ(k, a.frames.size());
    }
}

}  // namespace
