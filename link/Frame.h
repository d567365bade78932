// The 102-byte frame of the serial line: layout, command bytes, check byte, receive rule.
#pragma once

#include "params/ParameterImage.h"

#include <array>
#include <cstdint>
#include <span>

namespace vorn {

constexpr int kFrameSize = 102;      // command byte, 100 data bytes, check byte
constexpr int kFrameDataSize = kBlockSize;
constexpr int kCheckByteIndex = kFrameSize - 1;

using Frame = std::array<std::uint8_t, kFrameSize>;

namespace Cmd {
constexpr std::uint8_t BlockWrite = 0x00;      // + block number
constexpr std::uint8_t BlockRead = 0x40;       // + block number
constexpr std::uint8_t MonitorRequest = 0x30;
constexpr std::uint8_t ReplyToggle = 0x80;     // a reply's command byte is the request's XOR this
constexpr std::uint8_t MonitorReply = MonitorRequest ^ ReplyToggle;   // 0xB0
constexpr std::uint8_t BlockMask = 0x3F;       // block number of a block command
}  // namespace Cmd

// (NOT command) XOR every data byte.
std::uint8_t checkByte(std::uint8_t command, std::span<const std::uint8_t, kFrameDataSize> data);

// True when 0xFF XOR all 102 bytes is 0. Same rule in both directions.
bool frameIsValid(std::span<const std::uint8_t, kFrameSize> frame);

// A complete frame: command, data, check byte.
Frame makeFrame(std::uint8_t command, std::span<const std::uint8_t, kFrameDataSize> data);

// The frame for a block command: image block (command AND 0x3F) as data, or 100 zero bytes
// when zeroData is set (the Read phase asks with an empty block).
Frame blockFrame(std::uint8_t command, const ParameterImage &image, bool zeroData);

// The constant live-monitor request: 0x30, 100 zero bytes, 0xCF.
Frame monitorRequestFrame();

inline int blockOf(std::uint8_t command) { return command & Cmd::BlockMask; }

// The reply to `command` is expected to start with command XOR 0x80.
inline bool replyMatches(std::uint8_t command, const Frame &reply)
{
    return reply[0] == static_cast<std::uint8_t>(command ^ Cmd::ReplyToggle);
}

// How many bytes one receive poll reads when `waiting` bytes are queued: none below a
// whole frame, everything up to 1024, else exactly 1000 (the rest waits for the next poll).
constexpr long long kReadAllLimit = 1024;
constexpr long long kOversizeRead = 1000;
constexpr long long bytesToRead(long long waiting)
{
    if (waiting < kFrameSize)
        return 0;
    return waiting <= kReadAllLimit ? waiting : kOversizeRead;
}

}  // namespace vorn
