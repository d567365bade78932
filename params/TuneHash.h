// The identity of a tune: a hash over what makes one tune differ from another.
#pragma once

#include "params/ParameterImage.h"

#include <QString>

namespace vorn {

// SHA-256, as 64 lower-case hexadecimal digits, over the bytes of blocks 1 and 2 that the
// parameter catalogue names, in ascending offset order. The reserved bytes are left out:
// byte 101 is the unit's own and changes without a tune changing, and the unused bytes
// are not stored by a *.ign file. So an image, the *.ign file written from it and the
// image read back from that file all have the same hash, whatever block 0 holds.
QString tuneHash(const ParameterImage &image);

}  // namespace vorn
