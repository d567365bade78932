// How the map view scales and colours the maps: the advance axis spans the map's own values,
// the speed ticks sit on the map's speed points, each throttle row has a colour of its own.
// Plain C++, so the rules are tested with a table without the view's module.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vorn::mapview {

// An axis from `low` to `high`, a tick every `step`.
struct AxisRange {
    int low = 0;
    int high = 0;
    int step = 1;
    friend bool operator==(const AxisRange &, const AxisRange &) = default;
};

// The advance axis [°] for the cells shown: from their lowest to their highest value with a
// margin of a tenth of the span, at least 2°, so no curve runs along the frame; on whole
// ticks of 5° (10° over a span above 40°), at least 10° high, never below 0.
AxisRange advanceAxis(std::span<const std::uint8_t> cells);

// The ticks [rpm] of speed points held in hundreds of rpm: one per point, in order; a point
// not above the one before it adds none (an axis cannot go back).
std::vector<int> speedTicks(std::span<const std::uint8_t> points);

struct Rgb {
    int red = 0, green = 0, blue = 0;
};
// The live cell's trail, newest strongest: magenta, apart from every row's colour and from
// the page's lime.
inline constexpr Rgb kTrailColour{200, 0, 160};
// The curve of throttle row 0..9 (0 % to 100 %): ten colours that tell apart from each other,
// from the trail and from the white of the chart.
Rgb throttleRowColour(int row);

}  // namespace vorn::mapview
