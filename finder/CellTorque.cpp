// The per-cell torque fit over the pulls of all logs.
#include "CellTorque.h"

#include "LeastSquares.h"
#include "datalog/Pulls.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace vorn::finder {

namespace {

constexpr int kTurns = 4;   // of the shape and the factors
// A reading misfits by more than this many times the readings' spread (from their median
// misfit, and never less than a few rpm) is left out.
constexpr double kOutlierSpread = 5;
constexpr double kLeastSpreadRpm = 5;
constexpr int kShapeDegree = 4;   // S is a quartic in the speed
constexpr double kMinCrossedShare = 0.5; // of the cell, for a pull to count there
constexpr double kPieceRpm = 1000;  // about how long a piece of a cell with factors of its own is

struct Reading {
    double t = 0, n = 0;
    int column = -1, advance = 0;
};

struct PullReadings {
    std::vector<Reading> readings;
    std::map<int, int> advanceOf;   // column -> the advance the unit applied there
};

// The speeds of each cell as the unit's active-cell search divides them: a cell starts at
// its own speed point (the first) or above the middle between two points (rounded as the
// unit compares, in hundreds), and the last one runs to the limiter.
void cellEdges(const ParameterImage &image, std::array<int, kMapSize> &from, std::array<int, kMapSize> &to)
{
    auto point = [&](int c) { return static_cast<int>(image[Off::RpmAdv + c]); };
    for (int c = 0; c < kMapSize; ++c) {
        from[static_cast<std::size_t>(c)] = c == 0 ? point(0) * 100 : ((point(c - 1) + point(c)) / 2 + 1) * 100;
        const int limiter = image[Off::Limiter2] * 100;
        to[static_cast<std::size_t>(c)] = c + 1 < kMapSize ? ((point(c) + point(c + 1)) / 2 + 1) * 100
                                          : limiter > 0   ? limiter
                                                          : point(c) * 100 + 500;
        if (to[static_cast<std::size_t>(c)] <= from[static_cast<std::size_t>(c)])
            from[static_cast<std::size_t>(c)] = to[static_cast<std::size_t>(c)] = 0;
    }
}

// The most frequent value; a tie goes to the one more frequent in `overall`, then to the
// lower. A pull that meets a cell only at its edge can show the neighbour's advance in one
// of two readings there (the unit judged its own, a few rpm different, speed), and that
// reading must not give the pull's whole stretch of the cell the wrong advance.
int mostFrequent(const std::vector<int> &values, const std::vector<int> &overall = {})
{
    std::map<int, int> count, overallCount;
    for (int v : values)
        ++count[v];
    for (int v : overall)
        ++overallCount[v];
    int best = 0, most = 0, mostOverall = -1;
    for (const auto &[v, c] : count)
        if (c > most || (c == most && overallCount[v] > mostOverall)) {
            best = v;
            most = c;
            mostOverall = overallCount[v];
        }
    return best;
}

class Shape {
public:
    Shape(double low, double high) : centre_((low + high) / 2), half_(std::max(1.0, (high - low) / 2)) {}
    // The j-th term of the integral of S from the centre to n.
    double term(int j, double n) const
    {
        const double x = (n - centre_) / half_;
        return half_ * std::pow(x, j + 1) / (j + 1);
    }
    double integral(double a, double b) const
    {
        double s = 0;
        for (int j = 0; j <= kShapeDegree; ++j)
            s += beta[static_cast<std::size_t>(j)] * (term(j, b) - term(j, a));
        return s;
    }
    double value(double n) const
    {
        const double x = (n - centre_) / half_;
        double s = 0;
        for (int j = kShapeDegree; j >= 0; --j)
            s = s * x + beta[static_cast<std::size_t>(j)];
        return s;
    }
    std::array<double, kShapeDegree + 1> beta{};

private:
    double centre_, half_;
};

}  // namespace

