// The rules of the log workbench, without widgets: a log as columns of numbers, the values
// at a moment and between two, the points a graph draws for a pixel width, the advance-map
// cells a ride spent its time in, and the rows of a stretch as a log of their own.
#pragma once

#include "datalog/LogFormat.h"
#include "params/ParameterImage.h"

#include <QByteArray>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace vorn {

// The channels of a log row, in the order of the log's columns after time_s.
enum LogChannel : int {
    ChRpm, ChThrottlePercent, ChThrottleMv, ChSupplyMv, ChAdvance1, ChAdvance2, ChAdvance3, ChAdvance4,
    ChServoDesiredMv, ChServoMeasuredMv, ChBlocking, ChShiftLight, ChClutchMaster, ChMapColumn, ChMapRow,
    kLogChannelCount
};

inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// The channel's column name in the log header ("rpm", "throttle_percent", ...).
const char *logChannelKey(int channel);
// Flags and map cells keep their value until the next row; the others change smoothly.
bool logChannelHolds(int channel);
// The row's value of a channel; kNoValue for a map cell the row does not know.
double logChannelValue(const LogRow &row, int channel);

// A log as columns: seconds and every channel per row.
// Where the lowest and the highest value of a block of rows lie (the first of equal ones),
// and whether a row of the block has no value: a graph of a long log walks these instead
// of every row where a whole block falls into one pixel column.
struct RowBlock {
    std::uint32_t lowAt = 0, highAt = 0;
    bool gap = false;
};

struct LogTable {
    static constexpr std::size_t kBlockRows = 16;
    std::vector<LogRow> rows;
    std::vector<double> t;                                      // seconds
    std::array<std::vector<double>, kLogChannelCount> v;        // [channel][row]
    std::array<double, kLogChannelCount> low{}, high{};         // over the whole log
    std::array<std::vector<RowBlock>, kLogChannelCount> blocks; // [channel][row / kBlockRows]

    std::size_t size() const { return t.size(); }
    bool empty() const { return t.empty(); }
    double start() const { return t.empty() ? 0.0 : t.front(); }
    double end() const { return t.empty() ? 0.0 : t.back(); }
};
LogTable logTableOf(std::vector<LogRow> rows);

// The first row at or after `time` (size() when none).
std::size_t rowAtOrAfter(const LogTable &log, double time);

// A channel at a moment: between two rows a smooth channel is interpolated, a holding one
// keeps the earlier row's value; kNoValue before the first row and after the last.
double valueAt(const LogTable &log, int channel, double time);

// Between `from` and `to` (either order): how many rows lie there (both ends included), and
// the minimum, maximum and mean of the channel over the values at both ends (as valueAt
// gives them) and at the rows strictly between, those that have a value.
struct RangeStats {
    int count = 0;
    double min = kNoValue, max = kNoValue, mean = kNoValue;
};
RangeStats rangeStats(const LogTable &log, int channel, double from, double to);

// What a graph draws of a channel between `from` and `to` over `columns` pixel columns: x in
// columns from the left edge, y the channel's value, kNoValue y for a break in the line. With
// fewer rows than about two a column every row in view (and one each side) is a point;
// otherwise each column gives its lowest and highest row in the order they came, so a spike
// narrower than a pixel still shows. The cost follows the rows in view, not the log.
struct PlotPoint {
    double x = 0;
    double y = 0;
};
std::vector<PlotPoint> decimate(const LogTable &log, int channel, double from, double to, int columns);

// A condition on a row: channel compared with a number ("throttle_percent >= 90").
enum class Compare { AtLeast, AtMost, Above, Below, Equal };
struct RowFilter {
    int channel = -1;   // -1: every row
    Compare compare = Compare::AtLeast;
    double value = 0;
    bool accepts(const LogTable &log, std::size_t row) const;
};

// One advance-map cell of the histogram. A row stands for the time until the next row, at
// most one second (a longer silence is a pause, as in time in cell).
struct CellStats {
    double seconds = 0;
    int samples = 0;
    int valued = 0;   // samples with a value of the chosen channel
    double min = kNoValue, max = kNoValue, sum = 0;
    double mean() const { return valued ? sum / valued : kNoValue; }
};
struct CellHistogram {
    std::array<std::array<CellStats, kMapSize>, kMapSize> cells{};   // [throttle row][map column]
    double seconds = 0;   // of the rows counted in any cell
};
inline constexpr double kMaxRowSeconds = 1.0;
CellHistogram cellHistogram(const LogTable &log, int channel, const RowFilter &filter);

// The stretches of time spent in one cell (rows that pass the filter, one after another),
// each from its first row to the end of its last row's time.
struct Period {
    double from = 0, to = 0;
};
std::vector<Period> cellPeriods(const LogTable &log, int mapRow, int mapColumn, const RowFilter &filter);

// The rows from `from` to `to` (both included) as a log: the header, then each row as it was.
QByteArray logRowsCsv(const LogTable &log, double from, double to);

}  // namespace vorn
