#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <random>

#include "app/gif_duration.h"
#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

const std::set<std::string> kClockLines = {"早点休息，咕噜都困了", "三点几啦，饮茶先啦，做咁多都冇用嘅",
                                           "收工啦，今日就咁多", "收工！周五！冲！", "喝口水吧，你是水做的"};

// A week of someone living with the pet: pauses from a fraction of a second
// to hours, then a tap, double click, drag, right click, pestering or a menu
// pick, from a seeded stream. After every single event (each mouse call, menu
// pick and timer firing) the pet's invariants are checked.
struct Soak : PetFixture {
    std::mt19937 random{1};
    std::vector<double> revertIntervals;  // one per GIF: their lengths all differ
    std::vector<MenuItem*> items;
    std::map<std::string, int> gestures, clockLinesPerDay;
    std::size_t textsSeen = 0;
    double lastShow = 0;
    std::deque<std::string> recent;
    std::string broken;

    void SetUp() override {
        const std::vector<std::string>& names = fake::allGifNames();
        for (std::size_t k = 0; k < names.size(); ++k) fake.addGif(names[k], 0.7 + 0.2 * static_cast<double>(k));
        fake.removeResource("13_嚯.gif");
        fake.images.undecodable.insert(fake::FakeResources::pathOf("07_谢谢.gif"));
        for (const std::string& name : names)  // playing for its length, then 0.15 s of grace
            revertIntervals.push_back(gifDuration(fake.resources, fake.images, name) + 0.15);
        launch();
        collect(*fake.statusItem().menu);
    }
    void collect(const Menu& menu) {
        for (const auto& item : menu.itemArray()) {
            if (item->submenu) collect(*item->submenu);
            else if (!item->isSeparator) items.push_back(item.get());
        }
    }

    void event(const std::string& what) {
        if (!broken.empty()) return;  // the events up to the first broken rule tell its story
        recent.push_back("t=" + std::to_string(fake.loop.now()) + " " + what);
        if (recent.size() > 12) recent.pop_front();
        const auto& texts = fake.bubble().textHistory;
        for (; textsSeen < texts.size(); ++textsSeen) {
            lastShow = fake.loop.now();
            if (kClockLines.contains(texts[textsSeen]))
                ++clockLinesPerDay[fake.clock.calendarAt(fake.clock.now()).dateKey];
        }
        std::size_t reverts = 0;
        for (double interval : revertIntervals) reverts += fake.loop.liveTimersWithInterval(interval);
        const auto require = [&](bool holds, const char* rule) {
            if (!holds && broken.empty()) broken = rule;
        };
        // Playing always ends in going back to idle, by exactly one timer.
        require(reverts == (idle() ? 0u : 1u), "a revert timer without a GIF playing, or the reverse");
        require(stretchTimers() == (idle() ? 1u : 0u), "not one stretch timer while idle");
        require(idle() || fake.layer().keys().empty(), "a motion while a GIF plays");
        // Three seconds on screen, then the fade.
        require(!fake.bubble().isVisible() || fake.loop.now() < lastShow + 3.4 + 1e-6, "the bubble outstayed 3.4 s");
        for (const auto& [day, lines] : clockLinesPerDay) require(lines <= 9, "more than nine clock lines a day");
        // Ambient, clock, stretch, revert and bubble; a stretch's line and return, a fade.
        require(fake.loop.liveTimerCount() <= 5, "timers pile up");
        require(fake.loop.pendingBlockCount() <= 4, "delayed blocks pile up");
    }

    void wait(double seconds) {
        const double until = fake.loop.now() + seconds;
        for (std::optional<double> due; (due = fake.loop.nextDue()) && *due <= until;) {
            fake.loop.advance(*due - fake.loop.now());
            event("timers fired");
        }
        fake.loop.advance(until - fake.loop.now());
    }
    void click(int count, Point moveTo) {
        MouseHandler& mouse = *fake.view().mouseHandler;
        mouse.mouseDown(count);
        event("press " + std::to_string(count));
        fake.window().moveTo(moveTo);
        mouse.mouseUp();
        event("release");
    }

    void liveOneMoment() {
        // Mostly quick successions and short breaks, now and then hours away.
        static const double pauses[] = {40, 30, 20, 10}, from[] = {0, 2, 30, 600}, to[] = {2, 30, 600, 7200};
        const auto p = std::discrete_distribution<std::size_t>(std::begin(pauses), std::end(pauses))(random);
        wait(std::uniform_real_distribution<double>(from[p], to[p])(random));
        static const char* names[] = {"tap", "double click", "drag", "right click", "pester", "menu"};
        static const double weights[] = {30, 8, 10, 6, 3, 16};
        std::string gesture = names[std::discrete_distribution<>(std::begin(weights), std::end(weights))(random)];
        // A hidden or click-through pet cannot be reached with the mouse: the user goes to the menu.
        if (!fake.window().isVisible() || fake.window().ignoresMouseEvents()) gesture = "menu";
        ++gestures[gesture];
        const Point at = fake.window().frame().origin;
        std::uniform_real_distribution<double> nudge(-4.0, 4.0), x(0, 1400), y(25, 880);
        if (gesture == "tap" || gesture == "double click") {
            click(1, at);
            if (gesture == "double click") click(2, at);
        } else if (gesture == "drag") {
            const bool jitter = std::bernoulli_distribution(0.3)(random);  // still a tap
            click(1, jitter ? Point{at.x + nudge(random), at.y + nudge(random)} : Point{x(random), y(random)});
        } else if (gesture == "right click") {
            fake.view().mouseHandler->rightMouseDown();
            event("right press");
        } else if (gesture == "pester") {
            for (int i = 0; i < 6; ++i) click(1, at), wait(0.2);
        } else {
            items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random)]->perform();
            event("menu item picked");
        }
    }
};

TEST_F(Soak, ASimulatedWeekKeepsEveryInvariantAndGoesThroughEveryPath) {
    while (fake.loop.now() < 7 * 86400 && broken.empty()) liveOneMoment();
    std::string lastEvents;
    for (const std::string& e : recent) lastEvents += "\n  " + e;
    ASSERT_EQ(broken, "") << lastEvents;
    for (const char* gesture : {"tap", "double click", "drag", "right click", "pester", "menu"})
        EXPECT_GT(gestures[gesture], 0) << gesture;
    const auto& shown = fake.view().imageHistory;
    EXPECT_NE(std::find(shown.begin(), shown.end(), gifPath("14_精神打击")), shown.end());
    EXPECT_GE(clockLinesPerDay.size(), 7u);
}

}  // namespace
}  // namespace glugmo
