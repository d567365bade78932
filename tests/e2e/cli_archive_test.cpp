// vorn4-cli's archive end to end: a Read and a Program against vorn4-sim land in the bench's
// file or, through it, on a shared PostgreSQL server (or wait in the file while the server
// says nothing), named by the hashes of what the unit held before and after; the archive
// commands label them, find them again and write the tune back out.
#include "archive/ArchiveStore.h"
#include "files/IgnFile.h"
#include "params/TuneHash.h"
#include "sim/UnitModel.h"
#include "support/CliRun.h"
#include "support/PgServer.h"
#include "support/SilentListener.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

using clirun::readAll;
using clirun::runCli;
using clirun::Run;

constexpr int kLong = clirun::kLongMs;

}  // namespace

class CliArchiveTest : public QObject {
    Q_OBJECT
private slots:
    void scenarios_data();
    void scenarios();
    void refusals_data();
    void refusals();
};

void CliArchiveTest::scenarios_data()
{
    QTest::addColumn<QString>("where");   // "file": --archive FILE; "server", "silent": --archive URL
    QTest::newRow("bench file") << "file";
    QTest::newRow("shared server") << "server";
    QTest::newRow("a server that takes the connection and never answers") << "silent";
}

void CliArchiveTest::scenarios()
{
    QFETCH(QString, where);
    QTemporaryDir dir;
    std::unique_ptr<vorn::test::PgServer> pg;
    vorn::test::SilentListener silent;
    QString archive = dir.filePath("bench.sqlite");
    if (where == "server") {
        pg = std::make_unique<vorn::test::PgServer>();
        QVERIFY2(pg->ready() && pg->createDatabase("shop"), qPrintable(pg->log()));
        archive = pg->url("shop");
    } else if (where == "silent") {
        QVERIFY(silent.port() > 0);
        archive = QStringLiteral("postgresql://tuner@127.0.0.1:%1/shop").arg(silent.port());
    }
    // What each command says on stderr about the server: nothing when it answers.
    const auto away = [&](const char *silentLine) { return where == "silent" ? "vorn4-cli: " + QString(silentLine) + "\n" : QString(); };
    QProcess sim;
    sim.start(VORN4_SIM_EXE, {"--dump", dir.filePath("unit.bin")});
    QVERIFY(sim.waitForStarted(kLong));
    while (!sim.canReadLine())
        QVERIFY(sim.waitForReadyRead(kLong));
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed();
    vorn::ParameterImage factory;
    const vornsim::Memory memory = vornsim::UnitModel::factoryMemory(40);
    std::copy(memory.begin(), memory.end(), factory.bytes.begin());

    const Run read = runCli({"read", "--json", "--archive", archive, "--port", port, "u.ign"}, dir.path());
    QVERIFY2(read.exit == 0, qPrintable(read.out + read.err));
    QCOMPARE(read.err, away("archive server not reachable; kept here, 1 event waiting"));
    QCOMPARE(read.json().value("tune").toString(), vorn::tuneHash(factory));
    const QString readEvent = read.json().value("archive_event").toString();
    QVERIFY(!readEvent.isEmpty());
    QString text = QString::fromLatin1(readAll(dir.filePath("u.ign")));
    const QRegularExpression line("^BASE_ADV [^\r\n]*", QRegularExpression::MultilineOption);
    QVERIFY(text.contains(line));
    text.replace(line, "BASE_ADV 17");
    QFile edited(dir.filePath("u.ign"));
    QVERIFY(edited.open(QIODevice::WriteOnly) && edited.write(text.toLatin1()) > 0);
    edited.close();
    const Run program = runCli({"program", "--json", "--archive", archive, "--port", port, "u.ign"}, dir.path());
    QVERIFY2(program.exit == 0, qPrintable(program.out + program.err));
    QCOMPARE(program.err, away("archive server not reachable; kept here, 2 events waiting"));
    sim.terminate();
    QVERIFY(sim.waitForFinished(kLong));
    vorn::ParameterImage unit;   // what the unit holds now, from the simulator's own memory
    const QByteArray dumped = readAll(dir.filePath("unit.bin"));
    QCOMPARE(dumped.size(), vorn::kImageSize);
    std::copy(dumped.begin(), dumped.end(), unit.bytes.begin());
    const QString programmed = vorn::tuneHash(unit);
    QVERIFY(programmed != vorn::tuneHash(factory));

    // Labels from a workshop's script; run twice, the second run adds nothing.
    const QStringList label{"archive", "label", "--json", "--archive", archive, programmed.left(4),
                            "--customer", "Jiří Novák", "--note", "Straße 5", "--bike=R6", "--note", "street 5"};
    for (int run = 0; run < 2; ++run) {
        const Run labelled = runCli(label, dir.path());
        QVERIFY2(labelled.exit == 0, qPrintable(labelled.out + labelled.err));
        QCOMPARE(labelled.err, away("archive server not reachable; kept here, 2 events waiting"));
        QCOMPARE(labelled.json().value("labels").toObject(),
                 (QJsonObject{{"customer", "Jiří Novák"}, {"bike", "R6"}, {"note", "street 5"}}));
    }
    {
        vorn::ArchiveStore bench;
        QVERIFY(bench.openLocal(where == "file" ? archive : dir.filePath("config/archive.sqlite")));
        QSqlQuery count(bench.database());
        QVERIFY(count.exec("SELECT count(*) FROM labels") && count.next());
        QCOMPARE(count.value(0).toInt(), 3);
    }

    // The programmed tune's history: the Program, made from the tune the Read found.
    const Run history = runCli({"archive", "history", "--json", "--archive", archive, programmed.left(10)}, dir.path());
    QVERIFY2(history.exit == 0, qPrintable(history.out + history.err));
    QCOMPARE(history.err, away("archive server not reachable; answered from this bench's archive"));
    const QJsonObject tune = history.json().value("tunes").toArray().first().toObject();
    QCOMPARE(tune.value("hash").toString(), programmed);
    QCOMPARE(tune.value("labels").toObject().value("customer").toString(), "Jiří Novák");
    const QJsonArray events = tune.value("events").toArray();
    QCOMPARE(events.size(), 1);
    QCOMPARE(events[0].toObject().value("kind").toString(), "program");
    QCOMPARE(events[0].toObject().value("result").toString(), " OK");
    QCOMPARE(tune.value("ancestors").toArray().first().toObject().value("hash").toString(), vorn::tuneHash(factory));

    // Found by the unit's identification; both events, newest first.
    const Run found = runCli({"archive", "find", "--json", "--archive", archive, "VRN04"}, dir.path());
    QVERIFY2(found.exit == 0, qPrintable(found.out + found.err));
    const QJsonArray foundEvents = found.json().value("events").toArray();
    QCOMPARE(foundEvents.size(), 2);
    QCOMPARE(foundEvents[1].toObject().value("id").toString(), readEvent);
    QCOMPARE(foundEvents[0].toObject().value("tune").toString(), programmed);
    // And by its label, typed without accents.
    const Run byLabel = runCli({"archive", "find", "--json", "--archive", archive, "jiri novak"}, dir.path());
    QVERIFY2(byLabel.exit == 0, qPrintable(byLabel.out + byLabel.err));
    QCOMPARE(byLabel.json().value("tunes").toArray().first().toObject().value("hash").toString(), programmed);

    // Written back out, the tune is what the unit holds in every byte a file keeps.
    const Run get = runCli({"archive", "get", "--archive", archive, programmed, "back.ign"}, dir.path());
    QVERIFY2(get.exit == 0, qPrintable(get.out + get.err));
    vorn::ParameterImage fromFile = unit;
    QVERIFY(vorn::ReadParameterFile(readAll(dir.filePath("back.ign")), fromFile));
    QVERIFY(fromFile == unit);
    const Run missing = runCli({"archive", "get", "--archive", archive, "abcdef0123", "x.ign"}, dir.path());
    QCOMPARE(missing.exit, 2);

    if (where == "silent") {
        // Everything waits in the bench's own file, for the next command or the window.
        vorn::ArchiveStore bench;
        QVERIFY(bench.openLocal(dir.filePath("config/archive.sqlite")));
        QCOMPARE(bench.waitingEvents().value_or(-1), 2);
    }
    if (pg) {
        // Each transfer reached the server: nothing waits, and the server has both events.
        const Run sync = runCli({"archive", "sync", "--json", "--archive", archive}, dir.path());
        QCOMPARE(sync.exit, 0);
        QCOMPARE(sync.json().value("waiting").toInt(-1), 0);
        vorn::ArchiveStore server;
        QString error;
        QVERIFY(server.openServer(*vorn::parseServerUrl(archive, &error)));
        const auto h = server.history(programmed);
        QVERIFY(h && h->events.size() == 1 && h->ancestors.size() == 1);
        QVERIFY(pg->stop());
        const Run away = runCli({"archive", "sync", "--archive", archive}, dir.path());
        QCOMPARE(away.exit, 1);
    }
}

