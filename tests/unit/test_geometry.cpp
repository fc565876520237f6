// Where the pet, its bubble and its window go, and what a press on it means.
#include <gtest/gtest.h>

#include <vector>

#include "bubble/bubble_geometry.h"
#include "pet/pet_view.h"
#include "platform/monitor_area.h"

namespace glugmo {
namespace {

const Rect kAnchor = Rect::make(1027.6, 53.74378585086042, 120, 137.43785850860422);

// Padded and clamped, centred eight points above the anchor, the label
// centred vertically inside the padding.
TEST(BubbleGeometry, SizeIsPaddedAndClampedAndCentredEightPointsAboveTheAnchor) {
    const struct {
        Size fitting;
        double width, height;
        Rect label;
    } cases[] = {
        {{0, 0}, 90, 36, Rect::make(14, 18, 62, 0)},               // empty text: the minimum bubble
        {{40, 17}, 90, 36, Rect::make(14, 9.5, 62, 17)},
        {{62.5, 20.5}, 90.5, 36.5, Rect::make(14, 8, 62.5, 20.5)}, // just past both minimums
        {{100, 17}, 128, 36, Rect::make(14, 9.5, 100, 17)},
        {{232, 54}, 260, 70, Rect::make(14, 8, 232, 54)},          // wrapped onto three lines: full width
        {{240, 900}, 260, 916, Rect::make(14, 8, 232, 900)},       // no height limit
    };
    for (const auto& c : cases) {
        const BubbleGeometry g = bubbleGeometry(c.fitting, kAnchor);
        EXPECT_EQ(g.panelFrame.size, (Size{c.width, c.height})) << c.fitting.width;
        EXPECT_EQ(g.labelFrame, c.label) << c.fitting.width;
        EXPECT_DOUBLE_EQ(g.panelFrame.midX(), kAnchor.midX());
        EXPECT_DOUBLE_EQ(g.panelFrame.minY(), kAnchor.maxY() + 8);
    }
}

TEST(BubbleGeometry, StaysWholeOnTheAnchorsMonitorMovedTheLeast) {
    const Rect lower = Rect::make(0, 0, 1440, 900);
    const Rect upper = Rect::make(200, 900, 1280, 800);
    const struct {
        const char* where;
        Rect anchor, screen;
        Size fitting;
        Point origin;
    } cases[] = {
        {"fits: untouched", kAnchor, lower, {100, 17}, {1023.6, 199.18164}},
        {"touches the top exactly", Rect::make(600, 708, 120, 148), lower, {100, 17}, {596, 864}},
        {"no room above: below", Rect::make(600, 720, 120, 137), lower, {100, 17}, {596, 676}},
        {"off the right edge", Rect::make(1400, 100, 120, 137), lower, {100, 17}, {1312, 245}},
        {"off the left edge", Rect::make(-50, 100, 120, 137), lower, {100, 17}, {0, 245}},
        {"below the bottom", Rect::make(600, -300, 120, 137), lower, {100, 17}, {596, 0}},
        {"upper monitor, no room above", Rect::make(300, 1600, 120, 137), upper, {232, 54}, {230, 1522}},
        {"upper monitor, past its left", Rect::make(150, 1000, 120, 137), upper, {100, 17}, {200, 1145}},
        {"taller than the monitor: top kept", kAnchor, lower, {232, 900}, {957.6, -16}},
    };
    for (const auto& c : cases) {
        const Rect frame = bubbleGeometry(c.fitting, c.anchor, c.screen).panelFrame;
        EXPECT_NEAR(frame.minX(), c.origin.x, 1e-4) << c.where;
        EXPECT_NEAR(frame.minY(), c.origin.y, 1e-4) << c.where;
    }
}

// A 1440x900 monitor on the left and a 1280x1024 one on its right, on one
// 2720x1024 X screen: the left one's bottom is not the screen's bottom.
const Size kScreen{2720, 1024};
const Rect kLeft = Rect::make(0, 0, 1440, 900);
const Rect kRight = Rect::make(1440, 0, 1280, 1024);

// One panel along one edge of the X screen, over the given span.
PanelStrut bottom(double t, double a, double b) { return {.bottom = t, .bottomStartX = a, .bottomEndX = b}; }
PanelStrut top(double t, double a, double b) { return {.top = t, .topStartX = a, .topEndX = b}; }
PanelStrut left(double t, double a, double b) { return {.left = t, .leftStartY = a, .leftEndY = b}; }
PanelStrut right(double t, double a, double b) { return {.right = t, .rightStartY = a, .rightEndY = b}; }

TEST(MonitorFreeArea, EachMonitorLosesOnlyThePanelsOnItsOwnEdges) {
    const struct {
        const char* where;
        Rect monitor;
        std::vector<PanelStrut> struts;
        Rect free;
    } cases[] = {
        {"no panel", kLeft, {}, kLeft},
        {"48-px bottom panel on the left", kLeft, {bottom(124 + 48, 0, 1439)}, Rect::make(0, 0, 1440, 852)},
        {"... seen from the right", kRight, {bottom(124 + 48, 0, 1439)}, kRight},
        {"top panel on the right", kRight, {top(25, 1440, 2719)}, Rect::make(1440, 25, 1280, 999)},
        {"... seen from the left", kLeft, {top(25, 1440, 2719)}, kLeft},
        {"left panel, then a bottom one", kLeft, {left(40, 0, 899), bottom(124 + 30, 0, 1439)},
         Rect::make(40, 0, 1400, 870)},
        {"right panel in the screen's middle", kLeft, {right(1280 + 36, 0, 899)}, Rect::make(0, 0, 1404, 900)},
        {"... swallows nothing of the right", kRight, {right(1280 + 36, 0, 899)}, kRight},
        {"left panel in the screen's middle", kRight, {left(1440 + 36, 0, 1023)}, Rect::make(1476, 0, 1244, 1024)},
        {"right panel at the screen's edge", kRight, {right(30, 0, 1023)}, Rect::make(1440, 0, 1250, 1024)},
        {"panel beside the left monitor's span", kLeft, {left(40, 950, 1023)}, kLeft},
    };
    for (const auto& c : cases) EXPECT_EQ(monitorFreeArea(c.monitor, kScreen, c.struts), c.free) << c.where;
}

TEST(IsTap, DisplacementBelowSixPointsIsATap) {
    const std::pair<Point, bool> cases[] = {
        {{0, 0}, true}, {{5, 3}, true}, {{6, 0}, false}, {{0, -6.1}, false}, {{0, -5.9}, true}};
    for (const auto& [to, tap] : cases) {
        EXPECT_EQ(isTap({10, 10}, {10 + to.x, 10 + to.y}), tap) << to.x << "," << to.y;
    }
}

}  // namespace
}  // namespace glugmo
