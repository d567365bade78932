// Names every meaningful byte of the parameter image: a stable key, its name in the four
// languages, its unit and its value as the window shows it; and the differences between
// two images by parameter. Nothing else in the program spells parameter names.
#pragma once

#include "FieldBindings.h"
#include "ParameterImage.h"

#include <QLocale>
#include <QString>

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// One bit per image offset.
using ByteMask = std::bitset<kImageSize>;

struct Parameter {
    enum class Kind {
        Number,      // an edit field with a spinner
        Flag,        // a check box
        ModelList,   // the motorcycle model list (value is the stored code)
        SyncList,    // the synchronisation method list (value is the list index)
    };
    // What the name is composed of; the indexes below say which channel, point or cell.
    enum class Naming { Scalar, ChannelLobe, ChannelEdge2, ChannelPickup2, ServoRpm, ServoMv,
                        AdvanceRpm, AdvanceCell };

    std::string key;   // stable: "limiter", "servo_rpm[3]", "advance_map[9][0]" (indexes from 0)
    int offset;        // image offset 100..299
    Kind kind;
    Naming naming;
    const FieldBinding *binding;   // the window's control for numbers and flags; nullptr for lists
    int index = -1;    // channel 0..3, point or column 0..9, or the map row 0..9
    int column = -1;   // map column 0..9 of an advance cell
    bool startEvent = false;   // channel rows: the start-advance event rather than maximum advance
    int scalar = -1;   // position in the scalar name table
};

// Every parameter once, in the order the window's pages show them: the model and the
// trigger description, the other scalar fields, then channels 1..4, the advance speed
// columns, the servo points and the 100 map cells row by row.
const std::vector<Parameter> &parameterCatalogue();

const Parameter *findParameter(std::string_view key);
// The parameter stored at an image offset; nullptr for block 0 and the reserved bytes.
const Parameter *parameterAtOffset(int offset);

// The bytes the catalogue names (blocks 1 and 2 without the reserved bytes).
const ByteMask &catalogueBytes();

// Throttle percent of a map row, as the rows of the advance map are labelled.
int throttleRowPercent(int row);

// Name in a language (0 English, 1 German, 2 French, 3 Czech). A map cell is named by the
// speed of its column and its throttle row in `context` ("Advance 6,000 rpm / 30 %"); while
// the throttle map is off in `context`, row 9 is the single curve the window shows and is
// named by speed alone, and rows 0..8 say that they are not in use.
QString parameterName(const Parameter &p, int language, const ParameterImage &context,
                      const QLocale &locale = QLocale());
// Unit text ("rpm", "mV", "ms", "%", "°"); empty for flags, lists, counts and raw values.
QString parameterUnit(const Parameter &p);

// The physical value of a byte as the window shows it.
int physicalValue(const Parameter &p, std::uint8_t byte);
// The value as the window shows it: numbers with the locale's thousands separator where
// the field has one, flags "on"/"off", lists their entry's text in the language.
QString valueText(const Parameter &p, std::uint8_t byte, int language,
                  const QLocale &locale = QLocale());
// valueText followed by a space and the unit, when there is one.
QString valueWithUnit(const Parameter &p, std::uint8_t byte, int language,
                      const QLocale &locale = QLocale());

struct ParameterDifference {
    const Parameter *parameter;
    std::uint8_t before;   // byte in the first image
    std::uint8_t after;    // byte in the second image
};

// Every catalogued parameter whose byte differs between the images, in catalogue order;
// only bytes set in `mask` are compared (all catalogued bytes by default).
std::vector<ParameterDifference> imageDifferences(const ParameterImage &before,
                                                  const ParameterImage &after,
                                                  const ByteMask &mask = catalogueBytes());
// How many parameters differ (the size of imageDifferences without building it).
int differenceCount(const ParameterImage &before, const ParameterImage &after,
                    const ByteMask &mask = catalogueBytes());

// "Limiter 11,000 → 10,500 rpm", named in `context`.
QString changeText(const ParameterDifference &d, int language, const ParameterImage &context,
                   const QLocale &locale = QLocale());

}  // namespace vorn
