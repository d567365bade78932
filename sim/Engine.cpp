// The sweep ride, the unit's advance and the monitor reply encoding of the simulated unit.
#include "Engine.h"

#include "link/ActiveCell.h"

#include <algorithm>
#include <cmath>

namespace vornsim {

namespace {

constexpr double kPi = 3.14159265358979323846;

int rpmAt(double seconds, const Memory &m)
{
    const int limiter = m[At::Limiter2] ? m[At::Limiter2] * 100 : 11000;
    const int top = limiter + 400;   // touches the limiter so the alarm shows
    double phase = std::fmod(seconds, kSweepSeconds) / kSweepSeconds;   // 0..1
    phase = phase < 0.5 ? phase * 2 : (1 - phase) * 2;                  // up, then down
    return kIdleRpm + static_cast<int>((top - kIdleRpm) * phase);
}

}  // namespace

int servoTargetMv(const Memory &m, int rpm)
{
    if (m[At::ServoEnable] == 0)
        return 0;
    auto pointRpm = [&](int i) { return m[At::ServoRpm + i] * 100; };
    auto pointMv = [&](int i) { return m[At::ServoMv + i] * 20; };
    if (rpm <= pointRpm(0))
        return pointMv(0);
    for (int i = 1; i < 10; ++i) {
        if (rpm <= pointRpm(i)) {
            const int span = std::max(1, pointRpm(i) - pointRpm(i - 1));
            return pointMv(i - 1) + (pointMv(i) - pointMv(i - 1)) * (rpm - pointRpm(i - 1)) / span;
        }
    }
    return pointMv(9);
}

namespace {

void put16(Bytes102 &f, int at, std::uint16_t v)
{
    f[at] = static_cast<std::uint8_t>(v);
    f[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

std::uint8_t mapAdvance(const Memory &m, int rpm, int tpsPercent)
{
    return advanceAt(m, mapCell(m, rpm, tpsPercent));
}

vorn::LiveCell mapCell(const Memory &m, int rpm, int tpsPercent)
{
    vorn::ParameterImage image;
    std::copy(m.begin(), m.end(), image.bytes.begin());
    vorn::LiveValues live;
    live.speed = static_cast<std::uint16_t>(std::clamp(rpm, 0, 0xFFFF));
    live.tpsPercent = static_cast<std::uint8_t>(std::clamp(tpsPercent, 0, 0xFF));
    return vorn::findActiveCell(image, live, m[At::TpsMap] != 0);
}

std::uint8_t advanceAt(const Memory &m, const vorn::LiveCell &cell)
{
    if (cell.belowMap)
        return m[At::BaseAdv];
    return m[At::Map + 10 * cell.throttleRow + cell.advanceColumn];
}

void fillUnitFields(EngineState &s, double seconds, const Memory &m, int rpm, std::uint8_t advance)
{
    const int tps0 = m[At::Tps0] * 10, tps100 = m[At::Tps100] * 10 + 2500;
    s.tpsRaw = static_cast<std::uint16_t>(mvToCounts(tps0 + (tps100 - tps0) * s.tpsPercent / 100));
    s.supplyMv = static_cast<std::uint16_t>(13800 + std::lround(120 * std::sin(seconds / 2.3)));

    const int channels = std::clamp<int>(m[At::OutputCount], 1, 4);
    for (int ch = 0; ch < channels; ++ch)
        s.advance[ch] = advance;

    const int limiter = m[At::Limiter2] * 100;
    s.rpmAlarm = limiter > 0 && rpm >= limiter;
    s.rpmWarning = limiter > 0 && rpm >= limiter - 600;
    s.shiftLightActive = m[At::PilotLight] > 0 && rpm >= m[At::PilotLight] * 100;

    // Both pick-ups have seen enough revolutions, so the program finds no pick-up error.
    const std::uint8_t revs = static_cast<std::uint8_t>(std::min(255, m[At::RevsWithoutIgnition] + 1));
    s.pickupRevs = {revs, revs};
    s.pickupRunning[0] = 1;
    s.pickupRunning[1] = m[At::SyncMethod] == 0 || m[At::SyncMethod] == 4;
    s.servoOk = 1;
}

EngineState engineAt(double seconds, const Memory &m)
{
    EngineState s;
    s.rpm = static_cast<std::uint16_t>(rpmAt(seconds, m));
    const double wave = std::sin(2 * kPi * seconds / kThrottleSeconds);
    s.tpsPercent = static_cast<std::uint8_t>(std::lround(50 + 50 * wave));
    fillUnitFields(s, seconds, m, s.rpm, mapAdvance(m, s.rpm, s.tpsPercent));
    s.clutchActive = std::fmod(seconds, 10.0) < 1.0;

    // The servo follows its target with about half a second of lag.
    s.servoDesiredRaw = static_cast<std::uint16_t>(mvToCounts(servoTargetMv(m, s.rpm)));
    s.servoMeasuredRaw = static_cast<std::uint16_t>(
        mvToCounts(servoTargetMv(m, rpmAt(std::max(0.0, seconds - 0.5), m))));
    s.test[0] = static_cast<std::uint16_t>(seconds);
    s.test[1] = s.rpm / 10;
    return s;
}

Bytes102 monitorReply(const EngineState &s)
{
    Bytes102 f{};
    f[0] = kMonitor | kAnswerBit;
    put16(f, 1, s.rpm);
    put16(f, 3, s.tpsRaw);
    put16(f, 5, s.supplyMv);
    put16(f, 7, s.servoMeasuredRaw);
    put16(f, 9, s.servoDesiredRaw);
    put16(f, 11, s.programCount);
    for (int n = 0; n < 8; ++n)
        put16(f, 13 + 2 * n, s.test[n]);
    f[40] = s.clutchActive;
    f[41] = s.tpsPercent;
    f[42] = s.shiftLightActive;
    f[44] = s.pickupRevs[0];
    f[45] = s.pickupRevs[1];
    f[46] = s.pickupLobes[0];
    f[47] = s.pickupLobes[1];
    f[48] = s.pickupRunning[0];
    f[49] = s.pickupRunning[1];
    for (int ch = 0; ch < 4; ++ch) {
        f[50 + ch] = s.advance[ch];
        put16(f, 54 + 2 * ch, s.advanceMax[ch]);
    }
    f[62] = s.rpmAlarm;
    f[63] = s.blockingActive;
    f[64] = s.rpmWarning;
    f[65] = s.servoOk;
    seal(f);
    return f;
}

}  // namespace vornsim
