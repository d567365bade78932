// The replay panel's controls.
#include "ReplayPanel.h"

#include "DatalogTexts.h"
#include "datalog/LogPlayer.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace t = vorn::datalogtext;

namespace {

QString clock(std::int64_t ms)
{
    const std::int64_t s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

ReplayPanel::ReplayPanel(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setObjectName("ReplayPanel");
    auto *v = new QVBoxLayout(this);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName("ReplaySlider");
    slider_->setMinimumWidth(360);
    v->addWidget(slider_);
    auto *h = new QHBoxLayout;
    play_ = new QPushButton(this);
    play_->setObjectName("ReplayPlay");
    position_ = new QLabel(this);
    position_->setObjectName("ReplayPosition");
    speedLabel_ = new QLabel(this);
    speed_ = new QComboBox(this);
    speed_->setObjectName("ReplaySpeed");
    for (int f : vorn::LogPlayer::kSpeeds)
        speed_->addItem(QStringLiteral("%1x").arg(f), f);
    leave_ = new QPushButton(this);
    leave_->setObjectName("ReplayLeave");
    h->addWidget(play_);
    h->addWidget(position_, 1);
    h->addWidget(speedLabel_);
    h->addWidget(speed_);
    h->addWidget(leave_);
    v->addLayout(h);
    info_ = new QLabel(this);
    info_->setObjectName("ReplayInfo");
    v->addWidget(info_);

    connect(play_, &QPushButton::clicked, this, &ReplayPanel::playToggled);
    connect(leave_, &QPushButton::clicked, this, &ReplayPanel::leaveRequested);
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (!updating_)
            emit seekRequested(value);
    });
    connect(speed_, &QComboBox::activated, this,
            [this](int index) { emit speedChosen(speed_->itemData(index).toInt()); });
}

void ReplayPanel::setLog(const QString &fileName, int rows, int skipped, bool truncated, bool capped,
                         std::int64_t durationMs)
{
    fileName_ = fileName;
    skipped_ = skipped;
    truncated_ = truncated;
    capped_ = capped;
    rows_ = rows;
    durationMs_ = durationMs;
    updating_ = true;
    slider_->setRange(0, std::max(0, rows - 1));
    slider_->setPageStep(std::max(1, rows / 20));
    slider_->setValue(0);
    updating_ = false;
    applyTexts(language_);
}

void ReplayPanel::showPosition(int index, std::int64_t timeMs)
{
    timeMs_ = timeMs;
    updating_ = true;
    slider_->setValue(index);
    updating_ = false;
    position_->setText(clock(timeMs) + QStringLiteral(" / ") + clock(durationMs_));
}

void ReplayPanel::setPlaying(bool playing)
{
    playing_ = playing;
    play_->setText(vorn::text4(playing ? t::Pause : t::Play, language_));
}

void ReplayPanel::setSpeed(int factor)
{
    const int i = speed_->findData(factor);
    if (i >= 0)
        speed_->setCurrentIndex(i);
}

void ReplayPanel::applyTexts(int language)
{
    language_ = language;
    setWindowTitle(vorn::text4(t::PanelTitle, language).arg(fileName_));
    setPlaying(playing_);
    leave_->setText(vorn::text4(t::Leave, language));
    speedLabel_->setText(vorn::text4(t::Speed, language));
    writeInfo();
    showPosition(slider_->value(), timeMs_);
}

void ReplayPanel::writeInfo()
{
    QStringList parts;
    if (skipped_ > 0)
        parts << vorn::countText(t::Skipped, skipped_, language_);
    if (truncated_)
        parts << vorn::text4(t::Truncated, language_);
    if (capped_)
        parts << vorn::text4(t::Capped, language_).arg(rows_);
    info_->setText(parts.join(QStringLiteral("; ")));
    info_->setVisible(!parts.isEmpty());
}

void ReplayPanel::closeEvent(QCloseEvent *event)
{
    // Closing the panel leaves the replay. Never refused: the application's quit closes
    // every window and must not be held up by this one.
    event->accept();
    emit leaveRequested();
}
