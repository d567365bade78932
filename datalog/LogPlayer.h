// Playing a loaded log against the wall clock: position, play/pause and speed.
#pragma once

#include "datalog/LogFormat.h"

#include <cstdint>
#include <vector>

namespace vorn {

class LogPlayer {
public:
    static constexpr int kSpeeds[] = {1, 4, 16};

    void load(std::vector<LogRow> rows);
    const std::vector<LogRow> &rows() const { return rows_; }
    bool empty() const { return rows_.empty(); }
    std::size_t size() const { return rows_.size(); }

    // The row on screen: the last one the log clock has passed.
    std::size_t position() const { return position_; }
    const LogRow &current() const { return rows_[position_]; }
    std::int64_t durationMs() const { return rows_.empty() ? 0 : rows_.back().timeMs; }

    bool playing() const { return playing_; }
    // Playing from the last row starts again at the first.
    void play();
    void pause() { playing_ = false; }
    int speed() const { return speed_; }
    void setSpeed(int factor) { speed_ = factor < 1 ? 1 : factor; }
    // Puts the row at `index` on screen; the log clock stands at its time.
    void seek(std::size_t index);

    // The rows [first, last) the log clock passed in `wallMs` of wall time at the current
    // speed; the row on screen is then last - 1. Reaching the last row pauses.
    struct Step {
        std::size_t first = 0, last = 0;
        bool empty() const { return first == last; }
    };
    Step advance(std::int64_t wallMs);

private:
    std::vector<LogRow> rows_;
    std::size_t position_ = 0;
    std::int64_t clockMs_ = 0;   // log time the clock stands at
    bool playing_ = false;
    int speed_ = 1;
};

}  // namespace vorn
