// vorn4-cli against vorn4-sim on a pseudo-terminal through the real QSerialPort: what a
// script sees (exit status, output, files) and what the unit ends up holding.
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "files/IgnFile.h"
#include "params/TuneHash.h"
#include "link/SerialLink.h"
#include "sim/UnitModel.h"
#include "support/CliRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using clirun::readAll;
using clirun::runCli;
using clirun::Run;

namespace {

constexpr int kLong = clirun::kLongMs;

}  // namespace

class CliTest : public QObject {
    Q_OBJECT
private slots:
    void scenarios_data();
    void scenarios();
};

// Steps are vorn4-cli arguments ({port} is the unit's line), "@KEY VALUE", which rewrites
// one line of u.ign the way a person editing the file would, "@reserved", which stores
// a value in every byte of block 1 a parameter file does not hold, straight over the line,
// or "@byte OFFSET VALUE", which stores one byte of block 1 the same way. Arguments may
// start with "fsize=N" (the command may write files of N bytes at most) or "hup=MS" (a
// SIGHUP MS ms after it started). `expect` holds one entry per step: the exit status,
// then fragments that must appear in the output, separated by "|".
void CliTest::scenarios_data()
{
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expect");
    QTest::addColumn<QString>("check");   // memory, nofile, log, nothingsent or empty

    QTest::newRow("read, program, verify round trip")
        << QStringList{}
        << QStringList{"@reserved", "read --port {port} u.ign", "@BASE_ADV 17", "program --port {port} u.ign",
                       "verify --json --port {port} u.ign", "read --port {port} back.ign"}
        << QStringList{"", "0|Verify: OK|u.ign written", "", "0|Verify: OK", "0|\"equal\": true", "0"}
        << "memory";
    QTest::newRow("verify names the changed parameter")
        << QStringList{} << QStringList{"read --port {port} u.ign", "@BASE_ADV 17", "verify --port {port} u.ign"}
        << QStringList{"0", "", "1|1 parameter differs|Base advance|17 °"} << "";
    QTest::newRow("silent unit") << QStringList{"--silent"} << QStringList{"read --port {port} u.ign"}
                                 << QStringList{"1|Read error!"} << "nofile";
    QTest::newRow("program version 39") << QStringList{"--program-version", "39"} << QStringList{"read --port {port} u.ign"}
                                        << QStringList{"2|Unmatched version of PC and Ignition programs!"} << "nofile";
    QTest::newRow("every reply corrupt") << QStringList{"--corrupt-every", "1"} << QStringList{"read --port {port} u.ign"}
                                         << QStringList{"1|Read error!"} << "nofile";
    QTest::newRow("every 3rd check byte spoiled")
        << QStringList{"--corrupt-every", "3"}
        << QStringList{"read --port {port} u.ign", "@BASE_ADV 17", "program --port {port} u.ign"}
        << QStringList{"0|Verify: OK", "", "0|Verify: OK"} << "memory";
    QTest::newRow("replies in two writes") << QStringList{"--split"} << QStringList{"read --json --port {port} u.ign"}
                                           << QStringList{"0|\"result\": \"ok\"|\"version\": \"VRN04\""} << "";
    QTest::newRow("log") << QStringList{} << QStringList{"log --port {port} --seconds 3 l.csv"}
                         << QStringList{"0|rows written to l.csv"} << "log";
    QTest::newRow("verify sees a byte the window would clamp")
        << QStringList{}
        << QStringList{"read --port {port} u.ign", "@byte 120 255", "@TPS 2500 3790", "verify --port {port} u.ign"}
        << QStringList{"0", "", "", "1|1 parameter differs|unit holds byte 255, the file byte 250"} << "";
    QTest::newRow("log at the file-size limit")
        << QStringList{} << QStringList{"fsize=900 log --port {port} --seconds 20 l.csv"}
        << QStringList{"1|cannot write l.csv|keeps its"} << "log";
    QTest::newRow("log ended by a hang-up") << QStringList{} << QStringList{"hup=3000 log --port {port} l.csv"}
                                            << QStringList{"0|rows written to l.csv"} << "log";
    QTest::newRow("log keeps the tune of --map")
        << QStringList{} << QStringList{"read --port {port} u.ign", "log --port {port} --seconds 3 --map u.ign l.csv"}
        << QStringList{"0", "0|rows written to l.csv"} << "log";
    QTest::newRow("bad port") << QStringList{} << QStringList{"read --port /nonexistent/tty u.ign"}
                              << QStringList{"2|/nonexistent/tty"} << "nofile";
    QTest::newRow("missing file") << QStringList{} << QStringList{"program --port {port} missing.ign"}
                                  << QStringList{"2|missing.ign"} << "nothingsent";
    QTest::newRow("file without key line") << QStringList{} << QStringList{"@@not a parameter file", "program --port {port} u.ign"}
                                           << QStringList{"", "2|u.ign: no key line"} << "nothingsent";
}

