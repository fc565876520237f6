#pragma once

#include <functional>

#include "platform/geometry.h"
#include "platform/windows.h"

namespace glugmo {

// The pet's image view as the user handles it: turns presses and releases
// into a tap, a double tap, a right tap or a window drag. It knows nothing of
// the controller and reports through optional callbacks.
class PetView final : public MouseHandler {
public:
    // A release that finds the window moved less than this is a tap.
    static constexpr double kTapSlop = 6.0;

    PetView(PetWindow* window, ImageView& imageView);
    ~PetView() override;
    PetView(const PetView&) = delete;
    PetView& operator=(const PetView&) = delete;

    std::function<void()> onTap;
    std::function<void()> onDoubleTap;
    std::function<void(ImageView&)> onRightTap;

    void mouseDown(int clickCount) override;
    void mouseUp() override;
    void rightMouseDown() override;

    ImageView& imageView() { return imageView_; }
    Layer* layer() { return imageView_.layer(); }
    Point dragOrigin() const { return dragOrigin_; }

private:
    PetWindow* window_;
    ImageView& imageView_;
    Point dragOrigin_;
};

// A release after a press is a tap when the window moved less than 6 points.
bool isTap(Point originAtPress, Point originAtRelease);

}  // namespace glugmo
