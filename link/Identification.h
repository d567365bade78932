// The unit's identification texts (program version, date, time) built from image block 0.
#pragma once

#include "params/ParameterImage.h"

#include <QString>

#include <cstdint>

namespace vorn {

// The three texts shown in LabelVerze1..3; empty until the first block 0 arrives.
struct UnitIdentification {
    QString version;   // "ABC07", or the unit's free text when it has one
    QString date;      // " 7. 8.2005"
    QString time;      // "09:05"
    bool operator==(const UnitIdentification &) const = default;
};

constexpr int kIdentificationMaxLength = 30;
// The only program version of the unit this tool talks to (block 0 byte 10).
constexpr std::uint8_t kUnitProgramVersion = 40;

UnitIdentification identificationFromImage(const ParameterImage &image);

// The month as two characters (" 1" .. "12") from the unit's month code, which is the sum
// of the characters of the English three-letter abbreviation modulo 256; "00" if unknown.
QString monthFromCode(std::uint8_t code);

}  // namespace vorn
