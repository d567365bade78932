#include "datalog/LogAnalysis.h"

#include <algorithm>

namespace vorn {

namespace {

constexpr const char *kKeys[kLogChannelCount] = {
    "rpm", "throttle_percent", "throttle_mv", "supply_mv", "advance_1", "advance_2", "advance_3", "advance_4",
    "servo_desired_mv", "servo_measured_mv", "blocking", "shift_light", "clutch_master", "map_column", "map_row"};

double rowSeconds(const LogTable &log, std::size_t i)
{
    return i + 1 < log.size() ? std::min(log.t[i + 1] - log.t[i], kMaxRowSeconds) : 0.0;
}

bool inCell(const LogRow &r, int mapRow, int mapColumn)
{
    return r.mapRow && r.mapColumn && *r.mapRow == mapRow && *r.mapColumn == mapColumn;
}

}  // namespace

const char *logChannelKey(int channel)
{
    return channel >= 0 && channel < kLogChannelCount ? kKeys[channel] : "";
}

bool logChannelHolds(int channel)
{
    return channel >= ChBlocking;
}

double logChannelValue(const LogRow &r, int channel)
{
    switch (channel) {
    case ChRpm: return r.rpm;
    case ChThrottlePercent: return r.throttlePercent;
    case ChThrottleMv: return r.throttleMv;
    case ChSupplyMv: return r.supplyMv;
    case ChAdvance1:
    case ChAdvance2:
    case ChAdvance3:
    case ChAdvance4: return r.advance[static_cast<std::size_t>(channel - ChAdvance1)];
    case ChServoDesiredMv: return r.servoDesiredMv;
    case ChServoMeasuredMv: return r.servoMeasuredMv;
    case ChBlocking: return r.blocking ? 1 : 0;
    case ChShiftLight: return r.shiftLight ? 1 : 0;
    case ChClutchMaster: return r.clutchMaster ? 1 : 0;
    case ChMapColumn: return r.mapColumn ? *r.mapColumn : kNoValue;
    case ChMapRow: return r.mapRow ? *r.mapRow : kNoValue;
    default: return kNoValue;
    }
}

LogTable logTableOf(std::vector<LogRow> rows)
{
    LogTable log;
    log.rows = std::move(rows);
    // The reader reserves for the shortest rows; a table stays open as long as it is looked
    // at, so what was reserved beyond its rows is given back.
    if (log.rows.capacity() > log.rows.size() + log.rows.size() / 4)
        log.rows.shrink_to_fit();
    const std::size_t n = log.rows.size();
    log.t.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        log.t[i] = static_cast<double>(log.rows[i].timeMs) / 1000.0;
    for (int c = 0; c < kLogChannelCount; ++c) {
        auto &col = log.v[static_cast<std::size_t>(c)];
        col.resize(n);
        double lo = kNoValue, hi = kNoValue;
        for (std::size_t i = 0; i < n; ++i) {
            const double x = logChannelValue(log.rows[i], c);
            col[i] = x;
            if (std::isnan(x))
                continue;
            lo = std::isnan(lo) ? x : std::min(lo, x);
            hi = std::isnan(hi) ? x : std::max(hi, x);
        }
        log.low[static_cast<std::size_t>(c)] = std::isnan(lo) ? 0.0 : lo;
        log.high[static_cast<std::size_t>(c)] = std::isnan(hi) ? 1.0 : hi;
        auto &blocks = log.blocks[static_cast<std::size_t>(c)];
        blocks.resize((n + LogTable::kBlockRows - 1) / LogTable::kBlockRows);
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            RowBlock &block = blocks[b];
            const std::size_t first = b * LogTable::kBlockRows, last = std::min(n, first + LogTable::kBlockRows);
            block.lowAt = block.highAt = static_cast<std::uint32_t>(first);
            for (std::size_t i = first; i < last; ++i) {
                if (std::isnan(col[i]))
                    block.gap = true;
                else if (std::isnan(col[block.lowAt]) || col[i] < col[block.lowAt])
                    block.lowAt = static_cast<std::uint32_t>(i);
                if (!std::isnan(col[i]) && (std::isnan(col[block.highAt]) || col[i] > col[block.highAt]))
                    block.highAt = static_cast<std::uint32_t>(i);
            }
        }
    }
    return log;
}

