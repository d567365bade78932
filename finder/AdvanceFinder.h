// The advance finder: which advance makes the most torque in each cell of one throttle row.
//
// Near its best advance an engine's torque is flat, so one comparison of two maps cannot
// find the best; a planned set of variants of the row (the same map with the row moved by
// whole steps) ridden in full-throttle pulls, and a fit of torque against the advance the
// unit applied in each cell, can.
//
// The unit cannot sense knock, and an engine advanced past its knock limit is destroyed.
// So nothing here ever plans or proposes an advance above the tuner's ceiling (a map, or an
// offset over the base map), a proposal moves at most one step beyond the advances tried,
// and the result is only a proposal: the tuner programs it, never the finder.
//
// Plain rules (QtCore only): vorn4-cli's finder and the log window's Advance finder drive
// the same plan, run and analysis.
#pragma once

#include "datalog/LogFormat.h"
#include "params/ParameterImage.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace vorn::finder {

// The full-throttle row of the advance map.
constexpr int kFullThrottleRow = kMapSize - 1;
constexpr int kDefaultStepDeg = 5;
constexpr int kDefaultVariants = 3;
constexpr int kDefaultCeilingOffsetDeg = 4;
constexpr int kDefaultPullsPerVariant = 3;

// The map row of a throttle percentage on the map's throttle axis (0, 2, 5, ... 100);
// nothing for a percentage that is not on the axis.
std::optional<int> rowOfThrottlePercent(int percent);
int throttlePercentOfRow(int row);

// The highest advance the finder may plan or propose in a cell: a map's cells (the same row
// of another parameter file), or the base map's cell plus an offset.
struct Ceiling {
    std::optional<ParameterImage> map;
    int offsetDeg = kDefaultCeilingOffsetDeg;

    // The ceiling of the cell (row, column), degrees, within the map's range 0..60.
    int at(const ParameterImage &base, int row, int column) const;
};

struct PlanSettings {
    int row = kFullThrottleRow;   // map row, 0..9
    int stepDeg = kDefaultStepDeg;  // degrees between neighbouring variants, 1..10
    int variants = kDefaultVariants;  // 3 or 5
    Ceiling ceiling;
};

// One variant: the base image with the chosen row moved by `offsetSteps` steps (-1, 0, +1,
// or -2 .. +2), each cell held to the ceiling and to the map's range.
struct Variant {
    int offsetSteps = 0;
    ParameterImage image;
    std::array<int, kMapSize> rowAdvance{};   // the row as planned
    std::array<bool, kMapSize> atCeiling{};   // the cell was held down to the ceiling
};

// The variants of `base`, from the most retarded to the most advanced. `centre` is the row
// the variants are laid around (the base's own row when empty: a second round lays them
// around the first round's proposal); the ceiling always counts over `base`.
std::vector<Variant> plan(const ParameterImage &base, const PlanSettings &settings,
                          const std::optional<std::array<int, kMapSize>> &centre = std::nullopt);

// ---- analysis ---------------------------------------------------------------------------

// One recorded log: its rows (with the advance and the map cell of every reply).
struct RecordedLog {
    std::vector<LogRow> rows;
};

struct AnalysisSettings {
    int row = kFullThrottleRow;
    Ceiling ceiling;
    // The step of the plan that made the logs: a proposal moves at most this far beyond the
    // advances tried.
    int stepDeg = kDefaultStepDeg;
    // A full-throttle reading is at or above this throttle.
    int thresholdPercent = 90;
};

// One advance the unit applied in the cell, and the torque it made there.
struct Tried {
    int advance = 0;
    // The engine's torque less the road's in the cell at this advance, relative to the
    // highest of the cell's tried advances (1.0 for that one).
    double torqueRel = 0;
    double torqueSd = 0;   // its standard error, in the same units
    int pulls = 0;         // pulls that crossed enough of the cell at this advance
};

// Why a cell has no proposal.
enum class Undecided {
    None,            // decided
    NotInLogs,       // no pull reached the cell
    FewAdvances,     // fewer than three advances tried with enough pulls
    FewPulls,        // the pulls crossed too little of the cell
    NoPeak,          // the torque does not fall off on either side: no best to fit
    PullsBeganThere, // every pull that reached the cell began in it, taking up the drive
};

