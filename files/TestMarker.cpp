// The developer test-mode marker: a text file that unlocks the diagnostic labels.
#include "TestMarker.h"

#include <QFile>

namespace vorn {

bool markerUnlocks(const QByteArray &content)
{
    static const QByteArray kKeyword("DIAG_UNLOCK");
    const QList<QByteArray> words = content.simplified().split(' ');
    for (const QByteArray &w : words)
        if (w == kKeyword)
            return true;
    return false;
}

bool markerFileUnlocks(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // A marker is a few words; cap what we read so a stray huge file cannot stall start-up.
    constexpr qint64 kMaxMarkerSize = 1 << 20;
    return markerUnlocks(f.read(kMaxMarkerSize));
}

}  // namespace vorn
