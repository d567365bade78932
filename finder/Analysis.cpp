// The cells of one row: the torque at each advance tried, the fit, the best and the proposal.
#include "AdvanceFinder.h"

#include "AdvanceFit.h"
#include "CellTorque.h"
#include "maps/MapOperations.h"

#include <algorithm>
#include <cmath>

namespace vorn::finder {

namespace {

constexpr int kMinAdvances = 3;

// The points of a cell's fit: every advance that enough pulls crossed the cell at. Sets why
// the cell stays undecided when there are fewer than three; `advancesInLogs`: the most
// advances any cell of the row was ridden at, so a cell with fewer than three of its own
// lacks pulls, not variants.
std::vector<FitPoint> pointsOf(CellResult &cell, int advancesInLogs, int pullsBegunIn)
{
    std::vector<FitPoint> points;
    for (const Tried &t : cell.tried)
        if (t.pulls > 0)
            points.push_back({double(t.advance), t.torqueRel, t.torqueSd});
    const int seen = static_cast<int>(cell.tried.size());
    if (seen == 0)
        cell.why = pullsBegunIn > 0 ? Undecided::PullsBeganThere : Undecided::NotInLogs;
    else if (static_cast<int>(points.size()) < kMinAdvances)
        cell.why = seen >= kMinAdvances || advancesInLogs >= kMinAdvances ? Undecided::FewPulls : Undecided::FewAdvances;
    else
        cell.why = Undecided::None;
    return points;
}

void decide(CellResult &cell, const AdvanceFit &fit, const std::vector<FitPoint> &points, double step)
{
    if (!fit.ok) {
        cell.why = Undecided::NoPeak;
        return;
    }
    cell.bestAdvance = fit.best;
    cell.intervalLow = fit.low;
    cell.intervalHigh = fit.high;
    cell.peakTorque = fit.peak;
    cell.retardLoss = fit.retardLoss;
    cell.overAdvanceLoss = fit.overAdvanceLoss;
    const auto [lo, hi] = std::minmax_element(points.begin(), points.end(),
                                              [](const FitPoint &a, const FitPoint &b) { return a.advance < b.advance; });
    cell.bracketed = !fit.openBelow && !fit.openAbove && lo->advance < fit.best && fit.best < hi->advance;
    // Whole degrees, at most a step beyond what was tried, never above the ceiling.
    int proposed = static_cast<int>(std::lround(fit.best));
    const int farthestDown = static_cast<int>(lo->advance - step), farthestUp = static_cast<int>(hi->advance + step);
    if (proposed < farthestDown || proposed > farthestUp) {
        cell.heldToStep = true;
        proposed = std::clamp(proposed, farthestDown, farthestUp);
    }
    if (proposed > cell.ceiling) {
        cell.heldAtCeiling = true;
        proposed = cell.ceiling;
    }
    cell.proposed = std::clamp(proposed, maps::kAdvanceMin, maps::kAdvanceMax);
}

}  // namespace

double CellResult::fittedTorque(double advance) const
{
    if (!decided())
        return 0;
    const double d = advance - bestAdvance;
    return peakTorque - (d < 0 ? retardLoss : overAdvanceLoss) * d * d;
}

Analysis analyse(const std::vector<RecordedLog> &logs, const ParameterImage &base, const AnalysisSettings &settings)
{
    Analysis out;
    out.row = std::clamp(settings.row, 0, kMapSize - 1);
    const CellTorques measured = measureCells(logs, base, out.row, settings.thresholdPercent);
    out.pulls = measured.pulls;
    std::array<int, kMapSize> advances{};
    for (const CellAdvanceTorque &m : measured.measured)
        ++advances[static_cast<std::size_t>(m.column)];
    const int advancesInLogs = *std::max_element(advances.begin(), advances.end());
    for (int c = 0; c < kMapSize; ++c) {
        CellResult cell;
        cell.column = c;
        cell.rpm = base[Off::RpmAdv + c] * 100;
        cell.rpmFrom = measured.rpmFrom[static_cast<std::size_t>(c)];
        cell.rpmTo = measured.rpmTo[static_cast<std::size_t>(c)];
        cell.baseAdvance = base[Off::Advance + 10 * out.row + c];
        cell.ceiling = settings.ceiling.at(base, out.row, c);
        double top = 0;
        for (const CellAdvanceTorque &m : measured.measured)
            if (m.column == c && m.pulls > 0)
                top = std::max(top, m.torque);
        if (top <= 0)
            for (const CellAdvanceTorque &m : measured.measured)
                if (m.column == c)
                    top = std::max(top, m.torque);
        for (const CellAdvanceTorque &m : measured.measured)
            if (m.column == c)
                cell.tried.push_back({m.advance, m.torque / top, m.sd / top, m.pulls});
        out.cells.push_back(cell);
    }
    // Every cell with three advances or more is fitted with the others (see AdvanceFit.h).
    std::vector<std::vector<FitPoint>> row;
    for (CellResult &cell : out.cells)
        row.push_back(pointsOf(cell, advancesInLogs, measured.pullsBegunIn[static_cast<std::size_t>(cell.column)]));
    const double step = std::max(1, settings.stepDeg);
    const std::vector<AdvanceFit> fits = fitRow(row, 2 * step);
    for (std::size_t c = 0; c < row.size(); ++c)
        if (out.cells[c].why == Undecided::None)
            decide(out.cells[c], fits[c], row[c], step);
    return out;
}

}  // namespace vorn::finder
