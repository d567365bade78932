// The two-sided parabolas of a row, their ratio and curvature shared, searched on grids.
#include "AdvanceFit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorn::finder {

namespace {

constexpr double kGridDeg = 0.05;
constexpr int kRatioSteps = 8;            // r = 2^(j/4), j = -8 .. 8
constexpr double kSymmetryWeight = 1.0;   // misfit units per (log2 r)²
constexpr double kIntervalMisfit = 4.0;   // about 19 chances in 20
constexpr int kMaxTurns = 30;
// No cell's curvature below this share of the whole row's: a cell and its neighbours whose
// torque hardly falls off may not turn the cell's parabola flat.
constexpr double kLeastCurvatureShare = 0.25;
// How far the two-sided parabola may miss a point, as a share of the torque the point lost
// against the cell's best point. A parabola is the shape of the top, not of the flanks, and
// a cell's measure (the time to cross it, over speeds whose best advance differs) is not the
// torque at one speed. A point far down a flank is measured to a few thousandths (its pulls
// are slow, so many readings cross the cell), so by its measurement alone it outweighs the
// points near the top, and where the flank bends away from the parabola it drags the top by
// half a degree or more. Near the top the share adds next to nothing.
constexpr double kShapeError = 0.03;
// A point that misfits its cell fitted without it by more than this many of its standard
// errors was spoiled (a pull given the wrong advance, or answered late all through one cell)
// and is left out: the top of a cell must not hang on one such point. Sound points misfit by
// up to about six on the recorded runs; a point from a pull given the wrong advance by
// forty and more.
constexpr double kSpoiledMisfit = 10.0;
constexpr int kMaxSpoiled = 2;            // points left out of a row, at most
constexpr double kLeftOutFactor = 1000;   // on the error of a point left out
constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct Cell {
    std::vector<FitPoint> points;
    double from = 0, to = 0;   // where its top is searched
    int steps = 0;
};

struct Shape {
    double misfit = kInfinity;
    double top = 0;
};

double loss(double d, double r)
{
    return d < 0 ? d * d : r * d * d;
}

// The cell's misfit with its top at x0 and curvature c: the top by weighted least squares.
Shape shapeAt(const Cell &cell, double x0, double r, double c)
{
    double sw = 0, sy = 0;
    for (const FitPoint &p : cell.points) {
        const double w = 1 / (p.sd * p.sd);
        sw += w;
        sy += w * (p.torque + c * loss(p.advance - x0, r));
    }
    Shape s;
    s.top = sy / sw;
    s.misfit = 0;
    for (const FitPoint &p : cell.points) {
        const double e = p.torque + c * loss(p.advance - x0, r) - s.top;
        s.misfit += e * e / (p.sd * p.sd);
    }
    return s;
}

// The x0 of the grid with the least misfit at curvature c.
double bestTop(const Cell &cell, double r, double c)
{
    double best = cell.from, least = kInfinity;
    for (int i = 0; i <= cell.steps; ++i) {
        const double x0 = cell.from + i * kGridDeg;
        const double m = shapeAt(cell, x0, r, c).misfit;
        if (m < least) {
            least = m;
            best = x0;
        }
    }
    return best;
}

// The curvature of each cell by least squares over it and its neighbours in the row, with
// the tops at x0 (each cell's top eliminated); false when the torque falls off nowhere.
bool pooledCurvature(const std::vector<Cell> &cells, const std::vector<double> &x0, double r, std::vector<double> &c)
{
    // Each cell's sums: w q², -w y q (q and y from the cell's weighted means).
    std::vector<double> qq(cells.size(), 0.0), yq(cells.size(), 0.0);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        double sw = 0, sq = 0, sy = 0;
        for (const FitPoint &p : cells[i].points) {
            const double w = 1 / (p.sd * p.sd);
            sw += w;
            sq += w * loss(p.advance - x0[i], r);
            sy += w * p.torque;
        }
        for (const FitPoint &p : cells[i].points) {
            const double w = 1 / (p.sd * p.sd);
            const double q = loss(p.advance - x0[i], r) - sq / sw, y = p.torque - sy / sw;
            qq[i] += w * q * q;
            yq[i] -= w * y * q;   // torque - mean = -c q
        }
    }
    double allQq = 0, allYq = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        allQq += qq[i];
        allYq += yq[i];
    }
    if (!(allQq > 0 && allYq > 0))
        return false;
    const double row = allYq / allQq;
    c.resize(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        double sumQq = 0, sumYq = 0;
        for (std::size_t j = i > 0 ? i - 1 : 0; j <= i + 1 && j < cells.size(); ++j) {
            sumQq += qq[j];
            sumYq += yq[j];
        }
        const double own = sumQq > 0 ? sumYq / sumQq : row;
        c[i] = std::max(own, kLeastCurvatureShare * row);
    }
    return true;
}

