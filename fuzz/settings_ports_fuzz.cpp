// Fuzz entry for the settings file reader and the [PORTS] writer: whatever the settings
// file holds, storing a device for a COM number changes that one key line (or adds it,
// with its section when missing) and keeps every other byte of the file. The input's first
// line is "N path" (the COM number and the device path); the rest is the settings file.
#include "FuzzCheck.h"
#include "files/ProfileIni.h"
#include "link/PortChoice.h"
#include "link/PortPath.h"

#include <QDir>
#include <QFile>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

QString settingsPath()
{
    static const QString path = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        return QDir(base).filePath(QStringLiteral("vorn4-fuzz-settings-%1.ini").arg(::getpid()));
    }();
    return path;
}

// The file's lines, each with its line feed.
QList<QByteArray> linesOf(const QByteArray &content)
{
    QList<QByteArray> lines;
    for (qsizetype start = 0; start < content.size();) {
        const qsizetype lf = content.indexOf('\n', start);
        const qsizetype end = lf < 0 ? content.size() : lf + 1;
        lines.append(content.mid(start, end - start));
        start = end;
    }
    return lines;
}

QByteArray endingOf(const QByteArray &line)
{
    return line.endsWith("\r\n") ? QByteArray("\r\n") : line.endsWith('\n') ? QByteArray("\n") : QByteArray();
}

// Whether the line is a key line of the key `key` ("  com3 = x").
bool isKeyLine(const QByteArray &line, const QByteArray &key)
{
    const QByteArray t = line.trimmed();
    const qsizetype eq = t.indexOf('=');
    return eq > 0 && t.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype lf = input.indexOf('\n');
    const QByteArray head = lf < 0 ? input : input.left(lf);
    int n = 0, digits = 0;
    while (digits < head.size() && digits < 3 && head[digits] >= '0' && head[digits] <= '9')
        n = n * 10 + (head[digits++] - '0');
    const QString devicePath = QString::fromUtf8(head.mid(digits + (digits < head.size() ? 1 : 0)));
    const bool fileThere = lf >= 0;
    const QByteArray old = fileThere ? input.mid(lf + 1) : QByteArray();

    const QString path = settingsPath();
    QFile::remove(path);
    if (fileThere) {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
    }
    std::array<QString, vorn::kComPortCount + 1> paths;
    {
        const vorn::ProfileIni ini(path);
        FUZZ_CHECK(ini.readWhole());
        for (int k = 1; k <= vorn::kComPortCount; ++k)
            paths[k] = vorn::comDevicePath(k, ini);
    }

    QString error;
    const bool stored = vorn::storeComDevicePath(path, n, devicePath, 0, &error);
    const bool valid = n >= 1 && n <= vorn::kComPortCount && !devicePath.trimmed().isEmpty();
    FUZZ_CHECK(stored == valid && stored == error.isEmpty());
    QFile f(path);
    const QByteArray now = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (!stored) {
        FUZZ_CHECK(now == old && QFile::exists(path) == fileThere);   // a refusal writes nothing
        return 0;
    }

    // The new value reads back (line breaks become spaces: one key is one line); the other
    // COM numbers lead where they did.
    QString value = devicePath.trimmed();
    value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const vorn::ProfileIni ini(path);
    FUZZ_CHECK(vorn::comDevicePath(n, ini) == value.trimmed());
    for (int k = 1; k <= vorn::kComPortCount; ++k)
        FUZZ_CHECK(k == n || vorn::comDevicePath(k, ini) == paths[k]);

    // Byte for byte: past the lines both files share at their start and end, the old file
    // has at most the key line replaced, or a last line that gains a line end; the new one
    // has the key line, after the [PORTS] header when that is new.
    const QByteArray key = QByteArray("COM") + QByteArray::number(n);
    const QByteArray keyText = key + '=' + value.toUtf8();
    const qsizetype firstLf = old.indexOf('\n');
    const QByteArray nl = firstLf > 0 && old[firstLf - 1] == '\r' ? "\r\n" : firstLf >= 0 ? "\n" : "\r\n";
    const QList<QByteArray> a = linesOf(old), b = linesOf(now);
    qsizetype p = 0, s = 0;
    while (p < a.size() && p < b.size() && a[p] == b[p])
        ++p;
    while (s < a.size() - p && s < b.size() - p && a[a.size() - 1 - s] == b[b.size() - 1 - s])
        ++s;
    const QList<QByteArray> was = a.mid(p, a.size() - p - s), is = b.mid(p, b.size() - p - s);
    bool ok = false;
    if (was.size() == 1 && is.size() == 1) {
        // The key replaced in place, its line end kept.
        ok = isKeyLine(was[0], key) && is[0] == keyText + endingOf(was[0]);
    } else if (was.size() <= 1 && !is.isEmpty() && is.last() == keyText + nl) {
        QList<QByteArray> added = is.mid(0, is.size() - 1);
        if (was.size() == 1)   // the old last line, without a line end, gains one
            ok = endingOf(was[0]).isEmpty() && !added.isEmpty() && added.takeFirst() == was[0] + nl;
        else
            ok = true;
        ok = ok && (added.isEmpty() || (added.size() == 1 && added[0] == "[PORTS]" + nl));
    }
    FUZZ_CHECK(ok || (was.isEmpty() && is.isEmpty()));
    return 0;
}
