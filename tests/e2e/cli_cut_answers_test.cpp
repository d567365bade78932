// vorn4-cli against a unit whose answer is cut short and repeated behind a fitted stray
// byte: program ends 0 only when the unit holds the file, never leaves a byte that is
// neither the unit's nor the file's, and verify of an equal file lists no differences.
#include "files/IgnFile.h"
#include "support/CliRun.h"
#include "support/CuttingPeer.h"
#include "support/Pty.h"

#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>

class CliCutAnswersTest : public QObject {
    Q_OBJECT
private slots:
    void cutAnswerNeverLeadsToAFalseOk_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("cutCommand");
        QTest::addColumn<int>("cutAfter");
        for (const char *command : {"program", "verify"})
            for (int cut : {10, 40, 77})
                QTest::addRow("%s, block 1 cut after %d", command, cut) << command << 0x41 << cut;
        QTest::addRow("program, block 2 cut after 40") << "program" << 0x42 << 40;
    }

    void cutAnswerNeverLeadsToAFalseOk()
    {
        QFETCH(QString, command);
        QFETCH(int, cutCommand);
        QFETCH(int, cutAfter);
        QTemporaryDir dir;
        Pty pty;
        QVERIFY(!pty.slave.isEmpty());
        ::fcntl(pty.master, F_SETFL, ::fcntl(pty.master, F_GETFL) | O_NONBLOCK);
        CuttingPeer peer{pty.master, vornsim::UnitModel{}};
        peer.cutCommand = static_cast<std::uint8_t>(cutCommand);
        peer.cutAfter = cutAfter;
        const vornsim::Memory before = peer.unit.memory;

        // The file: the unit's own settings, for program with a few map cells changed.
        vorn::ParameterImage file;
        std::copy(before.begin(), before.end(), file.bytes.begin());
        if (command == "program")
            for (int cell : {0, 37, 99})
                file[vorn::kBlockSize * 2 + cell] = static_cast<std::uint8_t>(file[vorn::kBlockSize * 2 + cell] + 3);
        const QString path = dir.filePath("tune.ign");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(vorn::WriteParameterFile(file));
        out.close();

        clirun::Run run;
        {
            PeerThread thread(peer);
            run = clirun::runCli({command, "--port", pty.slave, path}, dir.path());
        }
        QVERIFY2(run.exit == 0 || run.exit == 1, qPrintable(run.err));
        QVERIFY2(peer.seenCut >= 2, "the cut and the fitted repeat were both sent");

        // Every byte of the settings and the map, those the file does not hold included: the
        // file was made from the unit, so there the two agree.
        const vornsim::Memory &now = peer.unit.memory;
        for (int o = vorn::kBlockSize; o < vorn::kImageSize; ++o) {
            QVERIFY2(now[o] == before[o] || now[o] == file[o],
                     qPrintable(QStringLiteral("byte %1 is %2: neither the unit's %3 nor the file's %4")
                                    .arg(o).arg(now[o]).arg(before[o]).arg(file[o])));
            if (run.exit == 0)
                QVERIFY2(now[o] == file[o], qPrintable(QStringLiteral("exit 0, yet byte %1 is not the file's").arg(o)));
        }
        if (command == "verify")
            QVERIFY2(run.exit == 0 || !run.err.isEmpty(), qPrintable("an equal file listed as different:\n" + run.out));
    }
};

QTEST_GUILESS_MAIN(CliCutAnswersTest)
#include "cli_cut_answers_test.moc"
