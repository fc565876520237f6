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
        view.onRightTap = [this](ImageView& v) {
            calls.push_back(&v == &window.imageView() ? "right(self)" : "right(other)");
        };
    }
};

TEST(IsTap, DisplacementBelowSixPointsIsATap) {
    EXPECT_TRUE(isTap({0, 0}, {0, 0}));
    EXPECT_TRUE(isTap({0, 0}, {5, 3}));   // 34 < 36
    EXPECT_FALSE(isTap({0, 0}, {6, 0}));  // 36 is not below 36
    EXPECT_FALSE(isTap({10, 10}, {10, 3.9}));
    EXPECT_TRUE(isTap({10, 10}, {10, 4.1}));
}

TEST_F(Gestures, ClickWithoutMovementRecordsTheOriginDragsAndTaps) {
    view.mouseDown(1);
    EXPECT_EQ(view.dragOrigin(), (Point{100, 100}));
    EXPECT_EQ(window.dragRequests, 1);
    view.mouseUp();
    EXPECT_EQ(calls, std::vector<std::string>{"tap"});
}

TEST_F(Gestures, DragThatMovesTheWindowIsNoTap) {
    view.mouseDown(1);
    window.moveTo({106, 100});
    view.mouseUp();
    view.mouseDown(1);
    window.moveTo({111, 103});
    view.mouseUp();
    EXPECT_EQ(calls, std::vector<std::string>{"tap"});  // only the (5, 3) drag counts as a tap
}

TEST_F(Gestures, DoubleClickTapsHidesAndTapsAgain) {
    view.mouseDown(1);
    view.mouseUp();
    view.mouseDown(2);
    view.mouseUp();
    EXPECT_EQ(calls, (std::vector<std::string>{"tap", "double", "tap"}));
    EXPECT_EQ(window.dragRequests, 1);  // the second press starts no drag
}

TEST_F(Gestures, TripleClickCountsAsAPress) {
    view.mouseDown(3);
    EXPECT_EQ(window.dragRequests, 1);
}

TEST_F(Gestures, RightClickReportsTheViewAndLeavesTheDragOriginAlone) {
    view.mouseDown(1);
    window.moveTo({300, 300});
    view.rightMouseDown();
    EXPECT_EQ(view.dragOrigin(), (Point{100, 100}));
    EXPECT_EQ(window.dragRequests, 1);
    EXPECT_EQ(calls, std::vector<std::string>{"right(self)"});
}

TEST_F(Gestures, AbsentCallbacksIgnoreEveryGestureButTheDrag) {
    view.onTap = nullptr;
    view.onDoubleTap = nullptr;
    view.onRightTap = nullptr;
    view.mouseDown(1);
    view.mouseUp();
    view.mouseDown(2);
    view.rightMouseDown();
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(window.dragRequests, 1);
}

TEST(GesturesWithoutWindow, PressRecordsZeroAndReleaseDoesNothing) {
    fake::FakeRunLoop loop;
    fake::FakeImageView imageView(loop);
    PetView view(nullptr, imageView);
    int taps = 0;
    view.onTap = [&] { ++taps; };
    view.mouseDown(1);
    view.mouseUp();
    EXPECT_EQ(view.dragOrigin(), (Point{0, 0}));
    EXPECT_EQ(taps, 0);
}

}  // namespace
}  // namespace glugmo
