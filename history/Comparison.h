// A comparison of the window's image with another (the unit, a file, a restore point) by
// parameter name, as the comparison view shows it and copies it as text.
#pragma once

#include "params/ParameterCatalogue.h"

#include <QLocale>
#include <QString>

namespace vorn {

struct Comparison {
    ParameterImage window;
    ParameterImage other;
    ByteMask mask = catalogueBytes();   // a parameter file holds fewer bytes than the unit
    std::vector<ParameterDifference> differences() const { return imageDifferences(window, other, mask); }
    bool cellDiffers(int row, int column) const;
};

// Tab-separated lines: a heading (parameter, window, other title), one line per differing
// parameter with both values in physical units, then the advance map as a 10 x 10 grid
// (speed columns across, throttle rows down) where a differing cell reads
// "window*other" and an equal cell its value.
QString comparisonText(const Comparison &c, const QString &otherTitle, int language,
                       const QLocale &locale = QLocale());

}  // namespace vorn
