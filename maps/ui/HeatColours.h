// Heat colours of the advance map: each cell's value on one colour scale from the map's
// smallest to its largest value.
#pragma once

#include "maps/MapOperations.h"

#include <QColor>

#include <array>
#include <cstdint>

namespace vorn::maps {

// The heat scale: a colour for v in lo..hi, light to dark blue, pale yellow, to red; never
// the lime of the live cell. textOn gives black or white, whichever reads on it.
QColor heatColour(int v, int lo, int hi);
QColor textOn(const QColor &background);

// The colours of the advance map's cells, made again only when a cell's value changed: the
// window asks for every cell each time it paints them.
class HeatMap {
public:
    const QColor &colour(const ParameterImage &image, Cell cell);

private:
    void refresh(const ParameterImage &image);

    std::array<std::uint8_t, 100> madeFor_{};   // the map bytes the colours were made for
    std::array<QColor, 100> colours_{};
    bool valid_ = false;
};

}  // namespace vorn::maps
