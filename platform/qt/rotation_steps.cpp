#include "platform/qt/rotation_steps.h"

#include <QLineF>
#include <cmath>
#include <limits>

namespace glugmo {

namespace {
constexpr double kStepPixels = 1.0;
}

RotationSteps::RotationSteps(double farthestDistance)
    : step_(farthestDistance > 0 ? kStepPixels / farthestDistance
                                 : std::numeric_limits<double>::infinity()) {}

int RotationSteps::indexOf(double angle) const {
    if (std::isinf(step_) || !std::isfinite(angle)) return 0;
    return static_cast<int>(std::lround(angle / step_));
}

double farthestDistance(const QRectF& picture, const QPointF& pivot) {
    if (picture.isEmpty()) return 0;
    double farthest = 0;
    for (const QPointF corner :
         {picture.topLeft(), picture.topRight(), picture.bottomLeft(), picture.bottomRight()}) {
        farthest = std::max(farthest, QLineF(pivot, corner).length());
    }
    return farthest;
}

double nextStepChange(const std::function<double(double)>& angleAt, const RotationSteps& steps,
                      int index, double from, const StepSearch& search) {
    const double end = from + search.horizon;
    const auto leaves = [&](double t) { return steps.indexOf(angleAt(t)) != index; };
    for (double before = from; before < end; before += search.stride) {
        double after = std::min(before + search.stride, end);
        if (!leaves(after)) continue;
        // The change lies within this stride: halve it down to the resolution.
        while (after - before > search.resolution) {
            const double middle = (before + after) / 2;
            (leaves(middle) ? after : before) = middle;
        }
        return after;
    }
    return end;
}

}  // namespace glugmo
