#include "pet/pet_view.h"

namespace glugmo {

bool isTap(Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    return dx * dx + dy * dy < PetView::kTapSlop * PetView::kTapSlop;
}

PetView::PetView(PetWindow* window, ImageView& imageView) : window_(window), imageView_(imageView) {
    imageView_.setMouseHandler(this);
}

PetView::~PetView() { imageView_.setMouseHandler(nullptr); }

void PetView::mouseDown(int clickCount) {
    if (clickCount == 2) {
        if (onDoubleTap) onDoubleTap();
        return;
    }
    dragOrigin_ = window_ ? window_->frame().origin : Point{};
    if (window_) window_->performWindowDrag();
}

void PetView::mouseUp() {
    if (!window_) return;
    // dragOrigin survives a double click's second press, so that press's
    // release still compares against the first one.
    if (isTap(dragOrigin_, window_->frame().origin) && onTap) onTap();
}

void PetView::rightMouseDown() {
    if (onRightTap) onRightTap(imageView_);
}

}  // namespace glugmo
