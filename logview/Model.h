// What the workbench's views show: the logs (each with its markers and its shift on the
// shared time axis), the channels graphed, the time span in view and the two cursors.
#pragma once

#include "datalog/ChartRules.h"
#include "datalog/LogAnalysis.h"
#include "datalog/LogTune.h"
#include "datalog/Markers.h"

#include <QColor>
#include <QList>
#include <QString>

#include <algorithm>
#include <optional>
#include <vector>

namespace vorn::logview {

struct ShownLog {
    QString path;
    LogTable table;
    std::vector<LogMarker> markers;
    double offset = 0;   // added to the log's own seconds on the shared axis
    std::optional<MapSpeeds> mapSpeeds;   // of the tune the log started on
};

// One colour per overlaid log, as every chart of the program gives its lines.
inline QColor logColour(int index)
{
    return QColor::fromRgb(static_cast<QRgb>(lineColour(index)));
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
