#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

struct Bubble : ::testing::Test {
    fake::FakePlatform fake;
    std::shared_ptr<BubbleController> bubble = std::make_shared<BubbleController>(fake.platform);
    fake::FakeBubblePanel& panel() { return fake.bubble(); }
    const Rect anchor = Rect::make(1027.6, 53.74378585086042, 120, 137.43785850860422);
    void advance(double seconds) { fake.loop.advance(seconds); }
};

TEST_F(Bubble, ShowsForThreeSecondsThenFadesAndANewTextRestartsTheTimeEvenDuringTheFade) {
    bubble->show("功德+1", anchor);
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().frame(), Rect::make(anchor.midX() - 45, anchor.maxY() + 8, 90, 36));
    advance(2);
    bubble->show("second", Rect::make(300, 0, 100, 100));
    EXPECT_DOUBLE_EQ(panel().frame().midX(), 350);
    advance(2.999);
    EXPECT_EQ(panel().fades, 0);
    advance(0.002);
    EXPECT_EQ(panel().fades, 1);
    advance(0.2);  // fading
    bubble->show("third", anchor);
    advance(0.3);  // where the old fade completes
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().alpha(), 1.0);
    advance(3.2);
    EXPECT_FALSE(panel().isVisible());
    // Hidden, it goes at once and its timer never fires.
    bubble->show("x", anchor);
    advance(1);
    bubble->hide();
    EXPECT_FALSE(panel().isVisible());
    advance(10);
    EXPECT_EQ(panel().fades, 2);
}

}  // namespace
}  // namespace glugmo
