// Which Qt platform the pet picks for the session it starts in, and the
// per-display name that keeps it one pet per session.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "platform/qt/display_session.h"

namespace glugmo {
namespace {

struct PlatformCase {
    const char* what;
    DisplaySession session;  // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY
    bool xwayland;
};

class PlatformChoice : public testing::TestWithParam<PlatformCase> {};

TEST_P(PlatformChoice, UsesXWaylandOnlyWhenItHelpsAndNobodyChose) {
    EXPECT_EQ(shouldUseXWayland(GetParam().session), GetParam().xwayland) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, PlatformChoice,
    testing::Values(
        PlatformCase{"Wayland with XWayland", {"", "wayland-0", "wayland", ":0"}, true},
        PlatformCase{"Wayland socket alone tells", {"", "wayland-0", "", ":1"}, true},
        PlatformCase{"session type alone tells", {"", "", "wayland", ":0"}, true},
        PlatformCase{"session type in capitals", {"", "", "Wayland", ":0"}, true},
        PlatformCase{"no XWayland to run through", {"", "wayland-0", "wayland", ""}, false},
        PlatformCase{"user chose Wayland", {"wayland", "wayland-0", "wayland", ":0"}, false},
        PlatformCase{"user chose offscreen", {"offscreen", "wayland-0", "wayland", ":0"}, false},
        PlatformCase{"plain X11 session", {"", "", "x11", ":0"}, false},
        PlatformCase{"no display at all", {"", "", "", ""}, false}),
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
