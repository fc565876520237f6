#pragma once

#include "character.h"

// Timing helpers for frame-by-frame animation.
namespace artwork {

double clamp01(double t);
// Progress through the frames [start, end], clamped to 0..1.
double span(int frame, int start, int end);
double lerp(double a, double b, double t);
// Slow in, slow out.
double smooth(double t);
// Overshoots a little before settling: things that pop into view.
double popIn(double t);
// A sine wave with the given period in frames.
double wave(int frame, double period, double phase = 0);
// Blends the numbers of two poses; the expression (eyes, mouth...) switches halfway.
Pose mix(const Pose& a, const Pose& b, double t);

}  // namespace artwork
