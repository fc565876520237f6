#include "sample_character.h"

#include <QPainterPath>
#include <cmath>

#include "character.h"
#include "ink.h"
#include "props.h"
#include "stills.h"
#include "style.h"
#include "tween.h"

namespace artwork {

namespace {

constexpr double kPi = 3.14159265358979323846;
// The drop's own colours all have hues in this band; the outline's navy lies
// just outside it, so it stays.
constexpr int kBlueFrom = 188;
constexpr int kBlueTo = 216;
constexpr int kMintHue = 152;
const QColor kHat{238, 84, 120};
const QColor kHatBand{255, 208, 64};

// Sits on the tip of the drop in the body's own coordinates, so it leans,
// stretches and jumps with it; `pop` lifts it off the head.
void drawPartyHat(QPainter& p, const Pose& pose, double pop, double tilt) {
    inBodySpace(p, pose, [&] {
        const double tip = kBodyCentreY - kTipHeight;
        p.save();
        p.translate(0, tip + 60 - pop);
        p.rotate(tilt);
        QPainterPath cone(QPointF(-56, 0));
        cone.quadTo(QPointF(0, 14), QPointF(56, 0));
        cone.lineTo(QPointF(6, -94));
        cone.closeSubpath();
        fillOutlined(p, cone, kHat);
        QPainterPath band(QPointF(-38, -28));
        band.quadTo(QPointF(0, -20), QPointF(38, -28));
        strokeOutlined(p, band, 12, kHatBand);
        drawPompom(p, QPointF(6, -98), 18, tilt / 20);
        p.restore();
    });
}

QImage drawn(const Pose& pose, double pop, double tilt) {
    return inMint(renderCanvas([&](QPainter& p) {
        drawCharacter(p, pose);
        drawPartyHat(p, pose, pop, tilt);
    }));
}

}  // namespace

QColor inMint(const QColor& colour) {
    const QColor hsv = colour.toHsv();
    if (hsv.hsvHue() < kBlueFrom || hsv.hsvHue() > kBlueTo || hsv.hsvSaturation() < 8) return colour;
    return QColor::fromHsv(kMintHue, hsv.hsvSaturation(), hsv.value(), colour.alpha());
}

QImage inMint(const QImage& picture) {
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) != 0) row[x] = inMint(QColor::fromRgba(row[x])).rgba();
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage mintIdle() { return drawn(idlePose(), 0, -8); }

std::vector<Animation> mintAnimations() {
    // A little hop that bounces the hat. The canvas leaves room for no more.
    Animation hop{"12_哈哈哈", 18, 7, 30, [](QPainter& p, int i) {
                      Pose pose = idlePose();
                      const double up = std::sin(kPi * span(i, 2, 13));
                      pose.lift = 24 * up;
                      pose.stretch = 1 + 0.04 * up - 0.08 * std::sin(kPi * span(i, 13, 16));
                      pose.eyes = Eyes::Squeeze;
                      pose.mouth = Mouth::Laugh;
                      pose.left = pose.right = Arm{130 * up + 26, 60};
                      drawCharacter(p, pose);
                      drawPartyHat(p, pose, 12 * std::sin(kPi * span(i, 3, 12)), -8 + 24 * wave(i, 9));
                  }};
    // Sways from side to side, the hat a beat behind.
    Animation sway{"16_笑", 20, 8, 30, [](QPainter& p, int i) {
                       Pose pose = idlePose();
                       const double fade = std::sin(kPi * span(i, 0, 19));
                       pose.lean = 12 * fade * wave(i, 10);
                       pose.eyes = Eyes::Happy;
                       pose.mouth = Mouth::Grin;
                       pose.blush = 1.3;
                       drawCharacter(p, pose);
                       drawPartyHat(p, pose, 0, -8 - 14 * fade * wave(i, 10, 2));
                   }};
    for (Animation* animation : {&hop, &sway}) {
        animation->draw = [draw = animation->draw](QPainter& p, int i) {
            // Painted onto a canvas of its own so the whole frame can be recoloured.
            const QImage frame = inMint(renderCanvas([&](QPainter& q) { draw(q, i); }));
            p.save();
            p.resetTransform();
            p.drawImage(0, 0, frame);
            p.restore();
        };
    }
    return {hop, sway};
}

}  // namespace artwork
