// Frame assembly and validation.
#include "Frame.h"

#include <algorithm>

namespace vorn {

std::uint8_t checkByte(std::uint8_t command, std::span<const std::uint8_t, kFrameDataSize> data)
{
    std::uint8_t check = static_cast<std::uint8_t>(~command);
    for (std::uint8_t b : data)
        check ^= b;
    return check;
}

bool frameIsValid(std::span<const std::uint8_t, kFrameSize> frame)
{
    std::uint8_t sum = 0xFF;
    for (std::uint8_t b : frame)
        sum ^= b;
    return sum == 0;
}

Frame makeFrame(std::uint8_t command, std::span<const std::uint8_t, kFrameDataSize> data)
{
    Frame f{};
    f[0] = command;
    std::copy(data.begin(), data.end(), f.begin() + 1);
    f[kCheckByteIndex] = checkByte(command, data);
    return f;
}

Frame blockFrame(std::uint8_t command, const ParameterImage &image, bool zeroData)
{
    static const std::array<std::uint8_t, kFrameDataSize> kZeros{};
    const int block = blockOf(command);
    if (zeroData || block >= kBlockCount)
        return makeFrame(command, kZeros);
    return makeFrame(command, image.block(block));
}

Frame monitorRequestFrame()
{
    static const std::array<std::uint8_t, kFrameDataSize> kZeros{};
    return makeFrame(Cmd::MonitorRequest, kZeros);
}

}  // namespace vorn
