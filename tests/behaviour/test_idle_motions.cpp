#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

bool isStretchLine(const std::string& text) {
    static const std::vector<std::string> lines = {"唔…再瘫五分钟", "这个班就上到这了", "腰要断了", "让我瘫一会儿"};
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

using IdleMotions = PetFixture;

TEST_F(IdleMotions, AWinningCoinStretchesAt45ThenEvery46AndAHalfSecondsEvenHiddenOrDragged) {
    fake.random.everyCoin = true;
    launch();
    pet->toggleHidden();
    fake.window().moveTo({1000, 40});
    std::vector<double> stretches;
    std::vector<double> lines;
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
        EXPECT_TRUE(isStretchLine(fake.bubble().textHistory[i]));
    }
    EXPECT_TRUE(fake.layer().hasAnimation("rock"));
    EXPECT_DOUBLE_EQ(fake.bubble().frame().minY(), petRectangle({1000, 40}, 120).maxY() + 8);
}

TEST_F(IdleMotions, ALosingCoinNeverInterruptsTheRockingAndRockingTwiceAddsNothing) {
    fake.random.everyCoin = false;
    launch();
    const int adds = fake.layer().adds;
    pet->startRocking();
    EXPECT_EQ(fake.layer().adds, adds);
    EXPECT_EQ(stretchTimers(), 1u);
    for (int i = 0; i < 100; ++i) {
        advance(9);
        // Only the ambient animations every 200 s pause it.
        ASSERT_TRUE(!idle() || fake.layer().hasAnimation("rock")) << fake.loop.now();
    }
    EXPECT_TRUE(fake.bubble().textHistory.empty());
}

TEST_F(IdleMotions, AGifDuringAStretchCancelsTheReturnToRockingUntilItEnds) {
    fake.random.everyCoin = true;
    fake.addGif("12_哈哈哈", 2.0);
    launch();
    advance(46);
    pet->play("12_哈哈哈", std::nullopt);
    advance(0.6);  // the 1.5 s follow-up finds the pet busy
    EXPECT_TRUE(fake.layer().keys().empty());
    EXPECT_EQ(stretchTimers(), 0u);
    advance(1.6);
    EXPECT_TRUE(idle());
    EXPECT_EQ(fake.layer().keys(), std::vector<std::string>{"rock"});
}

}  // namespace
}  // namespace glugmo