// What the archive commands refuse, with their exit status and the line that says why.
void CliArchiveTest::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("line");   // what stderr says, after "vorn4-cli: "
    const QString missing(64, 'a');
    QTest::newRow("a file that is not a database") << QStringList{"archive", "find", "--archive", "text.sqlite", "x"}
                                                   << 2 << "cannot open the archive text.sqlite: not an archive database";
    QTest::newRow("the history of a whole hash not there") << QStringList{"archive", "history", missing} << 2
                                                           << missing + ": no such tune in the archive";
    QTest::newRow("labels for a tune not there") << QStringList{"archive", "label", "abcd", "--note", "x"} << 2
                                                 << "abcd: no such tune in the archive";
    QTest::newRow("label without a label") << QStringList{"archive", "label", "abcd"} << 2
                                           << "wrong arguments for archive (see vorn4-cli archive --help)";
    QTest::newRow("a label option elsewhere") << QStringList{"show", "--customer", "x", "a.ign"} << 2
                                              << "wrong arguments for show (see vorn4-cli show --help)";
}

void CliArchiveTest::refusals()
{
    QFETCH(QStringList, args);
    QFETCH(int, exit);
    QFETCH(QString, line);
    QTemporaryDir dir;
    QFile text(dir.filePath("text.sqlite"));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write(QByteArray(200, 'x')) == 200);
    text.close();
    const Run r = runCli(args, dir.path());
    QCOMPARE(r.exit, exit);
    QCOMPARE(r.err, "vorn4-cli: " + line + "\n");
    QCOMPARE(readAll(dir.filePath("text.sqlite")), QByteArray(200, 'x'));   // left as it was
}

QTEST_GUILESS_MAIN(CliArchiveTest)
#include "cli_archive_test.moc"
