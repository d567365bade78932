// Pull detection, and the bands of each pull read from its fit of time over speed.
#include "Pulls.h"

#include "datalog/TimeOfSpeed.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorn {

namespace {

constexpr std::int64_t kMaxGapMs = 1000;
constexpr int kFallRpm = 50;
constexpr std::int64_t kMinPullMs = 1500;
constexpr int kMinRiseRpm = 250;
constexpr double kStallShare = 0.35;   // of the pull's median rise rate
// Between two samples at full throttle the rise rate falls by a few per cent at most, even
// past peak torque; a step that rose far slower than the one before it, at the end of a
// pull the limiter ended, held the engine at the cut for part of its time.
constexpr double kLimiterStepShare = 0.8;   // of the step before

double riseRate(const LogRow &a, const LogRow &b)
{
    const double ms = static_cast<double>(b.timeMs - a.timeMs);
    return ms > 0 ? (b.rpm - a.rpm) / ms : 0;
}

bool fullThrottle(const LogRow &r, int threshold)
{
    return r.throttlePercent >= threshold && r.throttlePercent <= 100 && !r.blocking && r.rpm > 0;
}

// Band boundaries crossed by the highest speed reached so far, interpolated between the
// samples either side: later boundaries are crossed later, whatever the fit would say.
std::vector<BandCrossing> sampledCrossings(const std::vector<LogRow> &rows, const Pull &pull, int band)
{
    std::vector<BandCrossing> crossings;
    double reached = rows[pull.firstRow].rpm;
    double reachedAt = rows[pull.firstRow].timeMs / 1000.0;
    int next = (static_cast<int>(reached) + band - 1) / band * band;
    if (next == static_cast<int>(reached)) {
        crossings.push_back({next, reachedAt});
        next += band;
    }
    for (std::size_t k = pull.firstRow + 1; k <= pull.lastRow; ++k) {
        const double rpm = rows[k].rpm;
        const double at = rows[k].timeMs / 1000.0;
        if (rpm <= reached || !(at > reachedAt))
            continue;
        for (; next <= rpm; next += band)
            crossings.push_back({next, reachedAt + (next - reached) / (rpm - reached) * (at - reachedAt)});
        reached = rpm;
        reachedAt = at;
    }
    return crossings;
}

// The bands of one pull's rows; false when the rows cannot be fitted.
bool measure(const std::vector<LogRow> &rows, const PullSettings &settings, Pull &pull)
{
    const int n = static_cast<int>(pull.lastRow - pull.firstRow + 1);
    detail::TimeOfSpeed curve;
    if (!curve.fit(&rows[pull.firstRow], n))
        return false;
    const int band = std::max(1, settings.bandRpm);
    for (int b = (pull.rpmFrom + band - 1) / band * band; b <= pull.rpmTo; b += band)
        pull.crossings.push_back({b, curve.timeAt(b)});
    // A speed that shoots up (a sensor's glitch, a clutch let slip) can bend the smooth fit
    // back on itself, and a later boundary would be crossed before an earlier one. Then the
    // crossings come from the samples themselves, on the highest speed reached so far.
    bool rising = true;
    for (std::size_t i = 1; i < pull.crossings.size(); ++i)
        rising = rising && pull.crossings[i].timeS > pull.crossings[i - 1].timeS;
    if (!rising)
        pull.crossings = sampledCrossings(rows, pull, band);
    for (std::size_t i = 0; i + 1 < pull.crossings.size(); ++i) {
        PullBand pb;
        pb.rpmFrom = pull.crossings[i].rpm;
        pb.rpmTo = pull.crossings[i + 1].rpm;
        pb.seconds = pull.crossings[i + 1].timeS - pull.crossings[i].timeS;
        if (!(pb.seconds > 0))
            continue;
        pb.torqueRel = band / pb.seconds;
        pb.powerRel = pb.torqueRel * (pb.rpmFrom + pb.rpmTo) / 2 / 1000;
        pull.bands.push_back(pb);
    }
    return true;
}

}  // namespace

