#include "tests/behaviour/pet_fixture.h"

namespace glugmo {
namespace {

using Lifetime = PetFixture;

TEST_F(Lifetime, ADestroyedPetIgnoresEveryPendingTimerAndBlock) {
    fake.application.environment.insert("GLG_DEBUG");
    fake.random.everyCoin = true;
    launch();
    advance(45.1);  // a stretch with both follow-ups pending
    pet->play("13_嚯", "quip");  // a revert timer and a bubble timer
    ASSERT_GT(fake.loop.pendingBlockCount() + fake.loop.liveTimerCount(), 0u);

    pet.reset();
    EXPECT_EQ(fake.loop.liveTimerCount(), 0u);  // owned timers went with it
    advance(7 * 24 * 3600);                      // and the blocks find nobody
    EXPECT_EQ(fake.loop.pendingBlockCount(), 0u);
}

TEST_F(Lifetime, DebugStepsAfterThePetIsGonePrintOnlyTheSecondStepsFailure) {
    fake.application.environment.insert("GLG_DEBUG");
    launch();
    advance(2.2);  // step 1 ran, step 2 pending
    pet.reset();
    advance(1);
    ASSERT_EQ(fake.application.output.size(), 3u);
    EXPECT_EQ(fake.application.output[2], "DEBUG bubble render failed");

    fake.application.output.clear();
    launch();
    pet.reset();  // gone before step 1
    advance(5);
    EXPECT_TRUE(fake.application.output.empty());
}

}  // namespace
}  // namespace glugmo
