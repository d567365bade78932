// The *.ign parameter file: a labelled text form of the settings and the advance map.
#pragma once

#include "params/ParameterImage.h"

#include <QByteArray>
#include <QByteArrayView>

#include <bitset>

namespace vorn {

// The key line's word and the file format version this program writes and accepts.
inline constexpr char kIgnKeyWord[] = "ZEPHALON_KEY";
constexpr int kIgnVersion = 40;
constexpr int kIgnLineCount = 44;

// The 44 lines of the file for the image's blocks 1 and 2 in user units, CR LF between
// lines and none after the last. Block 0 and the reserved bytes are not stored.
QByteArray WriteParameterFile(const ParameterImage &image);

// Reads a parameter file into the image and returns whether the key line with version 40
// was found (FileKeyFound). Without it the image is left exactly as it was. After the key
// line, keywords may come in any order and repeat (the last wins); unknown words and stray
// numbers are skipped. Every number counts by its low 16 bits, then is scaled, and the byte
// takes the low 8 bits. A record ends early at a word that is not a number: the bytes still
// due keep their values and that word is read as the next keyword.
bool ReadParameterFile(QByteArrayView content, ParameterImage &image);

// The image bytes a parameter file stores: a file compared with the unit can only speak
// for these.
std::bitset<kImageSize> ParameterFileBytes();

}  // namespace vorn
