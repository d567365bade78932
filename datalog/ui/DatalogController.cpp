// The Log menu, recording and time in cell.
#include "DatalogController.h"

#include "DatalogTexts.h"
#include "datalog/LogTune.h"
#include "ReplayPanel.h"
#include "TimeInCellOverlay.h"
#include "files/ConfigDir.h"
#include "files/SettingsAccess.h"
#include "host/HostNotifier.h"
#include "host/ImageEditing.h"
#include "host/LiveView.h"
#include "host/Shell.h"
#include "host/StatusPart.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace t = vorn::datalogtext;
using vorn::host::MenuPlace;
using vorn::maps::Table;

namespace {

const QString kSection = QStringLiteral("LOG");
const QString kFolderKey = QStringLiteral("Folder");

QString minutesSeconds(std::int64_t ms)
{
    const std::int64_t s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

DatalogController::DatalogController(vorn::host::Shell &shell, const vorn::host::ImageEditing &editing,
                                     vorn::host::LiveView &view, vorn::host::HostNotifier &notifier)
    : QObject(shell.dialogParent()), shell_(shell), editing_(editing), view_(view)
{
    setObjectName("DatalogController");
    clock_.start();

    auto item = [this](const char *name) {
        auto *a = new QAction(this);
        a->setObjectName(name);
        return a;
    };
    record_ = item("MenuLogRecord");
    record_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    replay_ = item("MenuLogReplay");
    timeInCell_ = item("MenuLogTimeInCell");
    timeInCell_->setCheckable(true);
    reset_ = item("MenuLogTimeInCellReset");
    load_ = item("MenuLogTimeInCellLoad");
    folder_ = item("MenuLogFolder");
    shell.placeAction(MenuPlace::Log, record_);
    shell.placeAction(MenuPlace::Log, replay_);
    shell.placeSeparator(MenuPlace::Log);
    shell.placeAction(MenuPlace::Log, timeInCell_);
    shell.placeAction(MenuPlace::Log, reset_);
    shell.placeAction(MenuPlace::Log, load_);
    shell.placeSeparator(MenuPlace::Log);
    shell.placeAction(MenuPlace::Log, folder_);

    connect(record_, &QAction::triggered, this, [this] { recording() ? stopRecording() : startRecording(); });
    connect(replay_, &QAction::triggered, this, &DatalogController::chooseAndReplay);
    connect(timeInCell_, &QAction::toggled, this, &DatalogController::showTimeInCell);
    connect(reset_, &QAction::triggered, this, &DatalogController::resetTimeInCell);
    connect(load_, &QAction::triggered, this, &DatalogController::chooseAndLoadTimeInCell);
    connect(folder_, &QAction::triggered, this, &DatalogController::chooseFolder);

    // The feature's own messages (recording, replay) show here, never in the hint panel.
    statePart_ = vorn::host::addStatusPart(shell, {.name = "LabelLogState", .framed = false, .hidden = true});
    QFont bold = statePart_->font();
    bold.setBold(true);
    statePart_->setFont(bold);
    statePart_->setAutoFillBackground(true);

    connect(&notifier, &vorn::host::HostNotifier::liveValuesDecoded, this, &DatalogController::onLiveValues);
    connect(&notifier, &vorn::host::HostNotifier::languageChanged, this, &DatalogController::applyTexts);
    connect(&notifier, &vorn::host::HostNotifier::displayStatesApplied, this, &DatalogController::followPrinting);
    connect(&notifier, &vorn::host::HostNotifier::closing, this, &DatalogController::windowClosing);
    connect(&notifier, &vorn::host::HostNotifier::transferFinished, this, &DatalogController::onTransferFinished);
    applyTexts(shell.language());
}

void DatalogController::applyTexts(int language)
{
    language_ = language;
    record_->setText(vorn::text4(recording() ? t::StopRecording : t::StartRecording, language));
    replay_->setText(vorn::text4(t::ReplayLog, language));
    timeInCell_->setText(vorn::text4(t::TimeInCell, language));
    reset_->setText(vorn::text4(t::ResetTimeInCell, language));
    load_->setText(vorn::text4(t::LoadTimeInCell, language));
    folder_->setText(vorn::text4(t::LogFolder, language));
    if (logDialog_)
        logDialog_->setNameFilters({vorn::text4(t::LogFilter, language), vorn::text4(t::AllFilter, language)});
    if (panel_)
        panel_->applyTexts(language);
    updateStatePart();
}

void DatalogController::updateStatePart()
{
    QPalette p = statePart_->palette();
    if (recording()) {
        statePart_->setText(vorn::text4(t::Rec, language_).arg(minutesSeconds(clock_.elapsed() - recordingStartMs_)));
        p.setColor(QPalette::Window, QColor(255, 0, 0));
    } else if (replaying()) {
        statePart_->setText(vorn::text4(t::Replay, language_));
        p.setColor(QPalette::Window, QColor(0, 70, 190));
    }
    p.setColor(QPalette::WindowText, Qt::white);
    statePart_->setPalette(p);
    statePart_->setVisible(recording() || replaying());
}

QString DatalogController::logReason(const vorn::LogContents &log) const
{
    switch (log.problem) {
    case vorn::LogProblem::CannotOpen:
        return vorn::text4(t::ReasonCannotOpen, language_);
    case vorn::LogProblem::Empty:
        return vorn::text4(t::ReasonEmpty, language_);
    case vorn::LogProblem::NotALog:
    case vorn::LogProblem::None:
        break;
    }
    return vorn::text4(t::ReasonNotALog, language_);
}

QString DatalogController::writerReason() const
{
    switch (writer_.problem()) {
    case vorn::LogWriter::Problem::NoFolder:
        return vorn::text4(t::ReasonNoFolder, language_);
    case vorn::LogWriter::Problem::NoPermission:
        return vorn::text4(t::ReasonNoPermission, language_);
    case vorn::LogWriter::Problem::DiskFull:
        return vorn::text4(t::ReasonDiskFull, language_);
    case vorn::LogWriter::Problem::WriteFailed:
    case vorn::LogWriter::Problem::None:
        break;
    }
    return vorn::text4(t::ReasonWriteFailed, language_);
}

// ---- recording ----------------------------------------------------------------------

QString DatalogController::logFolder() const
{
    const QString chosen = shell_.settings().readString(kSection, kFolderKey);
    return chosen.isEmpty() ? vorn::configPath(QStringLiteral("logs")) : chosen;
}

void DatalogController::setLogFolder(const QString &folder)
{
    QString error;
    if (!shell_.settings().writeString(kSection, kFolderKey, folder, &error))
        qWarning("vorn4: could not save the log folder: %s", qPrintable(error));
}

void DatalogController::startRecording()
{
    if (recording() || replaying())
        return;
    const QDir folder(logFolder());
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    QString path = folder.filePath(stamp + QStringLiteral(".csv"));
    // Two recordings started within one second must not share a file.
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("%1_%2.csv").arg(stamp).arg(n));
    if (!writer_.open(path)) {
        shell_.message(vorn::text4(t::CannotCreate, language_).arg(path, writerReason()));
        return;
    }
    recording_ = true;
    recordingStartMs_ = clock_.elapsed();
    firstRowMs_.reset();
    recordingCounts_.reset();
    // A new log of this name must not inherit the tunes of one deleted before it.
    vorn::removeTunesBesideLog(path);
    keepTune(0);
    if (!recClock_) {
        recClock_ = new QTimer(this);
        recClock_->setInterval(1000);
        connect(recClock_, &QTimer::timeout, this, &DatalogController::updateStatePart);
    }
    recClock_->start();
    replay_->setEnabled(false);
    applyTexts(language_);
}

void DatalogController::stopRecording()
{
    if (!recording())
        return;
    const QString path = writer_.path();
    writer_.close();
    recording_ = false;
    if (recClock_)
        recClock_->stop();
    replay_->setEnabled(true);
    // The recording's own counts go with the log, so that the log can be looked at with
    // them later; what the run counted before and after belongs to no log.
    if (!vorn::saveTimeInCell(recordingCounts_, path))
        qWarning("vorn4: could not save the time in cell beside %s", qPrintable(path));
    applyTexts(language_);
}

void DatalogController::keepTune(std::int64_t fromMs)
{
    QString error;
    // The same writer as File, Save, and the same names as vorn4-cli log --map.
    if (!vorn::saveTuneBesideLog(editing_.image(), writer_.path(), fromMs, &error))
        qWarning("vorn4: could not keep the tune beside the log: %s", qPrintable(error));
}

using Transfer = vorn::host::HostNotifier::Transfer;

void DatalogController::onTransferFinished(vorn::host::HostNotifier::Transfer kind, bool ok)
{
    // After a Read the image is the unit's, after a Program the unit holds the image; a
    // Verify changes neither, and a failed operation leaves the unit's tune unknown.
    if (!ok || !recording() || (kind != Transfer::Read && kind != Transfer::Program))
        return;
    // Rows go on from here, so the new tune holds from this moment of the log on.
    keepTune(firstRowMs_ ? std::max<std::int64_t>(1, clock_.elapsed() - *firstRowMs_) : 0);
}

void DatalogController::recordingFailed()
{
    const QString path = writer_.path();
    const QString reason = writerReason();
    stopRecording();
    // Reached from the timer tick: a box opened here would hold back the ticks.
    QMetaObject::invokeMethod(
        this, [this, path, reason] { shell_.message(vorn::text4(t::WriteFailed, language_).arg(reason, path)); },
        Qt::QueuedConnection);
}

void DatalogController::onLiveValues()
{
    if (replaying())
        return;   // the replay counts and shows its own rows
    const std::int64_t now = clock_.elapsed();
    const vorn::LiveCell &cell = view_.liveCell();
    runCounts_.addSample(now, cell);
    if (recording()) {
        recordingCounts_.addSample(now, cell);
        if (!firstRowMs_)
            firstRowMs_ = now;
        if (!writer_.append(vorn::logRowFrom(view_.liveFields(), cell, now)))
            recordingFailed();
    }
    updateOverlays();
}

void DatalogController::windowClosing()
{
    if (replayTimer_)
        replayTimer_->stop();
    stopRecording();
}

// ---- time in cell -------------------------------------------------------------------

void DatalogController::resetTimeInCell()
{
    (replaying() ? replayCounts_ : runCounts_).reset();
    updateOverlays();
}

void DatalogController::showTimeInCell(bool on)
{
    if (on && overlays_.empty()) {
        auto cellsOf = [this](Table table, int rows) {
            return [this, table, rows] {
                const vorn::TimeInCell &c = shownCounts();
                auto ms = [&](int row, int col) { return table == Table::Advance ? c.cellMs(row, col) : c.servoMs(col); };
                std::int64_t most = 0;
                for (int row = 0; row < rows; ++row)
                    for (int col = 0; col < vorn::kMapSize; ++col)
                        most = std::max(most, ms(row, col));
                std::vector<TimeInCellOverlay::Cell> cells;
                for (int row = 0; row < rows; ++row)
                    for (int col = 0; col < vorn::kMapSize; ++col)
                        cells.push_back({view_.cellEdit(table, {row, col}),
                                         table == Table::Advance ? c.cellShare(row, col) : c.servoShare(col),
                                         most > 0 ? double(ms(row, col)) / double(most) : 0.0});
                return cells;
            };
        };
        overlays_.push_back(new TimeInCellOverlay(view_.cellArea(Table::Advance), cellsOf(Table::Advance, vorn::kMapSize)));
        overlays_.push_back(new TimeInCellOverlay(view_.cellArea(Table::Servo), cellsOf(Table::Servo, 1)));
    }
    // Never on paper: a print shows the map, not how long the engine stayed in it.
    const bool shown = on && !view_.printing();
    for (TimeInCellOverlay *o : overlays_) {
        if (!o)
            continue;
        o->setVisible(shown);
        o->raise();
    }
    if (timeInCell_->isChecked() != on)
        timeInCell_->setChecked(on);
}

void DatalogController::followPrinting()
{
    // The window's display states are applied as a print begins and again after it.
    if (!overlays_.empty())
        showTimeInCell(timeInCell_->isChecked());
}

void DatalogController::updateOverlays()
{
    // A repaint of the layer repaints the whole map beneath it, and shares move slowly:
    // twice a second is enough, however fast a replay runs.
    constexpr int kOverlayPeriodMs = 500;
    if (overlayClock_.isValid() && overlayClock_.elapsed() < kOverlayPeriodMs) {
        if (!overlayPending_) {
            overlayPending_ = true;
            QTimer::singleShot(kOverlayPeriodMs - int(overlayClock_.elapsed()), this, [this] {
                overlayPending_ = false;
                updateOverlays();
            });
        }
        return;
    }
    overlayClock_.start();
    for (TimeInCellOverlay *o : overlays_)
        if (o && o->isVisible())
            o->update();
}

bool DatalogController::loadTimeInCellOf(const QString &logPath)
{
    std::optional<vorn::TimeInCell> counts = vorn::loadTimeInCell(logPath);
    if (!counts) {
        // A log without its counts (one from vorn4-cli, say) is counted from its rows.
        const vorn::LogContents log = vorn::readLog(logPath);
        if (log.ok && !log.rows.empty())
            counts = vorn::timeInCellOfRows(log.rows, log.rows.size(), editing_.image(), view_.throttleMapOn());
    }
    if (!counts) {
        shell_.message(vorn::text4(t::NoCounts, language_).arg(logPath));
        return false;
    }
    // The run's counts are lost once replaced: only with the tuner's word, when there are any.
    if (runCounts_.totalMs() > 0
        && shell_.question(vorn::text4(t::ReplaceCounts, language_)
                               .arg(minutesSeconds(runCounts_.totalMs()), QFileInfo(logPath).fileName()))
               != QMessageBox::Yes)
        return false;
    runCounts_ = *counts;
    updateOverlays();
    return true;
}

// ---- file choice ----------------------------------------------------------------------

QFileDialog *DatalogController::logDialog()
{
    if (!logDialog_) {
        logDialog_ = new QFileDialog(shell_.dialogParent());
        logDialog_->setObjectName("LogDialog");
        logDialog_->setAcceptMode(QFileDialog::AcceptOpen);
        logDialog_->setFileMode(QFileDialog::ExistingFile);
        logDialog_->setNameFilters({vorn::text4(t::LogFilter, language_), vorn::text4(t::AllFilter, language_)});
    }
    logDialog_->setDirectory(logFolder());
    return logDialog_;
}

void DatalogController::chooseAndReplay()
{
    const QString path = shell_.chooseFile(logDialog());
    if (!path.isEmpty())
        startReplay(path);
}

void DatalogController::chooseAndLoadTimeInCell()
{
    const QString path = shell_.chooseFile(logDialog());
    if (!path.isEmpty())
        loadTimeInCellOf(path);
}

void DatalogController::chooseFolder()
{
    if (!folderDialog_) {
        folderDialog_ = new QFileDialog(shell_.dialogParent());
        folderDialog_->setObjectName("LogFolderDialog");
        folderDialog_->setFileMode(QFileDialog::Directory);
        folderDialog_->setOption(QFileDialog::ShowDirsOnly);
    }
    folderDialog_->setDirectory(logFolder());
    const QString folder = shell_.chooseFile(folderDialog_);
    if (!folder.isEmpty())
        setLogFolder(QFileInfo(folder).absoluteFilePath());
}
