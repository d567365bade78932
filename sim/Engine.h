// The sweep ride of the simulated unit (live values as a function of time and of the unit's
// own programmed parameters), the advance the unit fires at, and the monitor reply.
#pragma once

#include "Protocol.h"
#include "link/LiveCell.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vornsim {

struct EngineState {
    std::uint16_t rpm = 0;
    std::uint8_t tpsPercent = 0;
    std::uint16_t tpsRaw = 0;            // 1023 counts = 5000 mV
    std::uint16_t supplyMv = 0;
    std::uint16_t servoMeasuredRaw = 0;
    std::uint16_t servoDesiredRaw = 0;
    std::uint16_t programCount = 0;
    std::array<std::uint16_t, 8> test{};
    std::uint8_t clutchActive = 0;
    std::uint8_t shiftLightActive = 0;
    std::array<std::uint8_t, 2> pickupRevs{};
    std::array<std::uint8_t, 2> pickupLobes{};
    std::array<std::uint8_t, 2> pickupRunning{};
    std::array<std::uint8_t, 4> advance{};
    std::array<std::uint16_t, 4> advanceMax{};
    std::uint8_t rpmAlarm = 0;
    std::uint8_t blockingActive = 0;
    std::uint8_t rpmWarning = 0;
    std::uint8_t servoOk = 1;
};

// Where the model finds its parameters in its memory (same layout as the program's image).
namespace At {
constexpr int ProgramVersion = 10;
constexpr int SyncMethod = 102, LobeCount = 103, OutputCount = 104, PilotLight = 107, BaseAdv = 109;
constexpr int RevsWithoutIgnition = 110, Limiter2 = 113, ServoEnable = 116;
constexpr int Tps0 = 120, Tps100 = 121, TpsMap = 122;
constexpr int ServoRpm = 170, ServoMv = 180, RpmAdv = 190, Map = 200;
}  // namespace At

constexpr double kSweepSeconds = 30.0;    // one rise and fall of the engine speed
constexpr double kThrottleSeconds = 7.0;  // one throttle cycle
constexpr int kIdleRpm = 700;

// The live values of the sweep ride at `seconds` after start.
EngineState engineAt(double seconds, const Memory &memory);

// The fields every ride fills the same way from the unit's settings: throttle counts, supply,
// advance per channel, limiter alarm and warning, shift light, pick-ups. `rpm` is the true
// speed the unit sees.
void fillUnitFields(EngineState &state, double seconds, const Memory &memory, int rpm, std::uint8_t advance);

// The advance the unit fires at for this speed and throttle: its map at the live cell that the
// program's own active-cell search finds (row 9 without TPS map), the base advance below the
// first speed point.
std::uint8_t mapAdvance(const Memory &memory, int rpm, int tpsPercent);
// The same in two steps: the live cell, and the advance the unit fires at in it.
vorn::LiveCell mapCell(const Memory &memory, int rpm, int tpsPercent);
std::uint8_t advanceAt(const Memory &memory, const vorn::LiveCell &cell);

// Converter counts for a voltage, 1023 counts = 5000 mV.
inline int mvToCounts(int mv)
{
    return std::clamp(mv, 0, 5000) * 1023 / 5000;
}

// The servo's target voltage in mV: the servo map interpolated over its speed points
// (0 while the servo is disabled).
int servoTargetMv(const Memory &memory, int rpm);

// The monitor reply frame (0xB0 ... check) carrying the state.
Bytes102 monitorReply(const EngineState &state);

}  // namespace vornsim
