// The torque the engine made in each cell of one map row at each advance the unit applied
// there, read from the logs' full-throttle pulls.
//
// The unit changes cells at fixed speeds, so at a change of advance the torque steps where
// the cell changes, not on a band edge and not smoothly. A smooth fit over the pull (as the
// pulls comparison draws) blurs that step into both neighbours; here the step is part of
// the model instead. With g(n) = 1 / (dn/dt) the time a pull takes per rpm:
//
//   g(n) = S(n) · k[cell(n), advance]
//
// S is one smooth shape (a quartic in the speed) shared by every pull, for how the torque
// changes within a cell; k is one factor per cell and advance, shared by every pull that
// rode that cell at that advance. A reading's time is then t_i = t0(pull) + sum over the
// cells it crossed since the pull's first reading of k · (integral of S over the part of the
// cell crossed), which is linear in the t0 and the k once S is known, and in the t0 and S
// once the k are known: the two are fitted in turns, S first with every k alike. A long
// cell (the top one, up to the limiter) is cut into pieces of about 1,000 rpm with factors
// of their own, and a cell's factor is its pieces' weighed by the time each takes. Each
// reading is weighted so that its misfit counts in rpm (the speed reading is what is noisy,
// not the time), and times count from the pull's first reading. The cell of each reading
// and the advance applied are the log's own map-cell and advance channels; where a cell
// ends is read from the readings on both sides of it. The cell a pull begins in is crossed
// with factors that say nothing of its advance: the drive is still being taken up there.
#pragma once

#include "finder/AdvanceFinder.h"

#include <vector>

namespace vorn::finder {

struct CellAdvanceTorque {
    int column = 0;
    int advance = 0;
    double torque = 0;   // 1 / k: proportional to the torque less the road's, any scale
    double sd = 0;       // its standard error
    int pulls = 0;       // pulls that crossed at least half of the cell at this advance
};

struct CellTorques {
    int pulls = 0;                              // pulls found in the logs
    std::vector<CellAdvanceTorque> measured;    // by column, then advance
    std::array<int, kMapSize> rpmFrom{}, rpmTo{};   // each cell's speeds; 0 when unknown
    std::array<int, kMapSize> pullsBegunIn{};       // pulls that began in each cell (not measured there)
};

// `image` gives the cells' speed points (for how much of a cell a pull crossed).
CellTorques measureCells(const std::vector<RecordedLog> &logs, const ParameterImage &image, int row,
                         int thresholdPercent);

}  // namespace vorn::finder
