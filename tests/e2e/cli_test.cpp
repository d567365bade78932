// vorn4-cli against vorn4-sim on a pseudo-terminal through the real QSerialPort: what a
// script sees (exit status, output, files) and what the unit ends up holding.
#include "datalog/LogFormat.h"
#include "files/IgnFile.h"
#include "link/SerialLink.h"
#include "sim/UnitModel.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kLong = 60000;   // ms; generous, the machine may be busy

struct Run {
    int exit = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList &args, const QString &dir)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VORN4_CONFIG_DIR", dir + "/config");
    env.insert("LANG", "C.UTF-8");
    p.setProcessEnvironment(env);
    p.start(VORN4_CLI_EXE, args);
    Run r;
    if (!p.waitForFinished(kLong) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exit = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class CliTest : public QObject {
    Q_OBJECT
private slots:
    void scenarios_data();
    void scenarios();
};

// Steps are vorn4-cli arguments ({port} is the unit's line), "@KEY VALUE", which rewrites
// one line of u.ign the way a person editing the file would, or "@reserved", which stores
// a value in every byte of block 1 a parameter file does not hold, straight over the line. `expect` holds one entry per
// step: the exit status, then fragments that must appear in the output, separated by "|".
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
        << QStringList{"0", "", "1|1 parameters differ|Base advance|17 °"} << "";
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
        const Run r = runCli(QString(step).replace("{port}", port).split(' '), dir.path());
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
    const QStringList sentLines = QString::fromLatin1(readAll(sent)).split('\n', Qt::SkipEmptyParts);

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
        // Every row is a monitor reply the unit sent, in order, none left out but one
        // still on its way when the log ended.
        const vorn::LogContents log = vorn::readLog(dir.filePath("l.csv"));
        QVERIFY2(log.ok, qPrintable(log.error));
        QCOMPARE(log.skippedRows, 0);
        QVERIFY(log.rows.size() >= 5);
        QVERIFY(sentLines.size() >= int(log.rows.size()) && sentLines.size() <= int(log.rows.size()) + 1);
        for (int i = 0; i < int(log.rows.size()); ++i) {
            const QStringList f = sentLines[i].split(' ');
            QCOMPARE(f.value(0), "b0");
            const vorn::LogRow &row = log.rows[i];
            QCOMPARE(row.rpm, f.value(1).toInt());
            QCOMPARE(row.throttlePercent, f.value(2).toInt());
            QCOMPARE(row.throttleMv, f.value(3).toInt() * 5000 / 1023);
            QVERIFY(!row.mapColumn && !row.mapRow);   // no --map given
        }
        QVERIFY(log.rows.front().rpm != log.rows.back().rpm || log.rows.front().throttlePercent != log.rows.back().throttlePercent);
    }
}

QTEST_GUILESS_MAIN(CliTest)
#include "cli_test.moc"
