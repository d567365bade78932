// Fuzz entry for the time-in-cell file kept beside a log: no crash; counts it accepts are
// counts the program could have made, so shares stay within 0..1 and counting on from them
// (a live run after loading) cannot overflow; saving them gives the same file again.
#include "FuzzCheck.h"
#include "datalog/TimeInCell.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto parsed = vorn::TimeInCell::parse(text);
    if (!parsed)
        return 0;
    vorn::TimeInCell t = *parsed;
    const QByteArray saved = t.serialize();
    const auto again = vorn::TimeInCell::parse(saved);
    FUZZ_CHECK(again && *again == t && again->serialize() == saved);

    FUZZ_CHECK(t.totalMs() >= 0 && t.largestCellMs() <= t.totalMs());
    double cellShares = 0, servoShares = 0;
    for (int a = 0; a < vorn::kMapSize; ++a) {
        for (int b = 0; b < vorn::kMapSize; ++b) {
            FUZZ_CHECK(t.cellShare(a, b) >= 0 && t.cellShare(a, b) <= 1);
            cellShares += t.cellShare(a, b);
        }
        FUZZ_CHECK(t.servoShare(a) >= 0 && t.servoShare(a) <= 1);
        servoShares += t.servoShare(a);
    }
    FUZZ_CHECK(cellShares <= 1.000001 && servoShares <= 1.000001);

    // A minute of counting on, one reply a second: the counts of the cell grow.
    vorn::LiveCell cell;
    cell.advanceColumn = data[0] % vorn::kMapSize;
    cell.throttleRow = data[size - 1] % vorn::kMapSize;
    cell.servoColumn = (data[0] / 16) % vorn::kMapSize;
    const vorn::TimeInCell before = t;
    for (std::int64_t ms = 0; ms <= 60 * 1000; ms += 1000)
        t.addSample(ms, cell);
    FUZZ_CHECK(t.totalMs() > before.totalMs());
    FUZZ_CHECK(t.cellMs(cell.throttleRow, cell.advanceColumn) > before.cellMs(cell.throttleRow, cell.advanceColumn));
    return 0;
}
