// Bytes left over from an answer cut short must never be taken as the start of the next
// one: the session over a real serial port (a pseudo-terminal) against a peer that cuts a
// block answer short and sends the repeat behind a fitted stray byte.
#include "link/SerialLink.h"
#include "link/Session.h"
#include "support/CuttingPeer.h"
#include "support/Pty.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

class LeftoverBytesTest : public QObject {
    Q_OBJECT
private slots:
    void shiftedAnswerIsNeverTakenForABlock_data()
    {
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("cutAfter");
        for (int block : {1, 2})
            for (int cut : {10, 40, 77})
                QTest::addRow("block %d cut after %d", block, cut) << block << cut;
    }

    void shiftedAnswerIsNeverTakenForABlock()
    {
        QFETCH(int, block);
        QFETCH(int, cutAfter);
        Pty pty;
        QVERIFY(!pty.slave.isEmpty());
        ::fcntl(pty.master, F_SETFL, ::fcntl(pty.master, F_GETFL) | O_NONBLOCK);
        QString error;
        std::unique_ptr<vorn::SerialLink> link = vorn::SerialLink::open(pty.slave, &error);
        QVERIFY2(link, qPrintable(error));

        CuttingPeer peer{pty.master, vornsim::UnitModel{}};
        peer.cutCommand = static_cast<std::uint8_t>(vorn::Cmd::BlockRead + block);
        peer.cutAfter = cutAfter;
        vorn::ParameterImage image;
        vorn::DeviceSession session(image);
        const vorn::ParameterImage before = session.receivedImage();
        session.setPort(link.get());
        session.startReadBlocks();
        for (int tick = 0; tick < 200 && session.mode() != vorn::ModeIdle; ++tick) {
            QCoreApplication::processEvents();
            session.tick();
            peer.service();
            QThread::msleep(4);
        }
        QCOMPARE(session.mode(), vorn::ModeIdle);
        QVERIFY2(peer.seenCut >= 2, "the cut and the fitted repeat were both sent");
        // However the read ended (retried to success, or "Read error!"), no block holds bytes
        // the unit did not send in their place.
        const vorn::ParameterImage &received = session.receivedImage();
        for (int b = 0; b < vorn::kBlockCount; ++b) {
            const auto got = received.block(b);
            const bool unit = std::equal(got.begin(), got.end(), peer.unit.memory.begin() + b * vorn::kBlockSize);
            const bool untouched = std::ranges::equal(got, before.block(b));
            QVERIFY2(unit || untouched, qPrintable(QStringLiteral("block %1 was taken shifted").arg(b)));
        }
    }
};

QTEST_GUILESS_MAIN(LeftoverBytesTest)
#include "leftover_bytes_test.moc"
