// The workshop archive against a real SQLite file and a real PostgreSQL server of the test's
// own: appending and searching, the tree of tunes, benches (separate processes with their own
// files) syncing to one server at once, one of them killed in the middle, and a server that
// is down when the bench starts.
#include "archive/ArchiveService.h"
#include "archive/ArchiveStore.h"
#include "archive/ArchiveSync.h"
#include "archive/ArchiveTexts.h"
#include "archive/TransferEvent.h"
#include "params/TuneHash.h"
#include "support/PgServer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <set>

using namespace vorn;

namespace {

// A tune no other bench or index makes.
ParameterImage tuneOf(char bench, int i)
{
    ParameterImage image;
    image[200] = static_cast<std::uint8_t>(i & 0xff);
    image[201] = static_cast<std::uint8_t>(i >> 8);
    image[202] = static_cast<std::uint8_t>(bench);
    return image;
}

QString eventId(char bench, int i) { return QStringLiteral("%1-%2").arg(QLatin1Char(bench)).arg(i); }

// The ids of the events a query over a store's database returns.
std::set<QString> ids(ArchiveStore &store, const QString &sql)
{
    std::set<QString> out;
    QSqlQuery q(store.database());
    if (q.exec(sql))
        while (q.next())
            out.insert(q.value(0).toString());
    return out;
}

std::set<QString> expectedIds(char bench, int count)
{
    std::set<QString> out;
    for (int i = 0; i < count; ++i)
        out.insert(eventId(bench, i));
    return out;
}

// One bench as its own process: appends `count` events to its file, then syncs with the
// server. With "cut" it dies the moment the server has committed its first batch of events,
// before the bench could mark them sent.
int benchMain(const QStringList &args)
{
    const QString file = args.value(0), url = args.value(1);
    const char bench = args.value(2).at(0).toLatin1();
    const int count = args.value(3).toInt();
    const bool cut = args.value(4) == QLatin1String("cut");
    ArchiveStore local;
    local.setIdentity({QStringLiteral("bench ") + QLatin1Char(bench), QStringLiteral("tuner")});
    auto failed = [&](int status) {
        qWarning("%s", qPrintable(local.error()));
        return status;
    };
    if (!local.openLocal(file))
        return failed(10);
    for (int i = 0; i < count; ++i)
        if (!local.record({.kind = EventKind::Program, .tune = tuneOf(bench, i), .id = eventId(bench, i)}))
            return failed(11);
    QString error;
    const auto server = parseServerUrl(url, &error);
    const SyncReport r = syncWithServer(local, *server, 10, [cut](const QString &table, int) {
        if (cut && table == QLatin1String("events"))
            ::_exit(3);
    });
    return r.done() ? 0 : 1;
}

}  // namespace

class ArchiveTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void scenarios_data();
    void scenarios();
    void transferEvents_data();
    void transferEvents();

private:
    std::unique_ptr<test::PgServer> pg_;
    int databases_ = 0;
};

enum class Scenario { SearchAndTree, AnotherBench, TwoBenchesAtOnce, ServerDownAtStart };
Q_DECLARE_METATYPE(Scenario)

void ArchiveTest::initTestCase()
{
    pg_ = std::make_unique<test::PgServer>();
    QVERIFY2(pg_->ready(), qPrintable(pg_->log()));
}

void ArchiveTest::scenarios_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<bool>("onServer");
    QTest::newRow("search and tree, bench file") << Scenario::SearchAndTree << false;
    QTest::newRow("search and tree, server") << Scenario::SearchAndTree << true;
    QTest::newRow("a tune another bench changed") << Scenario::AnotherBench << false;
    QTest::newRow("two benches at once, one killed and resumed") << Scenario::TwoBenchesAtOnce << true;
    QTest::newRow("server down at start") << Scenario::ServerDownAtStart << true;
}

