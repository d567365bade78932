// The logs the workbench overlays, on one time axis: reading one with what belongs beside
// it, shifting them against the first, the values at the cursors and the rows between them.
// Plain code (no widgets), so the window only shows what this works out.
#pragma once

#include "datalog/LogAnalysis.h"
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "datalog/Markers.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
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

// Seconds on the time axis as the workbench writes them.
QString secondsText(double s);

// "A at .., B at ..: .. between them".
QString cursorSpanText(double a, double b, int language);

struct LogSet {
    std::vector<ShownLog> logs;

    // The shared axis spans every log as shifted.
    double start() const;
    double end() const;

    // A log with its markers and the map speeds of the tune it started on; nothing, and the
    // message to show in `failure`, when it cannot be read or holds no rows.
    static std::optional<ShownLog> read(const QString &path, int language, QString &failure);

    // Shifts every log after the first so that its first pull starts where the first log's
    // does. False, with the message in `failure` (empty when there is nothing to align),
    // when a log holds no pull; then no log moves.
    bool alignByPullStart(const std::function<std::vector<double>(const std::vector<LogRow> &)> &pullStarts,
                          int language, QString &failure);

    void reloadMarkers();

    // One row per log and channel: name, value at A, at B, minimum, maximum and mean between.
    QList<QStringList> readout(const QList<int> &channels, double cursorA, double cursorB, int language) const;

    // The first log's rows between the cursors, on its own time axis as it was written.
    bool exportCsv(const QString &path, double cursorA, double cursorB) const;
};

}  // namespace vorn::logview
