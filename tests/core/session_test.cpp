// The device session tick by tick against an in-memory port, with the simulated unit as peer.
#include "link/Session.h"
#include "support/SimPeer.h"

#include <QTest>

using vorn::LinkEvent;
using vorn::LinkEvents;

namespace {

struct Rig {
    vorn::ParameterImage image;
    vorn::DeviceSession session{image};
    MemoryPort port;
    vornsim::UnitModel unit;
    LinkEvents events;
    std::vector<std::pair<int, LinkEvent>> timeline;   // tick number, event
    int ticks = 0;

    explicit Rig(const vornsim::Faults &faults = {}, bool answer = true) : unit(faults)
    {
        session.setPort(&port);
        if (answer)
            attachUnit(port, unit);
    }
    void record(const LinkEvents &es)
    {
        for (const LinkEvent &e : es) {
            events.push_back(e);
            timeline.emplace_back(ticks, e);
        }
    }
    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            ++ticks;
            record(session.tick());
        }
    }
    // Ticks until the session is idle again (or the limit), then one more for the reply.
    void runToIdle(int limit = 200)
    {
        for (int i = 0; i < limit && session.mode() != vorn::ModeIdle; ++i)
            tick();
    }
    std::vector<int> gaugeSteps() const
    {
        std::vector<int> steps;
        for (const LinkEvent &e : events) {
            if (e.kind == LinkEvent::SetGauge)
                steps.push_back(e.value);
            else if (e.kind == LinkEvent::HideGauge)
                steps.push_back(-1);
        }
        return steps;
    }
    int count(LinkEvent::Kind kind) const
    {
        return static_cast<int>(std::count_if(events.begin(), events.end(), [kind](const LinkEvent &e) { return e.kind == kind; }));
    }
    const LinkEvent *lastStatus() const
    {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->kind == LinkEvent::ShowStatus)
                return &*it;
        return nullptr;
    }
    void feed(const vorn::Frame &f) { port.feedReceived(QByteArray(reinterpret_cast<const char *>(f.data()), vorn::kFrameSize)); }
};

vorn::Frame replyFrame(std::uint8_t command, const vorn::ParameterImage &from, int block)
{
    return vorn::makeFrame(command, from.block(block));
}

std::vector<int> kinds(const LinkEvents &es)
{
    std::vector<int> out;
    for (const LinkEvent &e : es)
        out.push_back(e.kind);
    return out;
}

