// Recording, replay and time in cell in the main window: the Log menu, the status-bar part
// and the wiring of the window's monitor to the core (datalog/). Made with the window; the
// replay panel, the overlays and the file dialogs are made on first use.
#pragma once

#include "datalog/LogFormat.h"
#include "datalog/LogPlayer.h"
#include "datalog/TimeInCell.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPalette>
#include <QPointer>

#include <memory>
#include <vector>

class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QTimer;
class ReplayPanel;
class TFormHlav;
class TimeInCellOverlay;

class DatalogController : public QObject {
    Q_OBJECT
public:
    explicit DatalogController(TFormHlav *form);
    ~DatalogController() override;

    // ---- recording ----
    // Until stopped, even after the writer has failed (the stop then tidies up).
    bool recording() const { return recording_; }
    QString recordingPath() const { return writer_.path(); }
    // A new log in logFolder(), named by the local date and time it starts.
    void startRecording();
    // Completes the log and keeps the run's time in cell beside it.
    void stopRecording();
    // [LOG] Folder of the settings when the user picked one, else logs/ in the settings folder.
    QString logFolder() const;
    void setLogFolder(const QString &folder);

    // ---- time in cell ----
    // The counts on screen: the run's, or the replayed log's during a replay.
    const vorn::TimeInCell &shownCounts() const { return replaying() ? replayCounts_ : runCounts_; }
    void resetTimeInCell();
    void showTimeInCell(bool on);
    // Takes the counts kept beside a log (or counted from its rows) as the run's.
    bool loadTimeInCellOf(const QString &logPath);

    // ---- replay ----
    bool replaying() const;
    bool startReplay(const QString &path);
    void leaveReplay();
    void togglePlay();
    void seek(int index);
    void setSpeed(int factor);
    const vorn::LogPlayer &player() const { return player_; }
    ReplayPanel *panel() const { return panel_; }

    // The window closes: the log being recorded is completed.
    void windowClosing();

private:
    void onLiveValues();
    void applyTexts(int language);
    void updateStatePart();
    void updateOverlays();
    QFileDialog *logDialog();
    void chooseAndReplay();
    void chooseAndLoadTimeInCell();
    void chooseFolder();
    void recordingFailed();
    bool tpsMapOn() const;

    // Replay.
    struct LabelState {
        QLabel *label;
        QString text;
        QPalette palette;
        bool autoFill;
        bool enabled;
    };
    // The live state a replay covers, given back when it ends.
    struct LiveSnapshot {
        vorn::LiveValues live;
        vorn::LiveCell cell;
        vorn::MonitorFields fields;
        std::vector<LabelState> labels;
        int rpmGauge = 0;
        int tpsGauge = 0;
        std::vector<std::pair<QObject *, bool>> enabled;   // commands switched off, and how they were
    };
    void enterReplay();
    void playStep();
    void showRow(std::size_t index, bool labels);
    void showPlayerPosition();

    TFormHlav *form_;
    int language_ = 0;
    QMenu *menu_ = nullptr;
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
    vorn::LogWriter writer_;
    bool recording_ = false;
    vorn::TimeInCell runCounts_;
    vorn::TimeInCell replayCounts_;
    std::vector<TimeInCellOverlay *> overlays_;
    QElapsedTimer overlayClock_;   // since the layers were last repainted
    bool overlayPending_ = false;
    QFileDialog *logDialog_ = nullptr;
    QFileDialog *folderDialog_ = nullptr;

    vorn::LogPlayer player_;
    ReplayPanel *panel_ = nullptr;
    QTimer *replayTimer_ = nullptr;
    QElapsedTimer wall_;
    std::unique_ptr<LiveSnapshot> snapshot_;
};
