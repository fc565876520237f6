#pragma once

#include <optional>

#include "platform/animation.h"

namespace glugmo {

// The ease-in-ease-out curve: the cubic Bézier through (0, 0), (0.42, 0),
// (0.58, 1), (1, 1), taking the fraction of time to the fraction of progress.
double easeInEaseOut(double time);
double applyTiming(TimingFunction timing, double time);

// How long the animation runs in all, in seconds (infinity for ever).
double activeDuration(const Animation& animation);

// The animated value `elapsed` seconds after the animation was added, or
// nothing once it has finished (a finished animation removes itself).
std::optional<double> animationValueAt(const Animation& animation, double elapsed);

}  // namespace glugmo
