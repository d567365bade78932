// The rides on the simulator's clock, what the unit reports, and the truth of each pull.
#include "RideModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vornsim {

namespace {

constexpr double kServoLagSeconds = 0.3;

}  // namespace

std::string truthHeader()
{
    return "pull,rpm_from,rpm_to,seconds,torque,engine_torque,advance\n"
           "cell,pull,row,column,rpm_from,rpm_to,seconds,advance,best_advance\n";
}

std::string truthLine(const CellTruth &c)
{
    char line[160];
    std::snprintf(line, sizeof line, "cell,%d,%d,%d,%d,%d,%.4f,%.3f,%.3f\n", c.pull, c.row, c.column, c.rpmFrom, c.rpmTo,
                  c.seconds, c.advance, c.bestAdvance);
    return line;
}

std::string truthLine(const BandTruth &b)
{
    char line[160];
    std::snprintf(line, sizeof line, "%d,%d,%d,%.4f,%.4f,%.4f,%.2f\n", b.pull, b.rpmFrom, b.rpmTo, b.seconds, b.torque,
                  b.engineTorque, b.advance);
    return line;
}

RideModel::RideModel(Ride ride, std::uint64_t seed, int noiseRpm, const BikeSpec &spec)
    : bike_(spec), rider_(ride, seed), noise_(seed, kNoiseDice), noiseRpm_(noiseRpm)
{
    // The engine has been started and idles in neutral.
    bike_.place(1300, 0);
}

void RideModel::runTo(double seconds, const Memory &memory)
{
    const double dt = Motorcycle::kStepSeconds;
    while (clock_ + dt <= seconds) {
        const Controls controls = rider_.next(bike_, memory);
        const double before = bike_.rpm();
        bike_.step(memory, controls);
        clock_ += dt;
        recordTruth(before);
        servoMv_ += (servoTargetMv(memory, static_cast<int>(bike_.rpm())) - servoMv_) * dt / kServoLagSeconds;
    }
}

void RideModel::recordTruth(double rpmBefore)
{
    const bool pulling = rider_.pulling();
    if (pulling && !inPull_) {
        inPull_ = true;
        ++pulls_;
        pullFromRpm_ = rpmBefore;
        bands_.clear();
        cells_.clear();
    }
    if (!pulling) {
        if (!inPull_)
            return;
        inPull_ = false;
        // Only bands the pull crossed whole, from their bottom to their top.
        for (const auto &[index, band] : bands_) {
            if (!band.crossed || index * kBandRpm < pullFromRpm_ || band.seconds <= 0)
                continue;
            finished_.bands.push_back({pulls_, index * kBandRpm, (index + 1) * kBandRpm, band.seconds,
                                       band.torque / band.seconds, band.engineTorque / band.seconds,
                                       band.advance / band.seconds});
        }
        for (const auto &[key, cell] : cells_)
            finished_.cells.push_back({pulls_, key.first, key.second, static_cast<int>(std::lround(cell.low)),
                                       static_cast<int>(std::lround(cell.high)), cell.seconds,
                                       cell.advance / cell.seconds, cell.best / cell.seconds});
        return;
    }
    const double dt = Motorcycle::kStepSeconds;
    if (bike_.mapColumn() >= 0) {
        Cell &cell = cells_[{bike_.mapRow(), bike_.mapColumn()}];
        cell.seconds += dt;
        cell.advance += bike_.advance() * dt;
        cell.best += bike_.bestAdvanceNow() * dt;
        cell.low = std::min(cell.low, rpmBefore);
        cell.high = std::max(cell.high, bike_.rpm());
    }
    Band &band = bands_[static_cast<int>(std::floor(rpmBefore / kBandRpm))];
    if (!band.crossed) {   // at the limiter the speed falls back into a band already crossed
        band.seconds += dt;
        band.torque += bike_.driveTorque() * dt;
        band.engineTorque += bike_.engineTorque() * dt;
        band.advance += bike_.advance() * dt;
    }
    for (auto &[index, b] : bands_)
        if ((index + 1) * kBandRpm <= bike_.rpm())
            b.crossed = true;
}

PullTruth RideModel::takeTruth()
{
    PullTruth out;
    std::swap(out, finished_);
    return out;
}

EngineState RideModel::state(double seconds, const Memory &memory)
{
    EngineState s;
    const int rpm = static_cast<int>(std::lround(bike_.rpm()));
    const int noise = noiseRpm_ > 0 ? noise_.between(-noiseRpm_, noiseRpm_) : 0;
    s.rpm = static_cast<std::uint16_t>(std::clamp(rpm + noise, 0, 0xFFFF));
    s.tpsPercent = static_cast<std::uint8_t>(std::lround(bike_.butterfly() * 100));
    fillUnitFields(s, seconds, memory, rpm, static_cast<std::uint8_t>(bike_.advance()));
    s.blockingActive = bike_.cutting();
    s.clutchActive = rider_.clutchPulled();
    s.servoDesiredRaw = static_cast<std::uint16_t>(mvToCounts(servoTargetMv(memory, rpm)));
    s.servoMeasuredRaw = static_cast<std::uint16_t>(mvToCounts(static_cast<int>(std::lround(servoMv_))));
    s.test[0] = static_cast<std::uint16_t>(seconds);
    s.test[1] = s.rpm / 10;
    return s;
}

}  // namespace vornsim
