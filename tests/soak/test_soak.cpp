#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <sstream>

#include "app/gif_duration.h"
#include "tests/soak/pet_invariants.h"
#include "tests/soak/simulated_user.h"

namespace glugmo {
namespace {

constexpr double kDay = 86400;
constexpr double kSoakDays = 30;
// The pet holds a GIF's last frame this long before it goes back to idle.
constexpr double kRevertGrace = 0.15;

// The platform as a long run meets it: GIFs of different lengths, so each
// revert timer is recognisable by its interval, one GIF missing and one that
// does not decode.
void prepare(fake::FakePlatform& fake, unsigned seed) {
    fake.random = fake::ScriptedRandom(seed);
    const std::vector<std::string>& names = fake::allGifNames();
    for (std::size_t k = 0; k < names.size(); ++k) fake.addGif(names[k], 0.7 + 0.2 * static_cast<double>(k));
    fake.removeResource("13_嚯.gif");
    fake.images.undecodable.insert(fake::FakeResources::pathOf("07_谢谢.gif"));
}

std::vector<double> revertIntervals(fake::FakePlatform& fake) {
    std::vector<double> intervals;
    for (const std::string& name : fake::allGifNames()) {
        intervals.push_back(gifDuration(fake.resources, fake.images, name) + kRevertGrace);
    }
    return intervals;
}

class ThirtySimulatedDays : public ::testing::TestWithParam<unsigned> {};

TEST_P(ThirtySimulatedDays, KeepEveryInvariantAndGrowOnlyByFiredKeysWhichCoversAnySimulatedWeek) {
    const unsigned seed = GetParam();
    fake::FakePlatform fake;
    prepare(fake, seed);
    const auto pet = PetController::create(fake.platform);
    pet->start();

    PetInvariants invariants(fake, *pet, revertIntervals(fake));
    std::deque<std::string> recent;
    std::string failure;
    std::uint64_t events = 0;
    SimulatedUser user(fake, *pet, seed, [&](std::string_view event) {
        ++events;
        if (!failure.empty()) return;
        std::ostringstream line;
        line << "t=" << fake.loop.now() << "s " << event;
        recent.push_back(line.str());
        if (recent.size() > 12) recent.pop_front();
        const std::vector<std::string> broken = invariants.broken();
        if (broken.empty()) return;
        std::ostringstream report;
        report << "seed " << seed << ", event " << events << ", day " << fake.loop.now() / kDay << ":";
        for (const std::string& rule : broken) report << "\n  broken: " << rule;
        report << "\nlast events:";
        for (const std::string& e : recent) report << "\n  " << e;
        failure = report.str();
    });

    const auto started = std::chrono::steady_clock::now();
    while (fake.loop.now() < kSoakDays * kDay && failure.empty()) user.liveOneMoment();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    ASSERT_TRUE(failure.empty()) << failure;

    // The month really went through every path: each gesture, the tap
    // burst, and the clock's eggs and reminders.
    for (const char* gesture : {"tap", "double click", "drag", "right click", "pester", "menu item", "size"}) {
        EXPECT_GT(user.gestures().count(gesture), 0u) << gesture;
    }
    const auto& shown = fake.view().imageHistory;
    EXPECT_NE(std::find(shown.begin(), shown.end(), fake::FakeResources::pathOf("14_精神打击.gif")), shown.end());
    EXPECT_GE(pet->firedKeys().size(), kSoakDays);
    std::cout << "seed " << seed << ": " << events << " events over " << kSoakDays << " simulated days, "
              << pet->firedKeys().size() << " fired keys, " << fake.loop.firedCount() << " timer firings, in "
              << took.count() << " s\n";
}

INSTANTIATE_TEST_SUITE_P(Seeds, ThirtySimulatedDays, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace glugmo
