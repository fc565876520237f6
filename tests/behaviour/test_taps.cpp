#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

const std::string kBurst = "别戳了别戳了，精神打击已到账";

struct Taps : PetFixture {
    void SetUp() override {
        fake.random.everyCoin = false;
        launch();
    }
};

TEST_F(Taps, ReactionsComeWithAQuipAndTheSixthQuickPokeComplains) {
    const std::vector<std::string> reactions = {"01_好jeng啊", "04_爱你哟", "09_问号", "12_哈哈哈", "13_嚯", "16_笑"};
    for (std::size_t i = 0; i < reactions.size(); ++i) {
        advance(3);
        fake.random.indices = {i, 14};
        pet->handleTap();
        EXPECT_EQ(shownImage(), gifPath(reactions[i]));
        EXPECT_EQ(bubbleText(), "努力不一定会成功，但不努力一定很舒服");
    }
    advance(3);
    for (int i = 0; i < 5; ++i) item("戳一下咕噜宝").perform();  // pokes from the menu count too
    pet->handleTap();
    EXPECT_EQ(shownImage(), gifPath("14_精神打击"));
    EXPECT_EQ(bubbleText(), kBurst);
}

TEST_F(Taps, DoubleClickHidesPetAndBubbleThePetAloneComesBackAndStillReacts) {
    MouseHandler& mouse = *fake.view().mouseHandler;
    mouse.mouseDown(1);
    mouse.mouseUp();
    EXPECT_TRUE(bubbleVisible());
    mouse.mouseDown(2);
    EXPECT_FALSE(fake.window().isVisible());
    EXPECT_FALSE(bubbleVisible());
    pet->toggleHidden();
    EXPECT_TRUE(fake.window().isVisible());
    EXPECT_FALSE(bubbleVisible());
    // Hidden, it still reacts to pokes, and a second launch brings it back.
    pet->toggleHidden();
    item("戳一下咕噜宝").perform();
    EXPECT_FALSE(idle());
    EXPECT_TRUE(bubbleVisible());
    EXPECT_FALSE(fake.window().isVisible());
    pet->comeBack();
    EXPECT_TRUE(fake.window().isVisible());
    const int fronts = fake.window().ordersFront;
    pet->comeBack();
    EXPECT_EQ(fake.window().ordersFront, fronts);
    // Each launch also opens the menu beside the pet: without a tray, the only way to reach it.
    ASSERT_EQ(fake.windows.popUps.size(), 2u);
    EXPECT_EQ(fake.windows.popUps[1].menu, fake.statusItem().menu);
    EXPECT_EQ(fake.windows.popUps[1].view, &fake.view());
    EXPECT_TRUE(fake.windows.popUps[1].beside);
}

TEST_F(Taps, RandomMoveDrawsFromThirteenWithDuplicatesAndNoQuip) {
    const std::pair<std::size_t, const char*> picks[] = {{12, "08_多喝水"}, {6, "01_好jeng啊"}, {0, "01_好jeng啊"}};
    for (const auto& [index, gif] : picks) {
        fake.random.indices = {index};
        pet->randomMove();
        EXPECT_EQ(shownImage(), gifPath(gif));
        EXPECT_EQ(fake.random.bounds.back(), 13u);
    }
    EXPECT_FALSE(bubbleVisible());
}

}  // namespace
}  // namespace glugmo
