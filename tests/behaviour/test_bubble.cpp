#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

struct Bubble : ::testing::Test {
    fake::FakePlatform fake;
    std::shared_ptr<BubbleController> bubble = std::make_shared<BubbleController>(fake.platform);
    fake::FakeBubblePanel& panel() { return *fake.windows.bubblePanel; }
    const Rect anchor = Rect::make(1027.6, 53.74378585086042, 120, 137.43785850860422);
};

TEST_F(Bubble, StartsHiddenAtItsInitialSize) {
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(panel().frame(), Rect::make(0, 0, 220, 44));
}

TEST_F(Bubble, ShowsForThreeSecondsThenFadesForFourTenths) {
    bubble->show("功德+1", anchor);
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().alpha(), 1.0);
    EXPECT_EQ(panel().frame(), Rect::make(anchor.midX() - 45, anchor.maxY() + 8, 90, 36));
    fake.loop.advance(2.999);
    EXPECT_EQ(panel().fades, 0);
    fake.loop.advance(0.002);
    EXPECT_EQ(panel().fades, 1);
    EXPECT_TRUE(panel().isVisible());
    fake.loop.advance(0.4);
    EXPECT_FALSE(panel().isVisible());
}

TEST_F(Bubble, ANewTextReplacesTheOldAndRestartsTheTimer) {
    bubble->show("first", anchor);
    fake.loop.advance(2);
    bubble->show("a much longer second line of text that wraps", Rect::make(300, 0, 100, 100));
    EXPECT_EQ(panel().text, "a much longer second line of text that wraps");
    EXPECT_DOUBLE_EQ(panel().frame().midX(), 350);
    fake.loop.advance(2.9);
    EXPECT_EQ(panel().fades, 0);
    fake.loop.advance(0.2);
    EXPECT_EQ(panel().fades, 1);
    fake.loop.advance(0.4);
    EXPECT_FALSE(panel().isVisible());
}

TEST_F(Bubble, HideRemovesItAtOnceAndTheTimerNeverFires) {
    bubble->show("x", anchor);
    fake.loop.advance(1);
    bubble->hide();
    EXPECT_FALSE(panel().isVisible());
    fake.loop.advance(10);
    EXPECT_EQ(panel().fades, 0);
}

TEST_F(Bubble, AShowDuringTheFadeStaysOnScreen) {
    bubble->show("old", anchor);
    fake.loop.advance(3.2);  // fading
    bubble->show("new", anchor);
    fake.loop.advance(0.3);  // the old fade completes here
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().alpha(), 1.0);
    EXPECT_EQ(panel().text, "new");
    fake.loop.advance(3.2);
    EXPECT_FALSE(panel().isVisible());
}

TEST_F(Bubble, DebugRenderReportsWhetherItWroteTheFile) {
    bubble->show("render me", anchor);
    EXPECT_TRUE(bubble->debugRender("/tmp/bubble_render.png"));
    EXPECT_EQ(fake.files.files.at("/tmp/bubble_render.png"), "PNG:bubble:render me");
    EXPECT_FALSE(bubble->debugRender("/nonexistent/folder/b.png"));
    panel().renderFails = true;
    EXPECT_FALSE(bubble->debugRender("/tmp/bubble_render.png"));
}

}  // namespace
}  // namespace glugmo
