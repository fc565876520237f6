// Happy reactions: proud, loving, cheering, smiling.
#include <array>
#include <cmath>

#include "animation.h"
#include "character.h"
#include "props.h"
#include "style.h"
#include "tween.h"

namespace artwork {

namespace {

struct Twinkle {
    QPointF at;
    double size;
    int appears;
};

}  // namespace

Animation lookingGreat() {
    return {"01_好jeng啊", 22, 8, 40, [](QPainter& p, int i) {
                const Pose idle = idlePose();
                Pose crouch = idle;
                crouch.stretch = 0.92;
                crouch.left.angle = crouch.right.angle = 34;
                Pose proud = idle;
                proud.stretch = 1.06;
                proud.lean = -5;
                proud.face = {8, -12};
                proud.eyes = Eyes::Star;
                proud.mouth = Mouth::Grin;
                proud.blush = 1.2;
                proud.right = {140, 84};
                proud.left = {58, 54};

                Pose pose = mix(idle, crouch, smooth(span(i, 0, 3)));
                if (i > 3) pose = mix(crouch, proud, popIn(span(i, 3, 7)));
                if (i > 16) pose = mix(proud, idle, smooth(span(i, 16, 21)));
                drawCharacter(p, pose);

                static constexpr std::array<Twinkle, 5> kTwinkles{{{{-176, -330}, 64, 5},
                                                                   {{150, -430}, 84, 6},
                                                                   {{192, -240}, 52, 8},
                                                                   {{-128, -452}, 46, 9},
                                                                   {{-200, -170}, 40, 11}}};
                for (std::size_t k = 0; k < kTwinkles.size(); ++k) {
                    const Twinkle& t = kTwinkles[k];
                    const double grow = popIn(span(i, t.appears, t.appears + 3));
                    const double fade = 1 - smooth(span(i, 16, 20));
                    const double twinkle = 0.8 + 0.2 * wave(i, 4, k * 1.3);
                    drawSparkle(p, t.at, t.size * grow * fade * twinkle);
                }
                inBodySpace(p, pose, [&] {
                    const double glint = span(i, 7, 9) * (1 - span(i, 15, 18));
                    drawSparkle(p, handPoint(pose, Side::Right) + QPointF(10, -40), 58 * glint);
                });
            }};
}

Animation loveYou() {
    return {"04_爱你哟", 24, 8, 40, [](QPainter& p, int i) {
                const Pose idle = idlePose();
                Pose love = idle;
                love.eyes = Eyes::Happy;
                love.mouth = Mouth::Grin;
                love.blush = 1.5;
                love.face = {0, 4};
                love.left = love.right = Arm{112, 72};
                love.lean = 4 * wave(i, 12);

                Pose pose = mix(idle, love, smooth(span(i, 0, 3)));
                if (i > 19) pose = mix(love, idle, smooth(span(i, 19, 23)));
                drawCharacter(p, pose);

                struct Rising {
                    double x;
                    int start;
                    double size;
                };
                static constexpr std::array<Rising, 6> kHearts{{{-150, 0, 74},
                                                                {146, 2, 92},
                                                                {-112, 6, 58},
                                                                {176, 8, 66},
                                                                {-176, 11, 80},
                                                                {118, 13, 62}}};
                for (std::size_t k = 0; k < kHearts.size(); ++k) {
                    const Rising& h = kHearts[k];
                    const double t = span(i, h.start, h.start + 10);
                    if (i < h.start || t >= 1) continue;
                    const double size = h.size * popIn(span(i, h.start, h.start + 3)) *
                                        (1 - smooth(span(i, h.start + 7, h.start + 10)));
                    const QPointF at(h.x + 14 * wave(i, 8, k), -250 - 230 * t);
                    drawHeart(p, at, size);
                }
            }};
}

Animation gotYourBack() {
    return {"05_帮紧你", 20, 8, 40, [](QPainter& p, int i) {
                const Pose idle = idlePose();
                Pose cheer = idle;
                cheer.eyes = Eyes::Happy;
                cheer.mouth = Mouth::Laugh;
                // Both pom-poms pumped up on every beat.
                const double pump = std::abs(wave(i, 8));
                cheer.left = cheer.right = Arm{lerp(118, 162, pump), lerp(80, 100, pump)};
                cheer.lift = 24 * pump;
                cheer.stretch = 0.95 + 0.08 * pump;

                Pose rest = idle;
                rest.left.angle = rest.right.angle = 40;
                Pose pose = mix(rest, cheer, smooth(span(i, 0, 2)));
                if (i > 15) pose = mix(cheer, rest, smooth(span(i, 15, 19)));
                drawCharacter(p, pose);
                inBodySpace(p, pose, [&] {
                    drawPompom(p, handPoint(pose, Side::Left), 44, i * 0.5);
                    drawPompom(p, handPoint(pose, Side::Right), 44, -i * 0.5);
                });
            }};
}

Animation warmSmile() {
    return {"16_笑", 20, 8, 50, [](QPainter& p, int i) {
                Pose pose = idlePose();
                if (i >= 2) pose.eyes = Eyes::Open;
                if (i >= 5) pose.eyes = Eyes::Happy;
                if (i >= 5) pose.mouth = Mouth::Grin;
                if (i >= 17) pose.mouth = Mouth::Smile;
                pose.blush = lerp(1, 1.5, smooth(span(i, 4, 9)));
                pose.stretch = 1 + 0.035 * wave(i, 10) * (1 - span(i, 15, 19));
                pose.face = {0, -6 * smooth(span(i, 4, 8))};
                drawCharacter(p, pose);
                static constexpr std::array<Twinkle, 3> kTwinkles{
                    {{{-168, -290}, 40, 6}, {{172, -330}, 50, 8}, {{150, -200}, 34, 10}}};
                for (std::size_t k = 0; k < kTwinkles.size(); ++k) {
                    const Twinkle& t = kTwinkles[k];
                    const double grow = popIn(span(i, t.appears, t.appears + 3));
                    const double fade = 1 - smooth(span(i, 15, 18));
                    drawSparkle(p, t.at, t.size * grow * fade);
                }
            }};
}

}  // namespace artwork