struct RowAtRatio {
    double misfit = kInfinity;   // of the whole row
    std::vector<double> x0, c;
};

// The row's tops and curvatures at the ratio r: from each cell's own parabola, then in turns
// the curvature over the row and each cell's top, until the tops stay.
RowAtRatio fitAtRatio(const std::vector<Cell> &cells, double r)
{
    RowAtRatio row;
    row.x0.resize(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        double mean = 0;
        for (const FitPoint &p : cells[i].points)
            mean += p.advance / cells[i].points.size();
        row.x0[i] = mean;
    }
    for (int turn = 0; turn < kMaxTurns; ++turn) {
        if (!pooledCurvature(cells, row.x0, r, row.c))
            return RowAtRatio{};
        bool moved = false;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const double x0 = bestTop(cells[i], r, row.c[i]);
            moved = moved || std::abs(x0 - row.x0[i]) > kGridDeg / 2;
            row.x0[i] = x0;
        }
        if (!moved && turn > 0)
            break;
    }
    if (!pooledCurvature(cells, row.x0, r, row.c))
        return RowAtRatio{};
    row.misfit = 0;
    for (std::size_t i = 0; i < cells.size(); ++i)
        row.misfit += shapeAt(cells[i], row.x0[i], r, row.c[i]).misfit;
    return row;
}

// The row at every ratio of the grid; the index of the one chosen (the least misfit, a
// steeper side costing a little), -1 when none fits.
int fitRatios(const std::vector<Cell> &cells, std::vector<RowAtRatio> &rows, double &leastMisfit)
{
    rows.clear();
    leastMisfit = kInfinity;
    double least = kInfinity;
    int chosen = -1;
    for (int j = -kRatioSteps; j <= kRatioSteps; ++j) {
        rows.push_back(fitAtRatio(cells, std::exp2(j / 4.0)));
        const double cost = rows.back().misfit + kSymmetryWeight * (j / 4.0) * (j / 4.0);
        leastMisfit = std::min(leastMisfit, rows.back().misfit);
        if (cost < least) {
            least = cost;
            chosen = j + kRatioSteps;
        }
    }
    return chosen;
}

// Leaves out the point that misfits worst, when it misfits beyond belief: its error is made
// so large that it no longer pulls. True when one was left out. Each point is judged against
// its cell fitted without it (the row's ratio and the cell's curvature kept): a spoiled point
// near the top drags the top to itself and would hardly misfit a fit that includes it.
bool leaveOutWorstPoint(std::vector<Cell> &cells, const RowAtRatio &row, double r)
{
    double worst = kSpoiledMisfit;
    FitPoint *spoiled = nullptr;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (cells[k].points.size() < 4)
            continue;   // three points and a shared curvature leave nothing to judge one by
        for (std::size_t i = 0; i < cells[k].points.size(); ++i) {
            Cell without = cells[k];
            without.points.erase(without.points.begin() + static_cast<std::ptrdiff_t>(i));
            const double x0 = bestTop(without, r, row.c[k]);
            const double top = shapeAt(without, x0, r, row.c[k]).top;
            FitPoint &p = cells[k].points[i];
            const double misfit = std::abs(p.torque + row.c[k] * loss(p.advance - x0, r) - top) / p.sd;
            if (misfit > worst) {
                worst = misfit;
                spoiled = &p;
            }
        }
    }
    if (spoiled)
        spoiled->sd *= kLeftOutFactor;
    return spoiled != nullptr;
}

}  // namespace

