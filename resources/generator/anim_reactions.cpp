// Reactions to being poked: puzzled, laughing, startled, knocked flat.
#include <cmath>

#include "animation.h"
#include "character.h"
#include "props.h"
#include "style.h"
#include "tween.h"

namespace artwork {

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

Animation puzzled() {
    return {"09_问号", 22, 8, 40, [](QPainter& p, int i) {
                const Pose idle = idlePose();
                Pose huh = idle;
                huh.lean = -12;
                huh.eyes = Eyes::Dot;
                huh.mouth = Mouth::Flat;
                huh.brows = Brows::Puzzled;
                huh.right = {160 + 8 * wave(i, 4), 62};

                Pose pose = mix(idle, huh, smooth(span(i, 0, 5)));
                if (i > 17) pose = mix(huh, idle, smooth(span(i, 17, 21)));
                drawCharacter(p, pose);
                const double size = 150 * popIn(span(i, 4, 8)) * (1 - smooth(span(i, 18, 21)));
                if (size > 4) drawQuestionMark(p, {150, -400}, size, 12 + 8 * wave(i, 10));
            }};
}

Animation laughing() {
    return {"12_哈哈哈", 22, 8, 40, [](QPainter& p, int i) {
                Pose idle = idlePose();
                Pose laugh = idle;
                laugh.eyes = Eyes::Squeeze;
                laugh.mouth = Mouth::Laugh;
                laugh.blush = 1.3;
                laugh.left = laugh.right = Arm{-52, 52, true};
                laugh.lean = i % 2 == 0 ? 5 : -5;
                laugh.lift = 12 * std::abs(wave(i, 4));
                laugh.stretch = 1 + 0.04 * wave(i, 4);
                Pose after = idle;
                after.eyes = Eyes::Happy;
                after.mouth = Mouth::Grin;

                Pose pose = mix(idle, laugh, smooth(span(i, 0, 2)));
                if (i > 17) pose = mix(laugh, after, smooth(span(i, 17, 21)));
                drawCharacter(p, pose);
                if (i >= 2 && i <= 17) {
                    const double jiggle = i % 2 == 0 ? 6 : -6;
                    drawMotionMarks(p, {-196 + jiggle, -230}, 60, -1);
                    drawMotionMarks(p, {196 + jiggle, -230}, 60, 1);
                }
            }};
}

Animation startled() {
    return {"13_嚯", 18, 8, 40, [](QPainter& p, int i) {
                const Pose idle = idlePose();
                Pose shock = idle;
                shock.eyes = Eyes::Wide;
                shock.mouth = Mouth::Oh;
                shock.brows = Brows::Raised;
                shock.blush = 0.6;
                shock.left = shock.right = Arm{148, 62};

                const double air = span(i, 2, 9);
                Pose pose = mix(idle, shock, smooth(span(i, 1, 3)));
                pose.lift = 56 * std::pow(std::sin(kPi * air), 0.8);
                pose.stretch = i < 2   ? lerp(1, 0.9, span(i, 0, 1))
                               : i < 9 ? 1.06
                                       : lerp(0.86, 1, smooth(span(i, 9, 13)));
                if (i > 11) {
                    Pose settle = mix(shock, idle, smooth(span(i, 11, 16)));
                    settle.stretch = pose.stretch;
                    settle.eyes = i < 14 ? Eyes::Wide : (i < 16 ? Eyes::Open : Eyes::Calm);
                    pose = settle;
                }
                drawCharacter(p, pose);
                const double size = 150 * popIn(span(i, 2, 5)) * (1 - smooth(span(i, 13, 16)));
                if (size > 4) drawExclamation(p, {168, -410}, size, 14);
                if (i >= 3 && i <= 8) {
                    drawMotionMarks(p, {-196, -330 - pose.lift * 0.5}, 56, -1);
                    drawMotionMarks(p, {196, -330 - pose.lift * 0.5}, 56, 1);
                }
            }};
}

Animation knockedFlat() {
    return {"14_精神打击", 28, 8, 40, [](QPainter& p, int i) {
                const Pose idle = idlePose();
                Pose worried = idle;
                worried.eyes = Eyes::Open;
                worried.mouth = Mouth::Flat;
                worried.brows = Brows::Worried;
                worried.face = {6, -8};
                Pose flat = idle;
                flat.eyes = Eyes::Spiral;
                flat.mouth = Mouth::Wavy;
                flat.brows = Brows::Worried;
                flat.blush = 0.5;
                flat.stretch = 0.58 + 0.03 * wave(i, 6);
                flat.left = flat.right = Arm{62, 52};
                Pose recovered = idle;
                recovered.mouth = Mouth::Flat;
                recovered.brows = Brows::Worried;
                recovered.sweat = true;

                Pose pose = mix(idle, worried, smooth(span(i, 0, 3)));
                if (i >= 5) pose = mix(worried, flat, popIn(span(i, 5, 7)));
                if (i > 19) pose = mix(flat, recovered, smooth(span(i, 19, 25)));
                drawCharacter(p, pose);

                // Little stars circling the flattened head.
                if (i >= 7 && i <= 19) {
                    for (int k = 0; k < 3; ++k) {
                        const double a = i * 0.7 + k * 2 * kPi / 3;
                        drawSparkle(p, {110 * std::cos(a), -290 + 26 * std::sin(a)}, 40);
                    }
                }
                const double cloud = popIn(span(i, 0, 4)) * (1 - smooth(span(i, 20, 24)));
                if (cloud > 0.05) {
                    drawStormCloud(p, {112, -448}, 170 * cloud, i >= 4 && i <= 7,
                                   i >= 7 && i <= 21 ? i / 6.0 : 0);
                }
            }};
}

}  // namespace artwork
