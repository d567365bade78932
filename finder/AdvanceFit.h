// The fit of torque against advance in the cells of one row.
//
// A real engine loses torque faster when over-advanced than when retarded, so the fit does
// not assume the two sides alike: a parabola on each side of the best advance x0, sharing
// its top,
//
//   T(x) = T0 - c (x - x0)²        for x below x0
//   T(x) = T0 - r c (x - x0)²      for x above x0,
//
// r the ratio of the two sides' losses. Three or four advances a few degrees apart, each
// measured to within a per cent or so, leave the sides' curvatures of one cell barely
// determined, and a cell fitted alone then trades its top for its curvature: a top 1.5
// degrees off with one side four times as steep as the other fits about as well as the true
// one. But the engine's combustion is one and the same across its speeds: how much it
// loses per degree changes slowly from cell to cell. So the cells of the row are fitted
// together: one ratio r for the row, a curvature c that changes linearly with the cell's
// speed, and a top T0 and best x0 of each cell's own. For given r and x0 the model is
// linear in the T0 and c, so r is searched on a grid (1/4 to 4, with a weak preference for
// r = 1), and the x0 of each cell on a grid every 0.05 degrees around its advances, in
// turns with the curvature until neither moves. Every point's misfit is weighed by its
// standard error. A cell's interval holds every x0 whose misfit, with the row's curvature
// at any ratio the row allows, lies within four units of its least: about 19 chances in 20
// that the best lies inside.
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
};

// One cell's points and where its speed lies (for how the curvature changes along the row).
struct CellPoints {
    double position = 0;
    std::vector<FitPoint> points;
};

// The fit of every cell with at least three points; `reach`: how far beyond the advances
// tried a top is searched.
std::vector<AdvanceFit> fitRow(const std::vector<CellPoints> &cells, double reach);

}  // namespace vorn::finder
