// Decoding the live-monitor reply into label texts and colours.
#include "Monitor.h"

#include <algorithm>

namespace vorn {

namespace {

std::uint16_t u16(const Frame &f, int at)
{
    return static_cast<std::uint16_t>(f[at] | (f[at + 1] << 8));
}

void putU16(std::array<std::uint8_t, kFrameDataSize> &data, int at, std::uint16_t v)
{
    data[at - 1] = static_cast<std::uint8_t>(v & 0xFF);
    data[at] = static_cast<std::uint8_t>(v >> 8);
}

const char *const kDegrees = "[\u00B0]";

}  // namespace

MonitorFields parseMonitorFrame(const Frame &f)
{
    using namespace MonitorAt;
    MonitorFields m;
    m.rpm = u16(f, Rpm);
    m.tpsRaw = u16(f, TpsRaw);
    m.supplyMv = u16(f, SupplyMv);
    m.servoMeasuredRaw = u16(f, ServoMeasured);
    m.servoDesiredRaw = u16(f, ServoDesired);
    m.programCount = u16(f, ProgramCount);
    for (int n = 0; n < 8; ++n)
        m.test[n] = u16(f, Test1 + 2 * n);
    m.clutchActive = f[Clutch];
    m.tpsPercent = f[TpsPercent];
    m.shiftLightActive = f[ShiftLight];
    for (int p = 0; p < 2; ++p) {
        m.pickupRevs[p] = f[Pickup1Revs + p];
        m.pickupLobes[p] = f[Pickup1Lobes + p];
        m.pickupRunning[p] = f[Pickup1Running + p];
    }
    for (int ch = 0; ch < kChannels; ++ch) {
        m.advance[ch] = f[Advance + ch];
        m.advanceMax[ch] = u16(f, AdvanceMax + 2 * ch);
    }
    m.rpmAlarm = f[RpmAlarm];
    m.blockingActive = f[Blocking];
    m.rpmWarning = f[RpmWarning];
    m.servoOk = f[ServoOk];
    return m;
}

Frame monitorReplyFrame(const MonitorFields &m)
{
    using namespace MonitorAt;
    // Data byte j is frame byte j + 1, so a field at frame byte b sits at data[b - 1].
    std::array<std::uint8_t, kFrameDataSize> d{};
    putU16(d, Rpm, m.rpm);
    putU16(d, TpsRaw, m.tpsRaw);
    putU16(d, SupplyMv, m.supplyMv);
    putU16(d, ServoMeasured, m.servoMeasuredRaw);
    putU16(d, ServoDesired, m.servoDesiredRaw);
    putU16(d, ProgramCount, m.programCount);
    for (int n = 0; n < 8; ++n)
        putU16(d, Test1 + 2 * n, m.test[n]);
    d[Clutch - 1] = m.clutchActive;
    d[TpsPercent - 1] = m.tpsPercent;
    d[ShiftLight - 1] = m.shiftLightActive;
    for (int p = 0; p < 2; ++p) {
        d[Pickup1Revs + p - 1] = m.pickupRevs[p];
        d[Pickup1Lobes + p - 1] = m.pickupLobes[p];
        d[Pickup1Running + p - 1] = m.pickupRunning[p];
    }
    for (int ch = 0; ch < kChannels; ++ch) {
        d[Advance + ch - 1] = m.advance[ch];
        putU16(d, AdvanceMax + 2 * ch, m.advanceMax[ch]);
    }
    d[RpmAlarm - 1] = m.rpmAlarm;
    d[Blocking - 1] = m.blockingActive;
    d[RpmWarning - 1] = m.rpmWarning;
    d[ServoOk - 1] = m.servoOk;
    return makeFrame(Cmd::MonitorReply, d);
}

bool pickupSystemError(const MonitorFields &f, const ParameterImage &image)
{
    const int revs = image[Off::RevsWithoutIgnition];
    const int expectedLobes = revs * image[Off::LobeCount];   // up to 65025: needs more than 8 bits
    for (int p = 0; p < 2; ++p)
        if (f.pickupRevs[p] < revs && expectedLobes < f.pickupLobes[p])
            return true;
    return false;
}

MonitorView monitorView(const MonitorFields &f, const ParameterImage &image, const MessageSlots &msg)
{
    MonitorView v;
    v.speed = f.rpm;
    v.tpsPercent = f.tpsPercent;
    v.tpsMv = static_cast<std::uint16_t>(countsToMv(f.tpsRaw));

    v.rpm.text = QString::asprintf("RPM = %d ", f.rpm);
    v.rpm.shade = f.rpmAlarm ? Shade::Red : f.rpmWarning ? Shade::Yellow : Shade::ButtonFace;
    const int limiter = image[Off::Limiter2];
    v.rpmGauge = f.rpm / (limiter != 0 ? limiter : 100);

    v.supply.text = QString::asprintf("U = %4.1f [V]", f.supplyMv * 0.001);
    if (f.supplyMv >= 17999 || f.supplyMv <= 7000)
        v.supply.shade = Shade::Red;
    else if (f.supplyMv >= 14999 || f.supplyMv <= 11000)
        v.supply.shade = Shade::Yellow;

    v.blocking.text = msg[Msg::Blocking] + " - " + (f.blockingActive ? msg[Msg::Yes] : msg[Msg::No]);
    v.blocking.shade = f.blockingActive ? Shade::Red : Shade::ButtonFace;

    const bool pickupError = pickupSystemError(f, image);
    v.perChannelAdvance = image[Off::BikeCode] == kSpecialBikeCode;
    if (pickupError) {
        for (LabelView &l : v.advance)
            l = {msg[Msg::PickupSystemError], Shade::Red};
    } else if (v.perChannelAdvance) {
        for (int ch = 0; ch < kChannels; ++ch) {
            const int a = f.advance[ch], m = f.advanceMax[ch];
            LabelView &l = v.advance[ch];
            l.text = msg[Msg::Advance]
                     + (m != 0 ? QString::asprintf(" %d = %d %s /max %d %s", ch + 1, a, kDegrees, m, kDegrees)
                               : QString::asprintf(" %d = %d %s", ch + 1, a, kDegrees));
            l.shade = m > 0 && a >= m ? Shade::Yellow : Shade::ButtonFace;
        }
    } else {
        const int a = *std::max_element(f.advance.begin(), f.advance.end());
        int m = 0;
        for (std::uint16_t max : f.advanceMax)
            if (max != 0 && (m == 0 || max < m))
                m = max;
        LabelView &l = v.advance[0];
        l.text = msg[Msg::Advance]
                 + (m != 0 ? QString::asprintf(" = %d %s /max %d %s", a, kDegrees, m, kDegrees)
                           : QString::asprintf(" = %d %s", a, kDegrees));
        l.shade = m > 0 && a >= m ? Shade::Yellow : Shade::ButtonFace;
    }

    v.shiftLight.text = msg[Msg::GearShiftLight] + " - " + (f.shiftLightActive ? msg[Msg::Yes] : msg[Msg::No]);
    v.shiftLight.shade = f.shiftLightActive ? Shade::Yellow : Shade::ButtonFace;

    v.clutch.text = QStringLiteral("Clutch master = ") + (f.clutchActive ? msg[Msg::Yes] : msg[Msg::No]);
    v.clutch.shade = f.clutchActive ? Shade::Lime : Shade::ButtonFace;

    for (int p = 0; p < 2; ++p) {
        v.pickup[p].text = msg[Msg::PickupCkps] + QStringLiteral(" %1 ").arg(p + 1)
                           + (f.pickupRunning[p] ? msg[Msg::IsRunning] : msg[Msg::NoSignal]);
        v.pickup[p].shade = f.pickupRunning[p] ? Shade::Lime : Shade::ButtonFace;
    }

    if (f.tpsPercent <= 100) {
        v.throttle.text = QString::asprintf("TP= %d [%%]= %d [mV]", f.tpsPercent, v.tpsMv);
        v.throttleGauge = f.tpsPercent;
    } else {
        v.throttle.text = QString::asprintf("TP=error = %d [mV]", v.tpsMv);
        v.throttle.shade = image[Off::TpsMap] != 0 ? Shade::Red : Shade::ButtonFace;
        v.throttleGauge = 0;
    }

    const Shade servoShade = f.servoOk ? Shade::ButtonFace : Shade::Red;
    v.servoDesired = {msg[Msg::ServoDesired] + QString::asprintf(" %d [mV]", countsToMv(f.servoDesiredRaw)), servoShade};
    v.servoMeasured = {msg[Msg::ServoMeasured] + QString::asprintf(" %d [mV]", countsToMv(f.servoMeasuredRaw)), servoShade};

    v.programCount = msg[Msg::NumberOfPrograming] + QString::number(f.programCount);
    for (int n = 0; n < 8; ++n)
        v.test[n] = QString::asprintf("Test%d = %d ", n + 1, f.test[n]);
    return v;
}

}  // namespace vorn
