// What the workbench's views show: the logs (each with its markers and its shift on the
// shared time axis), the channels graphed, the time span in view and the two cursors.
#pragma once

#include "datalog/LogAnalysis.h"
#include "datalog/Markers.h"

#include <QColor>
#include <QList>
#include <QString>

#include <algorithm>
#include <vector>

namespace vorn::logview {

struct ShownLog {
    QString path;
    LogTable table;
    std::vector<LogMarker> markers;
    double offset = 0;   // added to the log's own seconds on the shared axis
};

// One colour per overlaid log, told apart also in print and by most colour-blind eyes.
inline QColor logColour(int index)
{
    static const QColor colours[] = {QColor(0, 84, 166), QColor(204, 51, 17), QColor(0, 140, 80), QColor(150, 80, 190)};
    return colours[static_cast<std::size_t>(index) % 4];
}

struct Model {
    std::vector<ShownLog> logs;
    QList<int> channels{ChRpm, ChThrottlePercent, ChAdvance1};
    double from = 0, to = 1;
    double cursorA = 0, cursorB = 0;
    int language = 0;

    // The shared axis spans every log as shifted.
    double start() const
    {
        double s = logs.empty() ? 0.0 : logs.front().table.start() + logs.front().offset;
        for (const ShownLog &l : logs)
            s = std::min(s, l.table.start() + l.offset);
        return s;
    }
    double end() const
    {
        double e = logs.empty() ? 1.0 : logs.front().table.end() + logs.front().offset;
        for (const ShownLog &l : logs)
            e = std::max(e, l.table.end() + l.offset);
        return e;
    }
};

}  // namespace vorn::logview
