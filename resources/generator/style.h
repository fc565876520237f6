#pragma once

#include <QColor>
#include <array>

// The character's fixed look, shared by every picture so that the pet stays
// the same creature from one reaction to the next.
namespace artwork {

// Every picture has the window's 599:523 proportions; 460 px wide is crisp at
// 200 points on a Hi-DPI screen and keeps the GIFs small.
inline constexpr int kCanvasWidth = 460;
inline constexpr int kCanvasHeight = 527;

// Drawing happens in "ground" coordinates: origin at the bottom centre of the
// canvas, y growing downwards, so the body sits at negative y.
inline constexpr double kBodyRadius = 148;
inline constexpr double kBodyBottom = -14;
inline constexpr double kBodyCentreY = kBodyBottom - kBodyRadius;
inline constexpr double kTipHeight = kBodyRadius * 1.72;  // tip above the circle's centre
inline constexpr double kOutline = 7;                     // ~1.8 px when shown 120 px wide

namespace colour {
inline const QColor outline{31, 42, 77};
inline const QColor body{134, 205, 247};
inline const QColor shade{94, 172, 230};
inline const QColor highlight{236, 249, 255};
inline const QColor cheek{255, 150, 170};
inline const QColor white{255, 255, 255};
inline const QColor mouth{196, 62, 88};
inline const QColor tongue{255, 128, 150};
inline const QColor heart{255, 84, 118};
inline const QColor gold{255, 208, 64};
inline const QColor orange{255, 150, 60};
inline const QColor tea{205, 150, 95};
inline const QColor cup{250, 250, 244};
inline const QColor water{112, 192, 246};
inline const QColor bag{196, 120, 72};
inline const QColor cloud{122, 130, 150};
inline const QColor pompom{255, 92, 92};
}  // namespace colour

// The flat colours that must survive quantisation exactly.
inline std::array<QColor, 17> keyColours() {
    using namespace colour;
    return {outline, body,   shade, highlight, cheek, white, mouth, tongue, heart,
            gold,    orange, tea,   cup,       water, bag,   cloud, pompom};
}

}  // namespace artwork