std::vector<AdvanceFit> fitRow(const std::vector<std::vector<FitPoint>> &input, double reach)
{
    std::vector<AdvanceFit> out(input.size());
    std::vector<Cell> cells;
    std::vector<std::size_t> index;   // cells[k] is input[index[k]]
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (input[i].size() < 3)
            continue;
        Cell cell;
        cell.points = input[i];
        // A point measured exactly would weigh without end: no error is taken below 0.01 %
        // of the torque.
        double lowest = kInfinity, highest = -kInfinity, most = -kInfinity;
        for (const FitPoint &p : cell.points)
            most = std::max(most, p.torque);
        for (FitPoint &p : cell.points) {
            p.sd = std::max(p.sd, 1e-4 * std::abs(p.torque));
            p.sd = std::hypot(p.sd, kShapeError * (most - p.torque));
            lowest = std::min(lowest, p.advance);
            highest = std::max(highest, p.advance);
        }
        cell.from = lowest - reach;
        cell.to = highest + reach;
        cell.steps = static_cast<int>(std::lround((cell.to - cell.from) / kGridDeg));
        cells.push_back(cell);
        index.push_back(i);
    }
    if (cells.empty())
        return out;

    std::vector<RowAtRatio> rows;
    double leastMisfit = kInfinity;
    int chosen = -1;
    for (int spoiled = 0;; ++spoiled) {
        chosen = fitRatios(cells, rows, leastMisfit);
        if (chosen < 0)
            return out;
        if (spoiled == kMaxSpoiled || !leaveOutWorstPoint(cells, rows[static_cast<std::size_t>(chosen)],
                                                          std::exp2((chosen - kRatioSteps) / 4.0)))
            break;
    }
    const RowAtRatio &best = rows[static_cast<std::size_t>(chosen)];
    const double r = std::exp2((chosen - kRatioSteps) / 4.0);
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const Cell &cell = cells[k];
        AdvanceFit &fit = out[index[k]];
        fit.ok = true;
        fit.best = best.x0[k];
        fit.retardLoss = best.c[k];
        fit.overAdvanceLoss = r * best.c[k];
        fit.peak = shapeAt(cell, fit.best, r, best.c[k]).top;
        // The interval: every top this cell allows at any ratio the row allows.
        std::vector<double> profile(static_cast<std::size_t>(cell.steps + 1), kInfinity);
        for (std::size_t j = 0; j < rows.size(); ++j) {
            if (!(rows[j].misfit <= leastMisfit + kIntervalMisfit))
                continue;
            const double rj = std::exp2((static_cast<int>(j) - kRatioSteps) / 4.0);
            for (int i = 0; i <= cell.steps; ++i) {
                const double m = shapeAt(cell, cell.from + i * kGridDeg, rj, rows[j].c[k]).misfit;
                profile[static_cast<std::size_t>(i)] = std::min(profile[static_cast<std::size_t>(i)], m);
            }
        }
        const double bound = *std::min_element(profile.begin(), profile.end()) + kIntervalMisfit;
        int first = cell.steps, last = 0;
        for (int i = 0; i <= cell.steps; ++i)
            if (profile[static_cast<std::size_t>(i)] <= bound) {
                first = std::min(first, i);
                last = std::max(last, i);
            }
        fit.low = std::min(fit.best, cell.from + first * kGridDeg);
        fit.high = std::max(fit.best, cell.from + last * kGridDeg);
        fit.openBelow = first == 0;
        fit.openAbove = last == cell.steps;
    }
    return out;
}

}  // namespace vorn::finder