void ArchiveTest::scenarios()
{
    QFETCH(Scenario, scenario);
    QFETCH(bool, onServer);
    QTemporaryDir dir;
    const QString database = QStringLiteral("shop%1").arg(++databases_);
    QVERIFY2(pg_->createDatabase(database), qPrintable(pg_->log()));
    const QString url = pg_->url(database);
    QString error;
    const ServerAddress address = *parseServerUrl(url, &error);

    if (scenario == Scenario::SearchAndTree) {
        ArchiveStore store;
        store.setIdentity({QStringLiteral("bench 2"), QStringLiteral("jana")});
        QVERIFY2(onServer ? store.openServer(address) : store.openLocal(dir.filePath(QStringLiteral("a.sqlite"))),
                 qPrintable(store.error()));
        // Tune 0 read from a unit, edited into 1 and programmed, 1 edited into 2 and into 3.
        const UnitTexts unit{QStringLiteral("VRN04"), QStringLiteral(" 7. 8.2005"), QStringLiteral("09:05"),
                             QStringLiteral("Ducati 900 SS")};
        const QDateTime noon(QDate(2026, 11, 2), QTime(12, 0), Qt::UTC);
        struct Step { const char *id; EventKind kind; int tune; int parent; int hours; };
        const Step steps[] = {{"r0", EventKind::Read, 0, -1, 0}, {"p1", EventKind::Program, 1, 0, 1},
                              {"p2", EventKind::Program, 2, 1, 24}, {"p3", EventKind::Program, 3, 1, 48}};
        for (const Step &s : steps) {
            EventInput e{.kind = s.kind, .unit = unit, .tune = tuneOf('t', s.tune),
                         .id = QLatin1String(s.id), .timeUtc = noon.addSecs(3600 * s.hours)};
            if (s.parent >= 0)
                e.parent = tuneOf('t', s.parent);
            QVERIFY2(store.record(e), qPrintable(store.error()));
        }
        QVERIFY(store.addLabel({LabelInput::Target::Tune, tuneHash(tuneOf('t', 1)), LabelKey::Customer,
                                QStringLiteral("Novák")}));
        QVERIFY(store.addLabel({LabelInput::Target::Event, QStringLiteral("p3"), LabelKey::Registration,
                                QStringLiteral("1AB 2345")}));
        // A later label of the same key replaces the earlier one.
        QVERIFY(store.addLabel({LabelInput::Target::Event, QStringLiteral("p3"), LabelKey::Registration,
                                QStringLiteral("9XY 0001")}));
        // Names and notes as the four languages write them.
        const struct { const char *event; LabelKey key; const char *value; } written[] = {
            {"r0", LabelKey::Customer, "Řehoř Žďárský"},
            {"p2", LabelKey::Note, "Müller, Straße 5"},
            {"p3", LabelKey::Bike, "Cœur de Lion, Élodie"},
        };
        for (const auto &w : written)
            QVERIFY(store.addLabel({LabelInput::Target::Event, QLatin1String(w.event), w.key, QString::fromUtf8(w.value)}));

        const struct { QString text; QStringList events; } searches[] = {
            {QStringLiteral("novák"), {QStringLiteral("p1")}},
            {QStringLiteral("NOVAK"), {QStringLiteral("p1")}},   // neither case nor accents count
            {QStringLiteral("rehor zdarsky"), {QStringLiteral("r0")}},
            {QStringLiteral("MULLER, STRASSE"), {QStringLiteral("p2")}},
            {QStringLiteral("coeur de lion, elodie"), {QStringLiteral("p3")}},
            {QStringLiteral("Dúcati"), {QStringLiteral("p3"), QStringLiteral("p2"), QStringLiteral("p1"), QStringLiteral("r0")}},
            {QStringLiteral("9xy"), {QStringLiteral("p3")}},
            {QStringLiteral("1AB"), {}},
            {QStringLiteral("ducati"), {QStringLiteral("p3"), QStringLiteral("p2"), QStringLiteral("p1"), QStringLiteral("r0")}},
            {QStringLiteral("2026-11-03"), {QStringLiteral("p2")}},
            {tuneHash(tuneOf('t', 2)).left(8), {QStringLiteral("p2")}},
            {tuneHash(tuneOf('t', 2)).left(4).toUpper(), {QStringLiteral("p2")}},
            {QStringLiteral("9_0"), {}},   // the pattern's own characters are plain text
        };
        for (const auto &s : searches) {
            const auto found = store.find(s.text);
            QVERIFY2(found, qPrintable(store.error()));
            QStringList got;
            for (const ArchiveEvent &e : found->events)
                got << e.id;
            QVERIFY2(got == s.events, qPrintable(s.text + QStringLiteral(": ") + got.join(QLatin1Char(','))));
        }

        const auto h1 = store.history(tuneHash(tuneOf('t', 1)));
        QVERIFY2(h1, qPrintable(store.error()));
        QCOMPARE(h1->labels[int(LabelKey::Customer)], QStringLiteral("Novák"));
        QCOMPARE(h1->events.size(), std::size_t(1));
        QCOMPARE(h1->ancestors.size(), std::size_t(1));
        QCOMPARE(h1->ancestors[0].hash, tuneHash(tuneOf('t', 0)));
        std::set<QString> children;
        for (const TuneNode &n : h1->descendants)
            children.insert(n.hash);
        QCOMPARE(children, (std::set<QString>{tuneHash(tuneOf('t', 2)), tuneHash(tuneOf('t', 3))}));
        const auto h3 = store.history(tuneHash(tuneOf('t', 3)));
        QVERIFY(h3);
        QCOMPARE(h3->ancestors.size(), std::size_t(2));
        QCOMPARE(h3->ancestors[1].hash, tuneHash(tuneOf('t', 0)));
        QCOMPARE(h3->ancestors[1].depth, 2);
        // The stored bytes give back the tune.
        const auto back = store.tune(tuneHash(tuneOf('t', 3)));
        QVERIFY(back);
        QCOMPARE(tuneHash(*back), tuneHash(tuneOf('t', 3)));

        // A database of the first version kept search texts in lower case only; opened again,
        // it is upgraded and finds without accents too.
        QSqlQuery old(store.database());
        QVERIFY(old.exec(QStringLiteral("UPDATE labels SET search = 'novák' WHERE label_value = 'Novák'"))
                && old.exec(QStringLiteral("UPDATE events SET search = 'vrn04\n 7. 8.2005\n09:05\nducati 900 ss\nbench 2\njaná'"))
                && old.exec(QStringLiteral("UPDATE schema_version SET version = 1")));
        old.finish();
        store.close();
        QVERIFY2(onServer ? store.openServer(address) : store.openLocal(dir.filePath(QStringLiteral("a.sqlite"))),
                 qPrintable(store.error()));
        for (const auto &[text, event] : {std::pair{"novak", "p1"}, std::pair{"jana", "r0"}}) {
            const auto found = store.find(QLatin1String(text));
            QVERIFY2(found && !found->events.empty() && found->events.back().id == QLatin1String(event), text);
        }
        return;
    }

    if (scenario == Scenario::AnotherBench) {
        // Bench 1 programs tune 1 on 1 Nov; bench 2 makes tune 2 of it on 3 Nov; bench 1 then
        // reads a unit holding tune 2.
        ArchiveStore store;
        QVERIFY(store.openLocal(dir.filePath(QStringLiteral("a.sqlite"))));
        const ArchiveIdentity one{QStringLiteral("bench 1"), QStringLiteral("jana")};
        const ArchiveIdentity two{QStringLiteral("bench 2"), QStringLiteral("petr")};
        const QDateTime nov1(QDate(2026, 11, 1), QTime(12, 0), Qt::UTC);
        store.setIdentity(one);
        QVERIFY(store.record({.kind = EventKind::Program, .tune = tuneOf('c', 1), .parent = tuneOf('c', 0),
                              .timeUtc = nov1}));
        store.setIdentity(two);
        QVERIFY(store.record({.kind = EventKind::Program, .tune = tuneOf('c', 2), .parent = tuneOf('c', 1),
                              .timeUtc = nov1.addDays(2)}));
        QVERIFY(store.addLabel({LabelInput::Target::Tune, tuneHash(tuneOf('c', 2)), LabelKey::Customer,
                                QStringLiteral("Novák")}));
        store.setIdentity(one);
        const auto readNow = store.record({.kind = EventKind::Read, .tune = tuneOf('c', 2), .timeUtc = nov1.addDays(4)});
        QVERIFY(readNow);
        const struct { int tune; QString status; QString changed; } cases[] = {
            {2, QStringLiteral("as programmed 3 Nov 2026 on bench 2, customer Novák"),
             QStringLiteral("changed on bench 2 on 3 Nov, from your tune of 1 Nov")},
            {1, QStringLiteral("as programmed 1 Nov 2026 on bench 1"), QString()},
            {9, QStringLiteral("tune not in archive"), QString()},
        };
        for (const auto &c : cases) {
            const auto status = store.status(tuneHash(tuneOf('c', c.tune)), one, *readNow);
            QVERIFY2(status, qPrintable(store.error()));
            QCOMPARE(tuneStatusText(*status, 0), c.status);
            QCOMPARE(changedText(*status, 0), c.changed);
        }
        return;
    }

    if (scenario == Scenario::TwoBenchesAtOnce) {
        constexpr int kEvents = 600;   // more than one batch: the kill falls between two
        const QString fileA = dir.filePath(QStringLiteral("a.sqlite")), fileB = dir.filePath(QStringLiteral("b.sqlite"));
        auto bench = [&](QProcess &p, const QString &file, char name, int count, const QString &how) {
            p.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--bench"), file, url, QString(QLatin1Char(name)), QString::number(count), how});
        };
        QProcess a, b;
        bench(a, fileA, 'A', kEvents, QStringLiteral("cut"));
        bench(b, fileB, 'B', kEvents, QString());
        QVERIFY(a.waitForFinished(120000) && b.waitForFinished(120000));
        QCOMPARE(a.exitCode(), 3);
        QCOMPARE(b.exitCode(), 0);
        ArchiveStore server, localA;
        QVERIFY(server.openServer(address));
        QVERIFY(localA.openLocal(fileA));
        // A died mid-sync: the server has some of its events, its file still waits for all.
        const auto onServerA = ids(server, QStringLiteral("SELECT id FROM events WHERE bench = 'bench A'"));
        QVERIFY(!onServerA.empty() && onServerA.size() < std::size_t(kEvents));
        QCOMPARE(*localA.waitingEvents(), kEvents);
        localA.close();
        // A resumes, then B fetches what A sent.
        QProcess again;
        bench(again, fileA, 'A', 0, QString());
        QVERIFY(again.waitForFinished(120000));
        QCOMPARE(again.exitCode(), 0);
        bench(again, fileB, 'B', 0, QString());
        QVERIFY(again.waitForFinished(120000));
        QCOMPARE(again.exitCode(), 0);

        std::set<QString> all = expectedIds('A', kEvents);
        all.merge(expectedIds('B', kEvents));
        for (const QString &file : {QString(), fileA, fileB}) {
            ArchiveStore store;
            QVERIFY(file.isEmpty() ? store.openServer(address) : store.openLocal(file));
            QSqlQuery count(store.database());
            QVERIFY(count.exec(QStringLiteral("SELECT count(*), count(DISTINCT id) FROM events")) && count.next());
            QCOMPARE(count.value(0).toInt(), 2 * kEvents);
            QCOMPARE(ids(store, QStringLiteral("SELECT id FROM events")), all);
            QCOMPARE(ids(store, QStringLiteral("SELECT hash FROM tunes")).size(), std::size_t(2 * kEvents));
            if (!file.isEmpty())
                QCOMPARE(*store.waitingEvents(), 0);
        }
        return;
    }

    // The server is down while the bench starts and records; it catches up once the server is back.
    QVERIFY(pg_->stop());
    ArchiveConfig config{dir.filePath(QStringLiteral("bench.sqlite")), address,
                         {QStringLiteral("bench 1"), QStringLiteral("tuner")}};
    {
        ArchiveService service(config, nullptr, std::chrono::milliseconds(200));
        QSignalSpy failures(&service, &ArchiveService::failed);
        service.start();
        for (int i = 0; i < 3; ++i)
            service.record({.kind = EventKind::Read, .tune = tuneOf('D', i), .id = eventId('D', i)});
        QTRY_VERIFY_WITH_TIMEOUT(service.state().waitingForServer && service.state().waiting == 3, 30000);
        QTRY_VERIFY(failures.size() >= 1);
        QVERIFY(pg_->start());
        QTRY_VERIFY_WITH_TIMEOUT(!service.state().waitingForServer && service.state().waiting == 0, 30000);
        QCOMPARE(failures.size(), 1);   // said once while it was down
    }
    ArchiveStore server;
    QVERIFY(server.openServer(address));
    QCOMPARE(ids(server, QStringLiteral("SELECT id FROM events")), expectedIds('D', 3));
}

