// The pulls and road rides on the simulator's clock: the motorcycle and its rider stepped in
// 1 ms steps up to the time asked for, with the unit's memory as it is at each step, the
// live values the unit reports, and the true torque of every pull for the tests.
#pragma once

#include "Dice.h"
#include "Engine.h"
#include "Motorcycle.h"
#include "Rider.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vornsim {

// The model's truth for one 250 rpm band of a pull, crossed whole at full throttle: its
// time-mean torques (N·m at the crank) and advance (degrees).
struct BandTruth {
    int pull = 0;           // 1, 2, ... in the order the pulls ran
    int rpmFrom = 0, rpmTo = 0;
    double seconds = 0;     // time spent in the band
    double torque = 0;      // what accelerated the crank: engine torque less road load
    double engineTorque = 0;
    double advance = 0;     // the advance the unit fired at
};

constexpr int kBandRpm = 250;

// The model's truth for one map cell a pull rode at full throttle: the advance the unit
// fired at there and the engine's best advance, both time-means over the speeds ridden in
// the cell during the pull.
struct CellTruth {
    int pull = 0;
    int row = 0, column = 0;
    int rpmFrom = 0, rpmTo = 0;   // the lowest and highest speed ridden in the cell
    double seconds = 0;
    double advance = 0;
    double bestAdvance = 0;
};

// What the model knows of the pulls finished since it was last asked.
struct PullTruth {
    std::vector<BandTruth> bands;
    std::vector<CellTruth> cells;
};

// The header lines and one line of the --truth file. A cell's line starts with "cell", so
// that a reader of the band lines passes over it.
std::string truthHeader();
std::string truthLine(const BandTruth &band);
std::string truthLine(const CellTruth &cell);

class RideModel {
public:
    // `noiseRpm`: the reported speed is off by a whole number in [-noiseRpm, noiseRpm].
    RideModel(Ride ride, std::uint64_t seed, int noiseRpm, const BikeSpec &spec = {});

    // Steps the bike up to `seconds` on the simulator's clock; earlier times do nothing.
    void runTo(double seconds, const Memory &memory);

    // What the unit reports now (one throw of the speed noise).
    EngineState state(double seconds, const Memory &memory);

    // The bands and cells of the pulls finished since the last call.
    PullTruth takeTruth();

    const Motorcycle &bike() const { return bike_; }
    double clock() const { return clock_; }

private:
    void recordTruth(double rpmBefore);

    Motorcycle bike_;
    Rider rider_;
    Dice noise_;
    int noiseRpm_;
    double clock_ = 0;
    double servoMv_ = 0;   // the servo's measured voltage, lagging its target

    struct Band {
        double seconds = 0, torque = 0, engineTorque = 0, advance = 0;
        bool crossed = false;   // the speed has reached its top
    };
    bool inPull_ = false;
    int pulls_ = 0;
    double pullFromRpm_ = 0;
    std::map<int, Band> bands_;   // by rpm / kBandRpm
    struct Cell {
        double seconds = 0, advance = 0, best = 0, low = 1e9, high = 0;
    };
    std::map<std::pair<int, int>, Cell> cells_;   // by map row and column
    PullTruth finished_;
};

}  // namespace vornsim
