// The pet on its own: where it starts, what it plays and for how long, its
// idle motions and its bubble's lifetime.
#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

using Startup = PetFixture;

// Placed 60 points in from the right of the visible frame and 40 above its
// bottom (or of a stand-in screen), at the stored size from the first moment;
// an unusable size is not rewritten.
TEST_F(Startup, PlacesTheWindowAtTheStoredSize) {
    for (const auto& [stored, size] : {std::pair{"200", 200.0}, {"banana", 120.0}}) {
        fake.settings.values = {{"petSize", stored}};
        launch();
        const Size window = petLayout(size).windowSize;
        EXPECT_EQ(fake.window().frame(), (Rect{{1440 - window.width - 60, 25 + 40}, window})) << stored;
        EXPECT_EQ(fake.view().frame(), petLayout(size).petViewFrame) << stored;
        EXPECT_EQ(fake.layer().anchorPoint, (Point{0.5, 0.0}));
        EXPECT_EQ(fake.settings.values.at("petSize"), stored);
        EXPECT_EQ(fake.settings.writes, 0);
    }
    fake.windows.visibleFrame.reset();
    launch();
    EXPECT_EQ(fake.window().frame().origin, (Point{1440 - 175.2 - 60, 40}));
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

struct Playback : PetFixture {
    void SetUp() override {
        fake.random.everyCoin = false;
        launch();
    }
};

TEST_F(Playback, AGifStopsTheMotionsAndRevertsAfterItsDurationPlusAGrace) {
    advance(10);
    pet->play("13_嚯", std::nullopt);
    EXPECT_EQ(shownImage(), gifPath("13_嚯"));
    EXPECT_TRUE(fake.layer().keys().empty());
    EXPECT_EQ(stretchTimers(), 0u);
    EXPECT_GE(fake.layer().transformResets, 1);
    EXPECT_EQ(revertTimers(), 1u);

    advance(1.149);
    EXPECT_FALSE(idle());
    advance(0.002);
    EXPECT_TRUE(idle());
    EXPECT_EQ(fake.layer().keys(), std::vector<std::string>{"rock"});
    EXPECT_EQ(stretchTimers(), 1u);
    EXPECT_EQ(revertTimers(), 0u);
    pet->sayQuote();  // playing without a quip leaves the bubble alone
    advance(1);
    pet->play("13_嚯", std::nullopt);
    EXPECT_TRUE(fake.bubble().isVisible());
    EXPECT_EQ(fake.bubble().textHistory.size(), 1u);
}

// Missing and undecodable GIFs, and a play replacing another, are the soak's.
TEST_F(Playback, AmbientTicksPlayOnlyWhileIdle) {
    fake.addGif("16_笑", 150.0);
    advance(199);
    pet->play("16_笑", std::nullopt);  // busy through the 200 s tick
    const std::size_t shown = fake.view().imageHistory.size();
    advance(152);
    EXPECT_EQ(fake.view().imageHistory.size(), shown + 1);  // only the way back to idle
    fake.random.indices = {3};
    advance(400 - fake.loop.now());
    EXPECT_EQ(shownImage(), gifPath("07_谢谢"));
    EXPECT_EQ(fake.random.bounds.back(), 6u);
}

TEST_F(Playback, ADestroyedPetIgnoresEveryPendingTimerAndBlock) {
    fake.random.everyCoin = true;
    advance(45.1);  // a stretch with both follow-ups pending
    pet->play("13_嚯", "quip");  // a revert timer and a bubble timer
    ASSERT_GT(fake.loop.pendingBlockCount(), 0u);
    pet.reset();
    EXPECT_EQ(fake.loop.liveTimerCount(), 0u);  // owned timers went with it
    advance(7 * 24 * 3600);                      // and the blocks find nobody
    EXPECT_EQ(fake.loop.pendingBlockCount(), 0u);
}

using IdleMotions = PetFixture;

TEST_F(IdleMotions, AWinningCoinStretchesAt45ThenEvery46AndAHalfSecondsEvenHiddenOrDragged) {
    const std::set<std::string> stretchLines = {"唔…再瘫五分钟", "这个班就上到这了", "腰要断了", "让我瘫一会儿"};
    fake.random.everyCoin = true;
    launch();
    pet->toggleHidden();
    fake.window().moveTo({1000, 40});
    std::vector<double> stretches, lines;
    while (fake.loop.now() < 199) {  // the first ambient animation comes at 200 s
        advance(0.05);
        const double t = fake.loop.now();
        if (fake.layer().hasAnimation("stretch") && (stretches.empty() || t - stretches.back() > 2)) {
            stretches.push_back(t);
            EXPECT_FALSE(fake.layer().hasAnimation("rock"));
        }
        if (fake.bubble().textHistory.size() > lines.size()) lines.push_back(t);
    }
    const std::vector<double> expected = {45, 91.5, 138, 184.5};
    ASSERT_EQ(stretches.size(), expected.size());
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(stretches[i], expected[i], 0.051);
        EXPECT_NEAR(lines[i], expected[i] + 0.45, 0.051);
        EXPECT_TRUE(stretchLines.contains(fake.bubble().textHistory[i]));
    }
    EXPECT_TRUE(fake.layer().hasAnimation("rock"));
    EXPECT_DOUBLE_EQ(fake.bubble().frame().minY(), petRectangle({1000, 40}, 120).maxY() + 8);
}

// Three seconds on screen, then a fade; a new text restarts the time, even
// during the fade, and hiding ends it at once.
TEST(Bubble, ShowsForThreeSecondsThenFadesAndANewTextRestartsTheTime) {
    fake::FakePlatform fake;
    const auto bubble = std::make_shared<BubbleController>(fake.platform);
    const Rect anchor = Rect::make(1027.6, 53.7, 120, 137.4);
    bubble->show("功德+1", anchor);
    fake::FakeBubblePanel& panel = fake.bubble();
    EXPECT_TRUE(panel.isVisible());
    fake.loop.advance(2);
    bubble->show("second", Rect::make(300, 0, 100, 100));
    EXPECT_DOUBLE_EQ(panel.frame().midX(), 350);
    fake.loop.advance(2.999);
    EXPECT_EQ(panel.fades, 0);
    fake.loop.advance(0.002);
    EXPECT_EQ(panel.fades, 1);
    fake.loop.advance(0.2);  // fading
    bubble->show("third", anchor);
    fake.loop.advance(0.3);  // where the old fade completes
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.alpha(), 1.0);
    fake.loop.advance(3.2);
    EXPECT_FALSE(panel.isVisible());
    bubble->show("x", anchor);
    fake.loop.advance(1);
    bubble->hide();
    EXPECT_FALSE(panel.isVisible());
    fake.loop.advance(10);
    EXPECT_EQ(panel.fades, 2);
}

}  // namespace
}  // namespace glugmo
