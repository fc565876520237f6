#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

const std::string kBurst = "别戳了别戳了，精神打击已到账";

struct Taps : PetFixture {
    void SetUp() override {
        fake.random.everyCoin = false;
        launch();
    }
    // Taps at these offsets (seconds) from now, returning what each showed.
    std::vector<std::string> tapAt(const std::vector<double>& offsets) {
        std::vector<std::string> shown;
        const double start = fake.loop.now();
        for (double offset : offsets) {
            fake.loop.advanceTo(start + offset);
            pet->handleTap();
            shown.push_back(shownImage() == gifPath("14_精神打击") ? "burst" : "reaction");
        }
        return shown;
    }
};

TEST_F(Taps, SixQuickTapsComplainAndTheSeventhStartsAfresh) {
    EXPECT_EQ(tapAt({0.0, 0.4, 0.8, 1.2, 1.6, 1.9, 2.0}),
              (std::vector<std::string>{"reaction", "reaction", "reaction", "reaction", "reaction",
                                        "burst", "reaction"}));
    EXPECT_EQ(fake.bubble().textHistory[5], kBurst);
    EXPECT_EQ(pet->recentTaps().size(), 1u);
}

TEST_F(Taps, EveryReactionComesWithAQuipFromTheList) {
    for (int i = 0; i < 30; ++i) {
        advance(3);
        pet->handleTap();
        const auto& quips = pet->currentQuotes();
        EXPECT_NE(std::find(quips.begin(), quips.end(), bubbleText()), quips.end());
        const std::vector<std::string> reactions = {"01_好jeng啊", "04_爱你哟", "09_问号",
                                                    "12_哈哈哈",   "13_嚯",     "16_笑"};
        EXPECT_NE(std::find_if(reactions.begin(), reactions.end(),
                               [&](const std::string& r) { return shownImage() == gifPath(r); }),
                  reactions.end());
    }
}

TEST_F(Taps, AWallClockSetBackKeepsTheHistoryBounded) {
    for (int i = 0; i < 50; ++i) {
        fake.clock.shift(-0.3);
        pet->handleTap();
        ASSERT_LE(pet->recentTaps().size(), 5u);
    }
}

TEST_F(Taps, PokesFromTheMenuCountTowardsTheBurst) {
    for (int i = 0; i < 5; ++i) item("戳一下咕噜宝").perform();
    pet->handleTap();
    EXPECT_EQ(shownImage(), gifPath("14_精神打击"));
    EXPECT_EQ(bubbleText(), kBurst);
}

TEST_F(Taps, DoubleClickTapsThenHidesPetAndBubble) {
    MouseHandler& mouse = *fake.view().mouseHandler;
    mouse.mouseDown(1);
    mouse.mouseUp();
    EXPECT_TRUE(bubbleVisible());
    mouse.mouseDown(2);
    EXPECT_FALSE(fake.window().isVisible());
    EXPECT_FALSE(bubbleVisible());
}

TEST_F(Taps, HidingTwiceRestoresThePetButNotTheBubble) {
    pet->sayQuote();
    pet->toggleHidden();
    pet->toggleHidden();
    EXPECT_TRUE(fake.window().isVisible());
    EXPECT_FALSE(bubbleVisible());
    EXPECT_TRUE(pet->idle());
}

TEST_F(Taps, ASecondLaunchBringsAHiddenPetBackAndOpensItsMenuOnIt) {
    pet->toggleHidden();
    pet->comeBack();
    EXPECT_TRUE(fake.window().isVisible());
    const int fronts = fake.window().ordersFront;
    pet->comeBack();
    EXPECT_EQ(fake.window().ordersFront, fronts);
    ASSERT_EQ(fake.windows.popUps.size(), 2u);
    EXPECT_EQ(fake.windows.popUps[1].menu, pet->statusMenu());
    EXPECT_EQ(fake.windows.popUps[1].view, &fake.view());
    EXPECT_TRUE(fake.windows.popUps[1].beside);
}

TEST_F(Taps, AHiddenPetStillReactsToPokes) {
    pet->toggleHidden();
    item("戳一下咕噜宝").perform();
    EXPECT_FALSE(pet->idle());
    EXPECT_TRUE(bubbleVisible());
    EXPECT_FALSE(fake.window().isVisible());
}

TEST_F(Taps, RandomMoveDrawsFromThirteenWithDuplicatesAndNoQuip) {
    fake.random.indices = {12, 6, 0};
    pet->randomMove();
    EXPECT_EQ(shownImage(), gifPath("08_多喝水"));
    EXPECT_EQ(fake.random.bounds.back(), 13u);
    pet->randomMove();
    EXPECT_EQ(shownImage(), gifPath("01_好jeng啊"));
    pet->randomMove();
    EXPECT_EQ(shownImage(), gifPath("01_好jeng啊"));
    EXPECT_FALSE(bubbleVisible());
}

TEST_F(Taps, SayQuoteSpeaksAboveThePetWithoutPlaying) {
    fake.window().moveTo({1000, 40});
    pet->sayQuote();
    const Rect anchor = Rect::make(1027.6, 53.74378585086042, 120, 137.43785850860422);
    EXPECT_DOUBLE_EQ(fake.bubble().frame().midX(), anchor.midX());
    EXPECT_DOUBLE_EQ(fake.bubble().frame().minY(), anchor.maxY() + 8);
    EXPECT_TRUE(pet->idle());
    EXPECT_TRUE(pet->recentTaps().empty());
}

}  // namespace
}  // namespace glugmo
