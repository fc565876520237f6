#include <gtest/gtest.h>

#include "bubble/bubble_geometry.h"

namespace glugmo {
namespace {

const Rect kAnchor = Rect::make(1027.6, 53.74378585086042, 120, 137.43785850860422);

struct SizeCase {
    Size fitting;
    double width;
    double height;
};

TEST(BubbleGeometry, SizeIsPaddedAndClampedAndCentredEightPointsAboveTheAnchor) {
    const SizeCase cases[] = {
        {{0, 0}, 90, 36},           // empty text: the minimum bubble
        {{62, 20}, 90, 36},         // exactly at both minimums
        {{62.5, 20.5}, 90.5, 36.5}, // just past them
        {{100, 17}, 128, 36},
        {{232, 54}, 260, 70},       // wrapped onto three lines: full width
        {{240, 900}, 260, 916},     // no height limit
    };
    for (const SizeCase& c : cases) {
        const BubbleGeometry g = bubbleGeometry(c.fitting, kAnchor);
        EXPECT_DOUBLE_EQ(g.panelFrame.size.width, c.width) << c.fitting.width;
        EXPECT_DOUBLE_EQ(g.panelFrame.size.height, c.height) << c.fitting.height;
        EXPECT_DOUBLE_EQ(g.panelFrame.midX(), kAnchor.midX());
        EXPECT_DOUBLE_EQ(g.panelFrame.minY(), kAnchor.maxY() + 8);
    }
}

TEST(BubbleGeometry, LabelIsCentredVerticallyInsideThePadding) {
    const BubbleGeometry small = bubbleGeometry({40, 17}, kAnchor);
    EXPECT_EQ(small.labelFrame, Rect::make(14, 9.5, 62, 17));
    const BubbleGeometry tall = bubbleGeometry({232, 51}, kAnchor);
    EXPECT_EQ(tall.labelFrame, Rect::make(14, 8, 232, 51));
}

struct PlacementCase {
    const char* where;
    Rect anchor;
    Rect screen;
    Size fitting;
    Point origin;
};

TEST(BubbleGeometry, StaysWholeOnTheAnchorsMonitorMovedTheLeast) {
    const Rect lower = Rect::make(0, 0, 1440, 900);
    const Rect upper = Rect::make(200, 900, 1280, 800);
    const PlacementCase cases[] = {
        {"fits: untouched", kAnchor, lower, {100, 17}, {1023.6, 199.18164}},
        {"touches the top exactly", Rect::make(600, 708, 120, 148), lower, {100, 17}, {596, 864}},
        {"no room above: below", Rect::make(600, 720, 120, 137), lower, {100, 17}, {596, 676}},
        {"off the right edge", Rect::make(1400, 100, 120, 137), lower, {100, 17}, {1312, 245}},
        {"off the left edge", Rect::make(-50, 100, 120, 137), lower, {100, 17}, {0, 245}},
        {"below the bottom", Rect::make(600, -300, 120, 137), lower, {100, 17}, {596, 0}},
        {"upper monitor, no room above", Rect::make(300, 1600, 120, 137), upper, {232, 54},
         {230, 1522}},
        {"upper monitor, past its left", Rect::make(150, 1000, 120, 137), upper, {100, 17},
         {200, 1145}},
        {"taller than the monitor: top kept", kAnchor, lower, {232, 900}, {957.6, -16}},
    };
    for (const PlacementCase& c : cases) {
        const Rect frame = bubbleGeometry(c.fitting, c.anchor, c.screen).panelFrame;
        EXPECT_NEAR(frame.minX(), c.origin.x, 1e-4) << c.where;
        EXPECT_NEAR(frame.minY(), c.origin.y, 1e-4) << c.where;
    }
}

TEST(BubbleText, LongTextsAreCutToThreeHundredCharactersWithAnEllipsis) {
    std::string ideographs;
    for (int i = 0; i < 400; ++i) ideographs += "测";
    const std::string cut = textForBubble(ideographs);
    EXPECT_EQ(cut, ideographs.substr(0, 299 * 3) + "…");

    const std::string exactly(300, 'x');
    EXPECT_EQ(textForBubble(exactly), exactly);
    EXPECT_EQ(textForBubble(exactly + "y"), std::string(299, 'x') + "…");
    EXPECT_EQ(textForBubble("功德+1"), "功德+1");
    EXPECT_EQ(textForBubble(""), "");
}

}  // namespace
}  // namespace glugmo
