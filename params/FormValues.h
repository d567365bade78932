// What a bound control shows for its image byte, and which byte a control value stores.
#pragma once

#include "FieldBindings.h"
#include "ParameterImage.h"

#include <cstdint>

namespace vorn {

constexpr int kSyncMethodCount = 6;   // entries of the synchronisation list

// The spinner position (numeric field) or 0 / 1 (check box) shown for a byte. Every byte
// gives a value that fits the spinner's signed 16-bit position, also outside the window
// range, and storedByte gives the same byte back from it.
int shownValue(const FieldBinding &binding, std::uint8_t byte);
// The byte stored for a control value: divisions truncate toward zero, the low 8 bits stay.
std::uint8_t storedByte(const FieldBinding &binding, int value);
// Whether a value lies within the field's window range (what a user may type or click to).
bool inWindowRange(const FieldBinding &binding, int value);

// List entry shown for a synchronisation method byte; -1 (no selection) above the list.
int syncListIndexOf(std::uint8_t method);

}  // namespace vorn
