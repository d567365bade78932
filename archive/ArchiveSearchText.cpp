#include "ArchiveSearchText.h"

#include <QStringList>

namespace vorn {

QString foldForSearch(QStringView text)
{
    // The compatibility decomposition puts each accent beside its letter ("á" is "a" and an
    // acute) and ligatures such as "ﬁ" into their letters; the accents are then left out.
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD).toCaseFolded();
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        // Letters no decomposition takes apart.
        switch (c.unicode()) {
        case u'ß': folded += QLatin1String("ss"); break;
        case u'æ': folded += QLatin1String("ae"); break;
        case u'œ': folded += QLatin1String("oe"); break;
        case u'ø': folded += QLatin1Char('o'); break;
        case u'ł': folded += QLatin1Char('l'); break;
        case u'đ': folded += QLatin1Char('d'); break;
        case u'ı': folded += QLatin1Char('i'); break;
        default: folded += c; break;
        }
    }
    return folded;
}

QString eventSearchText(const UnitTexts &unit, const QString &bench, const QString &user)
{
    return foldForSearch(QStringList{unit.version, unit.date, unit.time, unit.freeText, bench, user}.join(QLatin1Char('\n')));
}

}  // namespace vorn
