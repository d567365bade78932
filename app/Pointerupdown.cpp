// Fills the rest of the control table: channel check boxes, advance labels and the spinners.
#include "ControlTable.h"
#include "Hlav.h"


// Entries 0..19 and 168..305, in the order the loops over them expect.
void TFormHlav::InitUpDownPointers()
{
    int k = 0;
    auto put = [this, &k](const QString &name) { ControlTable[static_cast<std::size_t>(k++)] = ctl<QWidget>(name); };
    for (const char *flag : {"ZacH2", "EndH2", "ZacP2", "EndP2"})
        for (int ch = 1; ch <= vorn::kChannels; ++ch)
            put(QStringLiteral("CheckBoxPalec%1%2").arg(ch).arg(QLatin1String(flag)));
    for (int ch = 1; ch <= vorn::kChannels; ++ch)
        put(QStringLiteral("LabelAdvance%1").arg(ch));

    k = 168;
    for (const char *kind : {"Zac", "End"})
        for (int ch = 1; ch <= vorn::kChannels; ++ch)
            put(QStringLiteral("UpDownPalec%1%2").arg(ch).arg(QLatin1String(kind)));
    for (int n = 1; n <= 10; ++n)
        put(QStringLiteral("UpDownRpmAdv%1").arg(n));
    for (int n = 50; n <= 149; ++n)
        put(QStringLiteral("UpDown%1").arg(n));
    for (int n = 1; n <= 10; ++n)
        put(QStringLiteral("UpDownRpmPriv%1").arg(n));
    for (int n = 1; n <= 10; ++n)
        put(QStringLiteral("UpDownNapPriv%1").arg(n));
}
