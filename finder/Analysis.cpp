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

// `advancesInLogs`: the most advances any cell of the row was ridden at; a cell with fewer
// than three of its own then lacks pulls, not variants.
void decide(CellResult &cell, const AnalysisSettings &settings, int advancesInLogs)
{
    std::vector<FitPoint> points;
    int seen = 0;
    for (const Tried &t : cell.tried) {
        ++seen;
        if (t.pulls > 0)
            points.push_back({double(t.advance), t.torqueRel, t.torqueSd});
    }
    if (seen == 0) {
        cell.why = Undecided::NotInLogs;
        return;
    }
    if (static_cast<int>(points.size()) < kMinAdvances) {
        cell.why = seen >= kMinAdvances || advancesInLogs >= kMinAdvances ? Undecided::FewPulls : Undecided::FewAdvances;
        return;
    }
    const double step = std::max(1, settings.stepDeg);
    const AdvanceFit fit = fitAdvance(points, 2 * step);
    if (!fit.ok) {
        cell.why = Undecided::NoPeak;
        return;
    }
    cell.why = Undecided::None;
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
        decide(cell, settings, advancesInLogs);
        out.cells.push_back(cell);
    }
    return out;
}

}  // namespace vorn::finder
