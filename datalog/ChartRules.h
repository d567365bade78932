// How the log views label their axes and tell their lines apart, without widgets: ticks on
// round values, a long log's time on the clock, and a colour of its own for every line.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace vorn {

// The smallest step of 1, 2 or 5 times a power of ten that leaves at least `minPixels`
// between ticks when `span` is drawn over `pixels`.
double roundStep(double span, double pixels, double minPixels);
// The multiples of `step` from `lo` to `hi`, both included.
std::vector<double> ticksBetween(double lo, double hi, double step);
// The decimals a label needs to tell ticks `step` apart (0 for whole steps, at most 3).
int stepDecimals(double step);
// A tick's label: the value with the step's decimals, never "-0".
QString tickLabel(double value, double step);

// A difference in per cent with its sign and one decimal ("+10.0 %", "-2.4 %"); one that
// rounds to nothing reads "+0.0 %", never "-0.0 %".
QString signedPercent(double percent);

// A log up to ten minutes long reads its time axis in seconds; a longer one on the clock,
// h:mm:ss, with ticks on round clock values (5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min, 1 h
// ...), and tenths of a second only when zoomed in below a second per tick.
inline constexpr double kClockAfterSeconds = 600;
struct TimeTicks {
    double step = 1;      // seconds between ticks
    bool clock = false;   // h:mm:ss labels
};
TimeTicks timeTicks(double span, double logSeconds, double pixels, double minPixels);
// "12.5 s", or on the clock "1:02:05" ("-0:00:03" before the log's zero, "0:12:05.5" for
// steps below a second).
QString timeLabel(double seconds, const TimeTicks &ticks);

// The colour (0xRRGGBB) of line `index` of a chart on a white ground, so that every line of
// a chart has its own: twenty from a palette of colours far apart (the first ten also for
// most colour-blind eyes), any further ones spread round the colour wheel.
std::uint32_t lineColour(int index);

}  // namespace vorn
