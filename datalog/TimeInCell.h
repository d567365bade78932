// Time in cell: how long the engine spent in each advance-map cell and at each servo point,
// from the active-cell search of successive monitor replies (live or replayed).
#pragma once

#include "datalog/LogFormat.h"
#include "link/LiveValues.h"
#include "params/ParameterImage.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vorn {

class TimeInCell {
public:
    // A reply stands for the time until the next one. A longer silence than this (a
    // transfer pauses the monitor, the unit was unplugged) counts only this much.
    static constexpr std::int64_t kMaxStepMs = 1000;
    // The largest total a loaded file may hold (about 292 000 years): counting on from it
    // cannot run over.
    static constexpr std::int64_t kMaxLoadedTotalMs = std::int64_t(1) << 53;

    // The cell found for a reply at `timeMs` (any steady clock). The time since the
    // previous sample goes to the previous sample's cell and servo point.
    void addSample(std::int64_t timeMs, const LiveCell &cell);
    // Forgets the previous sample, so the next one starts a new stretch (a seek in replay).
    void breakSequence() { havePrevious_ = false; }
    void reset() { *this = TimeInCell(); }

    std::int64_t cellMs(int row, int column) const { return cells_[row][column]; }
    std::int64_t servoMs(int point) const { return servo_[point]; }
    // All counted time, below the map included.
    std::int64_t totalMs() const { return totalMs_; }
    // A cell's share of the counted time, 0..1 (0 while nothing is counted).
    double cellShare(int row, int column) const;
    double servoShare(int point) const;
    std::int64_t largestCellMs() const;

    // Text form kept beside a log; parse gives nothing for anything it cannot read whole.
    QByteArray serialize() const;
    static std::optional<TimeInCell> parse(const QByteArray &text);

    // Equal counts (where the counting stands is not compared).
    friend bool operator==(const TimeInCell &a, const TimeInCell &b)
    {
        return a.cells_ == b.cells_ && a.servo_ == b.servo_ && a.totalMs_ == b.totalMs_;
    }

private:
    std::array<std::array<std::int64_t, kMapSize>, kMapSize> cells_{};   // [row][column]
    std::array<std::int64_t, kMapSize> servo_{};
    std::int64_t totalMs_ = 0;
    bool havePrevious_ = false;
    std::int64_t previousMs_ = 0;
    LiveCell previous_;
};

// The cell a logged row was in. The logged map cell wins over the search (the log may come
// from another tune); the servo point, and the map cell of a row without one, come from
// the search over `image` with the row's speed and throttle.
LiveCell liveCellOf(const LogRow &row, const ParameterImage &image, bool tpsMapOn);

// The counts of the first `count` rows of a log.
TimeInCell timeInCellOfRows(const std::vector<LogRow> &rows, std::size_t count, const ParameterImage &image,
                            bool tpsMapOn);

// Where the counts belonging to a log are kept: "ride.csv" -> "ride.cells".
QString timeInCellPathFor(const QString &logPath);
bool saveTimeInCell(const TimeInCell &counts, const QString &logPath);
std::optional<TimeInCell> loadTimeInCell(const QString &logPath);

}  // namespace vorn
