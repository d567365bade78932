#include "logview/LogSet.h"

#include "logview/WorkbenchTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace vorn::logview {

namespace {

QString valueText(double v, int channel)
{
    if (std::isnan(v))
        return QStringLiteral("–");
    // Logged values are whole numbers; between rows a tenth shows the interpolation.
    const int decimals = channel == ChRpm || logChannelHolds(channel) ? 0 : 1;
    return QString::number(v, 'f', decimals);
}

}  // namespace

QString secondsText(double s)
{
    return QString::number(s, 'f', 3);
}

QString cursorSpanText(double a, double b, int language)
{
    return text4(texts::kSpan, language).arg(secondsText(a), secondsText(b), secondsText(std::abs(b - a)));
}

double LogSet::start() const
{
    double s = logs.empty() ? 0.0 : logs.front().table.start() + logs.front().offset;
    for (const ShownLog &l : logs)
        s = std::min(s, l.table.start() + l.offset);
    return s;
}

double LogSet::end() const
{
    double e = logs.empty() ? 1.0 : logs.front().table.end() + logs.front().offset;
    for (const ShownLog &l : logs)
        e = std::max(e, l.table.end() + l.offset);
    return e;
}

std::optional<ShownLog> LogSet::read(const QString &path, int language, QString &failure)
{
    LogContents contents = readLog(path);
    if (!contents.ok) {
        failure = text4(texts::kCannotRead, language).arg(QDir::toNativeSeparators(path), contents.error);
        return std::nullopt;
    }
    if (contents.rows.empty()) {
        failure = text4(texts::kNoRows, language).arg(QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    ShownLog log;
    log.path = path;
    log.table = logTableOf(std::move(contents.rows));
    log.markers = loadMarkers(path);
    log.mapSpeeds = mapSpeedsBesideLog(path, log.table.rows.front().timeMs);
    return log;
}

bool LogSet::alignByPullStart(const std::function<std::vector<double>(const std::vector<LogRow> &)> &pullStarts,
                              int language, QString &failure)
{
    failure.clear();
    if (!pullStarts || logs.size() < 2)
        return false;
    std::vector<double> firsts;
    for (const ShownLog &l : logs) {
        const std::vector<double> starts = pullStarts(l.table.rows);
        if (starts.empty()) {
            failure = text4(texts::kNoPull, language).arg(QFileInfo(l.path).fileName());
            return false;
        }
        firsts.push_back(starts.front());
    }
    for (std::size_t i = 1; i < logs.size(); ++i)
        logs[i].offset = firsts.front() + logs.front().offset - firsts[i];
    return true;
}

void LogSet::reloadMarkers()
{
    for (ShownLog &l : logs)
        l.markers = loadMarkers(l.path);
}

QList<QStringList> LogSet::readout(const QList<int> &channels, double cursorA, double cursorB, int language) const
{
    QList<QStringList> rows;
    for (std::size_t li = 0; li < logs.size(); ++li) {
        const ShownLog &l = logs[li];
        for (int c : channels) {
            QString name = text4(texts::kChannelNames[c], language);
            if (logs.size() > 1)
                name = QStringLiteral("%1: %2").arg(li + 1).arg(name);
            const RangeStats s = rangeStats(l.table, c, cursorA - l.offset, cursorB - l.offset);
            rows << QStringList{name,
                                valueText(valueAt(l.table, c, cursorA - l.offset), c),
                                valueText(valueAt(l.table, c, cursorB - l.offset), c),
                                valueText(s.min, c),
                                valueText(s.max, c),
                                std::isnan(s.mean) ? QStringLiteral("–") : QString::number(s.mean, 'f', 2)};
        }
    }
    return rows;
}

bool LogSet::exportCsv(const QString &path, double cursorA, double cursorB) const
{
    if (logs.empty())
        return false;
    const ShownLog &l = logs.front();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(logRowsCsv(l.table, cursorA - l.offset, cursorB - l.offset));
    return file.commit();
}

}  // namespace vorn::logview
