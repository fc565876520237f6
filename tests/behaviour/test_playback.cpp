#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

struct Playback : PetFixture {
    void SetUp() override {
        fake.random.everyCoin = false;
        fake.addGif("13_嚯", 1.0);  // four frames of 0.25 s
        launch();
    }
};

TEST_F(Playback, AGifStopsTheMotionsAndRevertsAfterItsDurationPlusAGrace) {
    advance(10);
    pet->play("13_嚯", std::nullopt);
    EXPECT_EQ(shownImage(), gifPath("13_嚯"));
    EXPECT_FALSE(pet->idle());
    EXPECT_TRUE(fake.layer().keys().empty());
    EXPECT_FALSE(pet->hasStretchTimer());
    EXPECT_GE(fake.layer().transformResets, 1);
    EXPECT_TRUE(pet->hasLiveRevertTimer());

    advance(1.149);
    EXPECT_FALSE(pet->idle());
    advance(0.002);
    EXPECT_TRUE(pet->idle());
    EXPECT_EQ(shownImage(), idlePath());
    EXPECT_EQ(fake.layer().keys(), std::vector<std::string>{"rock"});
    EXPECT_TRUE(pet->hasStretchTimer());
    EXPECT_FALSE(pet->hasLiveRevertTimer());
}

TEST_F(Playback, AMissingOrUndecodableGifChangesNothing) {
    pet->play("13_嚯", "first");
    const int changes = fake.view().imageChanges;
    fake.images.undecodable.insert(gifPath("09_问号"));
    for (const char* name : {"no_such_gif", "09_问号"}) {
        pet->play(name, "never shown");
        EXPECT_EQ(shownImage(), gifPath("13_嚯"));
        EXPECT_EQ(fake.view().imageChanges, changes);
        EXPECT_FALSE(pet->idle());
        EXPECT_TRUE(pet->hasLiveRevertTimer());
        EXPECT_EQ(bubbleText(), "first");
    }
    advance(1.16);
    EXPECT_TRUE(pet->idle());  // the first play's timer still ends it
}

TEST_F(Playback, AGifWithoutAnImageSourceLastsTwoSeconds) {
    fake.images.frames.erase(gifPath("07_谢谢"));
    pet->play("07_谢谢", std::nullopt);
    advance(2.14);
    EXPECT_FALSE(pet->idle());
    advance(0.02);
    EXPECT_TRUE(pet->idle());
}

TEST_F(Playback, ANewPlayReplacesTheRunningOneAndItsTimer) {
    fake.addGif("12_哈哈哈", 3.0);
    pet->play("13_嚯", "one");
    advance(0.5);
    pet->play("12_哈哈哈", "two");
    EXPECT_EQ(bubbleText(), "two");
    EXPECT_EQ(shownImage(), gifPath("12_哈哈哈"));
    advance(1.0);  // where the first GIF would have ended
    EXPECT_FALSE(pet->idle());
    advance(3.15 - 1.0 - 0.01);
    EXPECT_FALSE(pet->idle());
    advance(0.02);
    EXPECT_TRUE(pet->idle());
    EXPECT_EQ(fake.loop.liveTimersWithInterval(1.15), 0u);
}

TEST_F(Playback, PlayingWithoutAQuipLeavesTheBubbleAlone) {
    pet->sayQuote();
    const std::string said = bubbleText();
    advance(1);
    pet->play("13_嚯", std::nullopt);
    EXPECT_TRUE(bubbleVisible());
    EXPECT_EQ(bubbleText(), said);
    EXPECT_EQ(fake.bubble().textHistory.size(), 1u);
}

TEST_F(Playback, AmbientTicksPlayOnlyWhileIdle) {
    fake.addGif("16_笑", 150.0);
    advance(199);
    pet->play("16_笑", std::nullopt);  // busy through the 200 s tick
    const std::size_t shown = fake.view().imageHistory.size();
    advance(2);
    EXPECT_EQ(fake.view().imageHistory.size(), shown);
    advance(150);  // back to idle; the next tick at 400 s plays
    EXPECT_TRUE(pet->idle());
    advance(400 - fake.loop.now());
    EXPECT_FALSE(pet->idle());
    const std::vector<std::string> ambient = {"01_好jeng啊", "05_帮紧你", "06_辛苦了", "07_谢谢", "16_笑", "09_问号"};
    EXPECT_NE(std::find(ambient.begin(), ambient.end(), shownImage().substr(5, shownImage().size() - 9)),
              ambient.end())
        << shownImage();
}

TEST_F(Playback, MissingIdlePictureKeepsTheLastFrameButTheStateIsIdle) {
    fake.removeResource("idle.png");
    pet->play("13_嚯", std::nullopt);
    advance(1.2);
    EXPECT_TRUE(pet->idle());
    EXPECT_EQ(shownImage(), gifPath("13_嚯"));
    EXPECT_EQ(fake.layer().keys(), std::vector<std::string>{"rock"});
}

}  // namespace
}  // namespace glugmo
