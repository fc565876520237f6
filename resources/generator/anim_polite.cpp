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
                bye.left = {152 + 18 * wave(i, 6), 64};
                bye.lean = 3 * wave(i, 6);

                Pose pose = mix(idle, bye, smooth(span(i, 0, 3)));
                if (i > 19) pose = mix(bye, idle, smooth(span(i, 19, 23)));
                drawCharacter(p, pose);
                inBodySpace(p, pose, [&] {
                    drawSatchel(p, 4 * wave(i, 6));
                    if (i >= 3 && i <= 19) {
                        const QPointF hand = handPoint(pose, Side::Left);
                        drawMotionMarks(p, hand + QPointF(-46, 6), 44, -1);
                    }
                });
            }};
}

Animation workedHard() {
    return {"06_辛苦了", 22, 8, 40, [](QPainter& p, int i) {
                const Pose idle = idlePose();
                Pose pat = idle;
                pat.eyes = Eyes::Closed;
                pat.mouth = Mouth::Smile;
                pat.blush = 1.35;
                const double beat = std::abs(wave(i, 8));
                pat.lean = 7 + 3 * beat;
                pat.face = {12, 6 + 8 * beat};
                pat.right = {104 + 24 * beat, 70};

                Pose pose = mix(idle, pat, smooth(span(i, 0, 3)));
                if (i > 17) pose = mix(pat, idle, smooth(span(i, 17, 21)));
                drawCharacter(p, pose);
                // "Pat, pat": marks above the hand each time it comes down.
                if (i >= 3 && i <= 17 && beat < 0.5) {
                    inBodySpace(p, pose, [&] {
                        const QPointF hand = handPoint(pose, Side::Right);
                        drawMotionMarks(p, hand + QPointF(4, -44), 40, -1);
                        drawSparkle(p, hand + QPointF(40, -50), 30);
                    });
                }
            }};
}

Animation thanks() {
    return {"07_谢谢", 22, 8, 40, [](QPainter& p, int i) {
                const Pose idle = idlePose();
                Pose together = idle;
                together.left = together.right = Arm{-74, 84, true};
                together.blush = 1.3;
                together.eyes = Eyes::Closed;
                Pose bow = together;
                bow.face = {0, 30};
                bow.stretch = 0.88;
                bow.eyes = Eyes::Closed;

                Pose pose = mix(idle, together, smooth(span(i, 0, 4)));
                if (i > 4) pose = mix(together, bow, smooth(span(i, 4, 9)));
                if (i > 14) pose = mix(bow, together, smooth(span(i, 14, 18)));
                if (i > 18) pose = mix(together, idle, smooth(span(i, 18, 21)));
                drawCharacter(p, pose);
                const double shine = span(i, 8, 10) * (1 - span(i, 14, 16));
                drawSparkle(p, {-170, -300}, 44 * shine);
                drawSparkle(p, {176, -360}, 56 * shine);
            }};
}

}  // namespace artwork
