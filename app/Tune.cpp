// The active-cell highlight: the map cell, throttle row and servo point in use, in lime.
#include "Hlav.h"

#include "host/Colors.h"
#include "ControlTable.h"
#include "link/Tune.h"
#include "maps/ui/MapTools.h"

#include <QApplication>
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
        const bool liveServo = k == LiveCell.servoColumn;
        setEditBackground(ControlTable[t::kServoRpmEdits + k], liveServo ? kLime : window);
        paintCell(ControlTable[t::kServoMvEdits + k], liveServo, vorn::maps::Table::Servo, {0, k});
    }
    for (int row = 0; row < vorn::kMapSize; ++row)
        for (int col = 0; col < vorn::kMapSize; ++col) {
            const bool live = inMap && row == LiveCell.throttleRow && col == LiveCell.advanceColumn;
            paintCell(ControlTable[t::mapEdit(row, col)], live, vorn::maps::Table::Advance, {row, col});
        }
}

// A map cell or servo voltage: the live one in lime above all; the others in the map
// tools' colours (selection, heat) when there are any.
void TFormHlav::paintCell(QWidget *edit, bool live, vorn::maps::Table table, vorn::maps::Cell cell)
{
    using namespace vorn::ui;
    if (live) {
        setEditColours(edit, kLime, QColor(Qt::black));
        return;
    }
    const QColor window = windowColor();
    const QColor bg = cellColours_ ? cellColours_(table, cell) : window;
    setEditColours(edit, bg, bg == window ? QApplication::palette().color(QPalette::Text)
                                          : vorn::maps::textOn(bg));
}
