// The rides: pulls in one gear, and mixed road riding.
#include "Rider.h"

#include "Engine.h"

#include <algorithm>

namespace vornsim {

namespace {

constexpr double kDt = Motorcycle::kStepSeconds;
constexpr double kLaunchSeconds = 1.5;
constexpr double kClutchOutSeconds = 0.1, kClutchInSeconds = 0.3;
constexpr double kPullShiftRpm = 6000;
constexpr double kCoastBrakeN = 800;
constexpr double kHoldAtLimiterSeconds = 0.5, kNoRiseSeconds = 1.0;
constexpr double kDownShiftRpm = 3000;
constexpr int kTopGear = 6;

}  // namespace

bool rideFromName(const std::string &name, Ride &ride)
{
    if (name == "sweep")
        ride = Ride::Sweep;
    else if (name == "pulls")
        ride = Ride::Pulls;
    else if (name == "road")
        ride = Ride::Road;
    else
        return false;
    return true;
}

Rider::Rider(Ride ride, std::uint64_t seed) : ride_(ride), dice_(seed, kRideDice)
{
    if (ride_ == Ride::Road) {
        idleSeconds_ = dice_.between(2.0, 6.0);
        launchThrottle_ = dice_.between(0.2, 0.4);
    }
    out_.clutch = 0;
}

bool Rider::pulling() const
{
    return (phase_ == Phase::Pull || phase_ == Phase::Ride) && out_.throttle >= 1 && out_.gear > 0 && out_.clutch >= 1;
}

void Rider::enter(Phase phase)
{
    phase_ = phase;
    inPhase_ = 0;
}

void Rider::shift(int gear, Phase resume)
{
    shiftTo_ = gear;
    resume_ = resume;
    resumeThrottle_ = out_.throttle;
    enter(Phase::Shift);
}

double Rider::upShiftRpm(const Memory &memory) const
{
    const int limiter = memory[At::Limiter2] * 100;
    if (out_.throttle < 0.9)
        return limiter > 0 ? std::min<double>(partShiftRpm_, limiter - 300) : partShiftRpm_;
    const int light = memory[At::PilotLight] * 100;
    if (light > 0 && (limiter == 0 || light < limiter))
        return light;
    return limiter > 0 ? limiter - 300 : 10000;
}

void Rider::chooseStretch()
{
    // Weights: steady 3, brisk 3, full 1, braking 2, a stop 1.
    const int pick = dice_.between(0, 9);
    brakeN_ = 0;
    if (pick < 3) {
        stretch_ = Stretch::Steady;
        out_.throttle = dice_.between(0.08, 0.25);
        stretchLeft_ = dice_.between(3.0, 8.0);
    } else if (pick < 6) {
        stretch_ = Stretch::Brisk;
        out_.throttle = dice_.between(0.3, 0.9);
        stretchLeft_ = dice_.between(2.0, 6.0);
    } else if (pick < 7) {
        stretch_ = Stretch::Full;
        out_.throttle = 1;
        stretchLeft_ = dice_.between(2.0, 5.0);
    } else if (pick < 9) {
        stretch_ = Stretch::Brake;
        out_.throttle = 0;
        brakeN_ = dice_.between(400.0, 1500.0);
        stretchLeft_ = dice_.between(2.0, 4.0);
    } else {
        out_.throttle = 0;
        brakeN_ = 1500;
        enter(Phase::Stop);
        return;
    }
    partShiftRpm_ = dice_.between(5000.0, 7500.0);
}

void Rider::ridePulls(const Motorcycle &bike)
{
    const double rpm = bike.rpm();
    switch (phase_) {
    case Phase::Ride:   // up through the gears to the pull gear
        out_.throttle = 0.4;
        if (out_.gear >= kPullGear)
            enter(Phase::Approach);
        else if (rpm >= kPullShiftRpm)
            shift(out_.gear + 1, Phase::Ride);
        break;
    case Phase::Approach:
    case Phase::Coast:
        out_.throttle = 0;
        out_.brakeN = kCoastBrakeN;
        if (rpm <= kPullFromRpm) {
            out_.brakeN = 0;
            out_.throttle = 1;
            cutSeconds_ = sinceRise_ = 0;
            topRpm_ = rpm;
            enter(Phase::Pull);
        }
        break;
    case Phase::Pull:
        if (bike.cutting())
            cutSeconds_ += kDt;
        if (rpm > topRpm_ + 1) {
            topRpm_ = rpm;
            sinceRise_ = 0;
        } else {
            sinceRise_ += kDt;
        }
        if (cutSeconds_ >= kHoldAtLimiterSeconds || sinceRise_ >= kNoRiseSeconds) {
            out_.throttle = 0;
            enter(Phase::Coast);
        }
        break;
    default:
        break;
    }
}

void Rider::rideRoad(const Motorcycle &bike, const Memory &memory)
{
    const double rpm = bike.rpm();
    if (phase_ == Phase::Stop) {
        out_.throttle = 0;
        out_.brakeN = 1500;
        if (out_.gear > 1 && rpm < kDownShiftRpm && bike.clutchLocked()) {
            shift(out_.gear - 1, Phase::Stop);
            return;
        }
        if (out_.gear == 1 && rpm < 2500)
            out_.clutch = 0;
        if (bike.roadSpeed() < 0.5) {
            out_ = Controls{};
            out_.clutch = 0;
            idleSeconds_ = dice_.between(2.0, 6.0);
            launchThrottle_ = dice_.between(0.2, 0.4);
            enter(Phase::Idle);
        }
        return;
    }
    // Phase::Ride
    stretchLeft_ -= kDt;
    if (stretchLeft_ <= 0) {
        chooseStretch();
        if (phase_ == Phase::Stop)
            return;
    }
    out_.brakeN = brakeN_;
    out_.clutch = out_.gear == 1 && rpm < 2000 && out_.throttle < 0.05 ? 0 : 1;
    if (!bike.clutchLocked())
        return;   // the last shift is still being taken up
    if (out_.gear < kTopGear && rpm >= upShiftRpm(memory) && out_.throttle > 0)
        shift(out_.gear + 1, Phase::Ride);
    else if (out_.gear > 1 && rpm < kDownShiftRpm)
        shift(out_.gear - 1, Phase::Ride);
}

Controls Rider::next(const Motorcycle &bike, const Memory &memory)
{
    inPhase_ += kDt;
    switch (phase_) {
    case Phase::Idle:
        out_.gear = 0;
        out_.throttle = 0;
        out_.brakeN = 0;
        if (inPhase_ >= idleSeconds_) {
            out_.gear = 1;
            out_.clutch = 0;
            enter(Phase::Launch);
        }
        break;
    case Phase::Launch:
        out_.gear = 1;
        out_.throttle = launchThrottle_;
        out_.clutch = std::min(1.0, inPhase_ / kLaunchSeconds);
        if (inPhase_ >= kLaunchSeconds && bike.clutchLocked()) {
            enter(Phase::Ride);
            if (ride_ == Ride::Road)
                chooseStretch();
        }
        break;
    case Phase::Shift:
        if (inPhase_ < kClutchOutSeconds) {
            out_.throttle = 0;
            out_.clutch = 0;
        } else {
            out_.gear = shiftTo_;
            out_.clutch = std::min(1.0, (inPhase_ - kClutchOutSeconds) / kClutchInSeconds);
            out_.throttle = resumeThrottle_ * out_.clutch;
            if (out_.clutch >= 1) {
                phase_ = resume_;
                inPhase_ = 0;
            }
        }
        break;
    default:
        if (ride_ == Ride::Pulls)
            ridePulls(bike);
        else
            rideRoad(bike, memory);
        break;
    }
    return out_;
}

}  // namespace vornsim
