#pragma once

#include <QPointF>
#include <QRectF>
#include <functional>

namespace glugmo {

// Rotations are drawn in steps that move the picture's farthest point from
// the pivot by one device pixel, every other point by less. Each step costs
// a repaint, and at the pet's slow sway half-pixel steps look no smoother
// while costing twice as much. So the picture repaints only when some of it
// has moved by a pixel, and never jumps by more than that.
class RotationSteps {
public:
    // The farthest distance of any point of the picture from the pivot, in
    // device pixels; 0 for no picture (everything is then step 0).
    explicit RotationSteps(double farthestDistance = 0);

    int indexOf(double angle) const;
    double angleOf(int index) const { return index * step_; }
    double step() const { return step_; }

private:
    double step_;
};

// The distance from the pivot to the farthest corner of the picture.
double farthestDistance(const QRectF& picture, const QPointF& pivot);

// How far ahead the next step is looked for: every `stride` seconds up to
// `horizon`, and to within `resolution` once found. A step lasts far longer
// than a stride, even where the rocking turns back.
struct StepSearch {
    double horizon;
    double stride;
    double resolution;
};

// The first moment after `from`, to within the search's resolution, at which
// `angleAt` falls in another step than `index`; `from + horizon` when it
// stays in that step all along.
double nextStepChange(const std::function<double(double)>& angleAt, const RotationSteps& steps,
                      int index, double from, const StepSearch& search);

}  // namespace glugmo
