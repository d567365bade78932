// Conversions between image bytes and the values the bound controls hold.
#include "FormValues.h"

namespace vorn {

int shownValue(const FieldBinding &binding, std::uint8_t byte)
{
    return physicalFromByte(binding.encoding, byte);
}

std::uint8_t storedByte(const FieldBinding &binding, int value)
{
    return byteFromPhysical(binding.encoding, value);
}

bool inWindowRange(const FieldBinding &binding, int value)
{
    return value >= binding.min && value <= binding.max;
}

int syncListIndexOf(std::uint8_t method)
{
    return method < kSyncMethodCount ? method : -1;
}

}  // namespace vorn