std::size_t rowAtOrAfter(const LogTable &log, double time)
{
    return static_cast<std::size_t>(std::lower_bound(log.t.begin(), log.t.end(), time) - log.t.begin());
}

double valueAt(const LogTable &log, int channel, double time)
{
    if (log.empty() || channel < 0 || channel >= kLogChannelCount || time < log.t.front() || time > log.t.back())
        return kNoValue;
    const auto &v = log.v[static_cast<std::size_t>(channel)];
    const std::size_t i = rowAtOrAfter(log, time);
    if (log.t[i] == time || i == 0)
        return v[i];
    const std::size_t p = i - 1;
    if (logChannelHolds(channel))
        return v[p];
    const double span = log.t[i] - log.t[p];
    if (span <= 0)
        return v[i];
    return v[p] + (v[i] - v[p]) * (time - log.t[p]) / span;
}

RangeStats rangeStats(const LogTable &log, int channel, double from, double to)
{
    RangeStats s;
    if (channel < 0 || channel >= kLogChannelCount)
        return s;
    const double lo = std::min(from, to), hi = std::max(from, to);
    const auto &v = log.v[static_cast<std::size_t>(channel)];
    double sum = 0;
    int valued = 0;
    auto take = [&](double x) {
        if (std::isnan(x))
            return;
        s.min = valued ? std::min(s.min, x) : x;
        s.max = valued ? std::max(s.max, x) : x;
        sum += x;
        ++valued;
    };
    // The values at the cursors are what the readout shows beside these figures; between two
    // rows they are interpolated and may lie beyond every row between the cursors. A cursor on
    // a row takes that row's value, so the row is not counted twice.
    take(valueAt(log, channel, lo));
    for (std::size_t i = rowAtOrAfter(log, lo); i < log.size() && log.t[i] <= hi; ++i) {
        ++s.count;
        if (log.t[i] > lo && log.t[i] < hi)
            take(v[i]);
    }
    if (hi > lo)
        take(valueAt(log, channel, hi));
    if (valued)
        s.mean = sum / valued;
    return s;
}

std::vector<PlotPoint> decimate(const LogTable &log, int channel, double from, double to, int columns)
{
    std::vector<PlotPoint> out;
    if (log.empty() || columns <= 0 || !(to > from) || channel < 0 || channel >= kLogChannelCount)
        return out;
    const auto &v = log.v[static_cast<std::size_t>(channel)];
    std::size_t i0 = rowAtOrAfter(log, from);
    if (i0 > 0)
        --i0;
    std::size_t i1 = rowAtOrAfter(log, to);
    if (i1 < log.size())
        ++i1;
    const double scale = columns / (to - from);
    auto x = [&](std::size_t i) { return (log.t[i] - from) * scale; };
    auto pushBreak = [&] {
        if (!out.empty() && !std::isnan(out.back().y))
            out.push_back({out.back().x, kNoValue});
    };
    if (i1 - i0 <= static_cast<std::size_t>(2 * columns + 2)) {
        out.reserve(i1 - i0);
        for (std::size_t i = i0; i < i1; ++i) {
            if (std::isnan(v[i]))
                pushBreak();
            else
                out.push_back({x(i), v[i]});
        }
        return out;
    }
    out.reserve(static_cast<std::size_t>(2 * columns + 4));
    long column = -2;   // the column being gathered
    std::size_t lowAt = 0, highAt = 0;
    bool gathering = false;
    auto flush = [&] {
        if (!gathering)
            return;
        const std::size_t a = std::min(lowAt, highAt), b = std::max(lowAt, highAt);
        out.push_back({x(a), v[a]});
        if (b != a)
            out.push_back({x(b), v[b]});
        gathering = false;
    };
    auto columnOf = [&](std::size_t i) {
        const double xi = x(i);
        return xi < 0 ? -1L : (xi >= columns ? long(columns) : static_cast<long>(xi));
    };
    const auto &blocks = log.blocks[static_cast<std::size_t>(channel)];
    const bool summarised = blocks.size() * LogTable::kBlockRows >= log.size();
    for (std::size_t i = i0; i < i1; ++i) {
        const long c = columnOf(i);
        // A whole block of rows without a gap in one column: its lowest and highest rows
        // stand for it, as they would have come out of walking it row by row.
        if (summarised && i % LogTable::kBlockRows == 0 && i + LogTable::kBlockRows <= i1 && c >= 0 && c < columns) {
            const RowBlock &block = blocks[i / LogTable::kBlockRows];
            if (!block.gap && columnOf(i + LogTable::kBlockRows - 1) == c) {
                if (c != column) {
                    flush();
                    column = c;
                }
                if (!gathering) {
                    lowAt = block.lowAt;
                    highAt = block.highAt;
                    gathering = true;
                } else {
                    if (v[block.lowAt] < v[lowAt])
                        lowAt = block.lowAt;
                    if (v[block.highAt] > v[highAt])
                        highAt = block.highAt;
                }
                i += LogTable::kBlockRows - 1;
                continue;
            }
        }
        if (std::isnan(v[i])) {
            flush();
            pushBreak();
            continue;
        }
        if (c != column || c < 0 || c >= columns) {
            flush();
            column = c;
        }
        if (!gathering) {
            lowAt = highAt = i;
            gathering = true;
        } else if (v[i] < v[lowAt]) {
            lowAt = i;
        } else if (v[i] > v[highAt]) {
            highAt = i;
        }
    }
    flush();
    return out;
}

