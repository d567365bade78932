// The simulated unit against fixed byte transcripts, its faults and its engine model.
#include "sim/Options.h"
#include "sim/UnitModel.h"

#include <QTest>

namespace {

QByteArray bytesOf(const std::vector<std::uint8_t> &v)
{
    return QByteArray(reinterpret_cast<const char *>(v.data()), static_cast<qsizetype>(v.size()));
}

QByteArray request(std::uint8_t command, const QByteArray &data = QByteArray(100, 0))
{
    QByteArray f = char(command) + data;
    std::uint8_t x = 0xFF;
    for (char c : f)
        x ^= static_cast<std::uint8_t>(c);
    return f + char(x);
}

std::vector<vornsim::LineWrite> ask(vornsim::UnitModel &unit, const QByteArray &req, double t = 0)
{
    return unit.answer(reinterpret_cast<const std::uint8_t *>(req.constData()), t);
}

QByteArray joined(const std::vector<vornsim::LineWrite> &writes)
{
    QByteArray all;
    for (const auto &w : writes)
        all += bytesOf(w.bytes);
    return all;
}

// Transcripts written out byte for byte, not computed by the code under test.
const QByteArray kRead0Reply = QByteArray::fromHex(
    "c056524e040c20180e1e002800000000000000000000000000000000000000000000"
    "00000000000000000000000000000000000000000000000000000000000000000000"
    "0000000000000000000000000000000000000000000000000000000000000000007d");
const QByteArray kWrite1Request = QByteArray::fromHex(
    "01000306090c0f1215181b1e2124272a2d303336393c3f4245484b4e5154575a5d60"
    "6366696c6f7275787b7e8184878a8d909396999c9fa2a5a8abaeb1b4b7babdc0c3c6"
    "c9cccfd2d5d8dbdee1e4e7eaedf0f3f6f9fcff0205080b0e1114171a1d2023262912");
const QByteArray kWrite1Reply = QByteArray::fromHex(
    "81000306090c0f1215181b1e2124272a2d303336393c3f4245484b4e5154575a5d60"
    "6366696c6f7275787b7e8184878a8d909396999c9fa2a5a8abaeb1b4b7babdc0c3c6"
    "c9cccfd2d5d8dbdee1e4e7eaedf0f3f6f9fcff0205080b0e1114171a1d2023262992");
const QByteArray kMonitorReply = QByteArray::fromHex(
    "b0e1100002e8352c0136011100010000000000000000000000000000000000000000"
    "00000000000000250100020200000100151500000000280000000000000001010000"
    "00000000000000000000000000000000000000000000000000000000000000000066");

}  // namespace

