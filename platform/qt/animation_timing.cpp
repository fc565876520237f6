#include "platform/qt/animation_timing.h"

#include <QEasingCurve>
#include <QPointF>
#include <algorithm>
#include <cmath>

namespace glugmo {

namespace {

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
    static const QEasingCurve curve = [] {
        QEasingCurve bezier(QEasingCurve::BezierSpline);
        bezier.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
        return bezier;
    }();
    return curve.valueForProgress(std::clamp(time, 0.0, 1.0));
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
