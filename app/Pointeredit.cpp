// Fills the edit part of the control table: throttle row captions and the repeated edits.
#include "ControlTable.h"
#include "Hlav.h"

// Entries 20..167. The map cell of throttle row i, column j is entry 48 + 10 i + j; every
// edit at entry k has its spinner at entry k + kEditToUpDown.
void TFormHlav::InitEditPointers()
{
    int k = 20;
    auto put = [this, &k](const QString &name) { ControlTable[static_cast<std::size_t>(k++)] = ctl<QWidget>(name); };
    for (int n = 1; n <= 10; ++n)
        put(QStringLiteral("LabelTps%1").arg(n));
    vorn::table::forEachSpunControl("Edit", put);
}
