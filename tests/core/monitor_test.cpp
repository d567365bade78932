// The live monitor: field layout of the reply, and each label's text and colour.
#include "link/Monitor.h"
#include "sim/Engine.h"

#include <QTest>

using vorn::MonitorFields;
using vorn::Shade;

Q_DECLARE_METATYPE(Shade)

namespace {

vorn::MessageSlots englishSlots()
{
    using vorn::Msg;
    vorn::MessageSlots m;
    m[Msg::Advance] = "Advance";
    m[Msg::NumberOfPrograming] = "Number of Programing= ";
    m[Msg::Blocking] = "Blocking";
    m[Msg::Yes] = "YES";
    m[Msg::No] = "NO";
    m[Msg::PickupSystemError] = "Pick up system error";
    m[Msg::PickupCkps] = "Pick-up (CKPS)";
    m[Msg::IsRunning] = "is running";
    m[Msg::NoSignal] = "no signal";
    m[Msg::ServoDesired] = "Servo desired=";
    m[Msg::ServoMeasured] = "Servo measured=";
    m[Msg::GearShiftLight] = "Gear Shift Light";
    return m;
}

vorn::ParameterImage imageWith(int bike, int lobes = 1, int revs = 1, int limiter = 110, int tpsMap = 1)
{
    vorn::ParameterImage image;
    image[vorn::Off::BikeCode] = static_cast<std::uint8_t>(bike);
    image[vorn::Off::LobeCount] = static_cast<std::uint8_t>(lobes);
    image[vorn::Off::RevsWithoutIgnition] = static_cast<std::uint8_t>(revs);
    image[vorn::Off::Limiter2] = static_cast<std::uint8_t>(limiter);
    image[vorn::Off::TpsMap] = static_cast<std::uint8_t>(tpsMap);
    return image;
}

vorn::MonitorView view(const MonitorFields &f, const vorn::ParameterImage &image = imageWith(20))
{
    return vorn::monitorView(f, image, englishSlots());
}

const QString kDeg = QString::fromUtf8("[\u00B0]");

using Advances = std::array<std::uint8_t, 4>;
using Maxima = std::array<std::uint16_t, 4>;

}  // namespace

class MonitorTest : public QObject {
    Q_OBJECT
private slots:
    // The reply's layout written out as byte numbers: every used byte carries its own index,
    // so a field read from any other place shows up as a wrong number.
    void fieldsSitWhereTheLayoutSays()
    {
        std::array<std::uint8_t, vorn::kFrameDataSize> data{};
        for (int at = 1; at <= 65; ++at)
            if (!(at >= 29 && at <= 39) && at != 43)
                data[at - 1] = static_cast<std::uint8_t>(at);
        const vorn::Frame frame = vorn::makeFrame(0xB0, data);

        const MonitorFields f = vorn::parseMonitorFrame(frame);
        QCOMPARE(f.rpm, 0x0201);
        QCOMPARE(f.tpsRaw, 0x0403);
        QCOMPARE(f.supplyMv, 0x0605);
        QCOMPARE(f.servoMeasuredRaw, 0x0807);
        QCOMPARE(f.servoDesiredRaw, 0x0A09);
        QCOMPARE(f.programCount, 0x0C0B);
        QCOMPARE(f.test[0], 0x0E0D);   // test1 at bytes 13, 14
        QCOMPARE(f.test[7], 0x1C1B);   // test8 at bytes 27, 28
        QCOMPARE(f.clutchActive, 40);
        QCOMPARE(f.tpsPercent, 41);
        QCOMPARE(f.shiftLightActive, 42);
        QCOMPARE(f.pickupRevs, (std::array<std::uint8_t, 2>{44, 45}));
        QCOMPARE(f.pickupLobes, (std::array<std::uint8_t, 2>{46, 47}));
        QCOMPARE(f.pickupRunning, (std::array<std::uint8_t, 2>{48, 49}));
        QCOMPARE(f.advance, (Advances{50, 51, 52, 53}));
        QCOMPARE(f.advanceMax, (Maxima{0x3736, 0x3938, 0x3B3A, 0x3D3C}));
        QCOMPARE(f.rpmAlarm, 62);
        QCOMPARE(f.blockingActive, 63);
        QCOMPARE(f.rpmWarning, 64);
        QCOMPARE(f.servoOk, 65);

        // The simulator and the tests build replies with the writer: it puts every field back.
        QCOMPARE(vorn::monitorReplyFrame(f), frame);
    }

