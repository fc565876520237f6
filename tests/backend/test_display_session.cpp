// Which Qt platform the pet picks for the session it starts in (or why it
// cannot start there), and the per-display name that keeps it one pet per
// session.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/qt/display_session.h"

namespace glugmo {
namespace {

TEST(PlatformChoice, RunsOnXWhereverItAnswersAndOtherwiseSaysWhatItNeeds) {
    const struct {
        const char* what;
        DisplaySession session;  // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY
        std::optional<bool> xServerAnswers;
        bool xcb;
        const char* refusalSays;  // empty: no refusal
    } cases[] = {
        {"Wayland with XWayland", {"", "wayland-0", "wayland", ":0"}, true, true, ""},
        {"plain X11 session", {"", "", "x11", ":0"}, true, true, ""},
        {"user chose Wayland", {"wayland", "wayland-0", "wayland", ":0"}, true, true, ""},
        {"user chose offscreen", {"offscreen", "wayland-0", "wayland", ":0"}, true, false, ""},
        {"offscreen needs no X", {"offscreen", "", "", ""}, false, false, ""},
        {"no XWayland", {"", "wayland-0", "wayland", ""}, false, false, "XWayland"},
        {"Wayland asked, no X", {"wayland;xcb", "", "", ""}, false, false, "XWayland"},
        {"X server gone", {"", "", "x11", ":7"}, false, false, "\":7\""},
        {"no display at all", {"", "", "", ""}, false, false, "DISPLAY=:0"},
        {"not built for X11", {"", "wayland-0", "wayland", ""}, std::nullopt, false, ""},
    };
    for (const auto& c : cases) {
        const DisplayPlan plan = planDisplay(c.session, c.xServerAnswers);
        EXPECT_EQ(plan.useXcb, c.xcb) << c.what;
        EXPECT_EQ(plan.refusal.isEmpty(), !*c.refusalSays) << c.what;
        EXPECT_TRUE(plan.refusal.contains(QLatin1String(c.refusalSays))) << c.what;
        EXPECT_FALSE(plan.refusal.contains(QLatin1Char('\n'))) << c.what;
    }
}

TEST(DisplayKey, NamesOneDisplayTheSameWayAndTwoDisplaysApart) {
    const DisplaySession x0{"", "", "x11", ":0"};
    const DisplaySession x0screen1{"", "", "x11", ":0.1"};
    const DisplaySession x1{"", "", "x11", ":1"};
    EXPECT_EQ(displayKey(x0), displayKey(x0screen1));
    EXPECT_NE(displayKey(x0), displayKey(x1));
    // The Wayland socket names a Wayland session, whichever X display
    // XWayland happens to have.
    EXPECT_EQ(displayKey({"", "wayland-0", "wayland", ":0"}),
              displayKey({"", "wayland-0", "wayland", ":1"}));
    EXPECT_NE(displayKey({"", "wayland-0", "", ""}), displayKey({"", "wayland-1", "", ""}));
}

TEST(DisplayKey, IsOneSafeFileNameForAnyDisplayName) {
    for (const DisplaySession& session :
         {DisplaySession{"", "/run/user/1000/wayland-0", "", ""},
          DisplaySession{"", "", "", "host.example:10.0"}, DisplaySession{"", "", "", ""}}) {
        const QString key = displayKey(session);
        EXPECT_FALSE(key.isEmpty());
        EXPECT_FALSE(key.contains(QLatin1Char('/'))) << key.toStdString();
        EXPECT_FALSE(key.contains(QLatin1Char(':'))) << key.toStdString();
    }
}

}  // namespace
}  // namespace glugmo
