// What the workbench's views show: the logs (each with its markers and its shift on the
// shared time axis), the channels graphed, the time span in view and the two cursors.
#pragma once

#include "datalog/ChartRules.h"
#include "logview/LogSet.h"

#include <QColor>
#include <QList>
#include <QString>

namespace vorn::logview {

// One colour per overlaid log, as every chart of the program gives its lines.
inline QColor logColour(int index)
{
    return QColor::fromRgb(static_cast<QRgb>(lineColour(index)));
}

struct Model : LogSet {
    QList<int> channels{ChRpm, ChThrottlePercent, ChAdvance1};
    double from = 0, to = 1;
    double cursorA = 0, cursorB = 0;
    int language = 0;
};

}  // namespace vorn::logview