// Which event a transfer leaves: the window and vorn4-cli both take it from here.
void ArchiveTest::transferEvents_data()
{
    QTest::addColumn<int>("kind");             // EventKind
    QTest::addColumn<int>("error");            // Msg, or -1: ended " OK"
    QTest::addColumn<bool>("imageThere");
    QTest::addColumn<bool>("unitKnown");
    QTest::addColumn<bool>("replied");         // a whole verify reply
    QTest::addColumn<char>("madeFrom");        // '-' none, 'o' another tune, 's' the same tune, other block 0
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("unit");
    QTest::addColumn<char>("tune");            // '-' none, 'i' the image, 'r' the reply
    QTest::addColumn<bool>("parent");
    const int read = int(EventKind::Read), program = int(EventKind::Program), verify = int(EventKind::Verify),
              compare = int(EventKind::Compare);
    const QString ok = QStringLiteral(" OK");
    QTest::newRow("read ok") << read << -1 << true << false << false << '-' << ok << true << 'i' << false;
    QTest::newRow("read failed after block 0") << read << int(Msg::ReadError) << true << true << false << '-'
                                               << "Read error!" << true << '-' << false;
    QTest::newRow("read failed before block 0") << read << int(Msg::ReadError) << true << false << false << '-'
                                                << "Read error!" << false << '-' << false;
    QTest::newRow("nothing read at all") << program << int(Msg::UnmatchedVersion) << false << true << false << 'o'
                                         << "Unmatched version of PC and Ignition programs!" << false << '-' << false;
    QTest::newRow("program failed, tune changed") << program << int(Msg::ProgramError) << true << false << false
                                                  << 'o' << "Program error!" << false << 'i' << true;
    QTest::newRow("program ok, tune changed") << program << -1 << true << true << false << 'o' << ok << true << 'i'
                                              << true;
    QTest::newRow("program ok, same tune") << program << -1 << true << true << false << 's' << ok << true << 'i'
                                           << false;
    QTest::newRow("verify differs, whole reply") << verify << int(Msg::VerifyError) << true << true << true << '-'
                                                 << "Verify error!" << true << 'r' << false;
    QTest::newRow("verify failed, reply cut") << verify << int(Msg::VerifyError) << true << true << false << '-'
                                              << "Verify error!" << true << '-' << false;
    QTest::newRow("compare failed") << compare << int(Msg::ReadError) << true << true << true << '-'
                                    << "Read error!" << true << '-' << false;
    QTest::newRow("read never has a parent") << read << -1 << true << true << false << 'o' << ok << true << 'i'
                                             << false;
}

