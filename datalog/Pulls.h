// Full-throttle pulls in a log, and the engine's relative torque and power per speed band.
//
// In one gear the crank speeds up at a rate proportional to the torque at the wheel less
// drag, so the time a pull takes to cross a speed band is the inverse of the torque there.
// The unit answers about three times a second and a pull lasts some five seconds, so a
// band of 1,000 rpm holds one or two samples, and the ±10 rpm the speed reading wanders
// is a large share of what one sample says about acceleration. Every band is therefore
// read from one smooth fit over the whole pull, never from the samples next to it:
//
//   time as a function of speed, t(n) = c + integral of g(n) = 1 / (dn/dt), where g is a
//   cubic spline with a knot every 500 rpm, fitted by least squares (each sample weighted
//   so that its misfit counts in rpm, not in seconds) with a penalty on the third
//   differences of the spline coefficients (what the penalty leaves alone is a parabola in
//   g, the shape of an ordinary torque curve). The penalty's weight is the one that makes
//   the pull most likely (restricted maximum likelihood), but never less than the noise
//   the fit leaves in the speeds calls for, so that a noisy pull is smoothed enough and an
//   exact one is followed closely.
//
// A band's crossing times come from t(n) at its boundaries, interpolated anywhere between
// samples; its torque is its speed gain over its duration.
#pragma once

#include "datalog/LogFormat.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vorn {

struct PullSettings {
    int bandRpm = 1000;          // band width; bands start at multiples of it
    int thresholdPercent = 90;   // throttle at or above this is full throttle
};

// Why a pull ended.
enum class PullEnd { ThrottleOff, Limiter, SpeedFalling, Gap, LogEnd };

// The time the fitted curve crosses a band boundary, seconds of the log.
struct BandCrossing {
    int rpm = 0;
    double timeS = 0;
};

struct PullBand {
    int rpmFrom = 0;
    int rpmTo = 0;
    double seconds = 0;     // time to cross the band
    // Relative torque: the band's speed gain over its duration, in rpm per second. In one
    // gear it is proportional to the engine's torque less drag, so two pulls in the same
    // gear compare by it directly.
    double torqueRel = 0;
    // Relative power: torqueRel times the band's middle speed, divided by 1,000.
    double powerRel = 0;
};

struct Pull {
    std::size_t firstRow = 0;   // the pull's rows are rows[firstRow..lastRow]
    std::size_t lastRow = 0;
    double startS = 0;          // times of the first and last row
    double endS = 0;
    int rpmFrom = 0;            // lowest and highest speed read during the pull
    int rpmTo = 0;
    PullEnd end = PullEnd::LogEnd;
    std::vector<BandCrossing> crossings;   // every band boundary inside [rpmFrom, rpmTo]
    std::vector<PullBand> bands;           // every whole band inside it
};

// Every pull of the rows (in time order). A pull starts at a row with throttle at or above
// the threshold (a throttle reading above 100 %, a sensor fault, is not full throttle) and
// runs while the throttle stays there; it ends before a row with the throttle below the
// threshold, with limiter blocking, with the speed more than 50 rpm below the highest speed
// of the pull so far, or more than a second after the previous row (a transfer pauses the
// replies, so a tune change never falls inside a pull). Rows before the speed starts rising
// and after it last peaks are left out, and so are rows at the end that gained less than a
// third of the pull's median rate (the limiter cutting before blocking shows); what remains
// must last at least 1.5 s and gain at least 250 rpm.
std::vector<Pull> findPulls(const std::vector<LogRow> &rows, const PullSettings &settings = {});

// Several pulls (on one tune) as one: each band's duration, torque and power averaged over
// the pulls that cover the band.
std::vector<PullBand> averageBands(const std::vector<std::vector<PullBand>> &pulls);

struct BandComparison {
    int rpmFrom = 0;
    int rpmTo = 0;
    // One entry per run after the first: (run / first - 1) x 100, nothing when the run
    // does not cover the band.
    std::vector<std::optional<double>> torqueDiffPercent;
    std::vector<std::optional<double>> powerDiffPercent;
};

// Every band of the first run against the same band of each later run (a run is one pull's
// bands or several pulls' averageBands).
std::vector<BandComparison> compareBands(const std::vector<std::vector<PullBand>> &runs);

}  // namespace vorn
