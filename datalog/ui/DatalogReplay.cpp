// Replay: a log played into the window's monitor column, the highlight and time in cell.
// The window stands the session still and gives the live state back when the replay ends;
// this side keeps its own record and load commands off meanwhile.
#include "DatalogController.h"

#include "DatalogTexts.h"
#include "ReplayPanel.h"
#include "TimeInCellOverlay.h"
#include "host/ImageEditing.h"
#include "host/LiveView.h"
#include "host/Shell.h"

#include <QAction>
#include <QFileInfo>
#include <QTimer>

namespace t = vorn::datalogtext;

namespace {

constexpr int kReplayTickMs = 55;

}  // namespace

DatalogController::~DatalogController()
{
    // The panel, the layers and the dialogs belong to the window's widgets; they go with
    // the feature, while the window is still whole.
    delete panel_;
    for (TimeInCellOverlay *o : overlays_)
        delete o;
    delete logDialog_;
    delete folderDialog_;
    if (replaying_)
        view_.endReplay();
}

ReplayPanel *DatalogController::panel() const
{
    return panel_;
}

bool DatalogController::startReplay(const QString &path)
{
    vorn::LogContents log = vorn::readLog(path);
    const QString name = QFileInfo(path).fileName();
    if (!log.ok) {
        shell_.message(vorn::text4(t::NotALog, language_).arg(name, logReason(log)));
        return false;
    }
    if (log.rows.empty()) {
        shell_.message(vorn::text4(t::NoRows, language_).arg(name));
        return false;
    }
    stopRecording();
    if (!replaying())
        enterReplay();
    const int skipped = log.skippedRows;
    const bool truncated = log.truncatedTail;
    const bool capped = log.capped;
    player_.load(std::move(log.rows));
    if (!panel_) {
        panel_ = new ReplayPanel(shell_.dialogParent());
        connect(panel_, &ReplayPanel::playToggled, this, &DatalogController::togglePlay);
        connect(panel_, &ReplayPanel::seekRequested, this, &DatalogController::seek);
        connect(panel_, &ReplayPanel::speedChosen, this, &DatalogController::setSpeed);
        connect(panel_, &ReplayPanel::leaveRequested, this, &DatalogController::leaveReplay);
    }
    if (!replayTimer_) {
        replayTimer_ = new QTimer(this);
        replayTimer_->setInterval(kReplayTickMs);
        connect(replayTimer_, &QTimer::timeout, this, &DatalogController::playStep);
    }
    panel_->applyTexts(language_);
    panel_->setLog(name, int(player_.size()), skipped, truncated, capped, player_.durationMs());
    panel_->setSpeed(player_.speed());
    panel_->show();
    panel_->raise();
    seek(0);
    togglePlay();
    return true;
}

void DatalogController::enterReplay()
{
    view_.beginReplay();
    replaying_ = true;
    record_->setEnabled(false);
    load_->setEnabled(false);
    replayCounts_.reset();
    updateStatePart();
}

void DatalogController::leaveReplay()
{
    if (!replaying())
        return;
    replayTimer_->stop();
    player_.pause();
    if (panel_)
        panel_->hide();
    replaying_ = false;
    view_.endReplay();
    record_->setEnabled(true);
    load_->setEnabled(true);
    updateStatePart();
    updateOverlays();
}

void DatalogController::togglePlay()
{
    if (!replaying())
        return;
    if (player_.playing()) {
        player_.pause();
        replayTimer_->stop();
    } else {
        player_.play();
        if (player_.position() == 0)
            seek(0);   // playing again from the end starts a new count
        wall_.start();
        replayTimer_->start();
    }
    panel_->setPlaying(player_.playing());
}

void DatalogController::setSpeed(int factor)
{
    player_.setSpeed(factor);
    if (panel_)
        panel_->setSpeed(player_.speed());
}

void DatalogController::seek(int index)
{
    if (!replaying() || player_.empty())
        return;
    const bool playing = player_.playing();
    player_.seek(static_cast<std::size_t>(std::max(0, index)));
    if (playing)
        player_.play();
    // The counts are those of the log up to here, however the position was reached.
    replayCounts_ = vorn::timeInCellOfRows(player_.rows(), player_.position() + 1, editing_.image(),
                                           view_.throttleMapOn());
    showRow(player_.position(), false);
    showPlayerPosition();
}

void DatalogController::playStep()
{
    const vorn::LogPlayer::Step step = player_.advance(wall_.restart());
    // Every row the clock passed reaches the followers, the map view's trail among them.
    for (std::size_t i = step.first; i < step.last; ++i)
        showRow(i, true);
    if (!step.empty())
        showPlayerPosition();
    if (!player_.playing()) {
        replayTimer_->stop();
        panel_->setPlaying(false);
    }
}

void DatalogController::showRow(std::size_t index, bool count)
{
    const vorn::LogRow &row = player_.rows()[index];
    const vorn::LiveCell cell = vorn::liveCellOf(row, editing_.image(), view_.throttleMapOn());
    if (count)
        replayCounts_.addSample(row.timeMs, cell);
    view_.showReplayed(vorn::monitorFieldsFrom(row), cell);
}

void DatalogController::showPlayerPosition()
{
    view_.repaintCells();
    panel_->showPosition(int(player_.position()), player_.current().timeMs);
    updateOverlays();
}
