// Fills the edit part of the control table: throttle row captions and the repeated edits.
#include "Hlav.h"

// Entries 20..167. The map cell of throttle row i, column j is entry 48 + 10 i + j; every
// edit at entry k has its spinner at entry k + kEditToUpDown.
void TFormHlav::InitEditPointers()
{
    int k = 20;
    auto put = [this, &k](const QString &name) { ControlTable[static_cast<std::size_t>(k++)] = ctl<QWidget>(name); };
    for (int n = 1; n <= 10; ++n)
        put(QStringLiteral("LabelTps%1").arg(n));
    for (const char *kind : {"Zac", "End"})
        for (int ch = 1; ch <= vorn::kChannels; ++ch)
            put(QStringLiteral("EditPalec%1%2").arg(ch).arg(QLatin1String(kind)));
    for (int n = 1; n <= 10; ++n)
        put(QStringLiteral("EditRpmAdv%1").arg(n));
    for (int n = 50; n <= 149; ++n)
        put(QStringLiteral("Edit%1").arg(n));
    for (int n = 1; n <= 10; ++n)
        put(QStringLiteral("EditRpmPriv%1").arg(n));
    for (int n = 1; n <= 10; ++n)
        put(QStringLiteral("EditNapPriv%1").arg(n));
}