void CliTest::scenarios()
{
    QFETCH(QStringList, simOptions);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expect);
    QFETCH(QString, check);
    QTemporaryDir dir;
    const QString sent = dir.filePath("sent.txt");
    QProcess sim;
    sim.start(VORN4_SIM_EXE, simOptions + QStringList{"--dump", dir.filePath("unit.bin"), "--sent", sent});
    QVERIFY(sim.waitForStarted(kLong));
    while (!sim.canReadLine())
        QVERIFY(sim.waitForReadyRead(kLong));
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed();
    const QString file = dir.filePath("u.ign");
    vorn::ParameterImage before;   // the unit's memory before the first command
    const vornsim::Memory factory = vornsim::UnitModel::factoryMemory(40);
    std::copy(factory.begin(), factory.end(), before.bytes.begin());

    for (int i = 0; i < steps.size(); ++i) {
        const QString &step = steps[i];
        if (step.startsWith("@@")) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(step.mid(2).toUtf8());
            continue;
        }
        if (step == "@reserved") {
            const auto held = vorn::ParameterFileBytes();
            for (int j = vorn::kBlockSize; j < 2 * vorn::kBlockSize; ++j)
                if (!held[j] && j != vorn::Off::Reserved101)
                    before[j] = 0x5A;
            QString reason;
            auto line = vorn::SerialLink::open(port, &reason);
            QVERIFY2(line, qPrintable(reason));
            line->write(vorn::makeFrame(vorn::Cmd::BlockWrite + 1, before.block(1)));
            QTRY_VERIFY_WITH_TIMEOUT(line->bytesWaiting() >= vorn::kFrameSize, kLong);
            QCOMPARE(static_cast<std::uint8_t>(line->read(vorn::kFrameSize)[0]), 0x81);
            continue;
        }
        if (step.startsWith("@byte ")) {
            before[step.section(' ', 1, 1).toInt()] = static_cast<std::uint8_t>(step.section(' ', 2, 2).toInt());
            QString reason;
            auto line = vorn::SerialLink::open(port, &reason);
            QVERIFY2(line, qPrintable(reason));
            line->write(vorn::makeFrame(vorn::Cmd::BlockWrite + 1, before.block(1)));
            QTRY_VERIFY_WITH_TIMEOUT(line->bytesWaiting() >= vorn::kFrameSize, kLong);
            QCOMPARE(static_cast<std::uint8_t>(line->read(vorn::kFrameSize)[0]), 0x81);
            continue;
        }
        if (step.startsWith('@')) {
            const QString key = step.mid(1).section(' ', 0, 0), value = step.section(' ', 1);
            QString text = QString::fromLatin1(readAll(file));
            const QRegularExpression line("^" + key + " [^\r\n]*", QRegularExpression::MultilineOption);
            QVERIFY(text.contains(line));
            text.replace(line, key + " " + value);
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text.toLatin1());
            continue;
        }
        QStringList args = QString(step).replace("{port}", port).split(' ');
        rlim_t fileSizeLimit = 0;
        int hangUpAfterMs = 0;
        if (args[0].startsWith("fsize="))
            fileSizeLimit = args.takeFirst().mid(6).toULongLong();
        else if (args[0].startsWith("hup="))
            hangUpAfterMs = args.takeFirst().mid(4).toInt();
        const Run r = runCli(args, dir.path(), fileSizeLimit, hangUpAfterMs);
        const QStringList want = expect[i].split('|');
        const QString all = r.out + r.err;
        QVERIFY2(r.exit == want[0].toInt(), qPrintable(step + " -> " + QString::number(r.exit) + "\n" + all));
        for (const QString &fragment : want.mid(1))
            QVERIFY2(all.contains(fragment), qPrintable(step + ": no \"" + fragment + "\" in:\n" + all));
        if (r.exit == 2)   // a refusal is one line on stderr and nothing on stdout
            QVERIFY2(r.out.isEmpty() && r.err.count('\n') == 1, qPrintable(all));
    }

    sim.terminate();
    QVERIFY(sim.waitForFinished(kLong));
    const QByteArray memory = readAll(dir.filePath("unit.bin"));
    QCOMPARE(memory.size(), vorn::kImageSize);
    QStringList sentLines = QString::fromLatin1(readAll(sent)).split('\n', Qt::SkipEmptyParts);

    if (check == "memory") {
        // The unit holds the edited file; what the file does not hold (block 0, the
        // reserved bytes) is what the unit had before.
        QCOMPARE(static_cast<std::uint8_t>(memory[vorn::Off::BaseAdv]), 17);
        vorn::ParameterImage unit;
        std::copy(memory.begin(), memory.end(), unit.bytes.begin());
        vorn::ParameterImage expected = before;
        QVERIFY(vorn::ReadParameterFile(readAll(file), expected));
        QVERIFY(unit == expected);
        // Read writes the file of what the unit holds.
        if (QFile::exists(dir.filePath("back.ign")))
            QCOMPARE(readAll(dir.filePath("back.ign")), vorn::WriteParameterFile(unit));
    } else if (check == "nofile") {
        QVERIFY(!QFile::exists(file));
        QCOMPARE(QDir(dir.path()).entryList({"*.ign*", ".u.ign*"}, QDir::Files | QDir::Hidden), QStringList{});
    } else if (check == "nothingsent") {
        QCOMPARE(sentLines, QStringList{});
    } else if (check == "log") {
        // Only the monitor replies: a Read before the log sent its blocks on the same line.
        sentLines = sentLines.filter(QRegularExpression("^b0 "));
        // Every row is a monitor reply the unit sent, in order, none left out but one
        // still on its way when the log ended.
        const vorn::LogContents log = vorn::readLog(dir.filePath("l.csv"));
        QVERIFY2(log.ok, qPrintable(log.error));
        QCOMPARE(log.skippedRows, 0);
        QVERIFY(!log.truncatedTail);   // a row the disk refused is cut off, not left half
        QVERIFY(log.rows.size() >= 5);
        // The tune of --map is kept beside the log, as the same writer as Save writes it;
        // without --map no tune is.
        const bool withMap = QFile::exists(file);
        const auto tunes = vorn::tunesBesideLog(dir.filePath("l.csv"));
        QCOMPARE(tunes.size(), withMap ? 1u : 0u);
        if (withMap) {
            vorn::ParameterImage map;
            QVERIFY(vorn::ReadParameterFile(readAll(file), map));
            QCOMPARE(tunes[0].hash, vorn::tuneHash(map));
            QCOMPARE(readAll(tunes[0].path), vorn::WriteParameterFile(map));
        }
        QVERIFY(sentLines.size() >= int(log.rows.size()) && sentLines.size() <= int(log.rows.size()) + 1);
        for (int i = 0; i < int(log.rows.size()); ++i) {
            const QStringList f = sentLines[i].split(' ');
            QCOMPARE(f.value(0), "b0");
            const vorn::LogRow &row = log.rows[i];
            QCOMPARE(row.rpm, f.value(1).toInt());
            QCOMPARE(row.throttlePercent, f.value(2).toInt());
            QCOMPARE(row.throttleMv, f.value(3).toInt() * 5000 / 1023);
            if (!withMap)
                QVERIFY(!row.mapColumn && !row.mapRow);
        }
        QVERIFY(log.rows.front().rpm != log.rows.back().rpm || log.rows.front().throttlePercent != log.rows.back().throttlePercent);
    }
}

QTEST_GUILESS_MAIN(CliTest)
#include "cli_test.moc"
