// The unit's side of the serial protocol: frame size, command bytes and the check byte.
// Written independently of the program's link code, so a mistake on one side shows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vornsim {

constexpr std::size_t kFrameBytes = 102;   // command, 100 data bytes, check
constexpr std::size_t kDataBytes = 100;
constexpr std::size_t kMemoryBytes = 300;  // three blocks of 100

using Bytes102 = std::array<std::uint8_t, kFrameBytes>;
using Memory = std::array<std::uint8_t, kMemoryBytes>;

constexpr std::uint8_t kReadBase = 0x40;
constexpr std::uint8_t kMonitor = 0x30;
constexpr std::uint8_t kAnswerBit = 0x80;

// The check byte that makes 0xFF XOR all 102 bytes come out 0.
inline std::uint8_t sealValue(const std::uint8_t *frame)
{
    std::uint8_t x = 0xFF;
    for (std::size_t i = 0; i + 1 < kFrameBytes; ++i)
        x ^= frame[i];
    return x;
}

inline void seal(Bytes102 &frame)
{
    frame[kFrameBytes - 1] = sealValue(frame.data());
}

inline bool sealed(const std::uint8_t *frame)
{
    return sealValue(frame) == frame[kFrameBytes - 1];
}

}  // namespace vornsim
