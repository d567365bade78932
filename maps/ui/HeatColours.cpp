#include "HeatColours.h"

#include <algorithm>

namespace vorn::maps {

QColor heatColour(int v, int lo, int hi)
{
    // A diverging blue-yellow-red scale of even lightness steps (ColorBrewer RdYlBu).
    static const QColor stops[] = {{49, 54, 149},  {69, 117, 180}, {116, 173, 209}, {171, 217, 233},
                                   {224, 243, 248}, {254, 224, 144}, {253, 174, 97}, {244, 109, 67},
                                   {215, 48, 39},  {165, 0, 38}};
    constexpr int n = static_cast<int>(std::size(stops)) - 1;
    if (hi <= lo)
        return stops[n / 2];
    const double t = std::clamp(double(v - lo) / double(hi - lo), 0.0, 1.0) * n;
    const int i = std::min(static_cast<int>(t), n - 1);
    const double f = t - i;
    const QColor &a = stops[i], &b = stops[i + 1];
    return QColor(int(a.red() + (b.red() - a.red()) * f), int(a.green() + (b.green() - a.green()) * f),
                  int(a.blue() + (b.blue() - a.blue()) * f));
}

QColor textOn(const QColor &bg)
{
    const double luminance = 0.2126 * bg.redF() + 0.7152 * bg.greenF() + 0.0722 * bg.blueF();
    return luminance < 0.45 ? QColor(Qt::white) : QColor(Qt::black);
}

void HeatMap::refresh(const ParameterImage &image)
{
    std::array<std::uint8_t, 100> now{};
    std::copy_n(image.bytes.begin() + Off::Advance, 100, now.begin());
    if (valid_ && now == madeFor_)
        return;   // no cell changed: the colours made last time stand
    madeFor_ = now;
    const auto [lo, hi] = std::minmax_element(now.begin(), now.end());
    for (std::size_t i = 0; i < now.size(); ++i)
        colours_[i] = heatColour(now[i], *lo, *hi);
    valid_ = true;
}

const QColor &HeatMap::colour(const ParameterImage &image, Cell cell)
{
    refresh(image);
    return colours_[static_cast<std::size_t>(10 * cell.row + cell.column)];
}

}  // namespace vorn::maps