    // A reply as the simulated unit writes it, with a different value in every field,
    // decodes into the same values field by field.
    void decodesWhatTheSimulatorSends()
    {
        vornsim::EngineState s;
        s.rpm = 12345;
        s.tpsRaw = 613;
        s.supplyMv = 13800;
        s.servoMeasuredRaw = 401;
        s.servoDesiredRaw = 402;
        s.programCount = 777;
        s.test = {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008};
        s.clutchActive = 3;
        s.tpsPercent = 61;
        s.shiftLightActive = 4;
        s.pickupRevs = {5, 6};
        s.pickupLobes = {7, 8};
        s.pickupRunning = {9, 10};
        s.advance = {21, 22, 23, 24};
        s.advanceMax = {301, 302, 303, 304};
        s.rpmAlarm = 11;
        s.blockingActive = 12;
        s.rpmWarning = 13;
        s.servoOk = 14;
        const vornsim::Bytes102 bytes = vornsim::monitorReply(s);
        vorn::Frame frame;
        std::copy(bytes.begin(), bytes.end(), frame.begin());
        QVERIFY(vorn::frameIsValid(frame));

        const MonitorFields f = vorn::parseMonitorFrame(frame);
        QCOMPARE(f.rpm, 12345);
        QCOMPARE(f.tpsRaw, 613);
        QCOMPARE(f.supplyMv, 13800);
        QCOMPARE(f.servoMeasuredRaw, 401);
        QCOMPARE(f.servoDesiredRaw, 402);
        QCOMPARE(f.programCount, 777);
        QCOMPARE(f.test, (std::array<std::uint16_t, 8>{1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008}));
        QCOMPARE(f.clutchActive, 3);
        QCOMPARE(f.tpsPercent, 61);
        QCOMPARE(f.shiftLightActive, 4);
        QCOMPARE(f.pickupRevs, (std::array<std::uint8_t, 2>{5, 6}));
        QCOMPARE(f.pickupLobes, (std::array<std::uint8_t, 2>{7, 8}));
        QCOMPARE(f.pickupRunning, (std::array<std::uint8_t, 2>{9, 10}));
        QCOMPARE(f.advance, (Advances{21, 22, 23, 24}));
        QCOMPARE(f.advanceMax, (Maxima{301, 302, 303, 304}));
        QCOMPARE(f.rpmAlarm, 11);
        QCOMPARE(f.blockingActive, 12);
        QCOMPARE(f.rpmWarning, 13);
        QCOMPARE(f.servoOk, 14);
    }

    void supplyVoltageBoundaries_data()
    {
        QTest::addColumn<int>("mv");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Shade>("shade");
        QTest::newRow("7000") << 7000 << " 7.0" << Shade::Red;
        QTest::newRow("7001") << 7001 << " 7.0" << Shade::Yellow;
        QTest::newRow("11000") << 11000 << "11.0" << Shade::Yellow;
        QTest::newRow("11001") << 11001 << "11.0" << Shade::ButtonFace;
        QTest::newRow("13800") << 13800 << "13.8" << Shade::ButtonFace;
        QTest::newRow("14998") << 14998 << "15.0" << Shade::ButtonFace;
        QTest::newRow("14999") << 14999 << "15.0" << Shade::Yellow;
        QTest::newRow("17998") << 17998 << "18.0" << Shade::Yellow;
        QTest::newRow("17999") << 17999 << "18.0" << Shade::Red;
        QTest::newRow("0") << 0 << " 0.0" << Shade::Red;
    }
    void supplyVoltageBoundaries()
    {
        QFETCH(int, mv);
        QFETCH(QString, text);
        QFETCH(Shade, shade);
        MonitorFields f;
        f.supplyMv = static_cast<std::uint16_t>(mv);
        const vorn::MonitorView v = view(f);
        QCOMPARE(v.supply.text, "U = " + text + " [V]");
        QCOMPARE(v.supply.shade, shade);
    }

    void speedLabelAndGauge_data()
    {
        QTest::addColumn<int>("rpm");
        QTest::addColumn<int>("alarm");
        QTest::addColumn<int>("warning");
        QTest::addColumn<int>("limiter");
        QTest::addColumn<Shade>("shade");
        QTest::addColumn<int>("gauge");
        QTest::newRow("half the limiter") << 5500 << 0 << 0 << 110 << Shade::ButtonFace << 50;
        QTest::newRow("warning") << 10500 << 0 << 1 << 110 << Shade::Yellow << 95;
        QTest::newRow("alarm wins") << 11000 << 1 << 1 << 110 << Shade::Red << 100;
        QTest::newRow("no limiter: per hundred") << 5500 << 0 << 0 << 0 << Shade::ButtonFace << 55;
    }
    void speedLabelAndGauge()
    {
        QFETCH(int, rpm);
        QFETCH(int, alarm);
        QFETCH(int, warning);
        QFETCH(int, limiter);
        QFETCH(Shade, shade);
        QFETCH(int, gauge);
        MonitorFields f;
        f.rpm = static_cast<std::uint16_t>(rpm);
        f.rpmAlarm = static_cast<std::uint8_t>(alarm);
        f.rpmWarning = static_cast<std::uint8_t>(warning);
        const vorn::MonitorView v = view(f, imageWith(20, 1, 1, limiter));
        QCOMPARE(v.rpm.text, QStringLiteral("RPM = %1 ").arg(rpm));
        QCOMPARE(v.rpm.shade, shade);
        QCOMPARE(v.rpmGauge, gauge);
        QCOMPARE(v.speed, rpm);
    }