void copyMemory(vorn::ParameterImage &image, const vornsim::Memory &memory)
{
    std::copy(memory.begin(), memory.end(), image.bytes.begin());
}

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT
private slots:
    void operationsSendTheirSequences_data()
    {
        QTest::addColumn<int>("operation");   // 0 Read, 1 Program, 2 Verify, 3 Read without Verify
        QTest::addColumn<std::vector<int>>("commands");
        QTest::addColumn<std::vector<int>>("gauge");
        QTest::newRow("read") << 0 << std::vector<int>{0x40, 0x41, 0x42, 0x41, 0x42} << std::vector<int>{0, 1, 2, 0, 1, -1};
        QTest::newRow("program") << 1 << std::vector<int>{0x00, 0x01, 0x02, 0x41, 0x42} << std::vector<int>{0, 1, 2, 0, 1, -1};
        QTest::newRow("verify") << 2 << std::vector<int>{0x41, 0x42} << std::vector<int>{0, 1, -1};
        QTest::newRow("read blocks only") << 3 << std::vector<int>{0x40, 0x41, 0x42} << std::vector<int>{0, 1, 2, -1};
    }
    void operationsSendTheirSequences()
    {
        QFETCH(int, operation);
        QFETCH(std::vector<int>, commands);
        QFETCH(std::vector<int>, gauge);
        Rig rig;
        if (operation == 1) {
            // Something the unit does not hold yet, but that survives clamping.
            copyMemory(rig.image, vornsim::UnitModel::factoryMemory(40));
            rig.image[250] = 44;
            rig.image[109] = 25;
        } else if (operation == 2) {
            copyMemory(rig.image, rig.unit.memory);
        }
        rig.tick(3);
        switch (operation) {
        case 0: rig.record(rig.session.startRead()); break;
        case 1: rig.record(rig.session.startProgram()); break;
        case 2: rig.record(rig.session.startVerify()); break;
        default: rig.record(rig.session.startReadBlocks()); break;
        }
        rig.runToIdle();
        rig.tick(8);   // nothing more may follow but monitor requests

        std::vector<int> blockCommands;
        for (int c : rig.port.commands())
            if (c != vorn::Cmd::MonitorRequest)
                blockCommands.push_back(c);
        QCOMPARE(blockCommands, commands);
        QCOMPARE(rig.gaugeSteps(), gauge);
        const LinkEvent *status = rig.lastStatus();
        QVERIFY(status);
        QCOMPARE(status->message, operation == 3 ? vorn::Msg::Read : vorn::Msg::Verify);
        QCOMPARE(status->style, operation == 3 ? LinkEvent::Progress : LinkEvent::Success);
        // Set to 200 when the text appears, counted down in the same tick and the 8 after it.
        if (operation != 3)
            QCOMPARE(rig.session.messageCountdown(), vorn::DeviceSession::kStatusTicks - 1 - 8);
        QVERIFY(std::equal(rig.image.bytes.begin() + 100, rig.image.bytes.end(), rig.unit.memory.begin() + 100));
        if (operation == 0 || operation == 3) {
            QVERIFY(rig.image.bytes == rig.unit.memory);
            QCOMPARE(rig.count(LinkEvent::IdentificationChanged), 1);
        }
        if (operation == 1)
            QCOMPARE(rig.unit.memory[250], 44);
    }

    void readAsksWithZerosVerifyWithImage()
    {
        Rig rig;
        rig.image[150] = 9;
        rig.record(rig.session.startRead());
        rig.runToIdle();
        const auto &w = rig.port.written;
        std::vector<QByteArray> blocks;
        std::copy_if(w.begin(), w.end(), std::back_inserter(blocks), [](const QByteArray &f) { return f[0] != 0x30; });
        QCOMPARE(blocks.size(), 5u);
        QCOMPARE(blocks[1], QByteArray(1, 0x41) + QByteArray(100, 0) + QByteArray(1, char(0xBE)));
        // The Verify phase sends the image as read from the unit.
        QCOMPARE(static_cast<std::uint8_t>(blocks[3][1 + 50]), rig.unit.memory[150]);
        QCOMPARE(rig.port.waits, 5);
    }

    void operationAfterReadBlocksSendsOnItsFirstTick()
    {
        Rig rig;
        rig.tick(2);
        rig.record(rig.session.startReadBlocks());
        rig.runToIdle();
        rig.record(rig.session.startProgram());
        rig.tick();
        QCOMPARE(rig.port.commands().back(), 0x00);
    }

    void firstFrameLeavesOneToFourTicksAfterStart_data()
    {
        QTest::addColumn<int>("idleTicks");
        QTest::addColumn<int>("ticksToFirstFrame");
        QTest::newRow("counter 0") << 0 << 4;
        QTest::newRow("counter 1") << 1 << 3;
        QTest::newRow("counter 2") << 2 << 2;
        QTest::newRow("counter 3") << 3 << 1;
        QTest::newRow("counter 4") << 4 << 1;
        QTest::newRow("counter 5") << 5 << 1;
    }
    void firstFrameLeavesOneToFourTicksAfterStart()
    {
        QFETCH(int, idleTicks);
        QFETCH(int, ticksToFirstFrame);
        Rig rig({}, false);
        rig.tick(idleTicks);
        QCOMPARE(rig.session.tickCounter(), idleTicks);
        rig.session.startRead();
        QVERIFY(rig.port.commands().empty());
        int n = 0;
        while (rig.port.commands().empty() && n < 10) {
            rig.tick();
            ++n;
        }
        QCOMPARE(n, ticksToFirstFrame);
        QCOMPARE(rig.port.commands(), std::vector<int>{0x40});
    }

    void silentUnitFailsOnFourthTickAfterFifthTransmission_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("command");
        QTest::addColumn<vorn::Msg>("failure");
        QTest::newRow("read") << 0 << 0x40 << vorn::Msg::ReadError;
        QTest::newRow("program") << 1 << 0x00 << vorn::Msg::ProgramError;
        QTest::newRow("verify") << 2 << 0x41 << vorn::Msg::VerifyError;
    }
    void silentUnitFailsOnFourthTickAfterFifthTransmission()
    {
        QFETCH(int, operation);
        QFETCH(int, command);
        QFETCH(vorn::Msg, failure);
        Rig rig({}, false);
        rig.record(operation == 0 ? rig.session.startRead() : operation == 1 ? rig.session.startProgram() : rig.session.startVerify());
        std::vector<int> sentAt;
        int failedAt = -1;
        for (int t = 1; t <= 40 && failedAt < 0; ++t) {
            const auto before = rig.port.commands().size();
            rig.tick();
            if (rig.port.commands().size() > before)
                sentAt.push_back(t);
            if (rig.lastStatus() && rig.lastStatus()->style == LinkEvent::Error)
                failedAt = t;
        }
        QCOMPARE(rig.port.commands(), std::vector<int>(5, command));
        QCOMPARE(sentAt, (std::vector<int>{4, 8, 12, 16, 20}));
        QCOMPARE(failedAt, 24);
        QCOMPARE(rig.lastStatus()->message, failure);
        QCOMPARE(rig.session.mode(), vorn::ModeIdle);
        QCOMPARE(rig.session.messageCountdown(), vorn::DeviceSession::kStatusTicks - 1);
        // Idle again: the monitor requests resume.
        rig.tick(6);
        QCOMPARE(rig.port.commands(true).back(), 0x30);
    }

    void otherProgramVersionStopsAfterBlockZero_data()
    {
        QTest::addColumn<bool>("program");
        QTest::addColumn<std::vector<int>>("order");
        QTest::newRow("program") << true
                                 << std::vector<int>{LinkEvent::IdentificationChanged, LinkEvent::ShowParameters, LinkEvent::VersionMismatch};
        QTest::newRow("read") << false
                              << std::vector<int>{LinkEvent::IdentificationChanged, LinkEvent::ShowParameters, LinkEvent::VersionMismatch};
    }
    void otherProgramVersionStopsAfterBlockZero()
    {
        QFETCH(bool, program);
        QFETCH(std::vector<int>, order);
        vornsim::Faults faults;
        faults.programVersion = 39;
        Rig rig(faults);
        rig.image[150] = 77;
        rig.record(program ? rig.session.startProgram() : rig.session.startRead());
        rig.events.clear();
        rig.tick(40);
        QCOMPARE(rig.port.commands(), std::vector<int>{program ? 0x00 : 0x40});
        QCOMPARE(rig.session.mode(), vorn::ModeIdle);
        std::vector<int> seen;
        for (int k : kinds(rig.events))
            if (k == LinkEvent::IdentificationChanged || k == LinkEvent::ShowParameters || k == LinkEvent::VersionMismatch)
                seen.push_back(k);
        QCOMPARE(seen, order);
        QCOMPARE(rig.image[vorn::Off::ProgramVersion], 39);
        QCOMPARE(rig.image[150], 77);   // blocks 1 and 2 untouched
        QVERIFY(!rig.lastStatus());     // no red text: the box is the only message
    }

    void verifyIgnoresReservedByte101Only_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("ok");
        QTest::newRow("101 differs") << 101 << true;
        QTest::newRow("100 differs") << 100 << false;
        QTest::newRow("102 differs") << 102 << false;
        QTest::newRow("201 differs") << 201 << false;
        QTest::newRow("299 differs") << 299 << false;
    }
    void verifyIgnoresReservedByte101Only()
    {
        QFETCH(int, offset);
        QFETCH(bool, ok);
        Rig rig;
        copyMemory(rig.image, rig.unit.memory);
        rig.image[offset] ^= 0x11;
        rig.record(rig.session.startVerify());
        rig.runToIdle();
        const LinkEvent *status = rig.lastStatus();
        QCOMPARE(status->message, ok ? vorn::Msg::Verify : vorn::Msg::VerifyError);
        QCOMPARE(status->style, ok ? LinkEvent::Success : LinkEvent::Error);
        if (!ok) {
            const int failing = offset < 200 ? 0x41 : 0x42;
            const auto cmds = rig.port.commands();
            QCOMPARE(std::count(cmds.begin(), cmds.end(), failing), 5);
        }
    }

    void programSucceedsAgainstUnitKeepingItsOwnByte101()
    {
        vornsim::Faults faults;
        faults.wrong101 = true;
        Rig rig(faults);
        copyMemory(rig.image, vornsim::UnitModel::factoryMemory(40));
        rig.record(rig.session.startProgram());
        rig.runToIdle();
        QCOMPARE(rig.lastStatus()->style, LinkEvent::Success);
        QCOMPARE(rig.unit.memory[101], vornsim::kOwnByte101);
    }

    void programEchoThatDiffersIsRetriedThenFails()
    {
        Rig rig({}, false);
        vornsim::UnitModel unit;
        rig.port.peer = [&](const QByteArray &request) {
            auto writes = unit.answer(reinterpret_cast<const std::uint8_t *>(request.constData()), 0);
            for (auto &w : writes) {
                if (request[0] == 0x01) {   // a unit that mangles block 1
                    w.bytes[20] ^= 0x40;
                    w.bytes[101] ^= 0x40;   // still a valid frame
                }
                rig.port.feedReceived(QByteArray(reinterpret_cast<const char *>(w.bytes.data()), static_cast<qsizetype>(w.bytes.size())));
            }
        };
        copyMemory(rig.image, unit.memory);
        rig.record(rig.session.startProgram());
        rig.runToIdle();
        QCOMPARE(rig.port.commands(), (std::vector<int>{0x00, 0x01, 0x01, 0x01, 0x01, 0x01}));
        QCOMPARE(rig.lastStatus()->message, vorn::Msg::ProgramError);
        QCOMPARE(rig.lastStatus()->style, LinkEvent::Error);
    }

    void lateAndForeignRepliesAreDropped()
    {
        Rig rig({}, false);
        const vornsim::Memory unitMemory = vornsim::UnitModel::factoryMemory(40);
        copyMemory(rig.image, unitMemory);
        rig.session.startVerify();
        rig.tick(4);
        QCOMPARE(rig.session.commandByte(), 0x41);

        // Wrong first byte for 0x41: the request itself echoed, and the answer to 0x42.
        rig.feed(replyFrame(0x41, rig.image, 1));
        rig.tick();
        rig.feed(replyFrame(0xC2, rig.image, 2));
        rig.tick();
        QCOMPARE(rig.session.commandByte(), 0x41);
        // A frame with a bad check byte.
        vorn::Frame bad = replyFrame(0xC1, rig.image, 1);
        bad[101] ^= 1;
        rig.feed(bad);
        rig.tick();
        QCOMPARE(rig.session.commandByte(), 0x41);
        QCOMPARE(rig.session.noConnectionCounter(), 7);

        rig.feed(replyFrame(0xC1, rig.image, 1));
        rig.tick();
        QCOMPARE(rig.session.commandByte(), 0x42);
        QCOMPARE(rig.session.noConnectionCounter(), 1);
        const auto writes = rig.port.written.size();

        // The same reply to block 1 arriving late is no longer the one awaited.
        rig.feed(replyFrame(0xC1, rig.image, 1));
        rig.tick();
        QCOMPARE(rig.session.commandByte(), 0x42);
        QCOMPARE(rig.port.written.size(), writes);

        rig.feed(replyFrame(0xC2, rig.image, 2));
        rig.tick();
        QCOMPARE(rig.lastStatus()->style, LinkEvent::Success);

        // Idle now: even a correct-looking block reply is ignored.
        rig.events.clear();
        rig.feed(replyFrame(0xC2, rig.image, 2));
        rig.tick();
        QCOMPARE(rig.count(LinkEvent::ShowStatus), 0);
        QCOMPARE(rig.session.mode(), vorn::ModeIdle);
    }

    void receivePollReadsByTheRule_data()
    {
        QTest::addColumn<int>("queued");
        QTest::addColumn<int>("readSize");
        QTest::addColumn<int>("left");
        QTest::addColumn<bool>("decoded");
        QTest::newRow("101") << 101 << -1 << 101 << false;
        QTest::newRow("102") << 102 << 102 << 0 << true;
        QTest::newRow("150") << 150 << 150 << 0 << true;
        QTest::newRow("2000") << 2000 << 1000 << 1000 << true;
    }
    void receivePollReadsByTheRule()
    {
        QFETCH(int, queued);
        QFETCH(int, readSize);
        QFETCH(int, left);
        QFETCH(bool, decoded);
        Rig rig({}, false);
        vornsim::EngineState state;
        state.rpm = 4321;
        const vornsim::Bytes102 monitor = vornsim::monitorReply(state);
        QByteArray bytes(reinterpret_cast<const char *>(monitor.data()), 102);
        while (bytes.size() < queued)
            bytes += char(0x77);
        rig.port.feedReceived(bytes.left(queued));
        LinkEvents out;
        rig.session.PollReceive(out);
        QCOMPARE(rig.port.readRequests.empty() ? -1 : static_cast<int>(rig.port.readRequests.front()), readSize);
        QCOMPARE(rig.port.incoming.size(), left);
        QCOMPARE(out.size(), decoded ? 1u : 0u);
        if (decoded) {
            QCOMPARE(out[0].kind, LinkEvent::MonitorFrame);
            QCOMPARE(out[0].frame[1] | (out[0].frame[2] << 8), 4321);
        }
    }

    void noConnectionLabelAfterEighteenSilentTicks()
    {
        Rig rig({}, false);
        auto labelShown = [&] {
            const LinkEvents es = rig.session.tick();
            return es.back().kind == LinkEvent::ConnectionLabel && es.back().show;
        };
        for (int t = 1; t <= 18; ++t)
            QVERIFY2(!labelShown(), qPrintable(QString::number(t)));
        QVERIFY(labelShown());
        QVERIFY(labelShown());

        vornsim::EngineState state;
        vornsim::Bytes102 monitor = vornsim::monitorReply(state);
        monitor[20] ^= 0x01;   // broken: changes nothing
        rig.port.feedReceived(QByteArray(reinterpret_cast<const char *>(monitor.data()), 102));
        QVERIFY(labelShown());
        monitor[20] ^= 0x01;
        rig.port.feedReceived(QByteArray(reinterpret_cast<const char *>(monitor.data()), 102));
        for (int t = 1; t <= 18; ++t)
            QVERIFY2(!labelShown(), qPrintable(QString::number(t)));
        QVERIFY(labelShown());

        rig.session.connectionLost();
        QVERIFY(labelShown());
    }

    void statusCountdownHidesOnce()
    {
        Rig rig({}, false);
        rig.session.setMessageCountdown(3);
        rig.tick(2);
        QCOMPARE(rig.count(LinkEvent::HideStatus), 0);
        rig.tick();
        QCOMPARE(rig.count(LinkEvent::HideStatus), 1);
        QCOMPARE(rig.timeline.back().first, 3);
        rig.tick(300);
        QCOMPARE(rig.count(LinkEvent::HideStatus), 1);

        // Starting an operation shows the status for 200 ticks.
        rig.record(rig.session.startVerify());
        QCOMPARE(rig.session.messageCountdown(), 200);
    }

    void startingAgainReplacesTheRunningOperation()
    {
        Rig rig({}, false);
        rig.session.startRead();
        rig.tick(9);   // 0x40 twice
        rig.session.startProgram();
        QCOMPARE(rig.session.mode(), vorn::ModeProgram);
        QCOMPARE(rig.session.commandByte(), 0x00);
        QCOMPARE(rig.session.attemptCounter(), 0);
        rig.tick(4);
        QCOMPARE(rig.port.commands().back(), 0x00);
    }

    void monitorPollingWhileIdleEverySixthTick()
    {
        Rig rig;
        rig.tick(18);
        QCOMPARE(rig.port.commands(true), (std::vector<int>{0x30, 0x30, 0x30}));
        QCOMPARE(rig.count(LinkEvent::MonitorFrame), 2);   // the third reply is read next tick
        rig.tick();
        QCOMPARE(rig.count(LinkEvent::MonitorFrame), 3);
        QCOMPARE(rig.port.waits, 0);   // monitor requests do not wait for the line
    }
};

QTEST_GUILESS_MAIN(SessionTest)
#include "session_test.moc"
