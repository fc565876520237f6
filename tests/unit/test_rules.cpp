// The rules behind the behaviour, each a table: taps, the clock, stored
// settings, the quotes file, GIF durations and the command line.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/autostart.h"
#include "app/command_line.h"
#include "app/gif_duration.h"
#include "menu/clock_rules.h"
#include "menu/quotes.h"
#include "menu/settings_rules.h"
#include "pet/tap_history.h"
#include "tests/fake/fake_platform.h"

namespace glugmo {
namespace {

TEST(TapHistory, TheSixthTapWithinTwoSecondsIsABurstThatForgetsEverything) {
    const struct {
        const char* name;
        std::vector<double> times;
        std::vector<bool> bursts;
        std::vector<double> remembered;
    } cases[] = {
        {"six quick, then afresh", {0, 0.4, 0.8, 1.2, 1.6, 1.9, 2.0}, {0, 0, 0, 0, 0, 1, 0}, {2.0}},
        {"old taps pruned first", {0, 0.5, 1, 1.5, 2.1, 2.2}, {0, 0, 0, 0, 0, 0}, {0.5, 1, 1.5, 2.1, 2.2}},
        {"two seconds apart", {0, 2, 4, 6, 8, 10, 12}, {0, 0, 0, 0, 0, 0, 0}, {12}},
        {"every sixth", {0, .1, .2, .3, .4, .5, .6, .7, .8, .9, 1, 1.1}, {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1}, {}},
        // A clock set back keeps the taps from the future, but never more than five.
        {"clock set back", {100, 50, 40, 30, 20, 10}, {0, 0, 0, 0, 0, 1}, {}},
        {"clock set back, slowly", {100, 50}, {0, 0}, {100, 50}},
    };
    for (const auto& c : cases) {
        TapHistory history;
        std::vector<bool> bursts;
        for (double t : c.times) bursts.push_back(history.recordTap(t));
        EXPECT_EQ(bursts, c.bursts) << c.name;
        EXPECT_EQ(history.times(), c.remembered) << c.name;
    }
}

constexpr int kSun = 1, kMon = 2, kFri = 6, kSat = 7;
const std::string kDrink = "08_多喝水";

TEST(ClockRules, WhichRulesFireAtWhichTimes) {
    const ClockSwitches on{true, true};
    const struct {
        int hour, minute, weekday;
        std::vector<std::string> expectedKeys;
        std::vector<std::string> firedBefore = {};
        ClockSwitches switches = {true, true};
        bool idle = true;
    } cases[] = {
        {18, 0, kMon, {"D-offwork", "D-drink-18"}}, {18, 1, kMon, {}, {"D-offwork", "D-drink-18"}},
        {18, 0, kMon, {}, {}, on, false} /* busy */, {18, 5, kFri, {"D-offwork"}}, {18, 9, kFri, {"D-offwork"}},
        {18, 10, kFri, {}}, {18, 5, kSat, {}}, {18, 0, kSat, {"D-drink-18"}}, {18, 0, kSun, {"D-drink-18"}},
        {15, 14, kMon, {}}, {15, 15, kMon, {"D-tea"}}, {15, 24, kSun, {"D-tea"}}, {15, 25, kMon, {}},
        {15, 20, kMon, {}, {"D-tea"}}, {23, 0, kMon, {"D-night"}}, {23, 59, kMon, {"D-night"}},
        {0, 30, kMon + 1, {"D-night"}}, {1, 0, kMon, {}}, {22, 0, kMon, {}}, {9, 0, kMon, {}}, {21, 0, kMon, {}},
        {10, 0, kMon, {"D-drink-10"}}, {20, 1, kMon, {"D-drink-20"}}, {20, 2, kMon, {}}, {8, 0, kMon, {}},
        {10, 0, kMon, {}, {}, {false, true}} /* clock off silences the drink too */,
        {18, 0, kMon, {"D-offwork"}, {}, {true, false}} /* drink off keeps the eggs */,
    };
    for (const auto& c : cases) {
        std::vector<std::string> keys;
        const std::set<std::string> fired(c.firedBefore.begin(), c.firedBefore.end());
        for (const ClockAction& a : clockActions({c.hour, c.minute, c.weekday, "D"}, c.switches, c.idle, fired, kDrink))
            keys.push_back(a.firedKey);
        EXPECT_EQ(keys, c.expectedKeys) << c.hour << ":" << c.minute << " on day " << c.weekday;
    }
}

TEST(ClockRules, ActionsCarryTheirPicturesAndLines) {
    const std::set<std::string> none;
    EXPECT_EQ(clockActions({18, 0, kMon, "2026-12-07"}, {}, true, none, kDrink),
              (std::vector<ClockAction>{{"2026-12-07-offwork", "03_收工", "收工啦，今日就咁多"},
                                        {"2026-12-07-drink-18", kDrink, "喝口水吧，你是水做的"}}));
    EXPECT_EQ(clockActions({18, 3, kFri, "2026-12-04"}, {}, true, none, kDrink).at(0).text, "收工！周五！冲！");
    EXPECT_EQ(clockActions({15, 20, kMon, "2026-12-07"}, {}, true, none, kDrink),
              (std::vector<ClockAction>{{"2026-12-07-tea", "10_三点几", "三点几啦，饮茶先啦，做咁多都冇用嘅"}}));
    EXPECT_EQ(clockActions({23, 10, kMon, "2026-12-05"}, {}, true, none, kDrink),
              (std::vector<ClockAction>{{"2026-12-05-night", std::nullopt, "早点休息，咕噜都困了"}}));
}

// Switches are on unless a stored value reads false.
TEST(SettingsRules, BooleanReadingOfStoredTextAndSwitches) {
    const struct {
        std::optional<std::string> text;
        bool value, switchOn;
    } cases[] = {
        {std::nullopt, false, true}, {"true", true, true}, {"TRUE", true, true},  {" yes ", true, true},
        {"1", true, true},           {"2.5", true, true},  {"-3", true, true},    {"false", false, false},
        {"no", false, false},        {"0", false, false},  {"0.0", false, false}, {"", false, false},
        {"banana", false, false},    {"nan", false, false}, {"inf", true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readBool(c.text), c.value) << c.text.value_or("<missing>");
        EXPECT_EQ(switchIsOn(c.text), c.switchOn) << c.text.value_or("<missing>");
    }
}

using Quips = std::vector<std::string>;

// How lines are split, trimmed and refused is the quotes fuzzer's rule, its
// saved inputs replayed with the unit tests.
TEST(Quotes, WrittenFileReadsBackTheSameQuipsLongAndMany) {
    const Quips quips = {"功德+1", "莫生气 +1", "努力不一定会成功，但不努力一定很舒服"};
    const std::string text = serializeQuotes(quips);
    EXPECT_EQ(text, "功德+1\n莫生气 +1\n努力不一定会成功，但不努力一定很舒服");
    EXPECT_EQ(parseQuotes(text), quips);
    const std::string longLine(1 << 20, 'x');
    EXPECT_EQ(parseQuotes(longLine)->at(0).size(), longLine.size());
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "q\n";
    EXPECT_EQ(parseQuotes(many)->size(), 100000u);
}

GifFrameProperties unclamped(double d) { return {true, d, std::nullopt}; }

TEST(GifDuration, SumsFrameDelaysWithTheirFloors) {
    using Frames = std::vector<GifFrameProperties>;
    const std::pair<Frames, double> cases[] = {
        {Frames(4, unclamped(0.25)), 1.0},
        {{unclamped(0), unclamped(0.01), unclamped(0.05)}, 0.5},       // 0.09, raised to 0.5
        {{unclamped(0.4), {true, std::nullopt, 0.07}}, 0.5},                   // 0.47, raised,
        {{unclamped(0.5), {true, std::nullopt, 0.07}}, 0.57},          // delay time when no unclamped
        {{unclamped(0.5), {true, std::nullopt, std::nullopt}}, 0.6},   // empty dictionary: 0.1
        {{unclamped(0.5), {false, 3.0, 3.0}}, 0.5},                    // no GIF dictionary: nothing
        {{unclamped(0.6), unclamped(0.02)}, 0.62},
        {{}, 0.5},
        {{unclamped(1.5), unclamped(1.5)}, 3.0},
        {{unclamped(std::nan("")), unclamped(0.5)}, 0.6},             // not a number: missing
    };
    for (const auto& [frames, expected] : cases)
        EXPECT_NEAR(gifDurationFromFrames(frames), expected, 1e-12) << frames.size();
    EXPECT_EQ(gifDurationFromFrames(std::nullopt), 2.0);  // an unreadable source
}

using Action = CommandLine::Action;

TEST(CommandLine, RecognisesEachOptionAndRejectsTheRest) {
    const std::pair<std::vector<std::string>, Action> cases[] = {
        {{}, Action::Run},           {{"--help"}, Action::Help},          {{"-h"}, Action::Help},
        {{"--version"}, Action::Version}, {{"--autostart", "on"}, Action::Autostart},
        {{"--autostart=off"}, Action::Autostart}, {{"--autostart"}, Action::Usage},
        {{"--autostart", "maybe"}, Action::Usage}, {{"--bogus"}, Action::Usage}, {{"file.txt"}, Action::Usage},
        {{"--help", "--version"}, Action::Usage},
    };
    for (const auto& [args, action] : cases)
        EXPECT_EQ(parseCommandLine(args).action, action) << (args.empty() ? "" : args[0]);
    EXPECT_TRUE(parseCommandLine({"--autostart", "on"}).autostartOn);
    EXPECT_FALSE(parseCommandLine({"--autostart=off"}).autostartOn);
    EXPECT_NE(parseCommandLine({"--bogus"}).error.find("--bogus"), std::string::npos);
}

TEST(Autostart, WritesAnEntryThatRunsThisExecutableAndRemovesIt) {
    fake::FakeFileSystem files;
    ASSERT_TRUE(setAutostart(files, "/home/u/.config", true, "/opt/my pets/bin/glugmo"));
    const std::string entry = files.files.at("/home/u/.config/autostart/glugmo.desktop");
    EXPECT_NE(entry.find("\nExec=\"/opt/my pets/bin/glugmo\"\n"), std::string::npos);
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    ASSERT_TRUE(setAutostart(files, "/home/u/.config", false, "/opt/my pets/bin/glugmo"));
    EXPECT_FALSE(files.files.contains("/home/u/.config/autostart/glugmo.desktop"));
    EXPECT_TRUE(setAutostart(files, "/home/u/.config", false, "x"));  // already gone is fine
}

TEST(Autostart, ReservedCharactersInThePathAreEscapedAndUnwritablePathsRefused) {
    // Quoted-argument escapes first, then the string escapes doubling every backslash.
    const std::optional<std::string> entry = autostartEntry("/home/a\"b/100%/$x\\y");
    ASSERT_TRUE(entry);
    EXPECT_NE(entry->find("Exec=\"/home/a\\\\\"b/100%%/\\\\$x\\\\\\\\y\"\n"), std::string::npos) << *entry;

    fake::FakeFileSystem files;
    for (const std::string path : {"/opt/new\nline/glugmo", "/opt/tab\t/glugmo", "/opt/\xff/glugmo"}) {
        EXPECT_FALSE(autostartEntry(path)) << path;
        EXPECT_FALSE(setAutostart(files, "/home/u/.config", true, path)) << path;
    }
    EXPECT_TRUE(files.files.empty());
}

}  // namespace
}  // namespace glugmo
