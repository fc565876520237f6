#include "app/pet_layout.h"

namespace glugmo {

PetLayout petLayout(double s, double aspect) {
    const double h = s * aspect;
    const double width = s + (s * kSideAir + s * kSideAir);
    const double height = h * kAirBelow + (h + h * kAirAbove);
    PetLayout layout;
    layout.windowSize = {width, height};
    layout.contentFrame = Rect::make(0, 0, width, height);
    layout.petViewFrame = Rect::make(s * kSideAir, h * kAirBelow, s, h);
    layout.layerFrame = Rect::make(0, 0, s, h);
    return layout;
}

Rect petRectangle(Point windowOrigin, double s, double aspect) {
    return Rect::make(windowOrigin.x + kSideAir * s, windowOrigin.y + kAirBelow * s * aspect, s, s * aspect);
}

Rect initialWindowFrame(Rect visible, Size windowSize) {
    return Rect{{visible.maxX() - windowSize.width - 60, visible.minY() + 40}, windowSize};
}

Rect resizedAboutCentre(Rect frame, Size size) {
    return Rect{{frame.midX() - size.width * 0.5, frame.midY() - size.height * 0.5}, size};
}

}  // namespace glugmo
