#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

using Startup = PetFixture;

TEST_F(Startup, PlacesTheWindowBottomRightAndShowsTheIdlePet) {
    launch();
    EXPECT_EQ(fake.window().frame(), Rect::make(1204.8, 65, 175.2, 167.67418738049716));
    EXPECT_TRUE(fake.window().isVisible());
    EXPECT_FALSE(fake.window().ignoresMouseEvents());
    EXPECT_EQ(fake.window().contentFrame, Rect::make(0, 0, 175.2, 167.67418738049716));
    EXPECT_EQ(fake.view().frame(), Rect::make(27.6, 13.743785850860423, 120, 137.43785850860422));
    EXPECT_EQ(fake.layer().anchorPoint, (Point{0.5, 0.0}));
    EXPECT_EQ(fake.layer().frame, Rect::make(0, 0, 120, 137.43785850860422));
    EXPECT_EQ(shownImage(), idlePath());
    EXPECT_TRUE(pet->idle());
    EXPECT_EQ(fake.layer().keys(), std::vector<std::string>{"rock"});
    EXPECT_TRUE(pet->hasStretchTimer());
    EXPECT_FALSE(bubbleVisible());
    EXPECT_EQ(fake.statusItem().menu, pet->statusMenu());
}

TEST_F(Startup, StoredSizeAndGhostModeApplyFromTheFirstMoment) {
    fake.settings.values = {{"petSize", "200"}, {"ghostMode", "true"}};
    launch();
    EXPECT_TRUE(fake.window().ignoresMouseEvents());
    EXPECT_DOUBLE_EQ(fake.window().frame().size.width, 292);
    EXPECT_DOUBLE_EQ(fake.window().frame().size.height, 279.4569789674952);
    EXPECT_EQ(fake.view().frame(), Rect::make(46, 22.906309751434037, 200, 229.06309751434034));
}

TEST_F(Startup, UnusableStoredSizesGiveTheDefaultAndAreNotRewritten) {
    for (const char* stored : {"0", "-5", "nan", "inf", "-inf", "1e300", "banana", ""}) {
        fake.settings.values = {{"petSize", stored}};
        launch();
        EXPECT_EQ(pet->currentPetSize(), 120) << stored;
        EXPECT_EQ(fake.settings.values.at("petSize"), stored);
        EXPECT_EQ(fake.settings.writes, 0);
    }
}

TEST_F(Startup, WithoutAScreenThePetSitsOnTheFallbackScreen) {
    fake.windows.visibleFrame.reset();
    launch();
    EXPECT_DOUBLE_EQ(fake.window().frame().origin.x, 1440 - 175.2 - 60);
    EXPECT_DOUBLE_EQ(fake.window().frame().origin.y, 40);
}

TEST_F(Startup, RepeatingTimersFirstFireAfterOneFullInterval) {
    fake.random.everyCoin = false;
    fake.clock.setStart(2026, 12, 7, 15, 14, 45);  // the tea window opens 15 s after start
    launch();
    advance(29.9);
    EXPECT_EQ(shownImage(), idlePath());
    advance(0.1);
    EXPECT_EQ(shownImage(), gifPath("10_三点几"));
    advance(200 - 30 - 0.1);  // the tea egg is long over
    EXPECT_EQ(shownImage(), idlePath());
    advance(0.1);
    EXPECT_NE(shownImage(), idlePath());  // the first ambient animation
}

TEST_F(Startup, MissingIdlePictureLeavesTheViewEmptyButStartsAnyway) {
    fake.removeResource("idle.png");
    launch();
    EXPECT_FALSE(fake.view().hasImage());
    EXPECT_TRUE(pet->idle());
    EXPECT_TRUE(fake.window().isVisible());
}

}  // namespace
}  // namespace glugmo
