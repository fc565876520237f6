#include <gtest/gtest.h>

#include "platform/monitor_area.h"

namespace glugmo {
namespace {

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

}  // namespace
}  // namespace glugmo
