#include <gtest/gtest.h>

#include <vector>

#include "pet/pet_view.h"
#include "tests/fake/fake_run_loop.h"
#include "tests/fake/fake_windows.h"

namespace glugmo {
namespace {

struct Gestures : ::testing::Test {
    fake::FakeRunLoop loop;
    fake::FakePetWindow window{loop, Rect::make(100, 100, 175.2, 167.7), false};
    PetView view{&window, window.imageView()};
    std::vector<std::string> calls;

    void SetUp() override {
        view.onTap = [this] { calls.push_back("tap"); };
        view.onDoubleTap = [this] { calls.push_back("double"); };
        view.onRightTap = [this](ImageView& v) { calls.push_back(&v == &window.imageView() ? "right" : "other"); };
    }
};

TEST(IsTap, DisplacementBelowSixPointsIsATap) {
    const std::pair<Point, bool> cases[] = {
        {{0, 0}, true}, {{5, 3}, true}, {{6, 0}, false}, {{0, -6.1}, false}, {{0, -5.9}, true}};
    for (const auto& [to, tap] : cases) {
        EXPECT_EQ(isTap({10, 10}, {10 + to.x, 10 + to.y}), tap) << to.x << "," << to.y;
    }
}

// A press released where it began is a tap; a double click taps then hides;
// a triple click's third press is a press. Every press but a double drags.
TEST_F(Gestures, PressesReleasesAndRightClicks) {
    for (Point to : {Point{100, 100}, Point{106, 100}, Point{111, 103}}) {  // still, moved 6, moved (5, 3)
        view.mouseDown(1);
        window.moveTo(to);
        view.mouseUp();
    }
    window.moveTo({100, 100});
    for (int clicks : {1, 2}) view.mouseDown(clicks), view.mouseUp();
    view.mouseDown(3);
    view.mouseDown(1);
    window.moveTo({300, 300});
    view.rightMouseDown();
    EXPECT_EQ(view.dragOrigin(), (Point{100, 100}));  // right clicks leave it alone
    EXPECT_EQ(calls, (std::vector<std::string>{"tap", "tap", "tap", "double", "tap", "right"}));
    EXPECT_EQ(window.dragRequests, 6);
}

}  // namespace
}  // namespace glugmo