struct CellResult {
    int column = 0;
    int rpm = 0;                   // the cell's speed point (0 when unknown)
    int rpmFrom = 0, rpmTo = 0;    // the speeds the logs show the unit used this cell at
    std::vector<Tried> tried;      // by advance
    double bestAdvance = 0;        // the fit's best advance, degrees
    double intervalLow = 0, intervalHigh = 0;   // where the best lies, about 19 chances in 20
    // The fit's torque loss per degree squared retarded and over-advanced from the best
    // (relative torque); they differ on a real engine, so the fit keeps them apart.
    double retardLoss = 0, overAdvanceLoss = 0;
    // Advances were tried on both sides of the best, and the interval closes on both sides.
    bool bracketed = false;
    int ceiling = 0;               // the cell's ceiling
    int baseAdvance = 0;           // the base map's cell
    int proposed = 0;              // whole degrees, within the ceiling
    bool heldAtCeiling = false;    // the best lies above the ceiling
    bool heldToStep = false;       // the best lies more than a step beyond the advances tried
    Undecided why = Undecided::NotInLogs;
    bool decided() const { return why == Undecided::None; }
    // The fitted relative torque at an advance (for the charts); 0 when undecided.
    double fittedTorque(double advance) const;
    double peakTorque = 0;         // the fit's value at its best
};

struct Analysis {
    int row = kFullThrottleRow;
    int pulls = 0;                  // full-throttle pulls found in the logs
    std::vector<CellResult> cells;  // every column of the row, 0..9
    int decidedCount() const;
};

// The cells of `settings.row` from the logs' pulls. `base` is the map the ceiling's offset
// counts over and whose cells a proposal replaces, and gives the cells' speed points.
Analysis analyse(const std::vector<RecordedLog> &logs, const ParameterImage &base, const AnalysisSettings &settings);

// `base` with the chosen row's decided cells set to their proposal; nothing else changes.
ParameterImage propose(const ParameterImage &base, const Analysis &analysis);

// ---- the run ----------------------------------------------------------------------------

struct RunSettings {
    PlanSettings plan;
    int pullsPerVariant = kDefaultPullsPerVariant;
    int rounds = 1;   // 1 or 2; the second is laid around the first one's proposal
    int thresholdPercent = 90;
};

// The run that vorn4-cli's finder run and the window both drive: program variant k while
// the throttle is shut, record until N pulls are seen live, go on to the next, program the
// base back, analyse. It never programs anything itself: it says when and what, the host
// programs through its normal path and reports back. It never asks for a Program while the
// throttle is open.
class Run {
public:
    enum class Phase {
        WaitingToProgram,   // a variant (or the base) is due; waiting for a shut throttle
        Programming,        // the host is programming imageToProgram()
        Recording,          // the variant is in the unit; counting its pulls
        Done,               // the base is back in the unit and the analysis is ready
        Failed,             // a Program failed: see baseRestored()
    };
    enum class Action { None, Program };

    Run(const ParameterImage &base, const RunSettings &settings);

    // Every monitor reply while the run is active, as a log row whose map cell was found on
    // unitImage(). Returns Program when the host must program imageToProgram() now.
    Action feed(const LogRow &row);
    // The host's Program ended; ok when the unit holds the image.
    void programmed(bool ok);
    // The tuner ends the run early: the base is due next (the host programs it on the next
    // Program action); the pulls recorded so far are analysed.
    void stop();

    Phase phase() const { return phase_; }
    // What the unit holds now, as far as the run knows (the base before the first Program).
    const ParameterImage &unitImage() const { return unit_; }
    const ParameterImage &imageToProgram() const;
    bool programmingBase() const;
    bool baseRestored() const { return baseRestored_; }

    // For the rider's display: "variant 2 of 3, pull 1 of 3" (all counted from 1).
    int round() const { return round_ + 1; }
    int rounds() const { return settings_.rounds; }
    int variant() const { return variant_ + 1; }
    int variantCount() const { return static_cast<int>(variants_.size()); }
    int pull() const { return pullsSeen_; }
    int pullsPerVariant() const { return settings_.pullsPerVariant; }

    // The variants of the current round, and every log recorded so far (one per variant
    // ridden, in order; with the image that made it).
    const std::vector<Variant> &variants() const { return variants_; }
    struct VariantLog {
        int round = 1, variant = 1;
        ParameterImage image;
        RecordedLog log;
    };
    const std::vector<VariantLog> &logs() const { return logs_; }
    // The analysis of every log so far (final once phase() is Done).
    Analysis analysis() const;

private:
    void startRound();
    void nextVariant();
    void countPulls();

    ParameterImage base_;
    RunSettings settings_;
    ParameterImage unit_;
    std::vector<Variant> variants_;
    std::vector<VariantLog> logs_;
    Phase phase_ = Phase::WaitingToProgram;
    int round_ = 0;
    int variant_ = 0;
    int pullsSeen_ = 0;
    bool restoring_ = false;      // the base is the image due
    bool baseRestored_ = true;
    bool shutSinceProgram_ = false;   // a pull counts only when it starts after the Program
    int shutRows_ = 0;            // replies in a row with the throttle shut
    bool aborted_ = false;        // a variant's Program failed, or the tuner stopped
    bool stopAfterProgram_ = false;
};

}  // namespace vorn::finder
