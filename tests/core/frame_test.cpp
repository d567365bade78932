// Frames on the serial line: assembly, check byte, reply matching and the receive rule.
#include "link/Frame.h"
#include "link/Session.h"
#include "support/MemoryPort.h"

#include <QTest>

using vorn::Frame;

namespace {

Frame frameOf(std::uint8_t command, std::uint8_t fill)
{
    std::array<std::uint8_t, vorn::kFrameDataSize> data;
    for (int j = 0; j < vorn::kFrameDataSize; ++j)
        data[j] = static_cast<std::uint8_t>(fill + 7 * j);
    return vorn::makeFrame(command, data);
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT
private slots:
    void monitorRequestIsConstant()
    {
        const Frame f = vorn::monitorRequestFrame();
        QCOMPARE(f[0], 0x30);
        for (int i = 1; i <= 100; ++i)
            QCOMPARE(f[i], 0);
        QCOMPARE(f[101], 0xCF);
    }

    void readFrameCarriesZerosInReadPhase()
    {
        vorn::ParameterImage image;
        for (int i = 0; i < vorn::kImageSize; ++i)
            image[i] = static_cast<std::uint8_t>(i * 3 + 1);
        const Frame f = vorn::blockFrame(0x42, image, true);
        QCOMPARE(f[0], 0x42);
        for (int i = 1; i <= 100; ++i)
            QCOMPARE(f[i], 0);
        QCOMPARE(f[101], 0xBD);
        // The same command in the Verify phase carries the image block.
        const Frame verify = vorn::blockFrame(0x42, image, false);
        QCOMPARE(verify[1], image[200]);
        QCOMPARE(verify[100], image[299]);
    }

    void blockWriteCarriesImageBlockInOrder()
    {
        vorn::ParameterImage image;
        for (int i = 0; i < vorn::kImageSize; ++i)
            image[i] = static_cast<std::uint8_t>(i * 7 + 3);
        const Frame f = vorn::blockFrame(0x01, image, false);
        QCOMPARE(f[0], 0x01);
        QCOMPARE(f[1], 0xBF);     // image byte 100
        QCOMPARE(f[100], 0x74);   // image byte 199
        for (int j = 0; j < 100; ++j)
            QCOMPARE(f[1 + j], image[100 + j]);
        QCOMPARE(f[101], 0xDE);   // worked out by hand for this block
        QVERIFY(vorn::frameIsValid(f));
    }

    void checkByteOverEveryByteValue()
    {
        // Each value of a data byte and of the command byte gives a valid frame whose check
        // byte is NOT command XOR data.
        for (int v = 0; v < 256; ++v) {
            std::array<std::uint8_t, vorn::kFrameDataSize> data{};
            const Frame command = vorn::makeFrame(static_cast<std::uint8_t>(v), data);
            QCOMPARE(command[101], static_cast<std::uint8_t>(~v));
            QVERIFY(vorn::frameIsValid(command));
            data[57] = static_cast<std::uint8_t>(v);
            const Frame withData = vorn::makeFrame(0x41, data);
            QCOMPARE(withData[101], static_cast<std::uint8_t>(0xBE ^ v));
            QVERIFY(vorn::frameIsValid(withData));
        }
    }

    void everySingleBitFlipIsCaught()
    {
        for (const Frame &good : {vorn::monitorRequestFrame(), frameOf(0xC1, 0x10), frameOf(0xB0, 0xEE)}) {
            QVERIFY(vorn::frameIsValid(good));
            for (int byte = 0; byte < vorn::kFrameSize; ++byte)
                for (int bit = 0; bit < 8; ++bit) {
                    Frame bad = good;
                    bad[byte] ^= static_cast<std::uint8_t>(1 << bit);
                    if (vorn::frameIsValid(bad))
                        QFAIL(qPrintable(QStringLiteral("flip of byte %1 bit %2 not caught").arg(byte).arg(bit)));
                }
        }
    }

    void replyMatching_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("replyByte");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("C1 answers 41") << 0x41 << 0xC1 << true;
        QTest::newRow("41 echoed unchanged") << 0x41 << 0x41 << false;
        QTest::newRow("C2 to 41") << 0x41 << 0xC2 << false;
        QTest::newRow("80 answers write of block 0") << 0x00 << 0x80 << true;
        QTest::newRow("82 answers write of block 2") << 0x02 << 0x82 << true;
        QTest::newRow("C2 to write of block 2") << 0x02 << 0xC2 << false;
    }
    void replyMatching()
    {
        QFETCH(int, command);
        QFETCH(int, replyByte);
        QFETCH(bool, accepted);
        const Frame reply = frameOf(static_cast<std::uint8_t>(replyByte), 0);
        QCOMPARE(vorn::replyMatches(static_cast<std::uint8_t>(command), reply), accepted);
    }

    // What the session takes from the port in one poll: nothing until a whole frame waits,
    // then all of it, but never more than 1000 bytes once over 1024 wait; the first frame
    // of what it took is the one it looks at.
    void receiveRule_data()
    {
        QTest::addColumn<int>("waiting");
        QTest::addColumn<int>("read");
        QTest::newRow("nothing") << 0 << 0;
        QTest::newRow("101: not a frame yet") << 101 << 0;
        QTest::newRow("102: one frame") << 102 << 102;
        QTest::newRow("150: all of it") << 150 << 150;
        QTest::newRow("1024: still all") << 1024 << 1024;
        QTest::newRow("1025: capped") << 1025 << 1000;
        QTest::newRow("2000: capped") << 2000 << 1000;
    }
    void receiveRule()
    {
        QFETCH(int, waiting);
        QFETCH(int, read);
        const Frame reply = frameOf(0xB0, 0x21);
        MemoryPort port;
        port.incoming = QByteArray(reinterpret_cast<const char *>(reply.data()), vorn::kFrameSize)
                            .leftJustified(waiting, '\x55', true);
        vorn::ParameterImage image;
        vorn::DeviceSession session(image);
        session.setPort(&port);
        vorn::LinkEvents events;
        session.PollReceive(events);
        QCOMPARE(port.readRequests, read ? std::vector<long long>{read} : std::vector<long long>{});
        QCOMPARE(port.incoming.size(), waiting - read);
        QCOMPARE(events.size(), std::size_t(read ? 1 : 0));
        if (read)
            QCOMPARE(events[0].frame, reply);
    }
};

QTEST_GUILESS_MAIN(FrameTest)
#include "frame_test.moc"
