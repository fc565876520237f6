#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

using Startup = PetFixture;

TEST_F(Startup, PlacesTheWindowBottomRightAndShowsTheRockingIdlePet) {
    launch();
    EXPECT_EQ(fake.window().frame(), Rect::make(1204.8, 65, 175.2, 167.67418738049716));
    EXPECT_TRUE(fake.window().isVisible());
    EXPECT_FALSE(fake.window().ignoresMouseEvents());
    EXPECT_EQ(fake.layer().anchorPoint, (Point{0.5, 0.0}));
    EXPECT_TRUE(idle());
    EXPECT_EQ(fake.layer().keys(), std::vector<std::string>{"rock"});
    EXPECT_EQ(stretchTimers(), 1u);
    EXPECT_FALSE(bubbleVisible());
    fake.windows.visibleFrame.reset();  // without a screen, on the fallback one
    launch();
    EXPECT_EQ(fake.window().frame().origin, (Point{1440 - 175.2 - 60, 40}));
}

TEST_F(Startup, TheStoredSizeAppliesFromTheFirstMomentAndAnUnusableOneIsNotRewritten) {
    const std::pair<const char*, double> cases[] = {{"200", 200}, {"0", 120}, {"nan", 120}, {"banana", 120}};
    for (const auto& [stored, size] : cases) {
        fake.settings.values = {{"petSize", stored}};
        launch();
        EXPECT_EQ(fake.window().frame().size, petLayout(size).windowSize) << stored;
        EXPECT_EQ(fake.view().frame(), petLayout(size).petViewFrame) << stored;
        EXPECT_EQ(fake.settings.values.at("petSize"), stored);
        EXPECT_EQ(fake.settings.writes, 0);
    }
}

TEST_F(Startup, RepeatingTimersFirstFireAfterOneFullInterval) {
    fake.random.everyCoin = false;
    fake.clock.setStart(2026, 12, 7, 15, 14, 45);  // the tea window opens 15 s after start
    launch();
    advance(29.9);
    EXPECT_TRUE(idle());
    advance(0.1);
    EXPECT_EQ(shownImage(), gifPath("10_三点几"));
    advance(200 - 30 - 0.1);  // the tea egg is long over
    EXPECT_TRUE(idle());
    advance(0.1);
    EXPECT_FALSE(idle());  // the first ambient animation
}

}  // namespace
}  // namespace glugmo
