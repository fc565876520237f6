#pragma once

#include "platform/geometry.h"

namespace glugmo {

// Height-to-width ratio of the pet artwork: the double nearest to 599/523.
inline constexpr double kPetAspect = 1.1453154875717018;

// The air around the pet, as fractions of its width (sides) and of its
// height (below and above): room for the rocking and the stretch.
inline constexpr double kSideAir = 0.23;
inline constexpr double kAirBelow = 0.1;
inline constexpr double kAirAbove = 0.12;

// Everything about the pet window's geometry follows from the pet's width s:
// the pet is s wide and h = s * aspect high, with kSideAir s of air on each
// side, kAirBelow h below and kAirAbove h above.
struct PetLayout {
    Size windowSize;     // content size of the pet window
    Rect contentFrame;   // the content view, filling the window
    Rect petViewFrame;   // the pet view inside the content view
    Rect layerFrame;     // the pet view's layer, in the view's own coordinates
};

PetLayout petLayout(double petSize, double aspect = kPetAspect);

// The pet view's rectangle on screen for a window whose frame starts at
// `windowOrigin`: the anchor every speech bubble is placed above.
Rect petRectangle(Point windowOrigin, double petSize, double aspect = kPetAspect);

// Where the pet starts: bottom-right of the visible area, 60 points from the
// right edge and 40 points above the bottom.
Rect initialWindowFrame(Rect visibleFrame, Size windowSize);

// A window resized to `size` about the centre of `frame`.
Rect resizedAboutCentre(Rect frame, Size size);

}  // namespace glugmo
