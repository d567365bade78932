// The two-sided parabola, searched on a grid of its top and the ratio of its sides.
#include "AdvanceFit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorn::finder {

namespace {

constexpr double kGridDeg = 0.05;
constexpr int kRatioSteps = 8;          // r = 2^(j/4), j = -8 .. 8
constexpr double kSymmetryWeight = 0.1; // misfit units per (log2 r)²
constexpr double kIntervalMisfit = 4.0;   // about 19 chances in 20

struct Trial {
    double misfit = std::numeric_limits<double>::infinity();
    double top = 0, c = 0;
};

// T0 and c for fixed x0 and r by weighted least squares, c held at or above zero.
Trial trial(const std::vector<FitPoint> &points, double x0, double r)
{
    double sw = 0, su = 0, sy = 0, suu = 0, suy = 0;
    for (const FitPoint &p : points) {
        const double d = p.advance - x0;
        const double u = -(d < 0 ? d * d : r * d * d);
        const double w = 1 / (p.sd * p.sd);
        sw += w;
        su += w * u;
        sy += w * p.torque;
        suu += w * u * u;
        suy += w * u * p.torque;
    }
    Trial t;
    const double det = sw * suu - su * su;
    t.c = det > 0 ? (sw * suy - su * sy) / det : 0;
    if (t.c < 0)
        t.c = 0;
    t.top = (sy - t.c * su) / sw;
    t.misfit = 0;
    for (const FitPoint &p : points) {
        const double d = p.advance - x0;
        const double e = p.torque - (t.top - t.c * (d < 0 ? d * d : r * d * d));
        t.misfit += e * e / (p.sd * p.sd);
    }
    return t;
}

}  // namespace

double AdvanceFit::at(double advance) const
{
    const double d = advance - best;
    return peak - (d < 0 ? retardLoss : overAdvanceLoss) * d * d;
}

AdvanceFit fitAdvance(const std::vector<FitPoint> &input, double reach)
{
    AdvanceFit fit;
    if (input.size() < 3)
        return fit;
    // A point measured exactly would weigh without end: no error is taken below 0.01 % of
    // the torque.
    std::vector<FitPoint> points = input;
    double lowest = points.front().advance, highest = lowest;
    for (FitPoint &p : points) {
        p.sd = std::max(p.sd, 1e-4 * std::abs(p.torque));
        lowest = std::min(lowest, p.advance);
        highest = std::max(highest, p.advance);
    }
    const double from = lowest - reach, to = highest + reach;
    const int steps = static_cast<int>(std::lround((to - from) / kGridDeg));
    std::vector<double> profile(static_cast<std::size_t>(steps + 1), std::numeric_limits<double>::infinity());
    double least = std::numeric_limits<double>::infinity();
    for (int i = 0; i <= steps; ++i) {
        const double x0 = from + i * kGridDeg;
        for (int j = -kRatioSteps; j <= kRatioSteps; ++j) {
            const double r = std::exp2(j / 4.0);
            const Trial t = trial(points, x0, r);
            if (!(t.c > 0))
                continue;
            const double cost = t.misfit + kSymmetryWeight * (j / 4.0) * (j / 4.0);
            profile[static_cast<std::size_t>(i)] = std::min(profile[static_cast<std::size_t>(i)], t.misfit);
            if (cost < least) {
                least = cost;
                fit.best = x0;
                fit.peak = t.top;
                fit.retardLoss = t.c;
                fit.overAdvanceLoss = r * t.c;
            }
        }
    }
    if (!std::isfinite(least))
        return fit;
    fit.ok = true;
    const double bound = *std::min_element(profile.begin(), profile.end()) + kIntervalMisfit;
    int first = steps, last = 0;
    for (int i = 0; i <= steps; ++i)
        if (profile[static_cast<std::size_t>(i)] <= bound) {
            first = std::min(first, i);
            last = std::max(last, i);
        }
    fit.low = std::min(fit.best, from + first * kGridDeg);
    fit.high = std::max(fit.best, from + last * kGridDeg);
    fit.openBelow = first == 0;
    fit.openAbove = last == steps;
    return fit;
}

}  // namespace vorn::finder
