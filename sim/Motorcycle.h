// A small physical model of the motorcycle the simulated unit fires: an engine whose torque
// depends on the advance the unit's map commands, a clutch, a gearbox and the road. Plain
// C++; the unit model steps it on the simulator's clock, the tests step it directly.
//
// Torques are in N·m at the crank, engine speed n in rpm (ω in rad/s), road speed v in m/s.
//
//   full-load torque     Tfull(n) = 95 (1 - 0.55 ((n - 9000) / 9000)^2), not below 0
//   throttle opening     o = max(butterfly, 0.012)   (the idle air screw); the butterfly
//                        follows the grip at 10 per second (closed to open in 0.1 s)
//   cylinder filling     L(o, n) = 1 - (1 - o)^(12000 / max(n, 500))   (0 .. 1, the load;
//                        a small opening fills the cylinder at low speed, not at high speed)
//   commanded advance a  the unit's map at the live cell, found by the program's own
//                        active-cell search on the unit's memory (throttle row only with the
//                        TPS map on, else the 100 % row); below the first speed point the base
//                        advance (mapAdvance in Engine.h)
//   best advance         abest(n, L) = light(n) + L (full(n) - light(n)), degrees:
//                          n      1000 2000 3000 4000 6000 8000 10000 12000 14000
//                          full     10   14   18   21   25   28    30    31    32
//                          light    22   28   34   38   42   44    45    45    45
//                        linear between the speed points, flat outside them
//   ignition efficiency  η = max(0.4, 1 - 0.0015 (a - abest)^2), the loss times the
//                        over-advance factor (1 unless set) where a lies above abest
//   losses               Tloss(n) = 4 + 0.0008 n   (friction and pumping)
//   engine torque        Te = Tfull(n) L(o, n) η - Tloss(n)
//   rev limiter          from Limiter2 × 100 rpm the ignition is cut (Te = -Tloss) until the
//                        speed is 50 rpm below it; Limiter2 = 0 means no limiter
//   road load            F = 0.015 m g + 0.5 ρ CdA v^2 + brake, m = 250 kg (bike and rider),
//                        g = 9.81, ρ CdA = 1.2 × 0.45 m², at the crank Tload = F r / G
//   wheel and gears      r = 0.31 m; overall ratio G (crank turns per wheel turn)
//                        15.0 11.4 9.0 7.6 6.7 6.1 in gears 1 to 6
//   inertia              engine, clutch and gearbox at the crank Je = 0.06 kg m²; the bike at
//                        the crank Jv = m r² / G² (0.357 kg m² in all in 3rd gear)
//   clutch               carries up to 160 N·m × engagement. Locked: (Je + Jv) dω/dt =
//                        Te - Tload, and it slips when the torque through it would exceed
//                        that. Slipping: Je dωe/dt = Te - Tc, Jv dωv/dt = Tc - Tload, and it
//                        locks again when the two speeds meet
//   integration          explicit Euler in steps of 1 ms
//
// In 3rd gear a full-throttle pull from 4,000 rpm to a 13,000 rpm limiter takes about 5 s.
#pragma once

#include "Protocol.h"

#include <array>

namespace vornsim {

// The constants of the model, as stated above. The tests change some of them to look at one
// law on its own.
struct BikeSpec {
    double peakTorque = 95, peakRpm = 9000, torqueCurve = 0.55;
    double idleOpening = 0.012, fillingRpm = 12000;
    std::array<double, 9> bestRpm{1000, 2000, 3000, 4000, 6000, 8000, 10000, 12000, 14000};
    std::array<double, 9> bestFull{10, 14, 18, 21, 25, 28, 30, 31, 32};
    std::array<double, 9> bestLight{22, 28, 34, 38, 42, 44, 45, 45, 45};
    double advanceLoss = 0.0015, efficiencyFloor = 0.4;
    // How much more an over-advanced engine loses than a retarded one: a real engine is
    // not symmetric about its best advance (knock aside, which the model does not know).
    double overAdvanceFactor = 1;
    double lossNm = 4, lossNmPerRpm = 0.0008;
    double limiterHysteresisRpm = 50;
    double massKg = 250, rollingResistance = 0.015, dragArea = 1.2 * 0.45;
    double wheelRadius = 0.31;
    std::array<double, 6> gearRatio{15.0, 11.4, 9.0, 7.6, 6.7, 6.1};
    double engineInertia = 0.06;
    double clutchNm = 160;
    double butterflyPerSecond = 10;
};

// What the rider does.
struct Controls {
    double throttle = 0;   // grip, 0 closed .. 1 open
    int gear = 0;          // 0 neutral, 1..6
    double clutch = 1;     // engagement: 0 lever pulled, 1 released
    double brakeN = 0;     // brake force at the road
};

class Motorcycle {
public:
    static constexpr double kStepSeconds = 0.001;

    explicit Motorcycle(const BikeSpec &spec = {});

    // Puts the bike at this engine speed in this gear, clutch locked, butterfly at `throttle`.
    void place(double rpm, int gear, double throttle = 0);

    // One step of kStepSeconds with the unit's memory as it is now.
    void step(const Memory &memory, const Controls &controls);

    double rpm() const;
    double butterfly() const { return butterfly_; }
    int gear() const { return gear_; }
    double roadSpeed() const { return v_; }
    bool clutchLocked() const { return locked_; }
    bool cutting() const { return cutting_; }
    int advance() const { return advance_; }             // commanded at the last step
    // The map cell the unit fired from at the last step; column -1 below the map.
    int mapRow() const { return mapRow_; }
    int mapColumn() const { return mapColumn_; }
    double bestAdvanceNow() const { return best_; }      // for the load of the last step
    double engineTorque() const { return engineTorque_; }
    // What accelerated the crank in the last step: the engine torque less the road load
    // (clutch locked) or less the clutch torque (slipping). This is the torque a pull
    // measures.
    double driveTorque() const { return driveTorque_; }
    const BikeSpec &spec() const { return spec_; }

    // The laws of the model, as stated at the top.
    double fullTorque(double rpm) const;
    double filling(double opening, double rpm) const;
    double bestAdvance(double rpm, double load) const;
    double efficiency(double advance, double best) const;
    double lossTorque(double rpm) const;
    double roadForce(double v, double brakeN) const;

private:
    double ratio() const;

    BikeSpec spec_;
    double omega_ = 0;   // crank, rad/s
    double v_ = 0;
    int gear_ = 0;
    bool locked_ = false;
    bool cutting_ = false;
    double butterfly_ = 0;
    int advance_ = 0;
    int mapRow_ = 0, mapColumn_ = -1;
    double best_ = 0;
    double engineTorque_ = 0;
    double driveTorque_ = 0;
};

}  // namespace vornsim
