// The map and servo-curve operations: button steps, calibration and the selection tools.
#include "MapOperations.h"

#include "link/Tune.h"

#include <algorithm>
#include <array>

namespace vorn::maps {

namespace {

int rangeMin(Table t)
{
    return t == Table::Advance ? kAdvanceMin : kServoMin;
}

int rangeMax(Table t)
{
    return t == Table::Advance ? kAdvanceMax : kServoMax;
}

int unit(Table t)
{
    return t == Table::Advance ? 1 : kServoMvPerByte;
}

// A shown value as the cell's byte: truncated toward zero, then kept in the cell's range.
std::uint8_t toByte(Table t, long long value)
{
    const long long b = value / unit(t);
    return static_cast<std::uint8_t>(std::clamp<long long>(b, rangeMin(t), rangeMax(t)));
}

void stepByte(std::uint8_t &b, bool up, int min, int max)
{
    if (up && b < max)
        ++b;
    else if (!up && b > min)
        --b;
}

// Applies f to every cell of r and lists the cells whose byte changed.
template <class F>
Cells forEachCell(ParameterImage &image, Table t, Rect r, F f)
{
    Cells changed;
    const auto cut = clipped(t, r);
    if (!cut)
        return changed;
    for (int row = cut->top; row <= cut->bottom; ++row)
        for (int col = cut->left; col <= cut->right; ++col) {
            std::uint8_t &b = cellByte(image, t, {row, col});
            const std::uint8_t before = b;
            b = f(Cell{row, col});
            if (b != before)
                changed.push_back({row, col});
        }
    return changed;
}

// Where a column or row lies on its axis: the speed points across (rpm / 100), the
// throttle axis down. The servo curve has one row.
int columnAxis(const ParameterImage &image, Table t, int col)
{
    return t == Table::Advance ? image[Off::RpmAdv + col] : image[Off::ServoRpm + col];
}

int rowAxis(Table t, int row)
{
    return t == Table::Advance ? kThrottleAxis[static_cast<std::size_t>(row)] : 0;
}

// Position of i between the ends a and b, as weight w of total d (0 <= w <= d, d > 0).
// Falls back to even spacing when the axis does not rise between the ends (an image
// not yet clamped), so the line stays between the end values.
void weights(int ai, int aa, int ab, int i, int a, int b, long long &w, long long &d)
{
    d = ab - aa;
    w = ai - aa;
    if (d <= 0 || w < 0 || w > d) {
        d = b - a;
        w = i - a;
    }
}

}  // namespace

Rect Rect::spanning(Cell a, Cell b)
{
    return {std::min(a.row, b.row), std::min(a.column, b.column), std::max(a.row, b.row),
            std::max(a.column, b.column)};
}

int rowCount(Table t)
{
    return t == Table::Advance ? kMapSize : 1;
}

int columnCount(Table)
{
    return kMapSize;
}

Rect wholeTable(Table t)
{
    return {0, 0, rowCount(t) - 1, columnCount(t) - 1};
}

std::optional<Rect> clipped(Table t, Rect r)
{
    r = Rect::spanning({r.top, r.left}, {r.bottom, r.right});
    Rect c{std::max(r.top, 0), std::max(r.left, 0), std::min(r.bottom, rowCount(t) - 1),
           std::min(r.right, columnCount(t) - 1)};
    if (c.top > c.bottom || c.left > c.right)
        return std::nullopt;
    return c;
}

std::uint8_t &cellByte(ParameterImage &image, Table t, Cell c)
{
    return t == Table::Advance ? image.advance(c.row, c.column) : image.servoMv(c.column);
}

int cellValue(const ParameterImage &image, Table t, Cell c)
{
    const int b = t == Table::Advance ? image[Off::Advance + 10 * c.row + c.column]
                                      : image[Off::ServoMv + c.column];
    return b * unit(t);
}

// ---- the editing buttons ------------------------------------------------------------

Cells stepAdvanceAll(ParameterImage &image, bool up)
{
    return forEachCell(image, Table::Advance, wholeTable(Table::Advance), [&](Cell c) {
        std::uint8_t b = image.advance(c.row, c.column);
        stepByte(b, up, kAdvanceMin, kAdvanceMax);
        return b;
    });
}

Cells stepAdvanceLive(ParameterImage &image, const LiveCell &live, bool up)
{
    if (live.belowMap)
        return {};
    std::uint8_t &b = image.advance(live.throttleRow, live.advanceColumn);
    const std::uint8_t before = b;
    stepByte(b, up, kAdvanceMin, kAdvanceMax);
    if (b == before)
        return {};
    return {{live.throttleRow, live.advanceColumn}};
}

Cells stepServoAll(ParameterImage &image, bool up)
{
    return forEachCell(image, Table::Servo, wholeTable(Table::Servo), [&](Cell c) {
        std::uint8_t b = image.servoMv(c.column);
        stepByte(b, up, kServoStepMin, kServoStepMax);
        return b;
    });
}

Cells stepServoPoint(ParameterImage &image, int point, bool up)
{
    return forEachCell(image, Table::Servo, {0, point, 0, point}, [&](Cell c) {
        std::uint8_t b = image.servoMv(c.column);
        stepByte(b, up, kServoStepMin, kServoStepMax);
        return b;
    });
}

Cells stepColumn(ParameterImage &image, int column, bool up)
{
    return forEachCell(image, Table::Advance, {0, column, kMapSize - 1, column}, [&](Cell c) {
        std::uint8_t b = image.advance(c.row, c.column);
        stepByte(b, up, kAdvanceMin, kAdvanceMax);
        return b;
    });
}

bool calibrateTps0(ParameterImage &image, int liveMv)
{
    if (liveMv < kTps0MinMv || liveMv > kTps0MaxMv)
        return false;
    image.tps0() = static_cast<std::uint8_t>(liveMv / 10);
    return true;
}

bool calibrateTps100(ParameterImage &image, int liveMv)
{
    if (liveMv < kTps100MinMv || liveMv > kTps100MaxMv)
        return false;
    image.tps100() = static_cast<std::uint8_t>(liveMv / 10 - 250);
    return true;
}

// ---- selection tools ----------------------------------------------------------------

Cells setCells(ParameterImage &image, Table t, Rect r, int value)
{
    return forEachCell(image, t, r, [&](Cell) { return toByte(t, value); });
}

Cells addToCells(ParameterImage &image, Table t, Rect r, int delta)
{
    return forEachCell(image, t, r, [&](Cell c) {
        return toByte(t, static_cast<long long>(cellValue(image, t, c)) + delta);
    });
}

Cells scaleCells(ParameterImage &image, Table t, Rect r, int percent)
{
    return forEachCell(image, t, r, [&](Cell c) {
        return toByte(t, static_cast<long long>(cellValue(image, t, c)) * percent / 100);
    });
}

Cells interpolate(ParameterImage &image, Table t, Rect r, Direction d)
{
    const auto cut = clipped(t, r);
    if (!cut)
        return {};
    const Rect s = *cut;
    const ParameterImage before = image;
    auto v = [&](int row, int col) -> long long { return cellValue(before, t, {row, col}); };
    const bool across = d != Direction::Vertical && s.columns() > 1;
    const bool down = d != Direction::Horizontal && s.rows() > 1;
    if (!across && !down)
        return {};
    return forEachCell(image, t, s, [&](Cell c) {
        long long wx = 0, dx = 1, wy = 0, dy = 1;
        if (across)
            weights(columnAxis(before, t, c.column), columnAxis(before, t, s.left),
                    columnAxis(before, t, s.right), c.column, s.left, s.right, wx, dx);
        if (down)
            weights(rowAxis(t, c.row), rowAxis(t, s.top), rowAxis(t, s.bottom), c.row, s.top,
                    s.bottom, wy, dy);
        long long num = 0;
        if (across && down)
            num = v(s.top, s.left) * (dx - wx) * (dy - wy) + v(s.top, s.right) * wx * (dy - wy)
                + v(s.bottom, s.left) * (dx - wx) * wy + v(s.bottom, s.right) * wx * wy;
        else if (across)
            num = (v(c.row, s.left) * (dx - wx) + v(c.row, s.right) * wx) * dy;
        else
            num = (v(s.top, c.column) * (dy - wy) + v(s.bottom, c.column) * wy) * dx;
        return toByte(t, num / (dx * dy));
    });
}

Cells smooth(ParameterImage &image, Table t, Rect r)
{
    const ParameterImage before = image;
    const int rows = rowCount(t), cols = columnCount(t);
    return forEachCell(image, t, r, [&](Cell c) {
        long long sum = 0, weight = 0;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                const int row = c.row + dr, col = c.column + dc;
                if (row < 0 || row >= rows || col < 0 || col >= cols)
                    continue;
                const int w = (dr == 0 ? 2 : 1) * (dc == 0 ? 2 : 1);
                sum += w * cellValue(before, t, {row, col});
                weight += w;
            }
        return toByte(t, sum / weight);
    });
}

}  // namespace vorn::maps
