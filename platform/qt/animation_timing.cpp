#include "platform/qt/animation_timing.h"

#include <algorithm>
#include <cmath>

namespace glugmo {

namespace {

double bezier(double a, double b, double s) {
    // One coordinate of a cubic Bézier from 0 to 1 with inner controls a, b.
    const double u = 1 - s;
    return 3 * u * u * s * a + 3 * u * s * s * b + s * s * s;
}

double bezierSlope(double a, double b, double s) {
    const double u = 1 - s;
    return 3 * u * u * a + 6 * u * s * (b - a) + 3 * s * s * (1 - b);
}

double basicValue(const BasicAnimation& animation, double elapsed) {
    const double sweep = animation.duration;
    if (!(sweep > 0)) return animation.toValue;
    const double cycle = animation.autoreverses ? 2 * sweep : sweep;
    double progress = std::fmod(elapsed, cycle) / sweep;
    if (progress > 1) progress = 2 - progress;  // coming back
    const double eased = applyTiming(animation.timing, std::clamp(progress, 0.0, 1.0));
    return animation.fromValue + (animation.toValue - animation.fromValue) * eased;
}

double keyframeValue(const KeyframeAnimation& animation, double elapsed) {
    const auto& values = animation.values;
    if (values.empty()) return 0;
    if (values.size() == 1) return values.front();
    const double time =
        animation.duration > 0 ? std::clamp(elapsed / animation.duration, 0.0, 1.0) : 1.0;
    const double progress = applyTiming(animation.timing, time);
    const std::size_t last = values.size() - 1;
    auto keyTime = [&](std::size_t i) {
        return animation.keyTimes.size() == values.size() ? animation.keyTimes[i]
                                                          : static_cast<double>(i) / last;
    };
    if (progress <= keyTime(0)) return values.front();
    for (std::size_t i = 1; i <= last; ++i) {
        const double start = keyTime(i - 1);
        const double end = keyTime(i);
        if (progress <= end) {
            const double span = end - start;
            const double f = span > 0 ? (progress - start) / span : 1.0;
            return values[i - 1] + (values[i] - values[i - 1]) * f;
        }
    }
    return values.back();
}

}  // namespace

double easeInEaseOut(double time) {
    constexpr double x1 = 0.42, y1 = 0.0, x2 = 0.58, y2 = 1.0;
    if (time <= 0) return 0;
    if (time >= 1) return 1;
    // Solve x(s) = time by Newton's method, falling back to bisection where
    // the slope flattens; x(s) is increasing, so the root is unique.
    double s = time;
    for (int i = 0; i < 8; ++i) {
        const double error = bezier(x1, x2, s) - time;
        if (std::abs(error) < 1e-9) return bezier(y1, y2, s);
        const double slope = bezierSlope(x1, x2, s);
        if (std::abs(slope) < 1e-6) break;
        s = std::clamp(s - error / slope, 0.0, 1.0);
    }
    double low = 0, high = 1;
    s = time;
    for (int i = 0; i < 60; ++i) {
        const double x = bezier(x1, x2, s);
        if (std::abs(x - time) < 1e-12) break;
        (x < time ? low : high) = s;
        s = (low + high) / 2;
    }
    return bezier(y1, y2, s);
}

double applyTiming(TimingFunction timing, double time) {
    return timing == TimingFunction::EaseInEaseOut ? easeInEaseOut(time) : time;
}

double activeDuration(const Animation& animation) {
    if (const auto* keyframes = std::get_if<KeyframeAnimation>(&animation)) {
        return std::max(keyframes->duration, 0.0);
    }
    const auto& basic = std::get<BasicAnimation>(animation);
    const double passes = basic.repeatCount > 0 ? basic.repeatCount : 1.0;
    if (std::isinf(passes)) return passes;
    return std::max(basic.duration, 0.0) * (basic.autoreverses ? 2 : 1) * passes;
}

std::optional<double> animationValueAt(const Animation& animation, double elapsed) {
    elapsed = std::max(elapsed, 0.0);
    if (elapsed >= activeDuration(animation)) return std::nullopt;
    if (const auto* keyframes = std::get_if<KeyframeAnimation>(&animation)) {
        return keyframeValue(*keyframes, elapsed);
    }
    return basicValue(std::get<BasicAnimation>(animation), elapsed);
}

}  // namespace glugmo
