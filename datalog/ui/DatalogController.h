// Recording, replay and time in cell: the Log menu, the status-bar part and the wiring of
// the window's monitor to the core (datalog/). Made with the window; the replay panel, the
// overlays and the file dialogs are made on first use. It sees the window only through
// the host roles it is given.
#pragma once

#include "host/Roles.h"
#include "datalog/LogFormat.h"
#include "datalog/LogPlayer.h"
#include "datalog/TimeInCell.h"
#include "host/HostNotifier.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <optional>

#include <vector>

class QAction;
class QFileDialog;
class QLabel;
class QTimer;
class ReplayPanel;
class TimeInCellOverlay;

class DatalogController : public QObject {
    Q_OBJECT
public:
    // Reads the image only (to find the servo point and the cell of rows without one).
    DatalogController(vorn::host::Shell &shell, const vorn::host::ImageEditing &editing, vorn::host::LiveView &view,
                      vorn::host::HostNotifier &notifier);
    ~DatalogController() override;

    // ---- recording ----
    // Until stopped, even after the writer has failed (the stop then tidies up).
    bool recording() const { return recording_; }
    QString recordingPath() const { return writer_.path(); }
    // A new log in logFolder(), named by the local date and time it starts.
    void startRecording();
    // Completes the log and keeps that recording's time in cell beside it.
    void stopRecording();
    // [LOG] Folder of the settings when the user picked one, else logs/ in the settings folder.
    QString logFolder() const;
    void setLogFolder(const QString &folder);

    // ---- time in cell ----
    // The counts on screen: the run's, or the replayed log's during a replay.
    const vorn::TimeInCell &shownCounts() const { return replaying() ? replayCounts_ : runCounts_; }
    void resetTimeInCell();
    void showTimeInCell(bool on);
    // Takes the counts kept beside a log (or counted from its rows) as the run's, after
    // asking when the run has counts of its own that this would replace.
    bool loadTimeInCellOf(const QString &logPath);

    // ---- replay ----
    bool replaying() const { return replaying_; }
    bool startReplay(const QString &path);
    void leaveReplay();
    void togglePlay();
    void seek(int index);
    void setSpeed(int factor);
    const vorn::LogPlayer &player() const { return player_; }
    ReplayPanel *panel() const;

    // The window closes: the log being recorded is completed.
    void windowClosing();

private:
    void onLiveValues();
    // Keeps the window's image beside the log being recorded as the tune in force from the
    // log time `fromMs` on, so that every pull in the log knows the map that made it.
    void keepTune(std::int64_t fromMs);
    void onTransferFinished(vorn::host::HostNotifier::Transfer kind, bool ok);
    void applyTexts(int language);
    void updateStatePart();
    void updateOverlays();
    void followPrinting();
    QFileDialog *logDialog();
    void chooseAndReplay();
    void chooseAndLoadTimeInCell();
    void chooseFolder();
    void recordingFailed();
    QString logReason(const vorn::LogContents &log) const;
    QString writerReason() const;

    void enterReplay();
    void playStep();
    // Shows a row of the log; `count` adds it to the replay's time in cell.
    void showRow(std::size_t index, bool count);
    void showPlayerPosition();

    vorn::host::Shell &shell_;
    const vorn::host::ImageEditing &editing_;
    vorn::host::LiveView &view_;
    int language_ = 0;
    QAction *record_ = nullptr;
    QAction *replay_ = nullptr;
    QAction *timeInCell_ = nullptr;
    QAction *reset_ = nullptr;
    QAction *load_ = nullptr;
    QAction *folder_ = nullptr;
    QLabel *statePart_ = nullptr;
    QTimer *recClock_ = nullptr;
    QElapsedTimer clock_;            // the run's steady clock, for rows and counts
    std::int64_t recordingStartMs_ = 0;
    std::optional<std::int64_t> firstRowMs_;   // the run's clock at the log's first row (its time 0)
    vorn::LogWriter writer_;
    bool recording_ = false;
    vorn::TimeInCell runCounts_;
    vorn::TimeInCell recordingCounts_;   // of the log being recorded, kept beside it
    vorn::TimeInCell replayCounts_;
    std::vector<QPointer<TimeInCellOverlay>> overlays_;
    QElapsedTimer overlayClock_;   // since the layers were last repainted
    bool overlayPending_ = false;
    QPointer<QFileDialog> logDialog_;
    QPointer<QFileDialog> folderDialog_;

    vorn::LogPlayer player_;
    bool replaying_ = false;
    QPointer<ReplayPanel> panel_;
    QTimer *replayTimer_ = nullptr;
    QElapsedTimer wall_;
};