CellTorques measureCells(const std::vector<RecordedLog> &logs, const ParameterImage &image, int row,
                         int thresholdPercent)
{
    CellTorques out;
    cellEdges(image, out.rpmFrom, out.rpmTo);

    // The readings of every pull, with the cell of this row each one was in.
    std::vector<PullReadings> pulls;
    std::array<double, kMapSize> lowest, highest;
    lowest.fill(1e9);
    highest.fill(-1e9);
    PullSettings settings;
    settings.thresholdPercent = thresholdPercent;
    for (const RecordedLog &log : logs) {
        std::map<int, std::vector<int>> logAdvances;
        for (const LogRow &r : log.rows)
            if (r.mapRow == row && r.mapColumn)
                logAdvances[*r.mapColumn].push_back(r.advance[0]);
        for (const Pull &pull : findPulls(log.rows, settings)) {
            ++out.pulls;
            PullReadings p;
            std::map<int, std::vector<int>> advances;
            for (std::size_t i = pull.firstRow; i <= pull.lastRow; ++i) {
                const LogRow &r = log.rows[i];
                // Times from the pull's start: the fit holds a start per pull, and a start
                // far from zero would cost the solution digits it needs.
                const double t = (r.timeMs - log.rows[pull.firstRow].timeMs) / 1000.0;
                Reading reading{t, double(r.rpm), -1, r.advance[0]};
                if (r.mapRow == row && r.mapColumn) {
                    reading.column = *r.mapColumn;
                    advances[reading.column].push_back(reading.advance);
                    const auto c = static_cast<std::size_t>(reading.column);
                    lowest[c] = std::min(lowest[c], reading.n);
                    highest[c] = std::max(highest[c], reading.n);
                }
                p.readings.push_back(reading);
            }
            if (advances.empty())
                continue;
            // The cell a pull began in says nothing of its advance: there the butterfly opens
            // and the rider takes up the drive, and the pull's start is fitted from those same
            // readings. Measured anyway, its torque can be tens of per cent off, and through the
            // curvature it shares with the cell above it pulls that cell's top by a degree.
            int startColumn = -1;
            for (const Reading &r : p.readings)
                if (r.column >= 0) {
                    startColumn = r.column;
                    ++out.pullsBegunIn[static_cast<std::size_t>(startColumn)];
                    break;
                }
            for (int c = 0; c < kMapSize; ++c) {
                if (c == startColumn)
                    continue;
                const auto own = advances.find(c);
                const auto logs = logAdvances.find(c);
                if (own != advances.end())
                    p.advanceOf[c] = mostFrequent(own->second, logs != logAdvances.end() ? logs->second
                                                                                          : std::vector<int>{});
                else if (logs != logAdvances.end())   // crossed between two readings
                    p.advanceOf[c] = mostFrequent(logs->second);
            }
            pulls.push_back(std::move(p));
        }
    }
    if (pulls.empty())
        return out;

    // Where one cell ends and the next begins: between the highest reading of the one and
    // the lowest of the next; the unit's own edge when it lies there.
    std::vector<int> columns;
    for (int c = 0; c < kMapSize; ++c)
        if (highest[static_cast<std::size_t>(c)] >= lowest[static_cast<std::size_t>(c)])
            columns.push_back(c);
    std::vector<double> edges;   // between columns[j] and columns[j + 1]
    for (std::size_t j = 0; j + 1 < columns.size(); ++j) {
        const double below = highest[static_cast<std::size_t>(columns[j])];
        const double above = lowest[static_cast<std::size_t>(columns[j + 1])];
        const double unit = out.rpmFrom[static_cast<std::size_t>(columns[j + 1])];
        edges.push_back(unit > below && unit <= above ? unit : (below + above) / 2);
    }
    // A long cell (the top one runs from 9,600 rpm to the limiter) is cut into pieces of
    // about 1,000 rpm, each with factors of its own: over a long stretch the torques of two
    // advances do not keep one ratio (the road's share grows with the speed), and one factor
    // for all of it misfits the pulls there by tens of rpm.
    std::vector<double> cuts;       // every piece's upper end but the last's, ascending
    std::vector<int> pieceColumn;
    std::vector<double> pieceFrom, pieceTo;
    for (std::size_t j = 0; j < columns.size(); ++j) {
        const double lo = j == 0 ? lowest[static_cast<std::size_t>(columns[0])] : edges[j - 1];
        const double hi = j + 1 < columns.size() ? edges[j] : highest[static_cast<std::size_t>(columns[j])];
        const int pieces = std::max(1, static_cast<int>(std::lround((hi - lo) / kPieceRpm)));
        for (int q = 0; q < pieces; ++q) {
            pieceColumn.push_back(columns[j]);
            pieceFrom.push_back(lo + q * (hi - lo) / pieces);
            pieceTo.push_back(lo + (q + 1) * (hi - lo) / pieces);
            if (q + 1 < pieces || j + 1 < columns.size())
                cuts.push_back(pieceTo.back());
        }
    }
    auto pieceAt = [&](double n) {
        return static_cast<int>(std::upper_bound(cuts.begin(), cuts.end(), n) - cuts.begin());
    };

    double low = 1e9, high = -1e9;
    for (const PullReadings &p : pulls)
        for (const Reading &r : p.readings) {
            low = std::min(low, r.n);
            high = std::max(high, r.n);
        }
    Shape shape(low, high);
    const int pullCount = static_cast<int>(pulls.size());

    // One factor per piece and advance. A cell a pull crossed without an advance known gets
    // factors of its own that say nothing about any advance.
    std::map<std::pair<int, int>, int> groupOf;   // (piece, advance) -> unknown
    int unknowns = pullCount;
    std::vector<std::vector<int>> pullGroup(pulls.size());   // piece -> unknown
    for (int p = 0; p < pullCount; ++p)
        for (std::size_t piece = 0; piece < pieceColumn.size(); ++piece) {
            const auto &advanceOf = pulls[static_cast<std::size_t>(p)].advanceOf;
            const auto a = advanceOf.find(pieceColumn[piece]);
            if (a == advanceOf.end()) {
                pullGroup[static_cast<std::size_t>(p)].push_back(unknowns++);
                continue;
            }
            const auto [it, added] = groupOf.try_emplace({static_cast<int>(piece), a->second}, unknowns);
            if (added)
                ++unknowns;
            pullGroup[static_cast<std::size_t>(p)].push_back(it->second);
        }

    // Each pull's path from one reading to the next, cut where the cells change.
    struct Segment {
        std::size_t reading;   // the reading it ends at
        int group;
        double from, to;
    };
    std::vector<std::vector<Segment>> segments(pulls.size());
    std::vector<std::map<int, double>> crossed(pulls.size());   // column -> rpm crossed
    for (int p = 0; p < pullCount; ++p) {
        const auto &readings = pulls[static_cast<std::size_t>(p)].readings;
        for (std::size_t i = 1; i < readings.size(); ++i) {
            const double a = readings[i - 1].n, b = readings[i].n;
            const double lo = std::min(a, b), hi = std::max(a, b);
            std::vector<double> path{lo};
            for (double e : cuts)
                if (e > lo && e < hi)
                    path.push_back(e);
            path.push_back(hi);
            for (std::size_t k = 0; k + 1 < path.size(); ++k) {
                const int piece = pieceAt((path[k] + path[k + 1]) / 2);
                const int group = pullGroup[static_cast<std::size_t>(p)][static_cast<std::size_t>(piece)];
                if (b >= a)
                    segments[static_cast<std::size_t>(p)].push_back({i, group, path[k], path[k + 1]});
                else
                    segments[static_cast<std::size_t>(p)].push_back({i, group, path[k + 1], path[k]});
                crossed[static_cast<std::size_t>(p)][pieceColumn[static_cast<std::size_t>(piece)]] +=
                    (b >= a ? 1 : -1) * (path[k + 1] - path[k]);
            }
        }
    }

    // The shape and the factors in turns: the shape with the factors held (at first all
    // alike: every pull on one smooth curve), then the factors with the shape held. Fitted
    // once without the factors, the shape bends to follow the steps between cells and keeps
    // those bends inside every cell, where they misfit the top cell by tens of rpm.
    std::vector<double> factor(static_cast<std::size_t>(unknowns), 1.0);
    std::vector<std::vector<double>> weights(pulls.size());
    std::vector<std::vector<bool>> kept(pulls.size());
    for (int p = 0; p < pullCount; ++p) {
        weights[static_cast<std::size_t>(p)].assign(pulls[static_cast<std::size_t>(p)].readings.size(), 1.0);
        kept[static_cast<std::size_t>(p)].assign(pulls[static_cast<std::size_t>(p)].readings.size(), true);
    }
    LeastSquares fit(unknowns);
    for (int turn = 0; turn < kTurns; ++turn) {
        LeastSquares shapeFit(pullCount + kShapeDegree + 1);
        for (int p = 0; p < pullCount; ++p) {
            const auto &readings = pulls[static_cast<std::size_t>(p)].readings;
            const auto &path = segments[static_cast<std::size_t>(p)];
            std::vector<double> sums(static_cast<std::size_t>(kShapeDegree + 1), 0.0);
            std::size_t next = 0;
            for (std::size_t i = 0; i < readings.size(); ++i) {
                for (; next < path.size() && path[next].reading == i; ++next) {
                    const double k = factor[static_cast<std::size_t>(path[next].group)];
                    for (int j = 0; j <= kShapeDegree; ++j)
                        sums[static_cast<std::size_t>(j)] += k * (shape.term(j, path[next].to) - shape.term(j, path[next].from));
                }
                std::vector<std::pair<int, double>> terms{{p, 1.0}};
                for (int j = 0; j <= kShapeDegree; ++j)
                    terms.emplace_back(pullCount + j, sums[static_cast<std::size_t>(j)]);
                shapeFit.add(terms, readings[i].t, weights[static_cast<std::size_t>(p)][i]);
            }
        }
        if (!shapeFit.solve())
            return out;
        for (int j = 0; j <= kShapeDegree; ++j)
            shape.beta[static_cast<std::size_t>(j)] = shapeFit.solution()[static_cast<std::size_t>(pullCount + j)];

        // Misfits in rpm: a second of time is 1 / (S k) rpm at a reading.
        fit = LeastSquares(unknowns);
        for (int p = 0; p < pullCount; ++p) {
            const auto &readings = pulls[static_cast<std::size_t>(p)].readings;
            const auto &path = segments[static_cast<std::size_t>(p)];
            std::map<int, double> sums;   // unknown -> integral of S so far
            std::size_t next = 0;
            for (std::size_t i = 0; i < readings.size(); ++i) {
                double k = 1;
                for (; next < path.size() && path[next].reading == i; ++next) {
                    sums[path[next].group] += shape.integral(path[next].from, path[next].to);
                    k = factor[static_cast<std::size_t>(path[next].group)];
                }
                const double g = std::max(shape.value(readings[i].n) * k, 1e-6);
                double &w = weights[static_cast<std::size_t>(p)][i];
                w = kept[static_cast<std::size_t>(p)][i] ? 1 / (g * g) : 0;
                std::vector<std::pair<int, double>> terms{{p, 1.0}};
                for (const auto &[unknown, s] : sums)
                    terms.emplace_back(unknown, s);
                fit.add(terms, readings[i].t, w);
            }
        }
        if (!fit.solve())
            return out;
        factor = fit.solution();
        for (int p = 0; p < pullCount; ++p)
            factor[static_cast<std::size_t>(p)] = 1;

        // A reply the unit answered late (the host was busy) reads a speed from later than
        // its time: such a reading misfits far beyond the others and is left out of the next
        // turn, so that it does not bend its cell's factor.
        const std::vector<double> misfit = fit.weightedResiduals();
        std::vector<double> sizes;
        for (double e : misfit)
            if (e != 0)
                sizes.push_back(std::abs(e));
        if (sizes.empty())
            continue;
        std::nth_element(sizes.begin(), sizes.begin() + static_cast<std::ptrdiff_t>(sizes.size() / 2), sizes.end());
        const double limit = kOutlierSpread * std::max(kLeastSpreadRpm, 1.4826 * sizes[sizes.size() / 2]);
        std::size_t at = 0;
        for (int p = 0; p < pullCount; ++p)
            for (std::size_t i = 0; i < pulls[static_cast<std::size_t>(p)].readings.size(); ++i, ++at)
                kept[static_cast<std::size_t>(p)][i] = std::abs(misfit[at]) <= limit;
    }
    const int dof = std::max(1, fit.observations() - unknowns);
    const double variance = fit.residual() / dof;

    // A cell's factor at an advance: its pieces' factors weighed by the time each takes.
    std::map<std::pair<int, int>, std::vector<std::pair<int, int>>> piecesOf;   // (column, advance) -> (piece, unknown)
    for (const auto &[key, unknown] : groupOf)
        piecesOf[{pieceColumn[static_cast<std::size_t>(key.first)], key.second}].emplace_back(key.first, unknown);
    std::map<int, int> pieceCount;
    for (int c : pieceColumn)
        ++pieceCount[c];
    for (const auto &[key, pieces] : piecesOf) {
        const auto [column, advance] = key;
        if (static_cast<int>(pieces.size()) < pieceCount[column])
            continue;   // no advance is judged on part of its cell
        double k = 0, time = 0, var = 0;
        std::vector<double> share;
        for (const auto &[piece, unknown] : pieces) {
            const auto q = static_cast<std::size_t>(piece);
            share.push_back(shape.integral(pieceFrom[q], pieceTo[q]));
            time += share.back();
        }
        bool positive = true;
        for (std::size_t q = 0; q < pieces.size(); ++q) {
            const double kq = fit.solution()[static_cast<std::size_t>(pieces[q].second)];
            positive = positive && kq > 0;
            k += kq * share[q] / time;
            var += (share[q] / time) * (share[q] / time) * variance * fit.inverseDiagonal(pieces[q].second);
        }
        if (!positive || !(k > 0))
            continue;
        CellAdvanceTorque m;
        m.column = column;
        m.advance = advance;
        m.torque = 1 / k;
        m.sd = std::sqrt(std::max(0.0, var)) / (k * k);
        const auto c = static_cast<std::size_t>(column);
        const double width = out.rpmTo[c] > out.rpmFrom[c] ? out.rpmTo[c] - out.rpmFrom[c] : highest[c] - lowest[c];
        for (int p = 0; p < pullCount; ++p) {
            const auto &advanceOf = pulls[static_cast<std::size_t>(p)].advanceOf;
            const auto a = advanceOf.find(column);
            const auto x = crossed[static_cast<std::size_t>(p)].find(column);
            if (a != advanceOf.end() && a->second == advance && x != crossed[static_cast<std::size_t>(p)].end()
                && x->second >= kMinCrossedShare * width)
                ++m.pulls;
        }
        out.measured.push_back(m);
    }
    return out;
}

}  // namespace vorn::finder