class SimTest : public QObject {
    Q_OBJECT
private slots:
    void transcripts()
    {
        QCOMPARE(kRead0Reply.size(), 102);
        vornsim::UnitModel unit;
        QCOMPARE(joined(ask(unit, request(0x40))), kRead0Reply);
        // A write of block 0 also answers with the identification, and stores nothing.
        QCOMPARE(joined(ask(unit, request(0x00, QByteArray(100, 'x')))).mid(1, 100), kRead0Reply.mid(1, 100));
        QCOMPARE(unit.memory[20], 0);

        QCOMPARE(request(0x01, kWrite1Request.mid(1, 100)), kWrite1Request);
        QCOMPARE(joined(ask(unit, kWrite1Request)), kWrite1Reply);
        QCOMPARE(unit.memory[100 + 99], 0x29);
        QCOMPARE(joined(ask(unit, request(0x41))), char(0xC1) + kWrite1Reply.mid(1, 100) + char(0xD2));

        vornsim::EngineState s;
        s.rpm = 4321;
        s.tpsRaw = 512;
        s.supplyMv = 13800;
        s.servoMeasuredRaw = 300;
        s.servoDesiredRaw = 310;
        s.programCount = 17;
        s.test[0] = 1;
        s.tpsPercent = 37;
        s.shiftLightActive = 1;
        s.pickupRevs = {2, 2};
        s.pickupRunning = {1, 0};
        s.advance = {21, 21, 0, 0};
        s.advanceMax = {0, 40, 0, 0};
        s.rpmWarning = 1;
        s.servoOk = 1;
        const vornsim::Bytes102 monitor = vornsim::monitorReply(s);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(monitor.data()), 102), kMonitorReply);
    }

    void ignoresWhatItDoesNotUnderstand()
    {
        vornsim::UnitModel unit;
        QByteArray spoiled = request(0x41);
        spoiled[101] = char(spoiled[101] ^ 0x01);
        QVERIFY(ask(unit, spoiled).empty());
        QVERIFY(ask(unit, request(0x43)).empty());   // no block 3
        QVERIFY(ask(unit, request(0x81)).empty());   // a reply, not a request
        QCOMPARE(unit.requests(), 3);
    }

    void faultsOnReplies_data()
    {
        QTest::addColumn<QString>("options");
        // Requests (one a second) from which the line faults are off, and on again; -1 never.
        QTest::addColumn<int>("offFrom");
        QTest::addColumn<int>("onFrom");
        // Per request: '.' clean, '-' none, 'h' none and the line hangs up, 'x' bad check,
        // 's' split, 'j' junk first, 't' cut short, 'l' late past the program's time-out.
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("lineFaults");   // replies dropped, spoiled, led with junk or silenced by the line
        QTest::newRow("drop every 3rd") << "--drop-every 3" << -1 << -1 << "..-..-" << 2;
        QTest::newRow("corrupt every 2nd") << "--corrupt-every 2" << -1 << -1 << ".x.x.x" << 3;
        QTest::newRow("stray before every 4th") << "--stray-every 4" << -1 << -1 << "...j.." << 1;
        QTest::newRow("split") << "--split" << -1 << -1 << "ssssss" << 0;
        QTest::newRow("silent") << "--silent" << -1 << -1 << "------" << 0;
        QTest::newRow("silent to blocks") << "--silent-blocks" << -1 << -1 << "-.-.-." << 0;
        QTest::newRow("every reply dropped by chance") << "--drop-chance 1" << -1 << -1 << "------" << 6;
        QTest::newRow("every check byte spoiled by chance") << "--corrupt-chance 1" << -1 << -1 << "xxxxxx" << 6;
        QTest::newRow("hang-up by chance") << "--hangup-chance 1" << -1 << -1 << "hhhhhh" << 6;
        QTest::newRow("every reply cut short") << "--truncate-chance 1" << -1 << -1 << "tttttt" << 6;
        QTest::newRow("random junk before every reply") << "--garbage-chance 1" << -1 << -1 << "jjjjjj" << 6;
        QTest::newRow("a data bit flipped in every reply") << "--flip-chance 1" << -1 << -1 << "xxxxxx" << 6;
        QTest::newRow("every reply late") << "--late-chance 1" << -1 << -1 << "llllll" << 6;
        QTest::newRow("cuts off for two") << "--truncate-chance 1" << 1 << 3 << "t..tt" << 3;
        QTest::newRow("bursts of 3 back to back") << "--silent-burst 3 --burst-every 0.001" << -1 << -1 << ".-----" << 5;
        QTest::newRow("no chance, no fault") << "--drop-chance 0 --corrupt-chance 0 --hangup-chance 0" << -1 << -1
                                             << "......" << 0;
        // Switched off and on again: a clean line in between, the unit itself unchanged.
        QTest::newRow("drops off for two") << "--drop-chance 1" << 2 << 4 << "--..----" << 6;
        QTest::newRow("burst cut short") << "--silent-burst 5 --burst-every 0.001" << 3 << -1 << ".--....." << 2;
        QTest::newRow("hang-ups and junk off") << "--hangup-chance 1 --stray-every 1" << 0 << 3 << "...hhh" << 3;
        QTest::newRow("periodic faults off") << "--drop-every 2 --corrupt-every 3" << 1 << -1 << "......." << 0;
        QTest::newRow("split and silence stay") << "--split --silent-blocks" << 0 << -1 << "-s-s-s" << 0;
    }
    void faultsOnReplies()
    {
        QFETCH(QString, options);
        QFETCH(int, offFrom);
        QFETCH(int, onFrom);
        QFETCH(QString, expected);
        QFETCH(int, lineFaults);
        QList<QByteArray> words{"vorn4-sim"};
        for (const QString &w : options.split(' '))
            words << w.toLatin1();
        std::vector<char *> argv;
        for (QByteArray &w : words)
            argv.push_back(w.data());
        vornsim::Options parsed;
        std::string error;
        QVERIFY2(vornsim::parseOptions(static_cast<int>(argv.size()), argv.data(), parsed, error), error.c_str());
        vornsim::UnitModel unit(parsed.faults);
        QString seen;
        for (int i = 0; i < expected.size(); ++i) {
            if (i == offFrom)
                unit.setLineFaults(false);
            if (i == onFrom)
                unit.setLineFaults(true);
            const auto writes = ask(unit, request(i % 2 ? 0x30 : 0x41), 1.0 * i);
            const QByteArray all = joined(writes);
            std::uint8_t x = 0xFF;
            for (char c : all.right(102))
                x ^= static_cast<std::uint8_t>(c);
            if (writes.empty())
                seen += unit.takeHangup() ? 'h' : '-';
            else if (writes.size() == 2 && writes[0].bytes.size() == 51 && writes[1].afterMs > 0)
                seen += 's';
            else if (writes.size() == 2 && all.size() > 102 && all.size() <= 110 && x == 0)
                seen += 'j';
            else if (writes.front().afterMs >= 150)
                seen += 'l';
            else if (all.size() < 102)
                seen += 't';
            else if (all.size() == 102)
                seen += x == 0 ? '.' : 'x';
            else
                seen += '?';
        }
        QCOMPARE(seen, expected);
        const auto &c = unit.faultCounts();
        QCOMPARE(c.total(), lineFaults);
    }

    void programVersionByte101AndHangup()
    {
        vornsim::Faults faults;
        faults.programVersion = 39;
        faults.wrong101 = true;
        faults.hangupAfter = 3;
        faults.delayMs = 40;
        vornsim::UnitModel unit(faults);
        const auto first = ask(unit, request(0x40));
        QCOMPARE(first.front().afterMs, 40);
        QCOMPARE(static_cast<int>(first.front().bytes[1 + 10]), 39);
        QVERIFY(!unit.hangupDue());
        ask(unit, request(0x01, QByteArray(100, 0x11)));
        QCOMPARE(unit.memory[101], vornsim::kOwnByte101);
        QCOMPARE(unit.memory[102], 0x11);
        QVERIFY(!unit.hangupDue());
        ask(unit, request(0x30));
        QVERIFY(unit.hangupDue());
    }

    void programmingCountsAndStoresTheMap()
    {
        vornsim::UnitModel unit;
        const int before = unit.programCount;
        ask(unit, request(0x02, QByteArray(100, 33)));
        QCOMPARE(unit.programCount, before + 1);
        QCOMPARE(unit.memory[299], 33);
        const QByteArray monitor = joined(ask(unit, request(0x30)));
        QCOMPARE(static_cast<std::uint8_t>(monitor[11]) | (static_cast<std::uint8_t>(monitor[12]) << 8), before + 1);
    }

    void engineFollowsItsProgrammedParameters()
    {
        vornsim::Memory m = vornsim::UnitModel::factoryMemory(40);
        m[113] = 110;   // limiter 11 000 rpm
        m[107] = 90;    // shift light 9 000 rpm
        bool alarmSeen = false, warningWithoutAlarm = false, quietAtIdle = false;
        int minRpm = 100000, maxRpm = 0;
        for (double t = 0; t < vornsim::kSweepSeconds; t += 0.05) {
            const vornsim::EngineState s = vornsim::engineAt(t, m);
            minRpm = std::min<int>(minRpm, s.rpm);
            maxRpm = std::max<int>(maxRpm, s.rpm);
            QCOMPARE(s.shiftLightActive != 0, s.rpm >= 9000);
            QCOMPARE(s.rpmAlarm != 0, s.rpm >= 11000);
            alarmSeen |= s.rpmAlarm != 0;
            warningWithoutAlarm |= s.rpmWarning && !s.rpmAlarm;
            quietAtIdle |= s.rpm < 2000 && !s.rpmWarning && !s.shiftLightActive;
            QVERIFY(s.tpsPercent <= 100);
            QVERIFY(s.supplyMv > 13500 && s.supplyMv < 14100);
            QCOMPARE(s.advance[0], vornsim::mapAdvance(m, s.rpm, s.tpsPercent));
            QCOMPARE(s.advance[1], s.advance[0]);   // two coils in the factory settings
            QCOMPARE(s.advance[2], 0);
            QVERIFY(s.pickupRunning[0]);
        }
        QVERIFY(minRpm < 1000);
        QVERIFY(maxRpm > 11000);
        QVERIFY(alarmSeen && warningWithoutAlarm && quietAtIdle);
    }

    void mapAdvanceTakesTheLiveCell()
    {
        vornsim::Memory m = vornsim::UnitModel::factoryMemory(40);
        m[200 + 10 * 3 + 4] = 55;   // row 3 (10 %), column 4 (5 000 rpm)
        QCOMPARE(vornsim::mapAdvance(m, 5000, 10), 55);
        QCOMPARE(vornsim::mapAdvance(m, 5000, 11), 55);
        QVERIFY(vornsim::mapAdvance(m, 6000, 10) != 55);
        m[122] = 0;   // without TPS map: row 9
        m[200 + 90 + 4] = 44;
        QCOMPARE(vornsim::mapAdvance(m, 5000, 10), 44);
    }

    void servoFollowsItsServoMap()
    {
        vornsim::Memory m = vornsim::UnitModel::factoryMemory(40);
        const int p5 = m[170 + 5] * 100, p6 = m[170 + 6] * 100;
        QCOMPARE(vornsim::servoTargetMv(m, p5), m[180 + 5] * 20);
        QCOMPARE(vornsim::servoTargetMv(m, (p5 + p6) / 2), (m[180 + 5] + m[180 + 6]) * 10);
        QCOMPARE(vornsim::servoTargetMv(m, 100), m[180] * 20);
        QCOMPARE(vornsim::servoTargetMv(m, 30000), m[189] * 20);
        for (double t = 0; t < vornsim::kSweepSeconds; t += 0.37) {
            const vornsim::EngineState s = vornsim::engineAt(t, m);
            QCOMPARE(s.servoDesiredRaw, vornsim::servoTargetMv(m, s.rpm) * 1023 / 5000);
        }
        m[116] = 0;
        QCOMPARE(vornsim::engineAt(5, m).servoDesiredRaw, 0);
    }
};

QTEST_GUILESS_MAIN(SimTest)
#include "sim_test.moc"
