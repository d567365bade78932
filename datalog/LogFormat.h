// The datalog: one CSV row per valid monitor reply, written by the window's recording and
// by vorn4-cli log, read back by the window's replay.
#pragma once

#include "link/LiveValues.h"
#include "link/Monitor.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vorn {

inline constexpr char kLogHeader[] =
    "time_s,rpm,throttle_percent,throttle_mv,supply_mv,advance_1,advance_2,advance_3,advance_4,"
    "servo_desired_mv,servo_measured_mv,blocking,shift_light,clutch_master,map_column,map_row";
inline constexpr int kLogColumns = 16;

// One logged monitor reply, in the units the window shows.
struct LogRow {
    std::int64_t timeMs = 0;   // since the first row of the log
    int rpm = 0;
    int throttlePercent = 0;   // above 100: sensor error, as the unit reports it
    int throttleMv = 0;
    int supplyMv = 0;
    std::array<int, kChannels> advance{};   // degrees, per channel
    int servoDesiredMv = 0;
    int servoMeasuredMv = 0;
    bool blocking = false;
    bool shiftLight = false;
    bool clutchMaster = false;
    // The advance-map cell in use; empty when not known or below the map.
    std::optional<int> mapColumn;
    std::optional<int> mapRow;

    friend bool operator==(const LogRow &, const LogRow &) = default;
};

// The row of one decoded reply. `cell` is the live cell found for it, or nothing when no map
// was searched; a cell below the map leaves the map columns empty.
LogRow logRowFrom(const MonitorFields &fields, const std::optional<LiveCell> &cell, std::int64_t timeMs);

// The monitor fields a row stands for, so a logged row goes through the same decoder as a
// reply. Fields the log does not hold are zero, except servoOk, which a row cannot have
// seen fail and is therefore set. logRowFrom(monitorFieldsFrom(row), cell, t) gives the row back.
MonitorFields monitorFieldsFrom(const LogRow &row);

// One line of the log, without its line end.
QByteArray formatLogRow(const LogRow &row);
// Parses one line (no line end, an optional trailing CR); nothing when any field is bad.
std::optional<LogRow> parseLogRow(const QByteArray &line);

// Appends rows to a new log file, flushing each one to the system so that a crash or an
// unplugged unit loses nothing that was written. A failed write (a full disk, a file-size
// limit) stops the writer; the rows written before it stay in the file, and the part of the
// row that failed is cut off again where the system lets it be.
class LogWriter {
public:
    LogWriter() = default;
    ~LogWriter();
    LogWriter(const LogWriter &) = delete;
    LogWriter &operator=(const LogWriter &) = delete;

    // Creates (or empties) the file, creating its folder, and writes the header.
    bool open(const QString &path);
    // Writes the row with its time counted from the first row appended since open.
    bool append(const LogRow &row);
    // Flushes and closes; the file is complete afterwards.
    void close();

    bool isOpen() const { return file_.isOpen(); }
    bool failed() const { return failed_; }
    // Why it failed: English, for the terminal. The window says it in its language from
    // problem().
    QString errorString() const { return error_; }
    enum class Problem { None, NoFolder, NoPermission, DiskFull, WriteFailed };
    Problem problem() const { return problem_; }
    QString path() const { return file_.fileName(); }
    int rowsWritten() const { return rows_; }

private:
    bool fail();

    QFile file_;
    qint64 whole_ = 0;   // bytes up to the end of the last row written whole
    bool failed_ = false;
    Problem problem_ = Problem::None;
    QString error_;
    int rows_ = 0;
    std::int64_t firstMs_ = 0;
};

// Why a file is no log that can be read; the window says it in its language.
enum class LogProblem { None, CannotOpen, Empty, NotALog };

// More rows than a replay or a count should hold in memory (about 80 bytes each): at three
// rows a second, over a week of riding. Rows beyond it are not read.
inline constexpr std::size_t kMaxLogRows = 2'000'000;

struct LogContents {
    bool ok = false;          // the file was read and starts with the log header
    QString error;            // why not, when !ok (English, for the terminal)
    LogProblem problem = LogProblem::None;
    std::vector<LogRow> rows;
    int skippedRows = 0;      // lines that did not parse (wrong field count, bad numbers)
    bool truncatedTail = false;   // the last line had no line end and was left out
    bool capped = false;          // rows beyond the cap were left unread
};

// Reads a log. Bad rows are skipped and counted; a last line cut short by a crash or an
// unplug (no line end) is left out; neither makes the log unreadable.
LogContents parseLog(const QByteArray &content, std::size_t maxRows = kMaxLogRows);
// Reads the first line alone and refuses a file that is no log before reading more; a log
// is read in pieces, never held whole beside its rows.
LogContents readLog(const QString &path, std::size_t maxRows = kMaxLogRows);

}  // namespace vorn
