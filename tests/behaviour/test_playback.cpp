#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

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
    EXPECT_TRUE(bubbleVisible());
    EXPECT_EQ(fake.bubble().textHistory.size(), 1u);
}

TEST_F(Playback, AMissingOrUndecodableGifChangesNothing) {
    pet->play("13_嚯", "first");
    const std::size_t changes = fake.view().imageHistory.size();
    fake.images.undecodable.insert(gifPath("09_问号"));
    for (const char* name : {"no_such_gif", "09_问号"}) {
        pet->play(name, "never shown");
        EXPECT_EQ(fake.view().imageHistory.size(), changes);
        EXPECT_EQ(revertTimers(), 1u);
        EXPECT_EQ(bubbleText(), "first");
    }
    advance(1.16);
    EXPECT_TRUE(idle());  // the first play's timer still ends it
}

TEST_F(Playback, ANewPlayReplacesTheRunningOneAndItsTimer) {
    fake.addGif("12_哈哈哈", 3.0);
    fake.images.frames.erase(gifPath("07_谢谢"));  // no image source: two seconds
    pet->play("13_嚯", "one");
    advance(0.5);
    pet->play("12_哈哈哈", "two");
    EXPECT_EQ(bubbleText(), "two");
    EXPECT_EQ(revertTimers(), 0u);
    advance(3.14);
    EXPECT_FALSE(idle());
    advance(0.02);
    EXPECT_TRUE(idle());

    pet->play("07_谢谢", std::nullopt);
    advance(2.14);
    EXPECT_FALSE(idle());
    advance(0.02);
    EXPECT_TRUE(idle());
}

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

TEST_F(Playback, MissingIdlePictureKeepsTheLastFrameButRocksAgain) {
    fake.removeResource("idle.png");
    pet->play("13_嚯", std::nullopt);
    advance(1.2);
    EXPECT_EQ(shownImage(), gifPath("13_嚯"));
    EXPECT_EQ(fake.layer().keys(), std::vector<std::string>{"rock"});
    launch();
    EXPECT_FALSE(fake.view().hasImage());
    EXPECT_TRUE(fake.window().isVisible());
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

}  // namespace
}  // namespace glugmo
