// The live values from the unit's monitor replies and the map cell / servo point they fall
// in. Plain C++, so the simulated unit can share the active-cell search.
#pragma once

#include <cstdint>

namespace vorn {

struct LiveValues {
    std::uint16_t speed = 0;         // rpm
    std::uint8_t tpsPercent = 0;     // above 100 marks a sensor error
    std::uint16_t tpsMv = 0;         // throttle sensor voltage, mV
};

// The live cell, recomputed on every timer tick from the live values.
struct LiveCell {
    int advanceColumn = 0;   // 0..9
    bool belowMap = false;   // speed below the first advance speed point: no live cell
    int servoColumn = 0;     // 0..9, the live servo point
    int throttleRow = 0;     // 0..9
};

}  // namespace vorn
