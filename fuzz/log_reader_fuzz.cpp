// Fuzz entry for the datalog reader and the time in cell counted from its rows: no crash,
// every row read is one the writer can write back alike, and the counts add up.
#include "FuzzCheck.h"
#include "datalog/LogFormat.h"
#include "datalog/TimeInCell.h"

#include <algorithm>
#include <cstdint>

namespace {

std::int64_t sum(const vorn::TimeInCell &t, bool cells)
{
    std::int64_t s = 0;
    for (int a = 0; a < vorn::kMapSize; ++a)
        for (int b = 0; b < (cells ? vorn::kMapSize : 1); ++b)
            s += cells ? t.cellMs(a, b) : t.servoMs(a);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const vorn::LogContents log = vorn::parseLog(content);
    if (!log.ok) {
        FUZZ_CHECK(log.rows.empty() && log.skippedRows == 0 && !log.error.isEmpty());
        return 0;
    }
    const qsizetype lines = content.count('\n');
    FUZZ_CHECK(qsizetype(log.rows.size()) + log.skippedRows <= std::max<qsizetype>(lines - 1, 0));
    FUZZ_CHECK(!log.truncatedTail || !content.endsWith('\n'));

    // Every row read is one the writer writes back and the reader reads alike; the map
    // cell of a row is a real cell (the editing buttons index the map with it).
    QByteArray rewritten = QByteArray(vorn::kLogHeader) + '\n';
    for (const vorn::LogRow &row : log.rows) {
        FUZZ_CHECK(row.mapColumn.has_value() == row.mapRow.has_value());
        FUZZ_CHECK(!row.mapColumn || (*row.mapColumn >= 0 && *row.mapColumn < vorn::kMapSize));
        FUZZ_CHECK(!row.mapRow || (*row.mapRow >= 0 && *row.mapRow < vorn::kMapSize));
        FUZZ_CHECK(row.timeMs >= 0);
        const QByteArray line = vorn::formatLogRow(row);
        const auto again = vorn::parseLogRow(line);
        FUZZ_CHECK(again && *again == row);
        rewritten += line + '\n';
    }
    const vorn::LogContents back = vorn::parseLog(rewritten);
    FUZZ_CHECK(back.ok && back.rows == log.rows && back.skippedRows == 0 && !back.truncatedTail);

    // Time in cell from the rows, with speed points from the input's last bytes (any
    // order, zeros included, as a hand-made file can hold them).
    vorn::ParameterImage image;
    for (int k = 0; k < vorn::kMapSize; ++k) {
        image[vorn::Off::RpmAdv + k] = size >= 20 ? data[size - 1 - k] : std::uint8_t(10 * (k + 1));
        image[vorn::Off::ServoRpm + k] = size >= 20 ? data[size - 11 - k] : std::uint8_t(10 * (k + 1));
    }
    const bool tpsMapOn = size % 2 == 0;
    const std::size_t n = log.rows.size();
    const vorn::TimeInCell half = vorn::timeInCellOfRows(log.rows, n / 2, image, tpsMapOn);
    const vorn::TimeInCell all = vorn::timeInCellOfRows(log.rows, n, image, tpsMapOn);
    for (const vorn::TimeInCell *t : {&half, &all}) {
        // Every step goes to one servo point, and to one cell unless below the map; a
        // step counts at most the longest silence.
        FUZZ_CHECK(t->totalMs() >= 0 && sum(*t, false) == t->totalMs() && sum(*t, true) <= t->totalMs());
        FUZZ_CHECK(t->totalMs() <= std::int64_t(n > 0 ? n - 1 : 0) * vorn::TimeInCell::kMaxStepMs);
        for (int r = 0; r < vorn::kMapSize; ++r)
            for (int c = 0; c < vorn::kMapSize; ++c)
                FUZZ_CHECK(t->cellMs(r, c) >= 0 && t->cellShare(r, c) >= 0 && t->cellShare(r, c) <= 1);
        const auto parsed = vorn::TimeInCell::parse(t->serialize());
        FUZZ_CHECK(parsed && *parsed == *t);
    }
    // More rows never count less time.
    FUZZ_CHECK(half.totalMs() <= all.totalMs());
    return 0;
}
