#include "bubble/bubble_geometry.h"

namespace glugmo {

namespace {
constexpr double kHorizontalPadding = 14;
constexpr double kVerticalPadding = 16;
constexpr double kMinWidth = 90;
constexpr double kMaxWidth = kBubbleMaxLineWidth + 2 * kHorizontalPadding;
constexpr double kMinHeight = 36;
constexpr double kGapAboveAnchor = 8;
}  // namespace

BubbleGeometry bubbleGeometry(Size fitting, Rect anchor, std::optional<Rect> screen) {
    double width = fitting.width + 2 * kHorizontalPadding;
    if (width <= kMinWidth) width = kMinWidth;
    if (width > kMaxWidth) width = kMaxWidth;
    double height = fitting.height + kVerticalPadding;
    if (height <= kMinHeight) height = kMinHeight;

    BubbleGeometry geometry;
    double x = anchor.midX() - width * 0.5;
    double y = anchor.maxY() + kGapAboveAnchor;
    if (screen) {
        // Each edge moves it the least; where it cannot fit, the left and
        // the top win, since a line reads from there.
        if (x + width > screen->maxX()) x = screen->maxX() - width;
        if (x < screen->minX()) x = screen->minX();
        // Pushed down over the pet it would hide the face it speaks for.
        if (y + height > screen->maxY()) y = anchor.minY() - kGapAboveAnchor - height;
        if (y < screen->minY()) y = screen->minY();
        if (y + height > screen->maxY()) y = screen->maxY() - height;
    }
    geometry.panelFrame = Rect::make(x, y, width, height);
    geometry.labelFrame = Rect::make(kHorizontalPadding, (height - fitting.height) * 0.5,
                                     width - 2 * kHorizontalPadding, fitting.height);
    return geometry;
}

std::string textForBubble(const std::string& text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && ++characters == kBubbleMaxCharacters && i + 1 < text.size()) {
            // Is there anything after this character?
            std::size_t next = i + 1;
            while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
            if (next < text.size()) return text.substr(0, i) + "…";
        }
    }
    return text;
}

}  // namespace glugmo
