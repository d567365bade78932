// Counting time per map cell and servo point, and keeping the counts beside their log.
#include "TimeInCell.h"

#include "files/AtomicFile.h"
#include "link/Tune.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QList>

#include <algorithm>

namespace vorn {

namespace {

const QByteArray kMagic = "vorn4 time in cell ms 1";

}  // namespace

void TimeInCell::addSample(std::int64_t timeMs, const LiveCell &cell)
{
    if (havePrevious_ && timeMs > previousMs_) {
        const std::int64_t step = std::min(timeMs - previousMs_, kMaxStepMs);
        if (!previous_.belowMap)
            cells_[previous_.throttleRow][previous_.advanceColumn] += step;
        servo_[previous_.servoColumn] += step;
        totalMs_ += step;
    }
    havePrevious_ = true;
    previousMs_ = timeMs;
    previous_ = cell;
}

double TimeInCell::cellShare(int row, int column) const
{
    return totalMs_ > 0 ? double(cells_[row][column]) / double(totalMs_) : 0.0;
}

double TimeInCell::servoShare(int point) const
{
    return totalMs_ > 0 ? double(servo_[point]) / double(totalMs_) : 0.0;
}

std::int64_t TimeInCell::largestCellMs() const
{
    std::int64_t most = 0;
    for (const auto &row : cells_)
        most = std::max(most, *std::max_element(row.begin(), row.end()));
    return most;
}

QByteArray TimeInCell::serialize() const
{
    QByteArray out = kMagic + "\ntotal," + QByteArray::number(totalMs_) + "\n";
    auto line = [&out](const char *name, const std::array<std::int64_t, kMapSize> &values) {
        out += name;
        for (std::int64_t v : values)
            out += ',' + QByteArray::number(v);
        out += '\n';
    };
    for (const auto &row : cells_)
        line("map", row);
    line("servo", servo_);
    return out;
}

std::optional<TimeInCell> TimeInCell::parse(const QByteArray &text)
{
    const QList<QByteArray> lines = text.trimmed().split('\n');
    if (lines.size() != 2 + kMapSize + 1 || lines[0].trimmed() != kMagic)
        return std::nullopt;
    TimeInCell t;
    auto numbers = [](const QByteArray &line, const QByteArray &name, int count, std::int64_t *out) {
        const QList<QByteArray> f = line.trimmed().split(',');
        if (f.size() != count + 1 || f[0] != name)
            return false;
        for (int i = 0; i < count; ++i) {
            bool ok = false;
            out[i] = f[i + 1].toLongLong(&ok);
            if (!ok || out[i] < 0)
                return false;
        }
        return true;
    };
    if (!numbers(lines[1], "total", 1, &t.totalMs_))
        return std::nullopt;
    for (int r = 0; r < kMapSize; ++r)
        if (!numbers(lines[2 + r], "map", kMapSize, t.cells_[r].data()))
            return std::nullopt;
    if (!numbers(lines[2 + kMapSize], "servo", kMapSize, t.servo_.data()))
        return std::nullopt;
    // Counting adds each step to the total and to at most one cell and one servo point, so
    // neither the cells nor the servo points can add up to more than the total. A file that
    // says otherwise was edited or damaged; its shares would pass 100 %. The total also
    // keeps room to count on from it in a live run without running over.
    if (t.totalMs_ > kMaxLoadedTotalMs)
        return std::nullopt;
    auto spend = [](std::int64_t &left, std::int64_t v) {   // no sum is formed, so none overflows
        if (v > left)
            return false;
        left -= v;
        return true;
    };
    std::int64_t cellsLeft = t.totalMs_, servoLeft = t.totalMs_;
    for (const auto &row : t.cells_)
        for (std::int64_t v : row)
            if (!spend(cellsLeft, v))
                return std::nullopt;
    for (std::int64_t v : t.servo_)
        if (!spend(servoLeft, v))
            return std::nullopt;
    return t;
}

LiveCell liveCellOf(const LogRow &row, const ParameterImage &image, bool tpsMapOn)
{
    LiveValues live;
    live.speed = static_cast<std::uint16_t>(std::clamp(row.rpm, 0, 65535));
    live.tpsPercent = static_cast<std::uint8_t>(std::clamp(row.throttlePercent, 0, 255));
    live.tpsMv = static_cast<std::uint16_t>(std::clamp(row.throttleMv, 0, 65535));
    LiveCell cell = findActiveCell(image, live, tpsMapOn);
    if (row.mapColumn && row.mapRow) {
        cell.belowMap = false;
        cell.advanceColumn = *row.mapColumn;
        cell.throttleRow = *row.mapRow;
    }
    return cell;
}

TimeInCell timeInCellOfRows(const std::vector<LogRow> &rows, std::size_t count, const ParameterImage &image,
                            bool tpsMapOn)
{
    TimeInCell t;
    count = std::min(count, rows.size());
    for (std::size_t i = 0; i < count; ++i)
        t.addSample(rows[i].timeMs, liveCellOf(rows[i], image, tpsMapOn));
    return t;
}

QString timeInCellPathFor(const QString &logPath)
{
    const QFileInfo info(logPath);
    const QString base = info.suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0
                             ? info.completeBaseName()
                             : info.fileName();
    return info.dir().filePath(base + QStringLiteral(".cells"));
}

bool saveTimeInCell(const TimeInCell &counts, const QString &logPath)
{
    return writeFileAtomically(timeInCellPathFor(logPath), counts.serialize());
}

std::optional<TimeInCell> loadTimeInCell(const QString &logPath)
{
    QFile f(timeInCellPathFor(logPath));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return TimeInCell::parse(f.read(64 * 1024));
}

}  // namespace vorn
