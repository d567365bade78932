// What the window side (the loader in logview/ui) and the log workbench module share. The
// module is loaded on first use, so the program starts and stays as small as before until
// someone analyses a log. Everything here is abstract or inline: calls across go through
// virtual functions, never through symbols one side would have to export.
#pragma once

#include "host/Roles.h"
#include "datalog/LogFormat.h"
#include "datalog/Pulls.h"

#include <QColor>
#include <QList>
#include <QPair>
#include <QPointF>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace vorn::logview {

// Where pulls start in a log, in the log's seconds (the pull finder lives in the core; the
// window hands it in so the module does not carry a copy of its own). Empty: the workbench
// offers alignment by a time offset only.
using PullStarts = std::function<std::vector<double>(const std::vector<LogRow> &rows)>;

inline constexpr int kMaxLogs = 4;

// The workbench window, seen from outside.
class Workbench {
public:
    virtual ~Workbench() = default;

    virtual QWidget *widget() = 0;
    virtual void setLanguage(int language) = 0;

    // Asks for a log (through the host's file dialog) when none is open yet.
    virtual void askForLogIfEmpty() = 0;
    // Opens a log in place of all shown; false (and a box) when it cannot be read.
    virtual bool openLog(const QString &path) = 0;
    // Adds a log to those overlaid (at most kMaxLogs); false when it cannot be read or is one too many.
    virtual bool addLog(const QString &path) = 0;
    virtual int logCount() const = 0;
    // A log's shift on the shared time axis, in seconds.
    virtual void setLogOffset(int log, double seconds) = 0;
    virtual double logOffset(int log) const = 0;
    // Shifts every further log so that its first pull starts where the first log's does;
    // false when pulls cannot be found (no finder, or a log without a pull).
    virtual bool alignByPullStart() = 0;
    // Reads the markers beside every shown log again (one was added while recording).
    virtual void reloadMarkers() = 0;

    // The channels graphed, one plot each, top to bottom (LogChannel values).
    virtual void setChannels(const QList<int> &channels) = 0;
    virtual QList<int> channels() const = 0;
    // The time axis shown and the two cursors, in seconds on the shared axis.
    virtual void setView(double from, double to) = 0;
    virtual double viewFrom() const = 0;
    virtual double viewTo() const = 0;
    virtual void setCursors(double a, double b) = 0;
    virtual double cursor(int which) const = 0;
    // The cursor readout as shown: one row per channel and log, cells as their texts
    // (channel, at A, at B, minimum, maximum, mean), and the line with the time between.
    virtual QList<QStringList> readout() const = 0;
    virtual QString cursorSpan() const = 0;

    // The graphs' drawing and the pixel column of a time on it.
    virtual QWidget *plotView() = 0;
    virtual int plotX(double time) const = 0;

    // 0 graphs, 1 scatter, 2 histogram.
    virtual void showPage(int page) = 0;
    // The histogram's drawing and where a cell of it is (row in the advance map's order).
    virtual QWidget *histogramView() = 0;
    virtual QRect histogramCell(int mapRow, int mapColumn) const = 0;
    // The histogram's column captions as drawn: the speeds of the map the log ran on.
    virtual QStringList histogramColumns() const = 0;
    // The view in use as a picture, and the rows between the cursors, written to a file.
    virtual bool exportPng(const QString &path) = 0;
    virtual bool exportCsv(const QString &path) = 0;
};

// ---- pull comparison ----

// A full-throttle pull found in a log, with the tune kept beside the log for its time.
struct FoundPull {
    QString log;            // the log's path
    double startS = 0;      // the log's own seconds
    double endS = 0;
    int rpmFrom = 0;
    int rpmTo = 0;
    QString tuneHash;       // empty when the log keeps no tune for it
    QString tuneFile;
};

// What the charts show: one pull, or the pulls of one tune averaged.
struct PullRun {
    QString name;                 // log, time and tune, or the tune and how many pulls
    QString tuneHash;
    std::vector<int> pulls;       // into PullReport::pulls
    std::vector<PullBand> bands;
};

struct PullReport {
    std::vector<FoundPull> pulls;    // every pull of the logs, log by log, in time order
    QStringList unreadable;          // "log: why" for every log that could not be read
    std::vector<PullRun> runs;       // the chosen pulls, the first one the reference
    std::vector<BandComparison> comparison;   // every later run against the first, per band
    // The tunes of the runs, the first the reference, and every parameter that differs
    // between the reference and another of them: its name, then its value in each tune.
    QStringList tunes;
    QList<QStringList> differences;
};

// Reads the logs and compares the pulls chosen (indexes into the pulls found, all of them
// when nothing is given); `average` merges the pulls of one tune into one run. Texts in
// `language`. Lives in the program, like the pull finder, and is handed to the module.
using ComparePulls = std::function<PullReport(const QStringList &logs, const std::optional<std::vector<int>> &chosen,
                                              bool average, int language)>;

// The pull comparison window, seen from outside.
class PullComparison {
public:
    virtual ~PullComparison() = default;

    virtual QWidget *widget() = 0;
    virtual void setLanguage(int language) = 0;
    // Asks for a log (through the host's file dialog) when none is shown yet.
    virtual void askForLogIfEmpty() = 0;
    // Adds a log's pulls (every new pull chosen); false when the log cannot be read.
    virtual bool addLog(const QString &path) = 0;
    // Adds several logs at once, a bar showing how far the reading is and a button to stop
    // it (the logs read until then stay); how many were added.
    virtual int addLogs(const QStringList &paths) = 0;
    virtual QStringList logs() const = 0;
    // Which pulls are charted (indexes into report().pulls) and whether a tune's pulls are averaged.
    virtual void choosePulls(const std::vector<int> &pulls) = 0;
    virtual void setAverage(bool average) = 0;
    virtual const PullReport &report() const = 0;
    // A chart's lines as drawn (0 torque, 1 power): each line's name and its points (speed, value).
    virtual QList<QPair<QString, QList<QPointF>>> chartLines(int chart) const = 0;
    // The colour of each of a chart's lines, in the order of chartLines.
    virtual QList<QColor> lineColours(int chart) const = 0;
    // The legend below the charts as it reads, one entry per line.
    virtual QStringList legend() const = 0;
};

}  // namespace vorn::logview

// The module's entry points. The workbench as a top-level window with `parent` (the
// host's dialog parent), asking and telling through the host's shell.
#define VORN4_LOGVIEW_ENTRY "vorn4CreateLogWorkbench"
using Vorn4CreateLogWorkbench = vorn::logview::Workbench *(*)(vorn::host::Shell &shell,
                                                               const vorn::logview::PullStarts &pullStarts,
                                                               QWidget *parent);
// The pull comparison as a top-level window with `parent`; nullptr when the module was built
// without Qt Charts.
#define VORN4_PULLS_ENTRY "vorn4CreatePullComparison"
using Vorn4CreatePullComparison = vorn::logview::PullComparison *(*)(vorn::host::Shell &shell,
                                                                      const vorn::logview::ComparePulls &compare,
                                                                      QWidget *parent);
