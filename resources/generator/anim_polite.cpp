// Polite reactions: goodbye at the end of the day, comfort, thanks.
#include <cmath>

#include "animation.h"
#include "character.h"
#include "props.h"
#include "style.h"
#include "tween.h"

namespace artwork {

Animation clockingOff() {
    return {"03_收工", 24, 8, 40, [](QPainter& p, int i) {
                Pose idle = idlePose();
                idle.right.angle = 12;
                Pose bye = idle;
                bye.eyes = Eyes::Happy;
                bye.mouth = Mouth::Grin;
                bye.left = {140 + 18 * wave(i, 6), 84};
                bye.lean = 3 * wave(i, 6);

                Pose pose = mix(idle, bye, smooth(span(i, 0, 3)));
                if (i > 19) pose = mix(bye, idle, smooth(span(i, 19, 23)));
                drawCharacter(p, pose);
                inBodySpace(p, pose, [&] {
                    drawSatchel(p, 4 * wave(i, 6));
                    if (i >= 3 && i <= 19) {
                        const QPointF hand = handPoint(pose, Side::Left);
                        drawMotionMarks(p, hand + QPointF(-22, -56), 40, -1);
                    }
                });
            }};
}

Animation workedHard() {
    return {"06_辛苦了", 22, 8, 40, [](QPainter& p, int i) {
                // A tired little office drop pops up and gets a kind pat on
                // the head; the pet steps aside to make room for it.
                constexpr double kLittleX = 160, kLittleScale = 0.42, kStepAside = 50;
                const double littleIn = popIn(span(i, 0, 3)) * (1 - smooth(span(i, 17, 20)));
                const double aside =
                    kStepAside * smooth(span(i, 0, 3)) * (1 - smooth(span(i, 16, 20)));
                const double pat = std::abs(wave(i - 4, 6));  // 0 = hand resting on its head
                const bool patting = i >= 4 && i <= 16;

                Pose little = idlePose();
                little.sweat = i < 9;
                if (i >= 9) {
                    little.eyes = Eyes::Happy;
                    little.mouth = Mouth::Grin;
                    little.blush = 1.4;
                }
                little.stretch = patting ? 1 - 0.06 * (1 - pat) : 1;
                // Smaller than half size its outline would thin below a pixel.
                if (littleIn >= 0.5) {
                    p.save();
                    p.translate(kLittleX, 0);
                    p.scale(kLittleScale * littleIn, kLittleScale * littleIn);
                    drawCharacter(p, little);
                    p.restore();
                }

                const double littleTop =
                    (kBodyBottom - kBodyRadius - kTipHeight) * kLittleScale * little.stretch;
                Pose kind = idlePose();
                kind.eyes = Eyes::Closed;
                kind.mouth = Mouth::Grin;
                kind.blush = 1.3;
                kind.lean = 5;
                kind.face = {10, 8};
                kind.right = armReaching(
                    Side::Right, {kLittleX + kStepAside - 6, littleTop - 6 - 24 * pat}, false);
                Pose pose = mix(idlePose(), kind, smooth(span(i, 1, 4)));
                if (i > 16) pose = mix(kind, idlePose(), smooth(span(i, 16, 20)));
                p.save();
                p.translate(-aside, 0);
                drawCharacter(p, pose);
                p.restore();
                if (patting && pat < 0.5) {
                    drawMotionMarks(p, {kLittleX + 34, littleTop - 44}, 34, 1);
                }
            }};
}

Animation thanks() {
    return {"07_谢谢", 22, 8, 40, [](QPainter& p, int i) {
                const Pose idle = idlePose();
                Pose together = idle;
                together.right = armReaching(Side::Right, {0, -104}, true);
                together.left = armReaching(Side::Left, {0, -104}, true);
                together.blush = 1.3;
                together.eyes = Eyes::Closed;
                Pose bow = together;
                bow.face = {0, 22};
                bow.stretch = 0.88;
                bow.eyes = Eyes::Closed;

                Pose pose = mix(idle, together, smooth(span(i, 0, 4)));
                if (i > 4) pose = mix(together, bow, smooth(span(i, 4, 9)));
                if (i > 14) pose = mix(bow, together, smooth(span(i, 14, 18)));
                if (i > 18) pose = mix(together, idle, smooth(span(i, 18, 20)));
                drawCharacter(p, pose);
                if (pose.right.inFront) {
                    inBodySpace(p, pose,
                                [&] { drawPalms(p, handPoint(pose, Side::Right), span(i, 1, 4)); });
                }
                const double shine = span(i, 8, 10) * (1 - span(i, 14, 16));
                drawSparkle(p, {-170, -300}, 44 * shine);
                drawSparkle(p, {176, -360}, 56 * shine);
            }};
}

}  // namespace artwork
