// Drinks: the water reminder and the afternoon milk tea.
#include <QTransform>

#include "animation.h"
#include "character.h"
#include "props.h"
#include "style.h"
#include "tween.h"

namespace artwork {

namespace {

// Where a held object sits: its base point and tilt, in body coordinates.
struct Held {
    QPointF base;
    double tilt;
};

Held between(const Held& a, const Held& b, double t) {
    return {a.base + (b.base - a.base) * t, lerp(a.tilt, b.tilt, t)};
}

// The hand grips the object `grip` pixels above its base, along its tilt.
QPointF gripPoint(const Held& held, double grip) {
    return held.base + QTransform().rotate(held.tilt).map(QPointF(0, -grip));
}

}  // namespace

Animation drinkWater() {
    return {"08_多喝水", 26, 8, 40, [](QPainter& p, int i) {
                const Held low{{124, -20}, 0};
                const Held atMouth{{114, -86}, -42};
                const double raise = smooth(span(i, 0, 5)) * (1 - smooth(span(i, 17, 21)));
                const Held glass = between(low, atMouth, raise);

                Pose pose = idlePose();
                pose.eyes = raise > 0.6 ? Eyes::Closed : (i > 19 ? Eyes::Happy : Eyes::Calm);
                pose.mouth = i > 19 ? Mouth::Grin : (raise > 0.3 ? Mouth::Sip : Mouth::Smile);
                pose.face = {0, -10 * raise};
                // Gulps: a small bob while the glass is up.
                if (i >= 6 && i <= 16) pose.stretch = 1 + 0.025 * wave(i, 4);
                pose.right = armReaching(Side::Right, gripPoint(glass, 50), true);
                drawCharacter(p, pose);

                inBodySpace(p, pose, [&] {
                    drawGlass(p, glass.base, lerp(0.85, 0.22, span(i, 6, 17)), glass.tilt);
                    const double fresh = span(i, 20, 22) * (1 - span(i, 24, 25));
                    drawSparkle(p, {-150, -330}, 50 * fresh);
                    drawSparkle(p, {-176, -230}, 34 * fresh);
                });
            }};
}

Animation teaTime() {
    return {"10_三点几", 24, 8, 40, [](QPainter& p, int i) {
                const Held low{{142, -52}, 0};
                const Held atMouth{{52, -78}, -20};
                const double raise = smooth(span(i, 7, 11)) * (1 - smooth(span(i, 15, 19)));
                const Held cup = between(low, atMouth, raise);

                Pose pose = idlePose();
                pose.eyes = i < 3 ? Eyes::Calm : (i > 18 ? Eyes::Happy : Eyes::Closed);
                pose.mouth = i > 18 ? Mouth::Grin : Mouth::Smile;
                pose.blush = 1.2;
                pose.lean = -3 * raise;
                pose.right = armReaching(Side::Right, gripPoint(cup, 40), false);
                drawCharacter(p, pose);

                inBodySpace(p, pose, [&] {
                    drawTeaCup(p, cup.base, cup.tilt);
                    if (raise < 0.3) drawSteam(p, cup.base + QPointF(0, -104), i * 0.9);
                });
            }};
}

}  // namespace artwork
