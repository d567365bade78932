// What the window side (logview/ui) and the advance finder window in the log module share.
// Like LogViewApi.h, everything here is abstract or inline: the module reaches the window
// only through these virtual calls, never through the notifier's signals or the host
// roles' symbols, which live in the program.
#pragma once

#include "host/Roles.h"
#include "datalog/LogFormat.h"
#include "params/ParameterImage.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QWidget;

namespace vorn::logview {

// What the window does for the finder, through its host roles.
class FinderHost {
public:
    virtual ~FinderHost() = default;
    // The window's image: the base map every variant is made from.
    virtual const ParameterImage &image() const = 0;
    // Programs `image` through the window's Program path; false when nothing was started
    // (no port, a replay or another transfer under way). The end comes as programFinished.
    virtual bool program(const ParameterImage &image) = 0;
    // Makes `image` the window's image again without an undo step: the base map, after a
    // run that could not program it back, so that Device, Program puts it back.
    virtual void showImage(const ParameterImage &image) = 0;
    // Sets the advance of map row `row` to `advance` in the columns that have one, on the
    // window's image as it is now (typing taken), as one undo step; nothing is programmed.
    virtual void applyProposal(int row, const std::vector<std::optional<int>> &advance) = 0;
    // Asks for a parameter file (the ceiling map) with the window's Open dialog; empty on cancel.
    virtual QString chooseParameterFile() = 0;
};

// The finder's window, seen from outside.
class AdvanceFinder {
public:
    virtual ~AdvanceFinder() = default;

    virtual QWidget *widget() = 0;
    virtual void setLanguage(int language) = 0;
    // Every decoded monitor reply while the unit is live (never a replayed row), as a log
    // would hold it, with the map cell it ran in.
    virtual void liveRow(const LogRow &row) = 0;
    // The Program the finder asked for ended.
    virtual void programFinished(bool ok) = 0;
    // The port closed or the unit may be another one: a run under way stops.
    virtual void unitLost() = 0;

    // What a test or a screenshot drives and reads. The settings of the dialog:
    struct Settings {
        int row = -1;          // map row, -1 for the full-throttle row
        int stepDeg = 2;
        int variants = 3;      // 3 or 5
        int pulls = 3;         // per variant
        int rounds = 1;        // 2: a second round around the first one's answer
        int ceilingOffsetDeg = 4;
        QString ceilingFile;   // used instead of the offset when not empty
    };
    virtual void setSettings(const Settings &settings) = 0;
    virtual Settings settings() const = 0;
    // Start and Stop as their buttons; start is false (and says why) when the run cannot begin.
    virtual bool start() = 0;
    virtual void stop() = 0;
    virtual bool running() const = 0;
    // The large progress line as shown ("variant 2 of 3, pull 1 of 3") and the line under it.
    virtual QString progressText() const = 0;
    virtual QString stateText() const = 0;
    // Analyses rows as if a run had recorded them (the rows of each variant, in order),
    // and shows the result; a picture for the manual needs no ride.
    virtual void showResultOf(const std::vector<std::vector<LogRow>> &variantRows) = 0;
    virtual bool hasProposal() const = 0;
    // Apply, as its button: the proposal as one undo step.
    virtual bool apply() = 0;
};

}  // namespace vorn::logview

// The module's entry point: the finder as a top-level window with `parent` (the host's
// dialog parent); nullptr when the module was built without Qt Charts.
#define VORN4_FINDER_ENTRY "vorn4CreateAdvanceFinder"
using Vorn4CreateAdvanceFinder = vorn::logview::AdvanceFinder *(*)(vorn::host::Shell &shell,
                                                                    vorn::logview::FinderHost &host,
                                                                    QWidget *parent);
