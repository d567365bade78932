// Markers: moments of a log a rider or tuner pointed at ("second gear pull", "misfire?"),
// kept in a small CSV file beside the log so the log itself stays as it was written.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace vorn {

struct LogMarker {
    double timeS = 0;   // on the log's own time axis (its time_s column)
    QString note;       // one line, may be empty

    friend bool operator==(const LogMarker &, const LogMarker &) = default;
};

inline constexpr char kMarkersHeader[] = "time_s,note";

// Where the markers of a log are kept: "ride.csv" -> "ride.markers.csv".
QString markersPathFor(const QString &logPath);

// The file's text: the header, then one line per marker in the order given. A note with a
// comma or a quote is quoted; line breaks in a note become spaces.
QByteArray formatMarkers(const std::vector<LogMarker> &markers);
// Reads what formatMarkers writes; lines it cannot read are left out. Sorted by time.
std::vector<LogMarker> parseMarkers(const QByteArray &text);

std::vector<LogMarker> loadMarkers(const QString &logPath);
bool saveMarkers(const QString &logPath, const std::vector<LogMarker> &markers);
// Adds one marker at the end of the file beside the log (creating it with its header), so
// a marker set while recording never rewrites the ones before it.
bool appendMarker(const QString &logPath, const LogMarker &marker);

// Where a log being recorded stands now, on its own time axis: the time of its last row
// plus the time since the file was last written (each row is flushed as it comes). Zero for
// a log that has no row yet; nothing when the file cannot be read.
std::optional<double> recordingTimeNow(const QString &logPath, const QDateTime &now);

}  // namespace vorn
