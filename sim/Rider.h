// The rider of the simulated motorcycle: what the hands and feet do in each ride.
//
// pulls  idle 3 s in neutral; pull away in 1st (clutch let out over 1.5 s at 25 % throttle),
//        up through the gears at 6,000 rpm to 3rd; then, over and over: throttle shut and a
//        light brake (800 N) until the engine is down to 3,800 rpm, full throttle until the
//        limiter has cut for 0.5 s (or the speed has not risen for 1 s), and again.
// road   mixed riding from the seed: stops with idling, pulling away, stretches of steady,
//        brisk or full throttle and of braking; up-shifts at the unit's shift light on full
//        throttle and at 5,000 to 7,500 rpm otherwise, down-shifts below 3,000 rpm.
// A shift: throttle shut and clutch pulled for 0.1 s, then the clutch let out over 0.3 s.
#pragma once

#include "Dice.h"
#include "Motorcycle.h"

#include <cstdint>
#include <string>

namespace vornsim {

enum class Ride { Sweep, Pulls, Road };

// "sweep", "pulls" or "road"; false for anything else.
bool rideFromName(const std::string &name, Ride &ride);

class Rider {
public:
    static constexpr int kPullGear = 3;
    static constexpr double kPullFromRpm = 3800;

    Rider(Ride ride, std::uint64_t seed);

    // The controls for the next step of the bike, seeing it and the unit's settings.
    Controls next(const Motorcycle &bike, const Memory &memory);

    // Full throttle in a gear with the clutch let out: the engine is pulling.
    bool pulling() const;
    bool clutchPulled() const { return out_.gear > 0 && out_.clutch < 0.5; }

private:
    enum class Phase { Idle, Launch, Shift, Ride, Approach, Pull, Coast, Stop };
    enum class Stretch { Steady, Brisk, Full, Brake };

    void enter(Phase phase);
    void shift(int gear, Phase resume);
    void ridePulls(const Motorcycle &bike);
    void rideRoad(const Motorcycle &bike, const Memory &memory);
    void chooseStretch();
    double upShiftRpm(const Memory &memory) const;

    Ride ride_;
    Dice dice_;
    Controls out_;
    Phase phase_ = Phase::Idle;
    double inPhase_ = 0;
    double idleSeconds_ = 3;
    double launchThrottle_ = 0.25;
    // a shift under way
    Phase resume_ = Phase::Ride;
    int shiftTo_ = 0;
    double resumeThrottle_ = 0;
    // the pull under way
    double cutSeconds_ = 0, topRpm_ = 0, sinceRise_ = 0;
    // the road's current stretch
    Stretch stretch_ = Stretch::Steady;
    double stretchLeft_ = 0, partShiftRpm_ = 6000, brakeN_ = 0;
};

}  // namespace vornsim