    void onOffLabels()
    {
        MonitorFields f;
        vorn::MonitorView v = view(f);
        QCOMPARE(v.blocking.text, "Blocking - NO");
        QCOMPARE(v.blocking.shade, Shade::ButtonFace);
        QCOMPARE(v.shiftLight.text, "Gear Shift Light - NO");
        QCOMPARE(v.clutch.text, "Clutch master = NO");
        QCOMPARE(v.pickup[0].text, "Pick-up (CKPS) 1 no signal");
        QCOMPARE(v.pickup[1].text, "Pick-up (CKPS) 2 no signal");
        QCOMPARE(v.pickup[1].shade, Shade::ButtonFace);
        QCOMPARE(v.servoDesired.shade, Shade::Red);   // servoOk 0 is a fault

        f.blockingActive = 1;
        f.shiftLightActive = 2;
        f.clutchActive = 1;
        f.pickupRunning = {1, 0};
        f.servoOk = 1;
        f.servoDesiredRaw = 1023;
        f.servoMeasuredRaw = 512;
        f.programCount = 321;
        f.test = {1, 2, 3, 4, 5, 6, 7, 65535};
        v = view(f);
        QCOMPARE(v.blocking.text, "Blocking - YES");
        QCOMPARE(v.blocking.shade, Shade::Red);
        QCOMPARE(v.shiftLight.text, "Gear Shift Light - YES");
        QCOMPARE(v.shiftLight.shade, Shade::Yellow);
        QCOMPARE(v.clutch.text, "Clutch master = YES");
        QCOMPARE(v.clutch.shade, Shade::Lime);
        QCOMPARE(v.pickup[0].text, "Pick-up (CKPS) 1 is running");
        QCOMPARE(v.pickup[0].shade, Shade::Lime);
        QCOMPARE(v.pickup[1].shade, Shade::ButtonFace);
        QCOMPARE(v.servoDesired.text, "Servo desired= 5000 [mV]");
        QCOMPARE(v.servoMeasured.text, "Servo measured= 2502 [mV]");
        QCOMPARE(v.servoMeasured.shade, Shade::ButtonFace);
        QCOMPARE(v.programCount, "Number of Programing= 321");
        QCOMPARE(v.test[0], "Test1 = 1 ");
        QCOMPARE(v.test[7], "Test8 = 65535 ");
    }

