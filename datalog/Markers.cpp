#include "datalog/Markers.h"

#include "datalog/LogFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace vorn {

QString markersPathFor(const QString &logPath)
{
    QString base = logPath;
    if (base.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QStringLiteral(".markers.csv");
}

namespace {

QByteArray markerLine(const LogMarker &m)
{
    QString note = m.note;
    note.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    QByteArray text = note.toUtf8();
    if (text.contains(',') || text.contains('"'))
        text = '"' + text.replace("\"", "\"\"") + '"';
    return QByteArray::number(m.timeS, 'f', 3) + ',' + text + '\n';
}

std::optional<LogMarker> parseLine(QByteArray line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    const qsizetype comma = line.indexOf(',');
    if (comma < 0)
        return std::nullopt;
    bool ok = false;
    const double t = line.left(comma).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(t))
        return std::nullopt;
    QByteArray note = line.mid(comma + 1);
    if (note.startsWith('"')) {
        if (note.size() < 2 || !note.endsWith('"'))
            return std::nullopt;
        note = note.mid(1, note.size() - 2).replace("\"\"", "\"");
    }
    return LogMarker{t, QString::fromUtf8(note)};
}

}  // namespace

QByteArray formatMarkers(const std::vector<LogMarker> &markers)
{
    QByteArray text = QByteArray(kMarkersHeader) + '\n';
    for (const LogMarker &m : markers)
        text += markerLine(m);
    return text;
}

std::vector<LogMarker> parseMarkers(const QByteArray &text)
{
    std::vector<LogMarker> markers;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == 0 && lines[i].trimmed() == kMarkersHeader)
            continue;
        if (auto m = parseLine(lines[i]))
            markers.push_back(*m);
    }
    std::stable_sort(markers.begin(), markers.end(),
                     [](const LogMarker &a, const LogMarker &b) { return a.timeS < b.timeS; });
    return markers;
}

std::vector<LogMarker> loadMarkers(const QString &logPath)
{
    QFile f(markersPathFor(logPath));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return parseMarkers(f.readAll());
}

bool saveMarkers(const QString &logPath, const std::vector<LogMarker> &markers)
{
    QSaveFile f(markersPathFor(logPath));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(formatMarkers(markers));
    return f.commit();
}

bool appendMarker(const QString &logPath, const LogMarker &marker)
{
    QFile f(markersPathFor(logPath));
    const bool fresh = !f.exists() || f.size() == 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    QByteArray text = fresh ? QByteArray(kMarkersHeader) + '\n' : QByteArray();
    text += markerLine(marker);
    return f.write(text) == text.size() && f.flush();
}

std::optional<double> recordingTimeNow(const QString &logPath, const QDateTime &now)
{
    QFile f(logPath);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The last complete row is within the last few hundred bytes; a row is under 120.
    const qint64 tail = std::min<qint64>(f.size(), 1024);
    f.seek(f.size() - tail);
    const QByteArray end = f.read(tail);
    const QList<QByteArray> lines = end.split('\n');
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (auto row = parseLogRow(lines[i])) {
            const qint64 sinceWrite = QFileInfo(f).lastModified().msecsTo(now);
            return static_cast<double>(row->timeMs) / 1000.0 + std::max<qint64>(0, sinceWrite) / 1000.0;
        }
    }
    return 0.0;
}

}  // namespace vorn
