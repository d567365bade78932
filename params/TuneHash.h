// The name of a tune: a hash over what the unit is programmed with.
#pragma once

#include "ParameterImage.h"

#include <QString>

namespace vorn {

// SHA-256 over image bytes 100..299 without the reserved byte 101 (the unit keeps that one
// to itself, so two units holding the same tune may differ there), as lowercase hex.
QString tuneHash(const ParameterImage &image);

}  // namespace vorn
