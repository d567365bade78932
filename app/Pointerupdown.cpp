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

    k = vorn::table::kLobeUpDowns;
    vorn::table::forEachSpunControl("UpDown", put);
}

void vorn::table::forEachSpunControl(const char *prefix, const std::function<void(const QString &)> &put)
{
    const QString p = QLatin1String(prefix);
    for (const char *kind : {"Zac", "End"})
        for (int ch = 1; ch <= vorn::kChannels; ++ch)
            put(p + QStringLiteral("Palec%1%2").arg(ch).arg(QLatin1String(kind)));
    for (int n = 1; n <= 10; ++n)
        put(p + QStringLiteral("RpmAdv%1").arg(n));
    for (int n = 50; n <= 149; ++n)
        put(p + QString::number(n));
    for (int n = 1; n <= 10; ++n)
        put(p + QStringLiteral("RpmPriv%1").arg(n));
    for (int n = 1; n <= 10; ++n)
        put(p + QStringLiteral("NapPriv%1").arg(n));
}
