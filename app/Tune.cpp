// The active-cell highlight: the map cell, throttle row and servo point in use, in lime.
#include "Hlav.h"

#include "Colors.h"
#include "ControlTable.h"
#include "link/Tune.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

void TFormHlav::HighlightActiveCell()
{
    using namespace vorn::ui;
    namespace t = vorn::table;
    // Runs on every 55 ms tick: reach the repeated controls through the control table,
    // not by name.
    auto *tpsMap = ctl<QCheckBox>("CheckBoxTpsMapa");
    // A replay puts the logged cell into LiveCell itself.
    if (!Replaying)
        LiveCell = vorn::findActiveCell(Image, Live, tpsMap && tpsMap->isChecked());
    const bool inMap = !LiveCell.belowMap;
    const QColor window = windowColor();
    const QColor face = buttonFace();
    for (int k = 0; k < vorn::kMapSize; ++k) {
        setEditBackground(ControlTable[t::kRpmAdvEdits + k], inMap && k == LiveCell.advanceColumn ? kLime : window);
        setBackground(ControlTable[t::kTpsLabels + k], k == LiveCell.throttleRow ? kLime : face);
        const QColor servo = k == LiveCell.servoColumn ? kLime : window;
        setEditBackground(ControlTable[t::kServoRpmEdits + k], servo);
        setEditBackground(ControlTable[t::kServoMvEdits + k], servo);
    }
    for (int row = 0; row < vorn::kMapSize; ++row)
        for (int col = 0; col < vorn::kMapSize; ++col) {
            const bool live = inMap && row == LiveCell.throttleRow && col == LiveCell.advanceColumn;
            setEditBackground(ControlTable[t::mapEdit(row, col)], live ? kLime : window);
        }
}
