#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/geometry.h"

namespace glugmo {

struct BubbleGeometry {
    Rect panelFrame;  // screen coordinates
    Rect labelFrame;  // in the panel
};

inline constexpr double kBubbleMaxLineWidth = 232;

// The longest text a bubble shows, in characters. A quip is one line of
// office wisdom; a line of a megabyte in the quotes file would otherwise
// make a bubble taller than any screen, and no window at all.
inline constexpr std::size_t kBubbleMaxCharacters = 300;

// The text cut to kBubbleMaxCharacters (an ellipsis last), never inside a
// UTF-8 sequence.
std::string textForBubble(const std::string& text);

// Sizes the bubble around a label that needs `fitting` and centres it 8
// points above the anchor. With the frame of the monitor that holds the
// anchor, a bubble that would cross its edges is kept whole on it, moved as
// little as it can be; with no room above the anchor it goes 8 points below.
BubbleGeometry bubbleGeometry(Size fitting, Rect anchor, std::optional<Rect> screen = std::nullopt);

}  // namespace glugmo
