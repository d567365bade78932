// Editing buttons: advance and servo steps, map column spin buttons, throttle calibration.
#include "Hlav.h"
#include "history/HistoryTexts.h"
#include "history/ui/ChangeHistoryUi.h"

#include <QCheckBox>

namespace {

constexpr int kAdvanceMax = 60;          // degrees, the map cells' upper limit
// The servo buttons stop one step inside the spinner range (20..5000 mV): bytes 1..249.
constexpr std::uint8_t kServoStepMin = 1;
constexpr std::uint8_t kServoStepMax = 249;
// Live throttle voltages the calibration accepts, in mV.
constexpr int kTps0MinMv = 100, kTps0MaxMv = 2500;
constexpr int kTps100MinMv = 2500, kTps100MaxMv = 4900;

void stepAdvance(std::uint8_t &cell, bool up)
{
    if (up && cell < kAdvanceMax)
        ++cell;
    else if (!up && cell > 0)
        --cell;
}

void stepServo(std::uint8_t &mv, bool up)
{
    if (up && mv < kServoStepMax)
        ++mv;
    else if (!up && mv > kServoStepMin)
        --mv;
}

bool validIndex(int i)
{
    return i >= 0 && i < vorn::kMapSize;
}

// The whole map with "All", else only the cell the engine runs in now.
void advanceStep(TFormHlav &w, bool up)
{
    w.ReadParameters();
    vorn::ClampParameters(w.Image, w.LanguageIndex, w.ComPort);
    if (w.ctl<QCheckBox>("CheckBoxIgnAll")->isChecked()) {
        w.History->nextStep({&vorn::htext::StepAdvanceAll, up ? QStringLiteral("+1 °") : QStringLiteral("-1 °")});
        for (int r = 0; r < vorn::kMapSize; ++r)
            for (int c = 0; c < vorn::kMapSize; ++c)
                stepAdvance(w.Image.advance(r, c), up);
    } else if (!w.LiveCell.belowMap && validIndex(w.LiveCell.throttleRow)
               && validIndex(w.LiveCell.advanceColumn)) {
        stepAdvance(w.Image.advance(w.LiveCell.throttleRow, w.LiveCell.advanceColumn), up);
    }
    vorn::ClampParameters(w.Image, w.LanguageIndex, w.ComPort);
    w.AfterEdit();
}

// All ten servo voltages with "All", else the live servo point's.
void servoStep(TFormHlav &w, bool up)
{
    w.ReadParameters();
    if (w.ctl<QCheckBox>("CheckBoxServoAll")->isChecked()) {
        w.History->nextStep({&vorn::htext::StepServoAll, up ? QStringLiteral("+20 mV") : QStringLiteral("-20 mV")});
        for (int p = 0; p < vorn::kMapSize; ++p)
            stepServo(w.Image.servoMv(p), up);
    } else if (validIndex(w.LiveCell.servoColumn)) {
        // The live point comes from the unit; an index outside the table must not reach
        // into the neighbouring bytes.
        stepServo(w.Image.servoMv(w.LiveCell.servoColumn), up);
    }
    w.AfterEdit();
}

// Every throttle row of one map column.
void columnStep(TFormHlav &w, int column, bool up)
{
    if (!validIndex(column))
        return;
    w.ReadParameters();
    w.History->nextStep({&vorn::htext::StepColumn, QString::number(column + 1) + (up ? " +1 °" : " -1 °")});
    for (int r = 0; r < vorn::kMapSize; ++r)
        stepAdvance(w.Image.advance(r, column), up);
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
    const int mv = Live.tpsMv;
    if (mv < kTps0MinMv || mv > kTps0MaxMv)
        return;
    Image.tps0() = static_cast<std::uint8_t>(mv / 10);
    AfterEdit();
}

void TFormHlav::BitBtnTps100Click()
{
    const int mv = Live.tpsMv;
    if (mv < kTps100MinMv || mv > kTps100MaxMv)
        return;
    Image.tps100() = static_cast<std::uint8_t>(mv / 10 - 250);
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
