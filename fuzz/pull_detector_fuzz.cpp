// Fuzz entry for the pull detector: any sequence of rows, any band and threshold. No crash,
// and every pull it reports holds together: its rows exist, are full throttle and in order,
// its crossings rise in time inside the pull, its bands join up with finite positive figures.
#include "datalog/Pulls.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

// Input: band (byte 0, x 50 rpm, at least 50), threshold (byte 1, 1..100), then 5 bytes a
// row: time step (x 4 ms, from 200 ms on), speed change (signed 16 bit, rpm), throttle
// (0..255, above 100 a sensor fault), blocking (bit 0).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    vorn::PullSettings settings;
    settings.bandRpm = std::max(1, int(data[0])) * 50;
    settings.thresholdPercent = 1 + data[1] % 100;
    std::vector<vorn::LogRow> rows;
    std::int64_t t = 0;
    int rpm = 1500;
    for (std::size_t i = 2; i + 5 <= size; i += 5) {
        vorn::LogRow r;
        t += 200 + 4 * data[i];
        rpm = std::clamp(rpm + static_cast<std::int16_t>(data[i + 1] << 8 | data[i + 2]), 0, 20000);
        r.timeMs = t;
        r.rpm = rpm;
        r.throttlePercent = data[i + 3];
        r.blocking = data[i + 4] & 1;
        rows.push_back(r);
    }
    for (const vorn::Pull &p : vorn::findPulls(rows, settings)) {
        // At least 1.5 s, on the log's own milliseconds (seconds in floating point may fall a
        // hair short of 1.5 for a pull of exactly 1,500 ms).
        if (p.firstRow > p.lastRow || p.lastRow >= rows.size()
            || rows[p.lastRow].timeMs - rows[p.firstRow].timeMs < 1500 || p.rpmFrom >= p.rpmTo)
            std::abort();
        for (std::size_t k = p.firstRow; k <= p.lastRow; ++k)
            if (rows[k].throttlePercent < settings.thresholdPercent || rows[k].throttlePercent > 100 || rows[k].blocking)
                std::abort();
        for (std::size_t i = 0; i < p.crossings.size(); ++i) {
            const vorn::BandCrossing &c = p.crossings[i];
            if (!std::isfinite(c.timeS) || c.rpm < p.rpmFrom || c.rpm > p.rpmTo || c.rpm % settings.bandRpm != 0
                || (i > 0 && !(c.timeS > p.crossings[i - 1].timeS)))
                std::abort();
        }
        for (const vorn::PullBand &b : p.bands)
            if (b.rpmTo - b.rpmFrom != settings.bandRpm || !(b.seconds > 0) || !std::isfinite(b.torqueRel)
                || !(b.torqueRel > 0) || !std::isfinite(b.powerRel))
                std::abort();
    }
    return 0;
}
