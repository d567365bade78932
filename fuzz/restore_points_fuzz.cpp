// Fuzz entry for the restore-point folder: file names and the identification index as
// another program run, a copied folder or a hand edit can leave them, then one point
// written by the store. The input is three parts split at zero bytes: file names (one a
// line), the index file, the unit's identification (its 8-bit characters).
#include "FuzzCheck.h"
#include "files/IgnFile.h"
#include "history/RestorePoints.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

QString folder()
{
    static const QString path = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        return QDir(base).filePath(QStringLiteral("vorn4-fuzz-restore-%1").arg(::getpid()));
    }();
    return path;
}

// A line that can be a file's name in the folder (the names the program reads are among them).
// A name that starts with ':' is left out: Qt takes such a path for a resource, and no point's
// name starts so.
bool fileNameFits(const QByteArray &line)
{
    return !line.isEmpty() && line.size() < 200 && line != "." && line != ".." && !line.contains('/')
        && !line.startsWith(':')
        && line != vorn::kRestoreIndexFileName.toUtf8() && QString::fromUtf8(line).toUtf8() == line;
}

bool newerFirst(const vorn::RestorePoint &a, const vorn::RestorePoint &b)
{
    return a.time > b.time || (a.time == b.time && a.suffix >= b.suffix);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QList<QByteArray> parts = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    const QByteArray index = parts.value(1);
    // As the window makes it: the unit's characters read as Latin-1, trimmed.
    const QString unit = QString::fromLatin1(parts.value(2)).trimmed();

    QDir dir(folder());
    dir.removeRecursively();
    FUZZ_CHECK(QDir().mkpath(dir.path()));
    vorn::ParameterImage base;
    for (int i = 0; i < vorn::kImageSize; ++i)
        base[i] = static_cast<std::uint8_t>(i * 29 + 7);

    // Names: an accepted one is the name the program gives its fields back.
    QSet<QString> accepted;
    std::optional<vorn::RestorePoint> first;
    int files = 0;
    for (const QByteArray &line : parts.value(0).split('\n')) {
        const QString name = QString::fromUtf8(line);
        if (const auto p = vorn::parseRestorePointFileName(name)) {
            FUZZ_CHECK(p->fileName == name && p->time.isValid() && p->suffix >= 1);
            const auto again = vorn::parseRestorePointFileName(vorn::restorePointFileName(p->time, p->event, p->suffix));
            FUZZ_CHECK(again && again->time == p->time && again->event == p->event && again->suffix == p->suffix);
            if (!first)
                first = p;
        }
        if (fileNameFits(line) && ++files <= 64) {
            QFile f(dir.filePath(name));
            FUZZ_CHECK(f.open(QIODevice::WriteOnly) && f.write(vorn::WriteParameterFile(base)) > 0);
            if (vorn::parseRestorePointFileName(name))
                accepted.insert(name);
        }
    }
    if (parts.size() > 1) {
        QFile f(dir.filePath(vorn::kRestoreIndexFileName));
        FUZZ_CHECK(f.open(QIODevice::WriteOnly) && f.write(index) == index.size());
    }

    // The listing: every point once, newest first, identifications from index lines only.
    const std::vector<vorn::RestorePoint> listed = vorn::listRestorePoints(dir.path());
    FUZZ_CHECK(listed.size() == std::size_t(accepted.size()));
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const vorn::RestorePoint &p = listed[i];
        FUZZ_CHECK(accepted.contains(p.fileName) && (i == 0 || newerFirst(listed[i - 1], p)));
        FUZZ_CHECK(p.unit == p.unit.trimmed() && !p.unit.contains(QLatin1Char('\n')));
        FUZZ_CHECK(p.unit.isEmpty() || index.startsWith(p.fileName.toUtf8() + '\t')
              || index.contains('\n' + p.fileName.toUtf8() + '\t'));
    }

    // One point written into that folder, in the second of its first point when it has one.
    const int limit = 1 + int(size % 8);
    const auto event = static_cast<vorn::RestoreEvent>(size / 8 % 6);
    const QDateTime when = first ? first->time : QDateTime(QDate(2026, 12, 8), QTime(12, 0, 0));
    vorn::ParameterImage image = base;
    if (size / 48 % 2)
        image.limiter2() ^= 1;
    vorn::RestorePointStore store(dir.path(), limit);
    const vorn::RestorePointStore::Result r = store.write(image, event, when, unit);
    FUZZ_CHECK(r.error.isEmpty());
    const std::vector<vorn::RestorePoint> after = vorn::listRestorePoints(dir.path());
    const bool before = event != vorn::RestoreEvent::Read && event != vorn::RestoreEvent::Programmed;
    // Only a "before" point equal to the newest one is left out, and then nothing changes.
    FUZZ_CHECK(r.skipped == (before && image == base && !listed.empty()));
    if (r.skipped) {
        FUZZ_CHECK(after.size() == listed.size());
        return 0;
    }
    FUZZ_CHECK(r.written);
    const QString name = QFileInfo(r.path).fileName();
    const auto p = vorn::parseRestorePointFileName(name);
    FUZZ_CHECK(p && p->event == event && p->time.toString(kTimeFormat) == when.toString(kTimeFormat)
          && !accepted.contains(name));

    // The newest `limit` points stay (points of one second with one suffix, which only
    // hand-made names give, in any order), each with the identification it had; the new
    // one, unless it is the oldest beyond the limit, with the unit's as written or with its
    // line breaks as spaces (the index keeps one line a point).
    std::vector<vorn::RestorePoint> expected = listed;
    vorn::RestorePoint made = *p;
    QString madeUnit = unit;
    made.unit = madeUnit.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' ')).trimmed();
    expected.insert(std::find_if(expected.begin(), expected.end(),
                                 [&](const vorn::RestorePoint &q) { return !newerFirst(q, made); }),
                    made);
    if (expected.size() > std::size_t(limit))
        expected.resize(std::size_t(limit));
    FUZZ_CHECK(after.size() == expected.size());
    QHash<QString, QString> units;
    for (const vorn::RestorePoint &q : listed)
        units.insert(q.fileName, q.unit);
    for (std::size_t i = 0; i < after.size(); ++i) {
        const vorn::RestorePoint &q = after[i];
        FUZZ_CHECK(q.time == expected[i].time && q.suffix == expected[i].suffix);
        FUZZ_CHECK((q.fileName == made.fileName) == (expected[i].fileName == made.fileName));
        if (q.fileName == made.fileName)
            FUZZ_CHECK(q.unit == unit || q.unit == made.unit);
        else
            FUZZ_CHECK(units.contains(q.fileName) && q.unit == units.value(q.fileName));
    }
    return 0;
}
