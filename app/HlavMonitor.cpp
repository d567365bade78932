// The live monitor in the window: a decoded monitor reply written into the monitor column.
#include "Hlav.h"

#include "host/Colors.h"
#include "link/Monitor.h"
#include "link/Tune.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace {

QColor colourOf(vorn::Shade shade)
{
    switch (shade) {
    case vorn::Shade::Red:
        return vorn::ui::kRed;
    case vorn::Shade::Yellow:
        return vorn::ui::kYellow;
    case vorn::Shade::Lime:
        return vorn::ui::kLime;
    case vorn::Shade::ButtonFace:
        break;
    }
    return vorn::ui::buttonFace();
}

void showLabel(QLabel *label, const vorn::LabelView &view)
{
    label->setText(view.text);
    vorn::ui::setBackground(label, colourOf(view.shade));
}

void setGauge(QProgressBar *gauge, int value)
{
    // A value outside the range would leave the bar where it was; pin it to the ends.
    gauge->setValue(std::clamp(value, gauge->minimum(), gauge->maximum()));
}

}  // namespace

void TFormHlav::DecodeMonitorFrame(const vorn::Frame &frame)
{
    if (frame[0] != vorn::Cmd::MonitorReply || !vorn::frameIsValid(frame))
        return;
    ShowMonitorFields(vorn::parseMonitorFrame(frame));
    // The cell of these values at once, not at the next tick, for whoever follows replies.
    auto *tpsMap = ctl<QCheckBox>("CheckBoxTpsMapa");
    LiveCell = vorn::findActiveCell(Image, Live, tpsMap && tpsMap->isChecked());
    emit Notifier->liveValuesDecoded();
}

void TFormHlav::ShowMonitorFields(const vorn::MonitorFields &fields, bool logged)
{
    LiveFields = fields;
    const vorn::MonitorView v = vorn::monitorView(fields, Image, Messages);
    Live.speed = v.speed;
    Live.tpsPercent = v.tpsPercent;
    Live.tpsMv = v.tpsMv;

    showLabel(ctl<QLabel>("LabelRpm"), v.rpm);
    setGauge(ctl<QProgressBar>("CGaugeRpm"), v.rpmGauge);
    showLabel(ctl<QLabel>("LabelNapeti"), v.supply);
    showLabel(ctl<QLabel>("LabelBlocking1"), v.blocking);
    const int advanceLabels = v.perChannelAdvance ? vorn::kChannels : 1;
    for (int ch = 0; ch < advanceLabels; ++ch)
        showLabel(ctl<QLabel>(QStringLiteral("LabelAdvance%1").arg(ch + 1)), v.advance[ch]);
    showLabel(ctl<QLabel>("LabelMonPilotLight"), v.shiftLight);
    showLabel(ctl<QLabel>("LabelClutchMon"), v.clutch);
    if (!logged) {
        showLabel(ctl<QLabel>("LabelMonSnimac1"), v.pickup[0]);
        showLabel(ctl<QLabel>("LabelMonSnimac2"), v.pickup[1]);
    }
    showLabel(ctl<QLabel>("LabelTpsMon"), v.throttle);
    setGauge(ctl<QProgressBar>("CGaugeTps"), v.throttleGauge);

    const bool servoShown = !ctl<QGroupBox>("GroupBoxPrivera")->isHidden();
    auto *desired = ctl<QLabel>("LabelPriveraPoz");
    auto *measured = ctl<QLabel>("LabelPriveraMer");
    desired->setVisible(servoShown);
    measured->setVisible(servoShown);
    showLabel(desired, v.servoDesired);
    showLabel(measured, v.servoMeasured);

    if (logged)
        return;
    ctl<QLabel>("LabelPocetProgramovani")->setText(v.programCount);
    for (int n = 0; n < 8; ++n)
        ctl<QLabel>(QStringLiteral("LabelTest%1").arg(n + 1))->setText(v.test[n]);
}
