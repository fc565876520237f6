#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

// What the pet said, each line with the local date and hour; the rules of
// which line at which minute are the clock rules' own table.
struct ClockDay : PetFixture {
    std::vector<std::string> said;

    void SetUp() override { fake.random.everyCoin = false; }

    void runFor(double seconds) {
        const double end = fake.loop.now() + seconds;
        std::size_t seen = fake.bubble().textHistory.size();
        while (fake.loop.now() < end) {
            advance(30);
            const auto& history = fake.bubble().textHistory;
            for (; seen < history.size(); ++seen) {
                const CalendarFields at = fake.clock.calendarAt(fake.clock.now());
                said.push_back(at.dateKey + " " + std::to_string(at.hour) + " " + history[seen]);
            }
        }
    }
    std::size_t count(const std::string& needle) const {
        return std::count_if(said.begin(), said.end(),
                             [&](const std::string& s) { return s.find(needle) != std::string::npos; });
    }
};

TEST_F(ClockDay, AWeekdayFromTenAtNightToTenAtNightSaysEachLineOnce) {
    fake.clock.setStart(2026, 12, 7, 22, 0, 5);  // Monday
    launch();
    runFor(24 * 3600);
    EXPECT_EQ(said.size(), 10u);
    for (const char* line : {"2026-12-07 23 早点休息，咕噜都困了", "2026-12-08 0 早点休息", "2026-12-08 15 三点几啦",
                             "2026-12-08 18 收工啦，今日就咁多", "2026-12-08 10 喝口水吧", "2026-12-08 20 喝口水吧"}) {
        EXPECT_EQ(count(line), 1u) << line;
    }
    EXPECT_EQ(count("喝口水吧"), 6u);
}

TEST_F(ClockDay, SwitchesSilenceTheRules) {
    fake.settings.values = {{"clockOn", "false"}, {"drinkOn", "true"}};
    fake.clock.setStart(2026, 12, 7, 9, 59, 0);
    launch();
    runFor(6 * 3600);
    EXPECT_TRUE(said.empty());

    item("时间彩蛋（三点几/收工/晚安）").perform();
    item("多喝水提醒").perform();
    runFor(4 * 3600);  // 16:00 to 19:59
    EXPECT_EQ(said, std::vector<std::string>{"2026-12-07 18 收工啦，今日就咁多"});
}

TEST_F(ClockDay, ABusyPetMissesTheDrinkButCatchesTheOffWorkEgg) {
    fake.addGif("16_笑", 125.0);
    fake.clock.setStart(2026, 12, 7, 17, 59, 50);  // Monday
    launch();
    advance(5);
    pet->play("16_笑", std::nullopt);  // busy until 18:02:00
    runFor(10 * 60);
    EXPECT_EQ(said, std::vector<std::string>{"2026-12-07 18 收工啦，今日就咁多"});
}

TEST_F(ClockDay, ARelaunchForgetsWhatFiredToday) {
    fake.clock.setStart(2026, 12, 7, 15, 14, 50);
    launch();
    runFor(120);
    launch();  // a new process at 15:16:50
    runFor(60);
    EXPECT_EQ(count("三点几啦"), 2u);
}

}  // namespace
}  // namespace glugmo
