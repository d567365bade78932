#include "datalog/ChartRules.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace vorn {

namespace {

// Clock steps in seconds, from a second to half a day.
constexpr double kClockSteps[] = {1,   2,   5,    10,   15,   30,   60,    120,   300,  600,
                                  900, 1800, 3600, 7200, 10800, 21600, 43200};

}  // namespace

double roundStep(double span, double pixels, double minPixels)
{
    if (!(span > 0) || !(pixels > 0) || !(minPixels > 0))
        return 1;
    const double raw = span * minPixels / pixels;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw * (1 - 1e-9))
            return m * power;
    return 10 * power;
}

std::vector<double> ticksBetween(double lo, double hi, double step)
{
    std::vector<double> ticks;
    if (!(step > 0) || !(hi >= lo) || (hi - lo) / step > 10000)
        return ticks;
    // Counted in whole steps, so that a long run of additions does not drift off the round values.
    for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + step * 1e-9; ++k)
        ticks.push_back(k * step);
    return ticks;
}

int stepDecimals(double step)
{
    if (!(step > 0) || step >= 1 - 1e-9)
        return 0;
    return std::min(3, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

QString tickLabel(double value, double step)
{
    const int decimals = stepDecimals(step);
    const double unit = std::pow(10.0, -decimals);
    const double v = std::round(value / unit) * unit;
    return QString::number(v == 0 ? 0.0 : v, 'f', decimals);
}

QString signedPercent(double percent)
{
    const double tenths = std::round(percent * 10);
    return QStringLiteral("%1%2 %").arg(tenths >= 0 ? QStringLiteral("+") : QString()).arg(tenths == 0 ? 0.0 : tenths / 10, 0, 'f', 1);
}

TimeTicks timeTicks(double span, double logSeconds, double pixels, double minPixels)
{
    TimeTicks t;
    t.clock = logSeconds > kClockAfterSeconds;
    t.step = roundStep(span, pixels, minPixels);
    if (t.clock && t.step >= 1) {
        const double raw = span * minPixels / std::max(pixels, 1.0);
        const auto *at = std::find_if(std::begin(kClockSteps), std::end(kClockSteps),
                                      [&](double s) { return s >= raw * (1 - 1e-9); });
        t.step = at != std::end(kClockSteps) ? *at : std::ceil(raw / 86400) * 86400;
    }
    return t;
}

QString timeLabel(double seconds, const TimeTicks &ticks)
{
    if (!ticks.clock)
        return tickLabel(seconds, ticks.step) + QStringLiteral(" s");
    const int decimals = stepDecimals(ticks.step);
    const double scale = std::pow(10.0, decimals);
    // Rounded once, in the smallest unit shown, so that 3599.99 reads 1:00:00.
    const long long units = std::llround(std::abs(seconds) * scale);
    const long long whole = units / static_cast<long long>(scale);
    QString text = QStringLiteral("%1%2:%3:%4")
                       .arg(units != 0 && seconds < 0 ? QStringLiteral("-") : QString())
                       .arg(whole / 3600)
                       .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
                       .arg(whole % 60, 2, 10, QLatin1Char('0'));
    if (decimals > 0)
        text += QStringLiteral(".%1").arg(units % static_cast<long long>(scale), decimals, 10, QLatin1Char('0'));
    return text;
}

std::uint32_t lineColour(int index)
{
    // The first ten stay apart also for most colour-blind eyes; the next ten were each picked
    // as far as could be from those before it.
    static constexpr std::uint32_t kPalette[] = {0x0072B2, 0xD55E00, 0x009E73, 0xCC79A7, 0xE69F00, 0x56B4E9, 0x000000,
                                                 0x8C564B, 0x6A3D9A, 0x999933, 0xFF00FF, 0x000080, 0x800000, 0xFF1493,
                                                 0x225522, 0xDDCC77, 0x00A0FF, 0x44AA99, 0x2CA02C, 0x4B0082};
    constexpr int n = static_cast<int>(std::size(kPalette));
    index = std::max(index, 0);
    if (index < n)
        return kPalette[index];
    // Beyond twenty: hues a golden angle apart, every other one darker, each saturated enough
    // to read as a line on white.
    const int k = index - n;
    const double hue = std::fmod(20 + k * 137.50776, 360) / 60;
    const double value = k % 2 ? 0.62 : 0.85, saturation = 0.85;
    const double chroma = value * saturation;
    const double x = chroma * (1 - std::abs(std::fmod(hue, 2) - 1));
    const double m = value - chroma;
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(hue)) {
    case 0: r = chroma, g = x; break;
    case 1: r = x, g = chroma; break;
    case 2: g = chroma, b = x; break;
    case 3: g = x, b = chroma; break;
    case 4: r = x, b = chroma; break;
    default: r = chroma, b = x; break;
    }
    auto byte = [&](double c) { return static_cast<std::uint32_t>(std::lround((c + m) * 255)); };
    return byte(r) << 16 | byte(g) << 8 | byte(b);
}

}  // namespace vorn
