#pragma once

#include <limits>
#include <string>
#include <variant>
#include <vector>

namespace glugmo {

enum class TimingFunction { Linear, EaseInEaseOut };

// A two-value animation of one layer property.
struct BasicAnimation {
    std::string keyPath;
    double fromValue = 0;
    double toValue = 0;
    double duration = 0;  // seconds for one sweep
    bool autoreverses = false;
    double repeatCount = 0;  // 0 plays once; infinity never ends
    TimingFunction timing = TimingFunction::Linear;
};

// A keyframe animation of one layer property, played once and then removed
// from its layer. One timing function spans the whole animation.
struct KeyframeAnimation {
    std::string keyPath;
    std::vector<double> values;
    std::vector<double> keyTimes;  // 0..1, one per value
    double duration = 0;
    TimingFunction timing = TimingFunction::Linear;
};

using Animation = std::variant<BasicAnimation, KeyframeAnimation>;

inline constexpr double kRepeatForever = std::numeric_limits<double>::infinity();

}  // namespace glugmo
