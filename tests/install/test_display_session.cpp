// Which Qt platform the pet picks for the session it starts in (or why it
// cannot start there), and the per-display name that keeps it one pet per
// session.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>

#include "platform/qt/display_session.h"

namespace glugmo {
namespace {

struct PlatformCase {
    const char* what;
    DisplaySession session;  // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY
    std::optional<bool> xServerAnswers;
    bool xcb;
    const char* refusalSays;  // empty: no refusal
};

class PlatformChoice : public testing::TestWithParam<PlatformCase> {};

TEST_P(PlatformChoice, RunsOnXWhereverItAnswersAndOtherwiseSaysWhatItNeeds) {
    const PlatformCase& c = GetParam();
    const DisplayPlan plan = planDisplay(c.session, c.xServerAnswers);
    EXPECT_EQ(plan.useXcb, c.xcb) << c.what;
    if (*c.refusalSays) {
        EXPECT_TRUE(plan.refusal.contains(QLatin1String(c.refusalSays))) << c.what;
        EXPECT_FALSE(plan.refusal.contains(QLatin1Char('\n'))) << c.what;
    } else {
        EXPECT_TRUE(plan.refusal.isEmpty()) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, PlatformChoice,
    testing::Values(
        PlatformCase{"Wayland with XWayland", {"", "wayland-0", "wayland", ":0"}, true, true, ""},
        PlatformCase{"plain X11 session", {"", "", "x11", ":0"}, true, true, ""},
        PlatformCase{
            "user chose Wayland", {"wayland", "wayland-0", "wayland", ":0"}, true, true, ""},
        PlatformCase{
            "user chose offscreen", {"offscreen", "wayland-0", "wayland", ":0"}, true, false, ""},
        PlatformCase{"offscreen needs no X", {"offscreen", "", "", ""}, false, false, ""},
        PlatformCase{"no XWayland", {"", "wayland-0", "wayland", ""}, false, false, "XWayland"},
        PlatformCase{"Wayland asked, no X", {"wayland;xcb", "", "", ""}, false, false, "XWayland"},
        PlatformCase{"X server gone", {"", "", "x11", ":7"}, false, false, "\":7\""},
        PlatformCase{"no display at all", {"", "", "", ""}, false, false, "DISPLAY=:0"},
        PlatformCase{
            "not built for X11", {"", "wayland-0", "wayland", ""}, std::nullopt, false, ""}),
    [](const testing::TestParamInfo<PlatformCase>& info) {
        std::string name = info.param.what;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

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
