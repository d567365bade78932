// What the window side (the loader in logview/ui) and the log workbench module share. The
// module is loaded on first use, so the program starts and stays as small as before until
// someone analyses a log. Everything here is abstract or inline: calls across go through
// virtual functions, never through symbols one side would have to export.
#pragma once

#include "datalog/LogFormat.h"

#include <QList>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace vorn::host {
class Shell;
}

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
    // The view in use as a picture, and the rows between the cursors, written to a file.
    virtual bool exportPng(const QString &path) = 0;
    virtual bool exportCsv(const QString &path) = 0;
};

}  // namespace vorn::logview

// The module's one entry point: the workbench as a top-level window with `parent` (the
// host's dialog parent), asking and telling through the host's shell.
#define VORN4_LOGVIEW_ENTRY "vorn4CreateLogWorkbench"
using Vorn4CreateLogWorkbench = vorn::logview::Workbench *(*)(vorn::host::Shell &shell,
                                                               const vorn::logview::PullStarts &pullStarts,
                                                               QWidget *parent);
