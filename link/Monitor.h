// The live-monitor reply: its fields, and what the monitor labels show for them.
#pragma once

#include "Frame.h"
#include "lang/Jazyk2.h"
#include "params/New.h"   // kSpecialBikeCode: the model with one advance label per channel
#include "params/ParameterImage.h"

#include <QString>

#include <array>
#include <cstdint>

namespace vorn {

// The fields of a monitor reply (first byte 0xB0); u16 values are little-endian.
struct MonitorFields {
    std::uint16_t rpm = 0;
    std::uint16_t tpsRaw = 0;             // 1023 counts = 5000 mV
    std::uint16_t supplyMv = 0;
    std::uint16_t servoMeasuredRaw = 0;   // 1023 counts = 5000 mV
    std::uint16_t servoDesiredRaw = 0;
    std::uint16_t programCount = 0;
    std::array<std::uint16_t, 8> test{};
    std::uint8_t clutchActive = 0;
    std::uint8_t tpsPercent = 0;          // above 100: sensor error
    std::uint8_t shiftLightActive = 0;
    std::array<std::uint8_t, 2> pickupRevs{};
    std::array<std::uint8_t, 2> pickupLobes{};
    std::array<std::uint8_t, 2> pickupRunning{};
    std::array<std::uint8_t, kChannels> advance{};
    std::array<std::uint16_t, kChannels> advanceMax{};   // 0: no maximum reported
    std::uint8_t rpmAlarm = 0;
    std::uint8_t blockingActive = 0;
    std::uint8_t rpmWarning = 0;
    std::uint8_t servoOk = 0;             // 0: servo fault
};

// Byte positions of the fields inside the frame.
namespace MonitorAt {
constexpr int Rpm = 1, TpsRaw = 3, SupplyMv = 5, ServoMeasured = 7, ServoDesired = 9;
constexpr int ProgramCount = 11, Test1 = 13;   // testN at 11 + 2N
constexpr int Clutch = 40, TpsPercent = 41, ShiftLight = 42;
constexpr int Pickup1Revs = 44, Pickup1Lobes = 46, Pickup1Running = 48;   // pick-up 2 one byte on
constexpr int Advance = 50, AdvanceMax = 54;
constexpr int RpmAlarm = 62, Blocking = 63, RpmWarning = 64, ServoOk = 65;
}  // namespace MonitorAt

MonitorFields parseMonitorFrame(const Frame &frame);
// The reply frame carrying these fields (with command byte and check byte).
Frame monitorReplyFrame(const MonitorFields &fields);

// Converter counts to millivolts, 1023 counts = 5000 mV, truncated.
constexpr int countsToMv(std::uint16_t counts) { return counts * 5000 / 1023; }

enum class Shade { ButtonFace, Red, Yellow, Lime };

struct LabelView {
    QString text;
    Shade shade = Shade::ButtonFace;
};

// Everything the monitor column shows for one reply.
struct MonitorView {
    LabelView rpm;
    int rpmGauge = 0;
    LabelView supply;
    LabelView blocking;
    // Special bike (code 22): one label per channel; otherwise only the first is written.
    bool perChannelAdvance = false;
    std::array<LabelView, kChannels> advance;
    LabelView shiftLight;
    LabelView clutch;
    std::array<LabelView, 2> pickup;
    LabelView throttle;
    int throttleGauge = 0;
    LabelView servoDesired;
    LabelView servoMeasured;
    QString programCount;
    std::array<QString, 8> test;
    // What the window keeps of the reply.
    std::uint16_t speed = 0;
    std::uint8_t tpsPercent = 0;
    std::uint16_t tpsMv = 0;
};

// Builds the texts and colours of the monitor labels. Reads BikeCode, LobeCount,
// RevsWithoutIgnition, Limiter2 and TpsMap from the image; texts from the message slots.
MonitorView monitorView(const MonitorFields &f, const ParameterImage &image, const MessageSlots &messages);

// The pick-up system is in error when a pick-up has counted fewer revolutions than the
// revolutions without ignition, yet more lobes than those revolutions should bring.
bool pickupSystemError(const MonitorFields &f, const ParameterImage &image);

}  // namespace vorn
