// Editing buttons: advance and servo steps, map column spin buttons, throttle calibration.
// The buttons read their controls; the steps themselves are the map operations' rules.
#include "Hlav.h"
#include "history/HistoryTexts.h"

#include "maps/MapOperations.h"

#include <QCheckBox>

namespace {

// The whole map with "All", else only the cell the engine runs in now.
void advanceStep(TFormHlav &w, bool up)
{
    w.ReadParameters();
    vorn::ClampParameters(w.Image, w.LanguageIndex, w.ComPort);
    if (w.ctl<QCheckBox>("CheckBoxIgnAll")->isChecked()) {
        emit w.Notifier->editStepStarted(
            {&vorn::htext::StepAdvanceAll, up ? QStringLiteral("+1 °") : QStringLiteral("-1 °")});
        vorn::maps::stepAdvanceAll(w.Image, up);
    } else {
        vorn::maps::stepAdvanceLive(w.Image, w.LiveCell, up);
    }
    vorn::ClampParameters(w.Image, w.LanguageIndex, w.ComPort);
    w.AfterEdit();
}

// All ten servo voltages with "All", else the live servo point's.
void servoStep(TFormHlav &w, bool up)
{
    w.ReadParameters();
    if (w.ctl<QCheckBox>("CheckBoxServoAll")->isChecked()) {
        emit w.Notifier->editStepStarted(
            {&vorn::htext::StepServoAll, up ? QStringLiteral("+20 mV") : QStringLiteral("-20 mV")});
        vorn::maps::stepServoAll(w.Image, up);
    } else {
        vorn::maps::stepServoPoint(w.Image, w.LiveCell.servoColumn, up);
    }
    w.AfterEdit();
}

// Every throttle row of one map column.
void columnStep(TFormHlav &w, int column, bool up)
{
    w.ReadParameters();
    emit w.Notifier->editStepStarted(
        {&vorn::htext::StepColumn, QString::number(column + 1) + (up ? " +1 °" : " -1 °")});
    vorn::maps::stepColumn(w.Image, column, up);
    w.AfterEdit();
}

}  // namespace

void TFormHlav::BitBtnAdvMinusClick()
{
    advanceStep(*this, false);
}

void TFormHlav::BitBtnAdvPlusClick()
{
    advanceStep(*this, true);
}

void TFormHlav::BitBtnServoMinusClick()
{
    servoStep(*this, false);
}

void TFormHlav::BitBtnServoPlusClick()
{
    servoStep(*this, true);
}

void TFormHlav::BitBtnTps0Click()
{
    if (vorn::maps::calibrateTps0(Image, Live.tpsMv))
        AfterEdit();
}

void TFormHlav::BitBtnTps100Click()
{
    if (vorn::maps::calibrateTps100(Image, Live.tpsMv))
        AfterEdit();
}

void TFormHlav::CSpinButtonDownClick(int column)
{
    columnStep(*this, column, false);
}

void TFormHlav::CSpinButtonUpClick(int column)
{
    columnStep(*this, column, true);
}
