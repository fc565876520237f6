#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "quantize.h"

namespace {

constexpr std::uint32_t kNavy = 0x1f2a4d;

// Channel-wise: `premultiplied` + edge * (1 - alpha), as the pet's edges are
// laid over its outline colour.
std::uint32_t overNavy(int premultiplied, int alpha) {
    const auto c = [&](int shift) {
        return static_cast<std::uint32_t>(premultiplied +
                                          (((kNavy >> shift) & 0xff) * (255 - alpha) + 127) / 255);
    };
    return 0xff000000u | c(16) << 16 | c(8) << 8 | c(0);
}

TEST(FlattenAlpha, HalfCoveredPixelsDarkenIntoTheOutlineAndTheRestVanish) {
    struct Case {
        int alpha;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0, 0},
        {100, 0},  // less than half covered: see-through
        {127, 0},
        {128, overNavy(128, 128)},
        {200, overNavy(200, 200)},  // a white rim pulled towards navy, no pale halo
        {255, 0xffffffffu},
    };
    for (const Case& c : cases) {
        QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
        pixel.setPixel(0, 0, qRgba(c.alpha, c.alpha, c.alpha, c.alpha));  // white at that coverage
        EXPECT_EQ(artwork::flattenAlpha(pixel, kNavy).at(0), c.expected) << "alpha " << c.alpha;
    }
}

QImage gradientFrame(int shift) {
    QImage image(64, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int x = 0; x < 64; ++x) {
        for (int y = 4; y < 16; ++y)
            image.setPixel(x, y, qRgb(4 * x, 255 - 4 * x, 60 + shift + 8 * y));
    }
    image.setPixel(5, 5, qRgb(31, 42, 77));
    image.setPixel(6, 6, qRgb(134, 205, 247));
    return image;
}

TEST(Quantize, KeepsKeyColoursExactAndMapsTheRestNearby) {
    const std::vector<QImage> frames{gradientFrame(0), gradientFrame(40)};
    const std::vector<std::uint32_t> keys{kNavy, 0x86cdf7};
    const artwork::IndexedAnimation a = artwork::quantize(frames, keys, kNavy);

    ASSERT_EQ(a.frames.size(), 2u);
    EXPECT_EQ(a.palette[0], keys[0]);
    EXPECT_EQ(a.palette[1], keys[1]);
    EXPECT_EQ(a.frames[0][5 * 64 + 5], 0);
    EXPECT_EQ(a.frames[0][6 * 64 + 6], 1);
    EXPECT_EQ(a.frames[0][0], a.transparent) << "untouched pixels stay see-through";

    // Well over 255 distinct colours: each still lands close to where it was.
    for (std::size_t f = 0; f < frames.size(); ++f) {
        for (int y = 4; y < 16; ++y) {
            for (int x = 0; x < 64; ++x) {
                const QRgb want = frames[f].pixel(x, y);
                const std::uint32_t got = a.palette[a.frames[f][y * 64 + x]];
                EXPECT_LE(std::abs(qRed(want) - static_cast<int>(got >> 16 & 0xff)) +
                              std::abs(qGreen(want) - static_cast<int>(got >> 8 & 0xff)) +
                              std::abs(qBlue(want) - static_cast<int>(got & 0xff)),
                          40)
                    << "frame " << f << " at " << x << "," << y;
            }
        }
    }
}

TEST(Quantize, IsRepeatable) {
    const std::vector<QImage> frames{gradientFrame(0), gradientFrame(17)};
    const auto a = artwork::quantize(frames, {kNavy}, kNavy);
    const auto b = artwork::quantize(frames, {kNavy}, kNavy);
    EXPECT_EQ(a.palette, b.palette);
    EXPECT_EQ(a.frames, b.frames);
}

}  // namespace
