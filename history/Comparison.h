// A comparison of the window's image with another (the unit, a file, a restore point) by
// parameter name, as the comparison view shows it and copies it as text.
#pragma once

#include "params/ParameterCatalogue.h"

#include <QLocale>
#include <QString>

#include <vector>

namespace vorn {

class DeviceSession;

struct Comparison {
    ParameterImage window;
    ParameterImage other;
    ByteMask mask = catalogueBytes();   // a parameter file holds fewer bytes than the unit
    std::vector<ParameterDifference> differences() const { return imageDifferences(window, other, mask); }
    bool cellDiffers(int row, int column) const;
};

// Tab-separated lines: a heading (parameter, first title, other title), one line per differing
// parameter with both values in physical units, then the advance map as a 10 x 10 grid
// (speed columns across, throttle rows down) where a differing cell reads
// "window*other" and an equal cell its value; no grid when the map is not compared.
// The first side is the window's image unless `firstTitle` names what it is instead.
QString comparisonText(const Comparison &c, const QString &otherTitle, int language,
                       const QLocale &locale = QLocale(), const QString &firstTitle = QString());

// What the unit sent back during a Verify, set against the window's image: the window's
// image with the blocks that arrived laid over it, compared on those blocks' catalogued
// bytes only (never the reserved byte the unit keeps for itself), and the verified blocks
// that did not arrive.
struct VerifyReplies {
    ParameterImage unit;
    ByteMask mask;
    std::vector<int> missingBlocks;   // of blocks 1 and 2, the ones Verify asks for
    bool anySent() const { return mask.any(); }
};
VerifyReplies verifyReplies(const ParameterImage &window, const DeviceSession &session);
// The sentence the comparison view adds: which blocks did not arrive and are not compared;
// empty when the unit sent every verified block.
QString verifyRepliesNote(const VerifyReplies &replies, int language);

}  // namespace vorn