void ArchiveTest::transferEvents()
{
    QFETCH(int, kind);
    QFETCH(int, error);
    QFETCH(bool, imageThere);
    QFETCH(bool, unitKnown);
    QFETCH(bool, replied);
    QFETCH(char, madeFrom);
    QFETCH(QString, result);
    QFETCH(bool, unit);
    QFETCH(char, tune);
    QFETCH(bool, parent);
    ParameterImage image = tuneOf('T', 1);
    image[3] = 'V';   // an identification of its own in block 0
    const ParameterImage reply = tuneOf('T', 2), other = tuneOf('T', 3);
    ParameterImage same = image;
    same[3] = 'W';
    TransferEnd end{.kind = EventKind(kind), .unitKnown = unitKnown, .programCount = 7};
    if (error >= 0)
        end.error = Msg(error);
    if (imageThere)
        end.image = image;
    if (replied)
        end.unitReplied = reply;
    if (madeFrom != '-')
        end.madeFrom = madeFrom == 'o' ? other : same;

    const EventInput event = transferEvent(end);
    QCOMPARE(int(event.kind), kind);
    QCOMPARE(event.result, result);
    QCOMPARE(event.programCount, std::optional(7));
    QCOMPARE(event.unit.has_value(), unit);
    if (unit)
        QVERIFY(*event.unit == unitTextsFromImage(image));
    QCOMPARE(event.tune.has_value(), tune != '-');
    if (event.tune)
        QCOMPARE(tuneHash(*event.tune), tuneHash(tune == 'i' ? image : reply));
    QCOMPARE(event.parent.has_value(), parent);
    if (event.parent)
        QCOMPARE(tuneHash(*event.parent), tuneHash(other));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("--bench"))
        return benchMain(args.mid(2));
    ArchiveTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "archive_test.moc"