std::vector<Pull> findPulls(const std::vector<LogRow> &rows, const PullSettings &settings)
{
    std::vector<Pull> pulls;
    const std::size_t count = rows.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (!fullThrottle(rows[i], settings.thresholdPercent))
            continue;
        std::size_t j = i;
        int peak = rows[i].rpm;
        PullEnd end = PullEnd::LogEnd;
        for (std::size_t k = i + 1; k < count; ++k) {
            const LogRow &r = rows[k];
            if (r.timeMs - rows[k - 1].timeMs > kMaxGapMs)
                end = PullEnd::Gap;
            else if (r.blocking)
                end = PullEnd::Limiter;
            else if (!fullThrottle(r, settings.thresholdPercent))
                end = PullEnd::ThrottleOff;
            else if (r.rpm < peak - kFallRpm)
                end = PullEnd::SpeedFalling;
            else {
                peak = std::max(peak, r.rpm);
                j = k;
                continue;
            }
            break;
        }
        // From where the speed starts rising to where it last peaks.
        std::size_t first = i, last = j;
        while (first < last && rows[first + 1].rpm <= rows[first].rpm)
            ++first;
        while (last > first && rows[last].rpm < peak)
            --last;
        // The limiter cuts before the unit reports blocking: rows at the end that gained
        // far less than the pull's typical step are the engine held at the limiter, not
        // pulling, and would bend the fit of the bands below.
        if (last > first + 2) {
            std::vector<double> rates;
            for (std::size_t k = first + 1; k <= last; ++k)
                rates.push_back(riseRate(rows[k - 1], rows[k]));
            std::nth_element(rates.begin(), rates.begin() + rates.size() / 2, rates.end());
            const double typical = rates[rates.size() / 2];
            while (last > first + 1 && riseRate(rows[last - 1], rows[last]) < kStallShare * typical)
                --last;
            while (end == PullEnd::Limiter && last > first + 2
                   && riseRate(rows[last - 1], rows[last]) < kLimiterStepShare * riseRate(rows[last - 2], rows[last - 1]))
                --last;
        }
        i = j;
        if (rows[last].timeMs - rows[first].timeMs < kMinPullMs || rows[last].rpm - rows[first].rpm < kMinRiseRpm)
            continue;
        Pull pull;
        pull.firstRow = first;
        pull.lastRow = last;
        pull.startS = rows[first].timeMs / 1000.0;
        pull.endS = rows[last].timeMs / 1000.0;
        pull.end = end;
        pull.rpmFrom = pull.rpmTo = rows[first].rpm;
        for (std::size_t k = first; k <= last; ++k) {
            pull.rpmFrom = std::min(pull.rpmFrom, rows[k].rpm);
            pull.rpmTo = std::max(pull.rpmTo, rows[k].rpm);
        }
        if (measure(rows, settings, pull))
            pulls.push_back(std::move(pull));
    }
    return pulls;
}

std::vector<PullBand> averageBands(const std::vector<std::vector<PullBand>> &pulls)
{
    std::vector<PullBand> sum;
    std::vector<int> counts;
    for (const auto &bands : pulls) {
        for (const PullBand &b : bands) {
            auto it = std::find_if(sum.begin(), sum.end(),
                                   [&](const PullBand &s) { return s.rpmFrom == b.rpmFrom && s.rpmTo == b.rpmTo; });
            if (it == sum.end()) {
                sum.push_back({b.rpmFrom, b.rpmTo, 0, 0, 0});
                counts.push_back(0);
                it = sum.end() - 1;
            }
            it->seconds += b.seconds;
            it->torqueRel += b.torqueRel;
            it->powerRel += b.powerRel;
            ++counts[static_cast<std::size_t>(it - sum.begin())];
        }
    }
    for (std::size_t i = 0; i < sum.size(); ++i) {
        sum[i].seconds /= counts[i];
        sum[i].torqueRel /= counts[i];
        sum[i].powerRel /= counts[i];
    }
    std::sort(sum.begin(), sum.end(), [](const PullBand &a, const PullBand &b) { return a.rpmFrom < b.rpmFrom; });
    return sum;
}

std::vector<BandComparison> compareBands(const std::vector<std::vector<PullBand>> &runs)
{
    std::vector<BandComparison> out;
    if (runs.empty())
        return out;
    for (const PullBand &ref : runs.front()) {
        BandComparison c;
        c.rpmFrom = ref.rpmFrom;
        c.rpmTo = ref.rpmTo;
        for (std::size_t k = 1; k < runs.size(); ++k) {
            const auto &bands = runs[k];
            const auto it = std::find_if(bands.begin(), bands.end(), [&](const PullBand &b) {
                return b.rpmFrom == ref.rpmFrom && b.rpmTo == ref.rpmTo;
            });
            if (it == bands.end()) {
                c.torqueDiffPercent.emplace_back();
                c.powerDiffPercent.emplace_back();
            } else {
                c.torqueDiffPercent.emplace_back((it->torqueRel / ref.torqueRel - 1) * 100);
                c.powerDiffPercent.emplace_back((it->powerRel / ref.powerRel - 1) * 100);
            }
        }
        out.push_back(std::move(c));
    }
    return out;
}

}  // namespace vorn
