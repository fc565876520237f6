#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

const std::vector<std::string> kLines = {"唔…再瘫五分钟", "这个班就上到这了", "腰要断了", "让我瘫一会儿"};

bool isStretchLine(const std::string& text) {
    return std::find(kLines.begin(), kLines.end(), text) != kLines.end();
}

using IdleMotions = PetFixture;

TEST_F(IdleMotions, RockingAndStretchHaveTheirExactShapes) {
    fake.random.everyCoin = true;
    launch();
    const auto& rock = std::get<BasicAnimation>(*fake.layer().animation("rock"));
    EXPECT_EQ(rock.keyPath, "transform.rotation.z");
    EXPECT_EQ(rock.fromValue, -0.055);
    EXPECT_EQ(rock.toValue, 0.055);
    EXPECT_EQ(rock.duration, 1.7);
    EXPECT_TRUE(rock.autoreverses);
    EXPECT_EQ(rock.repeatCount, kRepeatForever);
    EXPECT_EQ(rock.timing, TimingFunction::EaseInEaseOut);

    advance(45);
    const auto& stretch = std::get<KeyframeAnimation>(*fake.layer().animation("stretch"));
    EXPECT_EQ(stretch.keyPath, "transform.rotation.z");
    EXPECT_EQ(stretch.values, (std::vector<double>{0, 0.18, -0.05, 0.02, 0}));
    EXPECT_EQ(stretch.keyTimes, (std::vector<double>{0, 0.35, 0.65, 0.85, 1.0}));
    EXPECT_EQ(stretch.duration, 1.4);
    EXPECT_EQ(stretch.timing, TimingFunction::EaseInEaseOut);
    EXPECT_FALSE(fake.layer().hasAnimation("rock"));
}

TEST_F(IdleMotions, StartingToRockTwiceKeepsOneAnimationAndOneTimer) {
    fake.random.everyCoin = false;
    launch();
    advance(20);
    const int adds = fake.layer().adds;
    pet->startRocking();
    EXPECT_EQ(fake.layer().adds, adds);
    EXPECT_EQ(fake.loop.liveTimersWithInterval(45.0), 1u);
    advance(25);  // the original timer still ticks at 45 s: a losing toss asked for
    EXPECT_EQ(fake.random.bounds.size(), 0u);
}

TEST_F(IdleMotions, AWinningCoinStretchesAt45ThenEvery46AndAHalfSeconds) {
    fake.random.everyCoin = true;
    launch();
    std::vector<double> stretches;
    std::vector<double> lines;
    double t = 0;
    while (t < 199) {  // the first ambient animation comes at 200 s
        advance(0.05);
        t = fake.loop.now();
        if (fake.layer().hasAnimation("stretch") && (stretches.empty() || t - stretches.back() > 2)) {
            stretches.push_back(t);
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
}

TEST_F(IdleMotions, ALosingCoinNeverInterruptsTheRocking) {
    fake.random.everyCoin = false;
    launch();
    for (int i = 0; i < 100; ++i) {
        advance(9);
        // Only the ambient animations every 200 s pause it.
        ASSERT_TRUE(!pet->idle() || fake.layer().hasAnimation("rock")) << fake.loop.now();
    }
    EXPECT_TRUE(fake.bubble().textHistory.empty());
}

TEST_F(IdleMotions, AGifDuringAStretchCancelsTheReturnToRockingUntilItEnds) {
    fake.random.everyCoin = true;
    fake.addGif("12_哈哈哈", 2.0);
    launch();
    advance(45);
    advance(1.0);
    EXPECT_EQ(fake.bubble().textHistory.size(), 1u);  // the line came at 0.45 s
    pet->play("12_哈哈哈", std::nullopt);
    advance(0.6);  // the 1.5 s follow-up finds the pet busy
    EXPECT_TRUE(fake.layer().keys().empty());
    EXPECT_FALSE(pet->hasStretchTimer());
    advance(1.6);
    EXPECT_TRUE(pet->idle());
    EXPECT_EQ(fake.layer().keys(), std::vector<std::string>{"rock"});
}

TEST_F(IdleMotions, AHiddenPetKeepsStretchingAndGrumbling) {
    fake.random.everyCoin = true;
    launch();
    pet->toggleHidden();
    advance(45.5);
    EXPECT_FALSE(fake.window().isVisible());
    EXPECT_TRUE(isStretchLine(bubbleText()));
    EXPECT_TRUE(bubbleVisible());
}

TEST_F(IdleMotions, StretchLineSitsAboveThePetWhereverItWasDragged) {
    fake.random.everyCoin = true;
    launch();
    fake.window().moveTo({1000, 40});
    advance(45.45);
    const Rect bubble = fake.bubble().frame();
    EXPECT_DOUBLE_EQ(bubble.midX(), 1027.6 + 60);
    EXPECT_DOUBLE_EQ(bubble.minY(), 53.74378585086042 + 137.43785850860422 + 8);
}

}  // namespace
}  // namespace glugmo