bool RowFilter::accepts(const LogTable &log, std::size_t row) const
{
    if (channel < 0 || channel >= kLogChannelCount)
        return true;
    const double x = log.v[static_cast<std::size_t>(channel)][row];
    if (std::isnan(x))
        return false;
    switch (compare) {
    case Compare::AtLeast: return x >= value;
    case Compare::AtMost: return x <= value;
    case Compare::Above: return x > value;
    case Compare::Below: return x < value;
    case Compare::Equal: return x == value;
    }
    return false;
}

CellHistogram cellHistogram(const LogTable &log, int channel, const RowFilter &filter)
{
    CellHistogram h;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const LogRow &r = log.rows[i];
        if (!r.mapRow || !r.mapColumn || *r.mapRow < 0 || *r.mapRow >= kMapSize || *r.mapColumn < 0
            || *r.mapColumn >= kMapSize || !filter.accepts(log, i))
            continue;
        CellStats &c = h.cells[static_cast<std::size_t>(*r.mapRow)][static_cast<std::size_t>(*r.mapColumn)];
        const double dt = rowSeconds(log, i);
        c.seconds += dt;
        h.seconds += dt;
        const double x = channel >= 0 && channel < kLogChannelCount ? log.v[static_cast<std::size_t>(channel)][i]
                                                                      : kNoValue;
        if (!std::isnan(x)) {
            c.min = c.valued ? std::min(c.min, x) : x;
            c.max = c.valued ? std::max(c.max, x) : x;
            c.sum += x;
            ++c.valued;
        }
        ++c.samples;
    }
    return h;
}

std::vector<Period> cellPeriods(const LogTable &log, int mapRow, int mapColumn, const RowFilter &filter)
{
    std::vector<Period> periods;
    bool open = false;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const bool here = inCell(log.rows[i], mapRow, mapColumn) && filter.accepts(log, i);
        if (!here) {
            open = false;
            continue;
        }
        const double end = log.t[i] + rowSeconds(log, i);
        // A silence longer than a row may last (a pause) ends the stretch as well.
        if (open && log.t[i] <= periods.back().to + 1e-9)
            periods.back().to = end;
        else
            periods.push_back({log.t[i], end});
        open = true;
    }
    return periods;
}

QByteArray logRowsCsv(const LogTable &log, double from, double to)
{
    const double lo = std::min(from, to), hi = std::max(from, to);
    QByteArray text = QByteArray(kLogHeader) + '\n';
    for (std::size_t i = rowAtOrAfter(log, lo); i < log.size() && log.t[i] <= hi; ++i)
        text += formatLogRow(log.rows[i]) + '\n';
    return text;
}

}  // namespace vorn
