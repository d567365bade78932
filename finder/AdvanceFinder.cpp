// The plan of the variants, the ceiling and the proposal.
#include "AdvanceFinder.h"

#include "link/ActiveCell.h"
#include "maps/MapOperations.h"

#include <algorithm>

namespace vorn::finder {

std::optional<int> rowOfThrottlePercent(int percent)
{
    for (int r = 0; r < kMapSize; ++r)
        if (kThrottleAxis[static_cast<std::size_t>(r)] == percent)
            return r;
    return std::nullopt;
}

int throttlePercentOfRow(int row)
{
    return kThrottleAxis[static_cast<std::size_t>(std::clamp(row, 0, kMapSize - 1))];
}

int Ceiling::at(const ParameterImage &base, int row, int column) const
{
    const int value = map ? (*map)[Off::Advance + 10 * row + column] : base[Off::Advance + 10 * row + column] + offsetDeg;
    return std::clamp(value, maps::kAdvanceMin, maps::kAdvanceMax);
}

std::vector<Variant> plan(const ParameterImage &base, const PlanSettings &s,
                          const std::optional<std::array<int, kMapSize>> &centre)
{
    const int row = std::clamp(s.row, 0, kMapSize - 1);
    const int half = s.variants >= 5 ? 2 : 1;
    std::vector<Variant> out;
    for (int k = -half; k <= half; ++k) {
        Variant v;
        v.offsetSteps = k;
        v.image = base;
        for (int c = 0; c < kMapSize; ++c) {
            const int middle = centre ? (*centre)[static_cast<std::size_t>(c)] : base[Off::Advance + 10 * row + c];
            const int wanted = std::clamp(middle + k * s.stepDeg, maps::kAdvanceMin, maps::kAdvanceMax);
            const int ceiling = s.ceiling.at(base, row, c);
            const int value = std::min(wanted, ceiling);
            v.atCeiling[static_cast<std::size_t>(c)] = wanted > ceiling;
            v.rowAdvance[static_cast<std::size_t>(c)] = value;
            v.image.advance(row, c) = static_cast<std::uint8_t>(value);
        }
        out.push_back(v);
    }
    return out;
}

ParameterImage propose(const ParameterImage &base, const Analysis &analysis)
{
    ParameterImage out = base;
    for (const CellResult &cell : analysis.cells)
        if (cell.decided())
            out.advance(analysis.row, cell.column) = static_cast<std::uint8_t>(cell.proposed);
    return out;
}

int Analysis::decidedCount() const
{
    return static_cast<int>(std::count_if(cells.begin(), cells.end(), [](const CellResult &c) { return c.decided(); }));
}

}  // namespace vorn::finder