    void throttle_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("raw");
        QTest::addColumn<int>("tpsMap");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Shade>("shade");
        QTest::addColumn<int>("gauge");
        QTest::newRow("full scale") << 100 << 1023 << 1 << "TP= 100 [%]= 5000 [mV]" << Shade::ButtonFace << 100;
        QTest::newRow("half scale") << 37 << 512 << 0 << "TP= 37 [%]= 2502 [mV]" << Shade::ButtonFace << 37;
        QTest::newRow("error, map on") << 101 << 100 << 1 << "TP=error = 488 [mV]" << Shade::Red << 0;
        QTest::newRow("error, map off") << 255 << 100 << 0 << "TP=error = 488 [mV]" << Shade::ButtonFace << 0;
    }
    void throttle()
    {
        QFETCH(int, percent);
        QFETCH(int, raw);
        QFETCH(int, tpsMap);
        QFETCH(QString, text);
        QFETCH(Shade, shade);
        QFETCH(int, gauge);
        MonitorFields f;
        f.tpsPercent = static_cast<std::uint8_t>(percent);
        f.tpsRaw = static_cast<std::uint16_t>(raw);
        const vorn::MonitorView v = view(f, imageWith(20, 1, 1, 110, tpsMap));
        QCOMPARE(v.throttle.text, text);
        QCOMPARE(v.throttle.shade, shade);
        QCOMPARE(v.throttleGauge, gauge);
        QCOMPARE(v.tpsPercent, percent);
        QCOMPARE(v.tpsMv, vorn::countsToMv(static_cast<std::uint16_t>(raw)));
    }

    void singleAdvanceLabel_data()
    {
        QTest::addColumn<Advances>("advance");
        QTest::addColumn<Maxima>("maxima");
        QTest::addColumn<QString>("tail");
        QTest::addColumn<Shade>("shade");
        QTest::newRow("largest advance, smallest non-zero max") << Advances{10, 25, 0, 0} << Maxima{0, 30, 40, 0} << " = 25 %1 /max 30 %1" << Shade::ButtonFace;
        QTest::newRow("at the max") << Advances{30, 0, 0, 0} << Maxima{0, 30, 40, 0} << " = 30 %1 /max 30 %1" << Shade::Yellow;
        QTest::newRow("no max reported") << Advances{12, 0, 7, 0} << Maxima{0, 0, 0, 0} << " = 12 %1" << Shade::ButtonFace;
    }
    void singleAdvanceLabel()
    {
        QFETCH(Advances, advance);
        QFETCH(Maxima, maxima);
        QFETCH(QString, tail);
        QFETCH(Shade, shade);
        MonitorFields f;
        f.advance = advance;
        f.advanceMax = maxima;
        const vorn::MonitorView v = view(f, imageWith(20));
        QVERIFY(!v.perChannelAdvance);
        QCOMPARE(v.advance[0].text, "Advance" + tail.arg(kDeg));
        QCOMPARE(v.advance[0].shade, shade);
        QVERIFY(v.advance[1].text.isEmpty());
    }

    void specialBikeLabelPerChannel()
    {
        MonitorFields f;
        f.advance = {20, 31, 5, 60};
        f.advanceMax = {0, 30, 0, 0};
        const vorn::MonitorView v = view(f, imageWith(22));
        QVERIFY(v.perChannelAdvance);
        QCOMPARE(v.advance[0].text, "Advance 1 = 20 " + kDeg);
        QCOMPARE(v.advance[1].text, "Advance 2 = 31 " + kDeg + " /max 30 " + kDeg);
        QCOMPARE(v.advance[1].shade, Shade::Yellow);
        QCOMPARE(v.advance[2].text, "Advance 3 = 5 " + kDeg);
        QCOMPARE(v.advance[3].text, "Advance 4 = 60 " + kDeg);
        QCOMPARE(v.advance[3].shade, Shade::ButtonFace);
        f.advance[1] = 29;
        QCOMPARE(view(f, imageWith(22)).advance[1].shade, Shade::ButtonFace);
    }

    void pickupSystemError_data()
    {
        QTest::addColumn<int>("revs");       // RevsWithoutIgnition
        QTest::addColumn<int>("lobes");      // LobeCount
        QTest::addColumn<int>("pickupRevs");
        QTest::addColumn<int>("pickupLobes");
        QTest::addColumn<int>("pickup");     // which pick-up reports
        QTest::addColumn<bool>("error");
        QTest::newRow("too many lobes, too few revs") << 2 << 12 << 1 << 25 << 0 << true;
        QTest::newRow("lobes exactly as expected") << 2 << 12 << 1 << 24 << 0 << false;
        QTest::newRow("enough revolutions") << 2 << 12 << 2 << 200 << 0 << false;
        QTest::newRow("second pick-up") << 2 << 12 << 1 << 25 << 1 << true;
        // 20 x 20 = 400 does not fit a byte; wrapped it would be 144 and report an error.
        QTest::newRow("product beyond 8 bits") << 20 << 20 << 0 << 200 << 0 << false;
    }
    void pickupSystemError()
    {
        QFETCH(int, revs);
        QFETCH(int, lobes);
        QFETCH(int, pickupRevs);
        QFETCH(int, pickupLobes);
        QFETCH(int, pickup);
        QFETCH(bool, error);
        MonitorFields f;
        f.pickupRevs = {50, 50};
        f.pickupRevs[pickup] = static_cast<std::uint8_t>(pickupRevs);
        f.pickupLobes[pickup] = static_cast<std::uint8_t>(pickupLobes);
        for (int bike : {20, 22}) {
            const vorn::MonitorView v = view(f, imageWith(bike, lobes, revs));
            const int labels = bike == 22 ? 4 : 1;
            for (int ch = 0; ch < labels; ++ch) {
                QCOMPARE(v.advance[ch].text == "Pick up system error", error);
                QCOMPARE(v.advance[ch].shade == Shade::Red, error);
            }
        }
    }
};

QTEST_GUILESS_MAIN(MonitorTest)
#include "monitor_test.moc"
