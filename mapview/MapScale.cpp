#include "MapScale.h"

#include <algorithm>
#include <array>

namespace vorn::mapview {

namespace {

constexpr int kMinMargin = 2;    // degrees
constexpr int kMinSpan = 10;     // degrees
constexpr int kFineStep = 5;     // degrees
constexpr int kCoarseStep = 10;  // degrees, over a span above kFineSpan
constexpr int kFineSpan = 40;

// Distinct hues for the rows, none near the trail's magenta or the live cell's lime; black
// for 100 %, the curve that stays when the throttle map is off.
constexpr std::array<Rgb, 10> kRowColours{{
    {31, 119, 180},   // blue
    {255, 127, 14},   // orange
    {44, 160, 44},    // green
    {214, 39, 40},    // red
    {148, 103, 189},  // purple
    {140, 86, 75},    // brown
    {23, 190, 207},   // cyan
    {127, 127, 127},  // grey
    {188, 189, 34},   // olive
    {0, 0, 0},        // black
}};

}  // namespace

AxisRange advanceAxis(std::span<const std::uint8_t> cells)
{
    if (cells.empty())
        return {0, kMinSpan, kFineStep};
    const auto [lo, hi] = std::minmax_element(cells.begin(), cells.end());
    const int margin = std::max(kMinMargin, (*hi - *lo + 9) / 10);
    const int from = std::max(0, *lo - margin);
    const int to = *hi + margin;
    const int step = to - from > kFineSpan ? kCoarseStep : kFineStep;
    AxisRange range{from / step * step, (to + step - 1) / step * step, step};
    range.high = std::max(range.high, range.low + kMinSpan);
    return range;
}

std::vector<int> speedTicks(std::span<const std::uint8_t> points)
{
    std::vector<int> ticks;
    for (const std::uint8_t p : points)
        if (ticks.empty() || 100 * p > ticks.back())
            ticks.push_back(100 * p);
    return ticks;
}

Rgb throttleRowColour(int row)
{
    return kRowColours[static_cast<std::size_t>(std::clamp(row, 0, 9))];
}

}  // namespace vorn::mapview
