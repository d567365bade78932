// The image dump beside the settings file: all 300 bytes of the image as numbers.
#pragma once

#include "params/ParameterImage.h"

#include <QByteArray>
#include <QByteArrayView>

namespace vorn {

constexpr int kDumpLineCount = 33;

// Ten numbers ("%5u ") per line, CR LF after every tenth and one more after every hundredth:
// each block is ten lines and an empty one.
QByteArray WriteImageDump(const ParameterImage &image);

// Reads up to 300 numbers into bytes 0, 1, 2 ... (low 8 bits of each) and returns how many
// were read. Reading stops at the end of the text or at the first word that is not a
// number; the bytes after that keep their values.
int ReadImageDump(QByteArrayView content, ParameterImage &image);

}  // namespace vorn
