// Checks the committed pictures as the program will meet them: decoded by
// Qt's image reader, timed by the same GIF reader the program uses.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gif/gif_frame_reader.h"

namespace {

namespace fs = std::filesystem;

const fs::path kResources = GLUGMO_RESOURCE_DIR;

const char* const kAnimations[] = {
    "01_好jeng啊", "03_收工",   "04_爱你哟", "05_帮紧你", "06_辛苦了",   "07_谢谢", "08_多喝水",
    "09_问号",     "10_三点几", "12_哈哈哈", "13_嚯",     "14_精神打击", "16_笑"};

struct Decoded {
    std::vector<QImage> frames;
    int loopCount = -2;
};

Decoded decode(const fs::path& path) {
    QImageReader reader(QString::fromStdString(path.string()));
    Decoded out;
    out.loopCount = reader.loopCount();
    QImage image;
    while (out.frames.size() < 500 && reader.read(&image)) {
        out.frames.push_back(image.convertToFormat(QImage::Format_ARGB32));
    }
    return out;
}

QImage readPng(const fs::path& path) {
    return QImage(QString::fromStdString(path.string())).convertToFormat(QImage::Format_ARGB32);
}

bool opaque(const QImage& image, int x, int y) { return qAlpha(image.pixel(x, y)) >= 128; }

void expectPetProportions(const QImage& image) {
    EXPECT_GE(image.width(), 400);
    EXPECT_NEAR(image.height(), image.width() * 599.0 / 523.0, 1.0);
}

void expectClearCorners(const QImage& image) {
    const int r = image.width() - 1, b = image.height() - 1;
    for (auto [x, y] : {std::pair{0, 0}, {r, 0}, {0, b}, {r, b}}) {
        EXPECT_EQ(qAlpha(image.pixel(x, y)), 0) << "corner " << x << "," << y;
    }
}

bool rowHasInk(const QImage& image, int y) {
    for (int x = 0; x < image.width(); ++x) {
        if (opaque(image, x, y)) return true;
    }
    return false;
}

// The pet stands on the bottom edge (it rocks about that point) and keeps a
// little air above its head.
void expectStandingWithAirAbove(const QImage& image) {
    EXPECT_TRUE(rowHasInk(image, image.height() - 1) || rowHasInk(image, image.height() - 2));
    for (int y = 0; y < image.height() / 20; ++y) EXPECT_FALSE(rowHasInk(image, y)) << "row " << y;
}

// Share of the two silhouettes that they have in common.
double silhouetteOverlap(const QImage& a, const QImage& b) {
    long both = 0, either = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const bool inA = opaque(a, x, y), inB = opaque(b, x, y);
            both += inA && inB;
            either += inA || inB;
        }
    }
    return either ? static_cast<double>(both) / either : 1;
}

// Opaque pixels next to a see-through one: the rim a wallpaper shows against.
int paleRimPixels(const QImage& image) {
    int pale = 0;
    for (int y = 1; y + 1 < image.height(); ++y) {
        for (int x = 1; x + 1 < image.width(); ++x) {
            if (!opaque(image, x, y)) continue;
            const bool rim = !opaque(image, x - 1, y) || !opaque(image, x + 1, y) ||
                             !opaque(image, x, y - 1) || !opaque(image, x, y + 1);
            if (rim && qGray(image.pixel(x, y)) > 140) ++pale;
        }
    }
    return pale;
}

class AnimationFile : public ::testing::TestWithParam<const char*> {
protected:
    fs::path path() const { return kResources / (std::string(GetParam()) + ".gif"); }
};

TEST_P(AnimationFile, HasThePetsProportionsAndTheIdlePicturesSize) {
    const Decoded gif = decode(path());
    ASSERT_GE(gif.frames.size(), 10u);
    const QImage idle = readPng(kResources / "idle.png");
    for (const QImage& frame : gif.frames) {
        expectPetProportions(frame);
        EXPECT_EQ(frame.size(), idle.size());
    }
}

TEST_P(AnimationFile, PlaysOnceInOneToThreeSecondsAtTenToTwentyFiveFramesASecond) {
    EXPECT_EQ(decode(path()).loopCount, 0);  // no loop extension
    std::ifstream file(path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto frames = glugmo::readGifFrameProperties(bytes);
    ASSERT_TRUE(frames && !frames->empty());
    double total = 0;
    for (std::size_t i = 0; i < frames->size(); ++i) {
        const double delay = (*frames)[i].unclampedDelayTime.value_or(0);
        total += delay;
        // The last frame may linger a little before the pet goes back to idle.
        if (i + 1 < frames->size()) {
            EXPECT_GE(delay, 0.04) << "frame " << i;
            EXPECT_LE(delay, 0.1) << "frame " << i;
        }
    }
    EXPECT_GE(total, 1.0);
    EXPECT_LE(total, 3.0);
}

TEST_P(AnimationFile, EveryFrameHasClearCornersAndADarkRim) {
    const Decoded gif = decode(path());
    for (std::size_t i = 0; i < gif.frames.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        expectClearCorners(gif.frames[i]);
        EXPECT_EQ(paleRimPixels(gif.frames[i]), 0);
    }
}

TEST_P(AnimationFile, StartsAndEndsStandingCloseToTheIdlePose) {
    const Decoded gif = decode(path());
    ASSERT_FALSE(gif.frames.empty());
    const QImage idle = readPng(kResources / "idle.png");
    for (const QImage* frame : {&gif.frames.front(), &gif.frames.back()}) {
        expectStandingWithAirAbove(*frame);
        EXPECT_GE(silhouetteOverlap(*frame, idle), 0.8);
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, AnimationFile, ::testing::ValuesIn(kAnimations),
                         [](const auto& info) { return "n" + std::string(info.param, 2); });

TEST(IdlePicture, StandsOnTheBottomEdgeWithSoftEdges) {
    const QImage idle = readPng(kResources / "idle.png");
    ASSERT_FALSE(idle.isNull());
    expectPetProportions(idle);
    expectClearCorners(idle);
    expectStandingWithAirAbove(idle);
    int partial = 0;
    for (int y = 0; y < idle.height(); ++y) {
        for (int x = 0; x < idle.width(); ++x) partial += qAlpha(idle.pixel(x, y)) % 255 != 0;
    }
    EXPECT_GT(partial, 100) << "the still picture keeps antialiased alpha";
}

TEST(TrayIcon, IsASquareDropWithClearCorners) {
    const QImage icon = readPng(kResources / "icon.png");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.width(), icon.height());
    EXPECT_GE(icon.width(), 40);
    expectClearCorners(icon);
    EXPECT_TRUE(opaque(icon, icon.width() / 2, icon.height() * 2 / 3));
}

TEST(Resources, AllPicturesTogetherStayUnderThreeMegabytes) {
    std::uintmax_t total = 0;
    int pictures = 0;
    for (const auto& entry : fs::directory_iterator(kResources)) {
        const auto ext = entry.path().extension();
        if (entry.is_regular_file() && (ext == ".gif" || ext == ".png")) {
            total += entry.file_size();
            ++pictures;
        }
    }
    EXPECT_EQ(pictures, 15);
    EXPECT_LT(total, 3000000u);
}

}  // namespace
