// The log workbench seen from the main window: Log, "Analyse log..." and "Compare pulls..."
// load the workbench module on first use, and the marker key adds a marker to the log
// being recorded. Only this small part is in the program itself; the workbench, the pull
// comparison and their views stay in the module.
#pragma once

#include "host/Roles.h"
#include "host/ModuleLoader.h"
#include "logview/LogViewApi.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QInputDialog;

namespace vorn::logview {

class LogViewUi : public QObject {
    Q_OBJECT
public:
    // `recordingLog` gives the path of the log being recorded, empty while none is.
    // `moduleDirs` are the folders the module is looked for in, first found wins.
    LogViewUi(host::Shell &shell, host::HostNotifier &notifier, std::function<QString()> recordingLog,
              QStringList moduleDirs, PullStarts pullStarts = {});
    ~LogViewUi() override;

    // The folders a program looks in: beside it, its lib folders, the build's and the installed one.
    static QStringList defaultModuleDirs();

    // Opens the workbench (loading the module the first time); nullptr when the module is missing.
    Workbench *openWorkbench();
    Workbench *workbench() const { return workbench_; }
    // Opens the pull comparison (loading the module the first time); nullptr when missing.
    PullComparison *openPullComparison();
    PullComparison *pullComparison() const { return pulls_; }
    // Marks the moment now in the log being recorded, asking for a note; false when no log is
    // being recorded, the note was cancelled or the marker could not be written.
    bool addMarker();

    QAction *analyseAction() const { return analyse_; }
    QAction *markerAction() const { return marker_; }
    QAction *comparePullsAction() const { return comparePulls_; }

private:
    void applyTexts(int language);
    void updateMarkerAction();
    static void showWindow(QWidget *w);

    host::Shell &shell_;
    std::function<QString()> recordingLog_;
    host::ModuleLoader module_;
    PullStarts pullStarts_;
    QAction *analyse_ = nullptr;
    QAction *marker_ = nullptr;
    QAction *comparePulls_ = nullptr;
    Workbench *workbench_ = nullptr;
    QPointer<QWidget> window_;   // the workbench's window, which the host's window parents
    PullComparison *pulls_ = nullptr;
    QPointer<QWidget> pullsWindow_;
    int language_ = 0;
};

}  // namespace vorn::logview
