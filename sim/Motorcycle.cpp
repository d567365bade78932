// The motorcycle model: engine torque, limiter, clutch, gearbox and road, stepped by Euler.
#include "Motorcycle.h"

#include "Engine.h"

#include <algorithm>
#include <cmath>

namespace vornsim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kGravity = 9.81;

template <std::size_t N>
double interpolate(const std::array<double, N> &xs, const std::array<double, N> &ys, double x)
{
    if (x <= xs.front())
        return ys.front();
    for (std::size_t i = 1; i < N; ++i)
        if (x <= xs[i])
            return ys[i - 1] + (ys[i] - ys[i - 1]) * (x - xs[i - 1]) / (xs[i] - xs[i - 1]);
    return ys.back();
}

}  // namespace

Motorcycle::Motorcycle(const BikeSpec &spec) : spec_(spec) {}

void Motorcycle::place(double rpm, int gear, double throttle)
{
    omega_ = std::max(0.0, rpm) * kPi / 30;
    gear_ = std::clamp(gear, 0, static_cast<int>(spec_.gearRatio.size()));
    locked_ = gear_ > 0;
    v_ = gear_ > 0 ? omega_ * spec_.wheelRadius / ratio() : 0;
    butterfly_ = std::clamp(throttle, 0.0, 1.0);
    cutting_ = false;
}

double Motorcycle::rpm() const
{
    return omega_ * 30 / kPi;
}

double Motorcycle::ratio() const
{
    return spec_.gearRatio[static_cast<std::size_t>(std::max(1, gear_) - 1)];
}

double Motorcycle::fullTorque(double rpm) const
{
    const double x = (rpm - spec_.peakRpm) / spec_.peakRpm;
    return std::max(0.0, spec_.peakTorque * (1 - spec_.torqueCurve * x * x));
}

double Motorcycle::filling(double opening, double rpm) const
{
    return 1 - std::pow(1 - std::clamp(opening, 0.0, 1.0), spec_.fillingRpm / std::max(rpm, 500.0));
}

double Motorcycle::bestAdvance(double rpm, double load) const
{
    const double light = interpolate(spec_.bestRpm, spec_.bestLight, rpm);
    const double full = interpolate(spec_.bestRpm, spec_.bestFull, rpm);
    return light + std::clamp(load, 0.0, 1.0) * (full - light);
}

double Motorcycle::efficiency(double advance, double best) const
{
    const double d = advance - best;
    const double loss = spec_.advanceLoss * (d > 0 ? spec_.overAdvanceFactor : 1);
    return std::max(spec_.efficiencyFloor, 1 - loss * d * d);
}

double Motorcycle::lossTorque(double rpm) const
{
    return spec_.lossNm + spec_.lossNmPerRpm * rpm;
}

double Motorcycle::roadForce(double v, double brakeN) const
{
    return spec_.rollingResistance * spec_.massKg * kGravity + 0.5 * spec_.dragArea * v * v + brakeN;
}

void Motorcycle::step(const Memory &memory, const Controls &c)
{
    const double dt = kStepSeconds;
    const double grip = std::clamp(c.throttle, 0.0, 1.0);
    const double move = spec_.butterflyPerSecond * dt;
    butterfly_ = grip > butterfly_ ? std::min(grip, butterfly_ + move) : std::max(grip, butterfly_ - move);

    const double n = rpm();
    const vorn::LiveCell cell = mapCell(memory, static_cast<int>(std::lround(n)), static_cast<int>(std::lround(butterfly_ * 100)));
    advance_ = advanceAt(memory, cell);
    mapRow_ = cell.throttleRow;
    mapColumn_ = cell.belowMap ? -1 : cell.advanceColumn;
    const double limiter = memory[At::Limiter2] * 100.0;
    if (limiter <= 0)
        cutting_ = false;
    else if (n >= limiter)
        cutting_ = true;
    else if (n < limiter - spec_.limiterHysteresisRpm)
        cutting_ = false;
    const double load = filling(std::max(butterfly_, spec_.idleOpening), n);
    best_ = bestAdvance(n, load);
    const double combustion = cutting_ ? 0 : fullTorque(n) * load * efficiency(advance_, best_);
    engineTorque_ = combustion - lossTorque(n);

    const int gear = std::clamp(c.gear, 0, static_cast<int>(spec_.gearRatio.size()));
    if (gear != gear_) {
        gear_ = gear;
        locked_ = false;   // the new gear turns at another speed: the clutch takes it up
    }
    const double je = spec_.engineInertia;
    if (gear_ == 0) {
        locked_ = false;
        omega_ += engineTorque_ / je * dt;
        driveTorque_ = engineTorque_;
        v_ -= roadForce(v_, c.brakeN) / spec_.massKg * dt;
    } else {
        const double g = ratio(), r = spec_.wheelRadius;
        const double jv = spec_.massKg * r * r / (g * g);
        const double roadLoad = roadForce(v_, c.brakeN) * r / g;
        const double capacity = spec_.clutchNm * std::clamp(c.clutch, 0.0, 1.0);
        if (locked_) {
            const double accel = (engineTorque_ - roadLoad) / (je + jv);
            if (std::abs(engineTorque_ - je * accel) <= capacity) {
                omega_ += accel * dt;
                v_ = omega_ * r / g;
                driveTorque_ = engineTorque_ - roadLoad;
            } else {
                locked_ = false;
            }
        }
        if (!locked_) {
            const double wheelSide = v_ * g / r;
            const double slip = omega_ - wheelSide;
            const double clutch = slip > 0 ? capacity : slip < 0 ? -capacity : 0;
            const double engineSide = omega_ + (engineTorque_ - clutch) / je * dt;
            const double nextWheelSide = wheelSide + (clutch - roadLoad) / jv * dt;
            driveTorque_ = engineTorque_ - clutch;
            if (capacity > 0 && (engineSide - nextWheelSide) * slip <= 0) {
                // The two sides meet within the step: they go on together with their momentum.
                omega_ = (je * engineSide + jv * nextWheelSide) / (je + jv);
                locked_ = true;
            } else {
                omega_ = engineSide;
            }
            v_ = (locked_ ? omega_ : nextWheelSide) * r / g;
        }
    }
    omega_ = std::max(0.0, omega_);
    v_ = std::max(0.0, v_);
}

}  // namespace vornsim
