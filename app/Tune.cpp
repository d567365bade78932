// The active-cell highlight: the map cell, throttle row and servo point in use, in lime.
#include "Hlav.h"

#include "Colors.h"
#include "link/Tune.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

void TFormHlav::HighlightActiveCell()
{
    using namespace vorn::ui;
    auto *tpsMap = ctl<QCheckBox>("CheckBoxTpsMapa");
    LiveCell = vorn::findActiveCell(Image, Live, tpsMap && tpsMap->isChecked());
    const bool inMap = !LiveCell.belowMap;
    const QColor window = windowColor();
    for (int k = 0; k < vorn::kMapSize; ++k) {
        const QString n = QString::number(k + 1);
        setEditBackground(edit("RpmAdv" + n), inMap && k == LiveCell.advanceColumn ? kLime : window);
        setBackground(ctl<QLabel>("LabelTps" + n), k == LiveCell.throttleRow ? kLime : buttonFace());
        const QColor servo = k == LiveCell.servoColumn ? kLime : window;
        setEditBackground(edit("RpmPriv" + n), servo);
        setEditBackground(edit("NapPriv" + n), servo);
    }
    for (int row = 0; row < vorn::kMapSize; ++row)
        for (int col = 0; col < vorn::kMapSize; ++col) {
            const bool live = inMap && row == LiveCell.throttleRow && col == LiveCell.advanceColumn;
            setEditBackground(edit(QString::number(50 + 10 * row + col)), live ? kLime : window);
        }
}
