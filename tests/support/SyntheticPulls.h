// Synthetic full-throttle pulls for tests: an engine whose speed gain per second is a known
// function of speed, integrated at a 1 ms step, then read the way the unit's monitor is
// read (a row every 330 ms, whole rpm, optionally with seeded noise and timing jitter).
#pragma once

#include "datalog/LogFormat.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

namespace synth {

// Speed gain (rpm/s) at a speed: a four-stroke curve peaking near 9,000 rpm.
inline double torqueCurve(double rpm)
{
    const double peak = (rpm - 9000) / 3000, fall = (rpm - 4000) / 8000;
    return 1300 * (1 + 0.35 * std::exp(-peak * peak) - 0.15 * fall * fall);
}

// The same engine with a tune that makes up to 4 % more around 8,000 rpm.
inline double betterCurve(double rpm)
{
    const double x = (rpm - 8000) / 2500;
    return torqueCurve(rpm) * (1 + 0.04 * std::exp(-x * x));
}

// One full-throttle run from `fromRpm` until `toRpm`, at 1 ms steps (RK4).
class Run {
public:
    Run(const std::function<double(double)> &rate, double fromRpm, double toRpm)
    {
        double n = fromRpm;
        speed_.push_back(n);
        while (n < toRpm) {
            const double k1 = rate(n), k2 = rate(n + kStep / 2 * k1), k3 = rate(n + kStep / 2 * k2),
                         k4 = rate(n + kStep * k3);
            n += kStep / 6 * (k1 + 2 * k2 + 2 * k3 + k4);
            speed_.push_back(n);
        }
    }
    double seconds() const { return (speed_.size() - 1) * kStep; }
    double speedAt(double s) const
    {
        const double f = std::clamp(s / kStep, 0.0, double(speed_.size() - 1));
        const std::size_t i = std::min(static_cast<std::size_t>(f), speed_.size() - 2);
        return speed_[i] + (f - i) * (speed_[i + 1] - speed_[i]);
    }
    double timeAt(double rpm) const
    {
        const auto it = std::lower_bound(speed_.begin(), speed_.end(), rpm);
        const std::size_t i = std::clamp<std::size_t>(it - speed_.begin(), 1, speed_.size() - 1);
        return (i - 1 + (rpm - speed_[i - 1]) / (speed_[i] - speed_[i - 1])) * kStep;
    }
    // The true relative torque of a band: its speed gain over the time the run takes to cross it.
    double bandTorque(int from, int to) const { return (to - from) / (timeAt(to) - timeAt(from)); }

private:
    static constexpr double kStep = 0.001;
    std::vector<double> speed_;
};

inline vorn::LogRow row(std::int64_t ms, int rpm, int throttle, bool blocking = false)
{
    vorn::LogRow r;
    r.timeMs = ms;
    r.rpm = rpm;
    r.throttlePercent = throttle;
    r.blocking = blocking;
    return r;
}

struct Reading {
    double noiseRpm = 0;      // uniform in ±noiseRpm
    double jitterMs = 0;      // the speed is taken up to this far from the row's time
    double phaseMs = 0;       // where the first row of the run falls after its start
    unsigned seed = 1;
};

// Appends the rows of one run starting at log time `startMs`: rows every 330 ms at full
// throttle while the run lasts, then one row of limiter blocking at the run's last speed.
// Returns the log time after the last row.
inline std::int64_t appendRun(std::vector<vorn::LogRow> &rows, const Run &run, std::int64_t startMs,
                              const Reading &reading)
{
    std::mt19937 rng(reading.seed);
    std::uniform_real_distribution<double> unit(-1, 1);
    double s = reading.phaseMs / 1000;
    for (; s <= run.seconds(); s += 0.330) {
        const double taken = std::clamp(s + reading.jitterMs / 1000 * unit(rng), 0.0, run.seconds());
        const double rpm = run.speedAt(taken) + reading.noiseRpm * unit(rng);
        rows.push_back(row(startMs + std::llround(s * 1000), int(std::lround(rpm)), 100));
    }
    rows.push_back(row(startMs + std::llround(s * 1000), int(std::lround(run.speedAt(run.seconds()))), 100, true));
    return startMs + std::llround(s * 1000) + 330;
}

// Appends `count` rows every 330 ms at a speed moving by `rpmPerRow` at `throttle`.
inline std::int64_t appendSteady(std::vector<vorn::LogRow> &rows, std::int64_t startMs, int count, int rpm,
                                 int rpmPerRow, int throttle)
{
    for (int i = 0; i < count; ++i)
        rows.push_back(row(startMs + 330 * i, rpm + rpmPerRow * i, throttle));
    return startMs + 330 * count;
}

}  // namespace synth
