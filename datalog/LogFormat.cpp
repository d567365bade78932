// The datalog's CSV rows, writer and tolerant reader.
#include "LogFormat.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace vorn {

namespace {

// The smallest converter count that shows as `mv`; the inverse of countsToMv for every
// value countsToMv can give (one count is almost 5 mV, so no two counts share a value).
std::uint16_t mvToCounts(int mv)
{
    if (mv <= 0)
        return 0;
    return static_cast<std::uint16_t>(std::min(65535, (mv * 1023 + 4999) / 5000));
}

std::uint8_t byteOf(int v)
{
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

std::uint16_t wordOf(int v)
{
    return static_cast<std::uint16_t>(std::clamp(v, 0, 65535));
}

// Reads an unsigned decimal of [begin, end) no larger than `max`.
bool parseUInt(const char *begin, const char *end, int max, int &out)
{
    if (begin == end)
        return false;
    int v = 0;
    const auto r = std::from_chars(begin, end, v);
    if (r.ec != std::errc() || r.ptr != end || v < 0 || v > max || *begin == '-' || *begin == '+')
        return false;
    out = v;
    return true;
}

// "12.345" (up to three decimals) into milliseconds.
bool parseSeconds(const char *begin, const char *end, std::int64_t &ms)
{
    const char *dot = std::find(begin, end, '.');
    std::int64_t whole = 0;
    if (dot == begin)
        return false;
    const auto r = std::from_chars(begin, dot, whole);
    if (r.ec != std::errc() || r.ptr != dot || whole < 0 || *begin == '-' || *begin == '+')
        return false;
    int frac = 0, digits = 0;
    if (dot != end) {
        for (const char *p = dot + 1; p != end; ++p) {
            if (*p < '0' || *p > '9' || ++digits > 3)
                return false;
            frac = frac * 10 + (*p - '0');
        }
        if (digits == 0)
            return false;
    }
    for (; digits < 3; ++digits)
        frac *= 10;
    if (whole > (std::int64_t{1} << 40))
        return false;
    ms = whole * 1000 + frac;
    return true;
}

bool parseFlag(const char *begin, const char *end, bool &out)
{
    if (end - begin != 1 || (*begin != '0' && *begin != '1'))
        return false;
    out = *begin == '1';
    return true;
}

}  // namespace

LogRow logRowFrom(const MonitorFields &f, const std::optional<LiveCell> &cell, std::int64_t timeMs)
{
    LogRow row;
    row.timeMs = timeMs;
    row.rpm = f.rpm;
    row.throttlePercent = f.tpsPercent;
    row.throttleMv = countsToMv(f.tpsRaw);
    row.supplyMv = f.supplyMv;
    for (int ch = 0; ch < kChannels; ++ch)
        row.advance[ch] = f.advance[ch];
    row.servoDesiredMv = countsToMv(f.servoDesiredRaw);
    row.servoMeasuredMv = countsToMv(f.servoMeasuredRaw);
    row.blocking = f.blockingActive != 0;
    row.shiftLight = f.shiftLightActive != 0;
    row.clutchMaster = f.clutchActive != 0;
    if (cell && !cell->belowMap) {
        row.mapColumn = cell->advanceColumn;
        row.mapRow = cell->throttleRow;
    }
    return row;
}

MonitorFields monitorFieldsFrom(const LogRow &row)
{
    MonitorFields f;
    f.rpm = wordOf(row.rpm);
    f.tpsPercent = byteOf(row.throttlePercent);
    f.tpsRaw = mvToCounts(row.throttleMv);
    f.supplyMv = wordOf(row.supplyMv);
    for (int ch = 0; ch < kChannels; ++ch)
        f.advance[ch] = byteOf(row.advance[ch]);
    f.servoDesiredRaw = mvToCounts(row.servoDesiredMv);
    f.servoMeasuredRaw = mvToCounts(row.servoMeasuredMv);
    f.blockingActive = row.blocking ? 1 : 0;
    f.shiftLightActive = row.shiftLight ? 1 : 0;
    f.clutchActive = row.clutchMaster ? 1 : 0;
    f.servoOk = 1;
    return f;
}

QByteArray formatLogRow(const LogRow &r)
{
    char buf[160];
    auto cell = [](const std::optional<int> &v) { return v ? *v : -1; };
    const int col = cell(r.mapColumn), row = cell(r.mapRow);
    int n = std::snprintf(buf, sizeof buf, "%lld.%03lld,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,",
                          static_cast<long long>(r.timeMs / 1000), static_cast<long long>(r.timeMs % 1000),
                          r.rpm, r.throttlePercent, r.throttleMv, r.supplyMv, r.advance[0], r.advance[1],
                          r.advance[2], r.advance[3], r.servoDesiredMv, r.servoMeasuredMv, int(r.blocking),
                          int(r.shiftLight), int(r.clutchMaster));
    if (col >= 0 && row >= 0)
        n += std::snprintf(buf + n, sizeof buf - n, "%d,%d", col, row);
    else
        buf[n++] = ',';
    return QByteArray(buf, n);
}

std::optional<LogRow> parseLogRow(const QByteArray &line)
{
    const char *p = line.constData();
    const char *end = p + line.size();
    if (end != p && end[-1] == '\r')
        --end;
    std::array<std::pair<const char *, const char *>, kLogColumns> f;
    int count = 0;
    for (const char *start = p;; ++p) {
        if (p == end || *p == ',') {
            if (count == kLogColumns)
                return std::nullopt;
            f[count++] = {start, p};
            if (p == end)
                break;
            start = p + 1;
        }
    }
    if (count != kLogColumns)
        return std::nullopt;

    LogRow r;
    bool ok = parseSeconds(f[0].first, f[0].second, r.timeMs)
              && parseUInt(f[1].first, f[1].second, 65535, r.rpm)
              && parseUInt(f[2].first, f[2].second, 255, r.throttlePercent)
              && parseUInt(f[3].first, f[3].second, 65535, r.throttleMv)
              && parseUInt(f[4].first, f[4].second, 65535, r.supplyMv);
    for (int ch = 0; ok && ch < kChannels; ++ch)
        ok = parseUInt(f[5 + ch].first, f[5 + ch].second, 255, r.advance[ch]);
    ok = ok && parseUInt(f[9].first, f[9].second, 65535, r.servoDesiredMv)
         && parseUInt(f[10].first, f[10].second, 65535, r.servoMeasuredMv)
         && parseFlag(f[11].first, f[11].second, r.blocking) && parseFlag(f[12].first, f[12].second, r.shiftLight)
         && parseFlag(f[13].first, f[13].second, r.clutchMaster);
    if (!ok)
        return std::nullopt;
    const bool colEmpty = f[14].first == f[14].second, rowEmpty = f[15].first == f[15].second;
    if (colEmpty != rowEmpty)
        return std::nullopt;
    if (!colEmpty) {
        int col = 0, row = 0;
        if (!parseUInt(f[14].first, f[14].second, kMapSize - 1, col)
            || !parseUInt(f[15].first, f[15].second, kMapSize - 1, row))
            return std::nullopt;
        r.mapColumn = col;
        r.mapRow = row;
    }
    return r;
}

LogWriter::~LogWriter()
{
    close();
}

bool LogWriter::fail()
{
    failed_ = true;
    error_ = file_.errorString();
    switch (file_.error()) {
    case QFileDevice::ResourceError:
        problem_ = Problem::DiskFull;
        break;
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        problem_ = Problem::NoPermission;
        break;
    default:
        problem_ = Problem::WriteFailed;
        break;
    }
    if (file_.isOpen())
        file_.resize(whole_);
    file_.close();
    return false;
}

bool LogWriter::open(const QString &path)
{
    close();
    failed_ = false;
    problem_ = Problem::None;
    error_.clear();
    rows_ = 0;
    whole_ = 0;
    file_.setFileName(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        failed_ = true;
        problem_ = Problem::NoFolder;
        error_ = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    // Unbuffered: each row goes to the system in one write, and a write the system refuses
    // leaves nothing behind in a buffer to be written later over the cut.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return fail();
    QByteArray header(kLogHeader);
    header += '\n';
    if (file_.write(header) != header.size() || !file_.flush())
        return fail();
    whole_ = header.size();
    return true;
}

bool LogWriter::append(const LogRow &row)
{
    if (!file_.isOpen())
        return false;
    LogRow r = row;
    if (rows_ == 0)
        firstMs_ = row.timeMs;
    r.timeMs = std::max<std::int64_t>(0, row.timeMs - firstMs_);
    QByteArray line = formatLogRow(r);
    line += '\n';
    // Every row goes to the system at once: rows come about three times a second, and a
    // row held back in a buffer is a row lost to a crash.
    if (file_.write(line) != line.size() || !file_.flush())
        return fail();
    whole_ += line.size();
    ++rows_;
    return true;
}

void LogWriter::close()
{
    if (file_.isOpen()) {
        if (!file_.flush() && !failed_)
            return void(fail());
        file_.close();
    }
}

namespace {

// The log's rows, line by line after the header.
class RowCollector {
public:
    RowCollector(LogContents &log, std::size_t maxRows) : log_(log), maxRows_(maxRows) {}

    // One terminated line without its line end; false once the cap is reached.
    bool line(const QByteArray &line)
    {
        if (line.isEmpty() || line == "\r")
            return true;
        if (log_.rows.size() >= maxRows_) {
            log_.capped = true;
            return false;
        }
        if (auto row = parseLogRow(line))
            log_.rows.push_back(*row);
        else
            ++log_.skippedRows;
        return true;
    }

    // Whole lines of `data` from `pos` on; what follows the last line end stays unread.
    // False once the cap is reached.
    bool lines(const QByteArray &data, qsizetype &pos)
    {
        for (;;) {
            const qsizetype nl = data.indexOf('\n', pos);
            if (nl < 0)
                return true;
            const bool more = line(QByteArray::fromRawData(data.constData() + pos, nl - pos));
            pos = nl + 1;
            if (!more)
                return false;
        }
    }

private:
    LogContents &log_;
    std::size_t maxRows_;
};

bool isHeader(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line == QByteArray(kLogHeader);
}

void refuse(LogContents &log, LogProblem problem, const QString &error)
{
    log.problem = problem;
    log.error = error;
}

const char kEmpty[] = "empty file";
constexpr qint64 kShortestRow = 32;
const char kNotALog[] = "not a datalog (the first line is not the log header)";

}  // namespace

LogContents parseLog(const QByteArray &content, std::size_t maxRows)
{
    LogContents log;
    if (content.isEmpty()) {
        refuse(log, LogProblem::Empty, QString::fromLatin1(kEmpty));
        return log;
    }
    const qsizetype nl = content.indexOf('\n');
    if (!isHeader(nl < 0 ? content : content.left(nl))) {
        refuse(log, LogProblem::NotALog, QString::fromLatin1(kNotALog));
        return log;
    }
    log.ok = true;
    if (nl < 0)
        return log;
    log.rows.reserve(std::min(maxRows, static_cast<std::size_t>(content.size() / 64)));
    qsizetype pos = nl + 1;
    RowCollector rows(log, maxRows);
    if (rows.lines(content, pos) && pos < content.size())
        log.truncatedTail = true;
    return log;
}

LogContents readLog(const QString &path, std::size_t maxRows)
{
    LogContents log;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refuse(log, LogProblem::CannotOpen, file.errorString());
        return log;
    }
    // The first line only: a file that is not a log is refused before the rest is read,
    // however large it is.
    const QByteArray first = file.readLine(qint64(sizeof kLogHeader) + 2);
    if (first.isEmpty()) {
        if (file.atEnd())
            refuse(log, LogProblem::Empty, QString::fromLatin1(kEmpty));
        else
            refuse(log, LogProblem::CannotOpen, file.errorString());
        return log;
    }
    if (!isHeader(first) || (!first.endsWith('\n') && !file.atEnd())) {
        refuse(log, LogProblem::NotALog, QString::fromLatin1(kNotALog));
        return log;
    }
    log.ok = true;
    // The shortest row the writer makes is some 35 bytes: room for every row at once, so that
    // a long log is not copied again each time the rows outgrow their vector.
    if (!file.isSequential())
        log.rows.reserve(std::min(maxRows, static_cast<std::size_t>(file.size() / kShortestRow + 1)));
    RowCollector rows(log, maxRows);
    // A file on disk is read whole into a buffer this thread keeps for the next log: a
    // season of logs is read one after another, and fresh buffers cost a page fault a page.
    // (Mapping the file would save the copy too, but a file cut short under a mapping, on a
    // stick pulled out for instance, ends the program.)
    constexpr qint64 kKeptBuffer = 16 << 20;
    if (!file.isSequential() && file.size() - file.pos() <= kKeptBuffer) {
        thread_local QByteArray buffer;
        buffer.resize(file.size() - file.pos());
        const qint64 got = file.read(buffer.data(), buffer.size());
        if (got >= 0 && file.atEnd()) {
            const QByteArray data = QByteArray::fromRawData(buffer.constData(), got);
            qsizetype pos = 0;
            if (rows.lines(data, pos) && pos < data.size())
                log.truncatedTail = true;
            return log;
        }
        if (got < 0) {
            refuse(log, LogProblem::CannotOpen, file.errorString());
            log.ok = false;
            return log;
        }
        file.seek(file.pos() - got);
    }
    constexpr qint64 kPiece = 1 << 20;
    QByteArray pending;
    for (;;) {
        const QByteArray piece = file.read(kPiece);
        if (piece.isEmpty())
            break;
        pending += piece;
        qsizetype pos = 0;
        if (!rows.lines(pending, pos))
            return log;
        pending.remove(0, pos);
    }
    log.truncatedTail = !pending.isEmpty();
    return log;
}

}  // namespace vorn
