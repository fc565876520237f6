#include "platform/qt/rotation_transform.h"

#include <array>
#include <cmath>

namespace glugmo {

namespace {

// 1/n!, from n = 0.
constexpr auto kInverseFactorials = [] {
    std::array<double, 19> inverse{};
    double factorial = 1;
    for (std::size_t n = 0; n < inverse.size(); ++n) {
        if (n > 0) factorial *= static_cast<double>(n);
        inverse[n] = 1 / factorial;
    }
    return inverse;
}();

// π/2 in two parts: q·kHalfPiHigh is exact for the q used here, so the
// remainder keeps its precision.
constexpr double kHalfPiHigh = 1.57079632673412561417e+00;
constexpr double kHalfPiLow = 6.07710050650619224932e-11;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
// Beyond this the two parts no longer suffice; libm takes over.
constexpr double kLargestReduced = 1 << 20;

// Taylor series for |r| <= π/4, where their first omitted terms fall below
// an ulp.
void sineCosineNearZero(double r, double& sine, double& cosine) {
    const double r2 = r * r;
    double s = 0, c = 0;
    for (int n = 17; n >= 1; n -= 2) s = s * r2 + (n % 4 == 1 ? 1 : -1) * kInverseFactorials[n];
    for (int n = 18; n >= 0; n -= 2) c = c * r2 + (n % 4 == 0 ? 1 : -1) * kInverseFactorials[n];
    sine = s * r;
    cosine = c;
}

}  // namespace

QTransform rotationAbout(const QPointF& pivot, double angle) {
    double sine, cosine;
    if (!(std::abs(angle) < kLargestReduced)) {
        sine = std::sin(angle);
        cosine = std::cos(angle);
    } else {
        // angle = quadrant·π/2 + r, |r| <= π/4.
        const double scaled = angle * kTwoOverPi;
        const auto quadrant = static_cast<long long>(scaled + (scaled < 0 ? -0.5 : 0.5));
        const double q = static_cast<double>(quadrant);
        const double r = (angle - q * kHalfPiHigh) - q * kHalfPiLow;
        double s, c;
        sineCosineNearZero(r, s, c);
        // A quarter turn swaps them, a half turn negates both.
        sine = quadrant & 1 ? c : s;
        cosine = quadrant & 1 ? -s : c;
        if (quadrant & 2) sine = -sine, cosine = -cosine;
    }
    // x' = x·cos - y·sin, y' = x·sin + y·cos, about the pivot.
    const double x = pivot.x(), y = pivot.y();
    return QTransform(cosine, sine, -sine, cosine, x - x * cosine + y * sine,
                      y - x * sine - y * cosine);
}

}  // namespace glugmo
