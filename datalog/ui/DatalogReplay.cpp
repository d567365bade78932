// Replay in the window: a log played into the monitor column, the highlight and time in
// cell, with the session stood still and the live state given back unchanged at the end.
#include "DatalogController.h"

#include "DatalogTexts.h"
#include "ReplayPanel.h"
#include "app/Hlav.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace t = vorn::datalogtext;

namespace {

// The monitor column as the monitor decoder writes it.
const char *const kMonitorLabels[] = {
    "LabelRpm",       "LabelTpsMon",     "LabelAdvance1",   "LabelAdvance2",      "LabelAdvance3",
    "LabelAdvance4",  "LabelMonSnimac1", "LabelMonSnimac2", "LabelNapeti",        "LabelPriveraPoz",
    "LabelPriveraMer", "LabelBlocking1", "LabelMonPilotLight", "LabelClutchMon", "LabelPocetProgramovani",
    "LabelTest1",     "LabelTest2",      "LabelTest3",      "LabelTest4",         "LabelTest5",
    "LabelTest6",     "LabelTest7",      "LabelTest8"};
// What a log does not hold: greyed while the replay runs.
const char *const kUnloggedLabels[] = {"LabelMonSnimac1", "LabelMonSnimac2", "LabelPocetProgramovani",
                                       "LabelTest1", "LabelTest2", "LabelTest3", "LabelTest4",
                                       "LabelTest5", "LabelTest6", "LabelTest7", "LabelTest8"};
const char *const kTransferActions[] = {"MenuRead", "MenuVerify", "MenuProgram"};
const char *const kTransferButtons[] = {"ButtonRead", "BitBtnVerify", "BitBtnProgram"};

constexpr int kReplayTickMs = 55;

}  // namespace

DatalogController::~DatalogController() = default;

bool DatalogController::replaying() const
{
    return snapshot_ != nullptr;
}

bool DatalogController::startReplay(const QString &path)
{
    vorn::LogContents log = vorn::readLog(path);
    const QString name = QFileInfo(path).fileName();
    if (!log.ok) {
        form_->MessageBox(vorn::text4(t::NotALog, language_).arg(name, log.error));
        return false;
    }
    if (log.rows.empty()) {
        form_->MessageBox(vorn::text4(t::NoRows, language_).arg(name));
        return false;
    }
    stopRecording();
    if (!replaying())
        enterReplay();
    const int skipped = log.skippedRows;
    const bool truncated = log.truncatedTail;
    player_.load(std::move(log.rows));
    if (!panel_) {
        panel_ = new ReplayPanel(form_);
        connect(panel_, &ReplayPanel::playToggled, this, &DatalogController::togglePlay);
        connect(panel_, &ReplayPanel::seekRequested, this, &DatalogController::seek);
        connect(panel_, &ReplayPanel::speedChosen, this, &DatalogController::setSpeed);
        connect(panel_, &ReplayPanel::leaveRequested, this, &DatalogController::leaveReplay);
        replayTimer_ = new QTimer(this);
        replayTimer_->setInterval(kReplayTickMs);
        connect(replayTimer_, &QTimer::timeout, this, &DatalogController::playStep);
    }
    panel_->applyTexts(language_);
    panel_->setLog(name, int(player_.size()), skipped, truncated, player_.durationMs());
    panel_->setSpeed(player_.speed());
    panel_->show();
    panel_->raise();
    seek(0);
    togglePlay();
    return true;
}

void DatalogController::enterReplay()
{
    auto s = std::make_unique<LiveSnapshot>();
    s->live = form_->Live;
    s->cell = form_->LiveCell;
    s->fields = form_->LiveFields;
    for (const char *name : kMonitorLabels)
        if (auto *l = form_->ctl<QLabel>(name))
            s->labels.push_back({l, l->text(), l->palette(), l->autoFillBackground(), l->isEnabled()});
    s->rpmGauge = form_->ctl<QProgressBar>("CGaugeRpm")->value();
    s->tpsGauge = form_->ctl<QProgressBar>("CGaugeTps")->value();
    auto off = [&s](QObject *o) {
        if (auto *a = qobject_cast<QAction *>(o)) {
            s->enabled.emplace_back(a, a->isEnabled());
            a->setEnabled(false);
        } else if (auto *w = qobject_cast<QWidget *>(o)) {
            s->enabled.emplace_back(w, w->isEnabled());
            w->setEnabled(false);
        }
    };
    for (const char *name : kTransferActions)
        off(form_->action(name));
    for (const char *name : kTransferButtons)
        off(form_->ctl<QAbstractButton>(name));
    off(record_);
    off(load_);
    for (const char *name : kUnloggedLabels)
        form_->ctl<QLabel>(name)->setEnabled(false);
    snapshot_ = std::move(s);
    form_->Replaying = true;
    replayCounts_.reset();
    updateStatePart();
}

void DatalogController::leaveReplay()
{
    if (!replaying())
        return;
    replayTimer_->stop();
    player_.pause();
    panel_->hide();
    const LiveSnapshot &s = *snapshot_;
    for (const LabelState &l : s.labels) {
        l.label->setText(l.text);
        l.label->setPalette(l.palette);
        l.label->setAutoFillBackground(l.autoFill);
        l.label->setEnabled(l.enabled);
    }
    form_->ctl<QProgressBar>("CGaugeRpm")->setValue(s.rpmGauge);
    form_->ctl<QProgressBar>("CGaugeTps")->setValue(s.tpsGauge);
    for (const auto &[o, enabled] : s.enabled) {
        if (auto *a = qobject_cast<QAction *>(o))
            a->setEnabled(enabled);
        else if (auto *w = qobject_cast<QWidget *>(o))
            w->setEnabled(enabled);
    }
    form_->Live = s.live;
    form_->LiveCell = s.cell;
    form_->LiveFields = s.fields;
    snapshot_.reset();
    form_->Replaying = false;
    form_->HighlightActiveCell();
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
    replayCounts_ = vorn::timeInCellOfRows(player_.rows(), player_.position() + 1, form_->Image, tpsMapOn());
    showRow(player_.position(), true);
    showPlayerPosition();
}

void DatalogController::playStep()
{
    const vorn::LogPlayer::Step step = player_.advance(wall_.restart());
    for (std::size_t i = step.first; i < step.last; ++i)
        showRow(i, i + 1 == step.last);
    if (!step.empty())
        showPlayerPosition();
    if (!player_.playing()) {
        replayTimer_->stop();
        panel_->setPlaying(false);
    }
}

void DatalogController::showRow(std::size_t index, bool labels)
{
    const vorn::LogRow &row = player_.rows()[index];
    const vorn::MonitorFields fields = vorn::monitorFieldsFrom(row);
    if (labels) {
        form_->ShowMonitorFields(fields, true);
    } else {
        // A row the clock passed on its way: the followers see it, the labels only the last.
        form_->LiveFields = fields;
        form_->Live.speed = fields.rpm;
        form_->Live.tpsPercent = fields.tpsPercent;
        form_->Live.tpsMv = static_cast<std::uint16_t>(vorn::countsToMv(fields.tpsRaw));
    }
    form_->LiveCell = vorn::liveCellOf(row, form_->Image, tpsMapOn());
    replayCounts_.addSample(row.timeMs, form_->LiveCell);
    emit form_->liveValuesDecoded();
}

void DatalogController::showPlayerPosition()
{
    form_->HighlightActiveCell();
    panel_->showPosition(int(player_.position()), player_.current().timeMs);
    updateOverlays();
}
