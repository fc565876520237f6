#include "tween.h"

#include <algorithm>
#include <cmath>

namespace artwork {

namespace {
constexpr double kPi = 3.14159265358979323846;

Arm mixArm(const Arm& a, const Arm& b, double t) {
    return Arm{lerp(a.angle, b.angle, t), lerp(a.length, b.length, t),
               t < 0.5 ? a.inFront : b.inFront};
}
}  // namespace

double clamp01(double t) { return std::clamp(t, 0.0, 1.0); }

double span(int frame, int start, int end) {
    return clamp01(static_cast<double>(frame - start) / (end - start));
}

double lerp(double a, double b, double t) { return a + (b - a) * t; }

double smooth(double t) {
    t = clamp01(t);
    return t * t * (3 - 2 * t);
}

double popIn(double t) {
    t = clamp01(t);
    constexpr double kOvershoot = 2.2;
    const double u = t - 1;
    return 1 + u * u * ((kOvershoot + 1) * u + kOvershoot);
}

double wave(int frame, double period, double phase) {
    return std::sin(2 * kPi * frame / period + phase);
}

Pose mix(const Pose& a, const Pose& b, double t) {
    Pose out = t < 0.5 ? a : b;
    out.lean = lerp(a.lean, b.lean, t);
    out.stretch = lerp(a.stretch, b.stretch, t);
    out.lift = lerp(a.lift, b.lift, t);
    out.face = a.face + (b.face - a.face) * t;
    out.blush = lerp(a.blush, b.blush, t);
    out.left = mixArm(a.left, b.left, t);
    out.right = mixArm(a.right, b.right, t);
    return out;
}

}  // namespace artwork
