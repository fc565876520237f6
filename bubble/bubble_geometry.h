#pragma once

#include "platform/geometry.h"

namespace glugmo {

struct BubbleGeometry {
    Rect panelFrame;  // screen coordinates
    Rect labelFrame;  // in the panel
};

inline constexpr double kBubbleMaxLineWidth = 232;

// Sizes the bubble around a label that needs `fitting` and centres it 8
// points above the anchor. Never clamped to a screen.
BubbleGeometry bubbleGeometry(Size fitting, Rect anchor);

}  // namespace glugmo
