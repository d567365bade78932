// The run: variants programmed between pulls, pulls counted live, the base put back.
#include "AdvanceFinder.h"

#include "datalog/Pulls.h"

#include <algorithm>

namespace vorn::finder {

namespace {

// Below this throttle the rider has shut it: no pull is under way and none can start
// before the throttle opens again.
constexpr int kShutPercent = 10;
// Replies in a row with the throttle shut before a Program may start.
constexpr int kShutReplies = 2;

bool shut(const LogRow &row)
{
    return row.throttlePercent < kShutPercent && !row.blocking;
}

}  // namespace

Run::Run(const ParameterImage &base, const RunSettings &settings)
    : base_(base), settings_(settings), unit_(base)
{
    settings_.rounds = std::clamp(settings_.rounds, 1, 2);
    settings_.pullsPerVariant = std::max(1, settings_.pullsPerVariant);
    startRound();
}

void Run::startRound()
{
    PlanSettings s = settings_.plan;
    std::optional<std::array<int, kMapSize>> centre;
    if (round_ > 0) {
        // The second round lies around the first one's proposal, a degree narrower, so that
        // its advances fall between those already tried.
        const ParameterImage proposal = propose(base_, analysis());
        centre.emplace();
        for (int c = 0; c < kMapSize; ++c)
            (*centre)[static_cast<std::size_t>(c)] = proposal[Off::Advance + 10 * s.row + c];
        s.stepDeg = std::max(1, s.stepDeg - 1);
    }
    variants_ = plan(base_, s, centre);
    variant_ = 0;
    phase_ = Phase::WaitingToProgram;
}

const ParameterImage &Run::imageToProgram() const
{
    return restoring_ ? base_ : variants_[static_cast<std::size_t>(variant_)].image;
}

bool Run::programmingBase() const
{
    return restoring_;
}

Run::Action Run::feed(const LogRow &row)
{
    shutRows_ = shut(row) ? shutRows_ + 1 : 0;
    switch (phase_) {
    case Phase::WaitingToProgram:
        if (shutRows_ >= kShutReplies) {
            phase_ = Phase::Programming;
            return Action::Program;
        }
        return Action::None;
    case Phase::Recording:
        // Rows count from the first shut throttle after the Program: a pull already under
        // way while the unit was programmed is none of this variant's.
        if (!shutSinceProgram_ && !shut(row))
            return Action::None;
        shutSinceProgram_ = true;
        logs_.back().log.rows.push_back(row);
        if (row.throttlePercent < settings_.thresholdPercent || row.blocking)
            countPulls();
        return Action::None;
    case Phase::Programming:
    case Phase::Done:
    case Phase::Failed:
        return Action::None;
    }
    return Action::None;
}

void Run::countPulls()
{
    PullSettings s;
    s.thresholdPercent = settings_.thresholdPercent;
    const auto &rows = logs_.back().log.rows;
    // A pull counts once it has ended: the throttle shut or the limiter cut after it.
    int ended = 0;
    for (const Pull &p : findPulls(rows, s))
        if (p.lastRow + 1 < rows.size())
            ++ended;
    pullsSeen_ = ended;
    if (pullsSeen_ >= settings_.pullsPerVariant)
        nextVariant();
}

void Run::nextVariant()
{
    phase_ = Phase::WaitingToProgram;
    if (++variant_ < static_cast<int>(variants_.size()))
        return;
    if (++round_ < settings_.rounds) {
        startRound();
        return;
    }
    variant_ = static_cast<int>(variants_.size()) - 1;
    restoring_ = true;
}

void Run::programmed(bool ok)
{
    if (phase_ != Phase::Programming)
        return;
    if (restoring_) {
        baseRestored_ = ok;
        if (ok)
            unit_ = base_;
        phase_ = ok && !aborted_ ? Phase::Done : Phase::Failed;
        return;
    }
    baseRestored_ = false;
    if (!ok) {
        // Nobody knows what a failed Program left in the unit: the base goes back in.
        aborted_ = true;
        restoring_ = true;
        phase_ = Phase::WaitingToProgram;
        return;
    }
    unit_ = imageToProgram();
    logs_.push_back({round_ + 1, variant_ + 1, unit_, {}});
    pullsSeen_ = 0;
    shutSinceProgram_ = false;
    phase_ = Phase::Recording;
    if (stopAfterProgram_)
        stop();
}

void Run::stop()
{
    if (phase_ == Phase::Done || phase_ == Phase::Failed)
        return;
    if (phase_ == Phase::Programming && !restoring_) {
        stopAfterProgram_ = true;
        return;
    }
    if (baseRestored_) {
        phase_ = Phase::Done;
        return;
    }
    restoring_ = true;
    if (phase_ != Phase::Programming)
        phase_ = Phase::WaitingToProgram;
}

Analysis Run::analysis() const
{
    AnalysisSettings s;
    s.row = settings_.plan.row;
    s.ceiling = settings_.plan.ceiling;
    s.stepDeg = settings_.plan.stepDeg;
    s.thresholdPercent = settings_.thresholdPercent;
    std::vector<RecordedLog> logs;
    for (const VariantLog &l : logs_)
        logs.push_back(l.log);
    return finder::analyse(logs, base_, s);
}

}  // namespace vorn::finder
