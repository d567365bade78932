// The active-cell search: which advance-map cell and servo point the live values fall in.
// Plain C++ (no Qt): the simulated unit fires at the cell this search finds.
#pragma once

#include "link/LiveCell.h"
#include "params/ParameterImage.h"

#include <array>

namespace vorn {

// The fixed throttle axis of the advance map rows, in percent.
inline constexpr std::array<int, kMapSize> kThrottleAxis{0, 2, 5, 10, 20, 30, 40, 60, 80, 100};

// The live cell for the stored live values. tpsMapOn is the state of the window's TPS
// check box; when it is off the row is the 100 % row.
LiveCell findActiveCell(const ParameterImage &image, const LiveValues &live, bool tpsMapOn);

}  // namespace vorn
