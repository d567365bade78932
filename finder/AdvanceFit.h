// The fit of torque against advance in one cell.
//
// A real engine loses torque faster when over-advanced than when retarded, so the fit does
// not assume the two sides alike: a parabola on each side of the best advance x0, sharing
// its top,
//
//   T(x) = T0 - c (x - x0)²        for x below x0
//   T(x) = T0 - r c (x - x0)²      for x above x0,
//
// r the ratio of the two sides' losses. For a given x0 and r it is linear in T0 and c, so
// x0 and r are searched on a grid (x0 every 0.05° around the advances tried, r from 1/4 to
// 4) and the misfit weighed by each point's standard error. Three advances fit any r
// exactly; a weak preference for r = 1 then picks the symmetric top, while the interval
// (every x0 whose best misfit lies within four units of the least, about 19 chances in 20
// that the best lies inside) spans every r the points allow. With four and more advances the points themselves say how unlike the two sides are.
#pragma once

#include <vector>

namespace vorn::finder {

struct FitPoint {
    double advance = 0, torque = 0, sd = 0;
};

struct AdvanceFit {
    bool ok = false;        // a top was found (the torque falls off somewhere)
    double best = 0, low = 0, high = 0;   // low/high: the interval; at the search's end when open
    bool openBelow = false, openAbove = false;   // the interval runs to the end of the search
    double peak = 0, retardLoss = 0, overAdvanceLoss = 0;
    double at(double advance) const;
};

// `reach`: how far beyond the advances tried the top is searched.
AdvanceFit fitAdvance(const std::vector<FitPoint> &points, double reach);

}  // namespace vorn::finder
