#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

const std::string kStatus =
    "DEBUG visible=true frame=(1204.8, 65.0, 175.2, 167.67418738049716) hasImage=true";

struct DebugMode : PetFixture {
    void SetUp() override {
        fake.random.everyCoin = false;
        fake.application.environment.insert("GLG_DEBUG");
    }
    const std::vector<std::string>& out() { return fake.application.output; }
};

TEST_F(DebugMode, TheStepsRunOnTimeAndWriteBothPictures) {
    launch();
    advance(1.99);
    EXPECT_TRUE(out().empty());
    advance(0.01);
    EXPECT_EQ(out(), (std::vector<std::string>{kStatus, "DEBUG render saved"}));
    EXPECT_EQ(fake.files.files.at("/tmp/pet_render.png"), "PNG:pet:" + idlePath());
    EXPECT_EQ(fake.view().lastRenderArea, Rect::make(0, 0, 120, 137.43785850860422));
    EXPECT_EQ(fake.application.flushes, 1);
    advance(0.2);
    pet->sayQuote();  // a later text is what the bubble render shows
    advance(0.3);
    EXPECT_EQ(out().back(), "DEBUG bubble render saved");
    EXPECT_EQ(fake.files.files.at("/tmp/bubble_render.png"), "PNG:bubble:" + bubbleText());
    EXPECT_EQ(fake.application.flushes, 2);
    advance(60);
    EXPECT_EQ(out().size(), 3u);
}

TEST_F(DebugMode, AbsentVariableMeansNoOutputAndNoFiles) {
    fake.application.environment.clear();
    launch();
    advance(60);
    EXPECT_TRUE(out().empty());
    EXPECT_FALSE(fake.files.files.contains("/tmp/pet_render.png"));
}

TEST_F(DebugMode, FailuresAreReportedAsFailuresNotSuccessesAndAHiddenPetAsHidden) {
    const std::vector<std::string> failed = {kStatus, "DEBUG render failed", "DEBUG bubble render failed"};
    const std::vector<std::string> hidden = {"DEBUG visible=false" + kStatus.substr(18), "DEBUG render saved",
                                             "DEBUG bubble render saved"};
    for (const auto& [how, expected] : {std::pair{"/tmp not writable, or not ours to replace", failed},
                                        {"nothing to render", failed}, {"hidden", hidden}}) {
        fake.application.output.clear();
        fake.files.writesFail = how[0] == '/';
        launch();
        fake.view().renderFails = fake.bubble().renderFails = how[0] == 'n';
        if (how[0] == 'h') pet->toggleHidden();
        advance(2.5);
        EXPECT_EQ(out(), expected) << how;
    }
}

TEST_F(DebugMode, StepsAfterThePetIsGonePrintOnlyTheSecondStepsFailure) {
    launch();
    advance(2.2);  // step 1 ran, step 2 pending
    pet.reset();
    advance(1);
    EXPECT_EQ(out().back(), "DEBUG bubble render failed");
    fake.application.output.clear();
    launch();
    pet.reset();  // gone before step 1
    advance(5);
    EXPECT_TRUE(out().empty());
}

}  // namespace
}  // namespace glugmo
