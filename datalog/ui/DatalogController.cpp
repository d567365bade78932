// The Log menu, recording and time in cell in the window.
#include "DatalogController.h"

#include "DatalogTexts.h"
#include "ReplayPanel.h"
#include "TimeInCellOverlay.h"
#include "app/ControlTable.h"
#include "app/Hlav.h"
#include "app/UserInteraction.h"
#include "files/ConfigDir.h"
#include "files/ProfileIni.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

namespace t = vorn::datalogtext;

namespace {

const QString kSection = QStringLiteral("LOG");
const QString kFolderKey = QStringLiteral("Folder");

QString minutesSeconds(std::int64_t ms)
{
    const std::int64_t s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

DatalogController::DatalogController(TFormHlav *form) : QObject(form), form_(form)
{
    setObjectName("DatalogController");
    clock_.start();

    QMenuBar *bar = form->menuBar();
    menu_ = new QMenu(bar);
    menu_->setObjectName("MenuLog");
    menu_->menuAction()->setObjectName("MenuLog");
    // After Device, wherever the menus added by others stand.
    if (auto *tools = bar->findChild<QMenu *>("MenuTools"))
        bar->insertMenu(tools->menuAction(), menu_);
    else
        bar->addMenu(menu_);
    auto item = [this](const char *name) {
        QAction *a = menu_->addAction(QString());
        a->setObjectName(name);
        return a;
    };
    record_ = item("MenuLogRecord");
    record_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    replay_ = item("MenuLogReplay");
    menu_->addSeparator();
    timeInCell_ = item("MenuLogTimeInCell");
    timeInCell_->setCheckable(true);
    reset_ = item("MenuLogTimeInCellReset");
    load_ = item("MenuLogTimeInCellLoad");
    menu_->addSeparator();
    folder_ = item("MenuLogFolder");

    connect(record_, &QAction::triggered, this, [this] { recording() ? stopRecording() : startRecording(); });
    connect(replay_, &QAction::triggered, this, &DatalogController::chooseAndReplay);
    connect(timeInCell_, &QAction::toggled, this, &DatalogController::showTimeInCell);
    connect(reset_, &QAction::triggered, this, &DatalogController::resetTimeInCell);
    connect(load_, &QAction::triggered, this, &DatalogController::chooseAndLoadTimeInCell);
    connect(folder_, &QAction::triggered, this, &DatalogController::chooseFolder);

    statePart_ = new QLabel(form->statusBar());
    statePart_->setObjectName("LabelLogState");
    QFont bold = statePart_->font();
    bold.setBold(true);
    statePart_->setFont(bold);
    statePart_->setAutoFillBackground(true);
    statePart_->setContentsMargins(6, 0, 6, 0);
    statePart_->hide();
    form->statusBar()->addPermanentWidget(statePart_);

    connect(form, &TFormHlav::liveValuesDecoded, this, &DatalogController::onLiveValues);
    connect(form, &TFormHlav::languageChanged, this, &DatalogController::applyTexts);
    applyTexts(0);
}

void DatalogController::applyTexts(int language)
{
    language_ = language;
    menu_->setTitle(vorn::text4(t::MenuLog, language));
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

bool DatalogController::tpsMapOn() const
{
    auto *box = form_->ctl<QCheckBox>("CheckBoxTpsMapa");
    return box && box->isChecked();
}

// ---- recording ----------------------------------------------------------------------

QString DatalogController::logFolder() const
{
    const vorn::ProfileIni ini(vorn::configPath(vorn::kSettingsFileName));
    const QString chosen = ini.readString(kSection, kFolderKey, QString());
    return chosen.isEmpty() ? vorn::configPath(QStringLiteral("logs")) : chosen;
}

void DatalogController::setLogFolder(const QString &folder)
{
    vorn::ProfileIni ini(vorn::configPath(vorn::kSettingsFileName));
    ini.writeString(kSection, kFolderKey, folder);
    if (!ini.save())
        qWarning("vorn4: could not save the log folder to %s", qPrintable(ini.path()));
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
        form_->MessageBox(vorn::text4(t::CannotCreate, language_).arg(path, writer_.errorString()));
        return;
    }
    recording_ = true;
    recordingStartMs_ = clock_.elapsed();
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
    // The run's counts go with the log, so that the log can be looked at with them later.
    if (!vorn::saveTimeInCell(runCounts_, path))
        qWarning("vorn4: could not save the time in cell beside %s", qPrintable(path));
    applyTexts(language_);
}

void DatalogController::recordingFailed()
{
    const QString path = writer_.path();
    const QString reason = writer_.errorString();
    stopRecording();
    // Reached from the timer tick: a box opened here would hold back the ticks.
    QMetaObject::invokeMethod(
        this, [this, path, reason] { form_->MessageBox(vorn::text4(t::WriteFailed, language_).arg(reason, path)); },
        Qt::QueuedConnection);
}

void DatalogController::onLiveValues()
{
    if (form_->Replaying)
        return;   // the replay counts and shows its own rows
    const std::int64_t now = clock_.elapsed();
    runCounts_.addSample(now, form_->LiveCell);
    if (recording() && !writer_.append(vorn::logRowFrom(form_->LiveFields, form_->LiveCell, now)))
        recordingFailed();
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
        namespace tab = vorn::table;
        auto mapCells = [this] {
            const vorn::TimeInCell &c = shownCounts();
            const double most = double(c.largestCellMs());
            std::vector<TimeInCellOverlay::Cell> cells;
            for (int row = 0; row < vorn::kMapSize; ++row)
                for (int col = 0; col < vorn::kMapSize; ++col)
                    cells.push_back({form_->ControlTable[tab::mapEdit(row, col)], c.cellShare(row, col),
                                     most > 0 ? double(c.cellMs(row, col)) / most : 0.0});
            return cells;
        };
        auto servoCells = [this] {
            const vorn::TimeInCell &c = shownCounts();
            std::int64_t most = 0;
            for (int k = 0; k < vorn::kMapSize; ++k)
                most = std::max(most, c.servoMs(k));
            std::vector<TimeInCellOverlay::Cell> cells;
            for (int k = 0; k < vorn::kMapSize; ++k)
                cells.push_back({form_->ControlTable[tab::kServoMvEdits + k], c.servoShare(k),
                                 most > 0 ? double(c.servoMs(k)) / double(most) : 0.0});
            return cells;
        };
        overlays_.push_back(new TimeInCellOverlay(form_->ctl<QWidget>("GroupBox6"), mapCells));
        overlays_.push_back(new TimeInCellOverlay(form_->ctl<QWidget>("GroupBoxPrivera"), servoCells));
    }
    for (TimeInCellOverlay *o : overlays_) {
        o->setVisible(on);
        o->raise();
    }
    if (timeInCell_->isChecked() != on)
        timeInCell_->setChecked(on);
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
        if (o->isVisible())
            o->update();
}

bool DatalogController::loadTimeInCellOf(const QString &logPath)
{
    std::optional<vorn::TimeInCell> counts = vorn::loadTimeInCell(logPath);
    if (!counts) {
        // A log without its counts (one from vorn4-cli, say) is counted from its rows.
        const vorn::LogContents log = vorn::readLog(logPath);
        if (log.ok && !log.rows.empty())
            counts = vorn::timeInCellOfRows(log.rows, log.rows.size(), form_->Image, tpsMapOn());
    }
    if (!counts) {
        form_->MessageBox(vorn::text4(t::NoCounts, language_).arg(logPath));
        return false;
    }
    runCounts_ = *counts;
    updateOverlays();
    return true;
}

// ---- file choice ----------------------------------------------------------------------

QFileDialog *DatalogController::logDialog()
{
    if (!logDialog_) {
        logDialog_ = new QFileDialog(form_);
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
    const QString path = form_->userInteraction().chooseFile(logDialog());
    if (!path.isEmpty())
        startReplay(path);
}

void DatalogController::chooseAndLoadTimeInCell()
{
    const QString path = form_->userInteraction().chooseFile(logDialog());
    if (!path.isEmpty())
        loadTimeInCellOf(path);
}

void DatalogController::chooseFolder()
{
    if (!folderDialog_) {
        folderDialog_ = new QFileDialog(form_);
        folderDialog_->setObjectName("LogFolderDialog");
        folderDialog_->setFileMode(QFileDialog::Directory);
        folderDialog_->setOption(QFileDialog::ShowDirsOnly);
    }
    folderDialog_->setDirectory(logFolder());
    const QString folder = form_->userInteraction().chooseFile(folderDialog_);
    if (!folder.isEmpty())
        setLogFolder(QFileInfo(folder).absoluteFilePath());
}
