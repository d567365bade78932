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
// together: one ratio r for the row, each cell's curvature c shared with its neighbours
// (the least-squares curvature of the cell and the cells beside it), and a top T0 and best
// x0 of each cell's own. For given r and x0 the model is linear in the T0 and c, so r is
// searched on a grid (1/4 to 4, a side twice as steep costing one unit of misfit), and the
// x0 of each cell on a grid every 0.05 degrees around its advances, in turns with the
// curvatures until no top moves. Every point's misfit is weighed by its standard error and
// by how far a parabola may miss a point far down a flank (a few per cent of its loss), and
// a point that misfits its cell fitted without it beyond belief is left out (at most two in
// a row). A cell's interval holds every x0 whose misfit, with the curvatures at any ratio
// the row allows, lies within four units of its least: about 19 chances in 20 that the best
// lies inside.
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

// The fit of every cell with at least three points, the cells in the row's order; `reach`:
// how far beyond the advances tried a top is searched.
std::vector<AdvanceFit> fitRow(const std::vector<std::vector<FitPoint>> &cells, double reach);

}  // namespace vorn::finder
