// The archive's text indexes on a real SQLite file and a real PostgreSQL server: an archive
// that the previous version of the program wrote (its tables made here by that version's own
// statements) is upgraded without losing a tune, an event or a label, and every search that
// goes through an index answers what reading every row answers.
#include "archive/ArchiveSchema.h"
#include "archive/ArchiveSearchText.h"
#include "archive/ArchiveStore.h"
#include "params/TuneHash.h"
#include "support/PgServer.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <set>

using namespace vorn;

namespace {

// The tables as the version before the text indexes made them ("{LOCAL}" only in a file).
const char *const kVersion2[] = {
    "CREATE TABLE schema_version (version INTEGER NOT NULL)",
    "INSERT INTO schema_version (version) VALUES (2)",
    "CREATE TABLE tunes (seq {SEQ}, hash TEXT NOT NULL UNIQUE, bytes {BLOB} NOT NULL, first_utc TEXT NOT NULL{SENT})",
    "CREATE TABLE tune_parents (seq {SEQ}, child TEXT NOT NULL, parent TEXT NOT NULL{SENT}, UNIQUE (child, parent))",
    "CREATE INDEX tune_parents_parent ON tune_parents (parent)",
    "CREATE TABLE events (seq {SEQ}, id TEXT NOT NULL UNIQUE, kind TEXT NOT NULL, result TEXT NOT NULL, "
    "time_utc TEXT NOT NULL, bench TEXT NOT NULL, user_name TEXT NOT NULL, unit_version TEXT NOT NULL, "
    "unit_date TEXT NOT NULL, unit_time TEXT NOT NULL, free_text TEXT NOT NULL, program_count INTEGER, "
    "tune_hash TEXT, search TEXT NOT NULL{SENT})",
    "CREATE INDEX events_tune ON events (tune_hash, time_utc)",
    "CREATE INDEX events_time ON events (time_utc)",
    "CREATE TABLE labels (seq {SEQ}, id TEXT NOT NULL UNIQUE, target_kind TEXT NOT NULL, target TEXT NOT NULL, "
    "label_key TEXT NOT NULL, label_value TEXT NOT NULL, time_utc TEXT NOT NULL, bench TEXT NOT NULL, "
    "user_name TEXT NOT NULL, search TEXT NOT NULL{SENT})",
    "CREATE INDEX labels_target ON labels (target, label_key, time_utc)",
    "{LOCAL}CREATE INDEX events_unsent ON events (seq) WHERE sent = 0",
    "{LOCAL}CREATE TABLE sync_state (server TEXT NOT NULL, table_name TEXT NOT NULL, "
    "pulled INTEGER NOT NULL, PRIMARY KEY (server, table_name))",
};

ParameterImage tuneOf(int i)
{
    ParameterImage image;
    image[200] = static_cast<std::uint8_t>(i);
    image[201] = 0x5a;
    return image;
}

// Names, bikes and notes as the four languages write them, and texts with the characters
// each index's query language gives a meaning of its own (", %, _, *).
const char *const kCustomers[] = {"Novák", "Müller", "Řehoř Žďárský", "Cœur de Lion", "Straße-Werk", "Øresund"};
const char *const kFreeTexts[] = {"Ducati 900 SS", "Jawa 350 \"Pérák\"", "Rok 2005, 50% off", "MZ ETZ_251", "Čezeta *502*", "O'Brien's \\ bike?"};

// Writes a small archive with the previous version's tables and rows as it stored them; each
// table's rows as the first and last of their columns.
std::map<QString, std::set<QString>> writeVersion2(QSqlDatabase db, bool server)
{
    QSqlQuery q(db);
    for (const char *statement : kVersion2) {
        QString sql = QString::fromLatin1(statement);
        if (sql.startsWith(QStringLiteral("{LOCAL}"))) {
            if (server)
                continue;
            sql.remove(0, 7);
        }
        sql.replace(QStringLiteral("{SEQ}"), server ? QStringLiteral("BIGSERIAL PRIMARY KEY") : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
        sql.replace(QStringLiteral("{BLOB}"), server ? QStringLiteral("BYTEA") : QStringLiteral("BLOB"));
        sql.replace(QStringLiteral("{SENT}"), server ? QString() : QStringLiteral(", sent INTEGER NOT NULL DEFAULT 0"));
        if (!q.exec(sql))
            qWarning("%s", qPrintable(sql));
    }
    std::map<QString, std::set<QString>> written;
    std::vector<QVariantList> tunes, parents, events, labels;
    const QDateTime start(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
    constexpr int kTunes = 12, kEvents = 40;
    for (int t = 0; t < kTunes; ++t) {
        const QString hash = tuneHash(tuneOf(t)), time = start.addDays(t).toString(Qt::ISODateWithMs);
        tunes.push_back({hash, tuneBytes(tuneOf(t)), time});
        if (t > 0)
            parents.push_back({hash, tuneHash(tuneOf(t / 2))});
        // Every tune a customer; every fourth one first another that the customer replaced.
        QStringList customers{QString::fromUtf8(kCustomers[t % std::size(kCustomers)])};
        if (t % 4 == 3)
            customers.prepend(QStringLiteral("Kubát (prodáno)"));
        for (int round = 0; round < customers.size(); ++round)
            labels.push_back({QStringLiteral("l%1-%2").arg(t).arg(round), QStringLiteral("tune"), hash,
                              QStringLiteral("customer"), customers[round], start.addDays(t + round).toString(Qt::ISODateWithMs),
                              QStringLiteral("bench 1"), QStringLiteral("jana"), foldForSearch(customers[round])});
    }
    for (int e = 0; e < kEvents; ++e) {
        const UnitTexts unit{QStringLiteral("VRN04"), QStringLiteral(" 7. 8.2005"), QStringLiteral("09:05"),
                             QString::fromUtf8(kFreeTexts[e % std::size(kFreeTexts)])};
        const QString bench = QStringLiteral("Dílna %1").arg(e % 3), id = QStringLiteral("e%1").arg(e);
        events.push_back({id, e % 2 ? QStringLiteral("program") : QStringLiteral("read"), kResultOk,
                          start.addSecs(5000LL * e).toString(Qt::ISODateWithMs), bench, QStringLiteral("Jiří"),
                          unit.version, unit.date, unit.time, unit.freeText, e,
                          tuneHash(tuneOf(e % kTunes)), eventSearchText(unit, bench, QStringLiteral("Jiří"))});
        if (e % 7 == 0)
            labels.push_back({QStringLiteral("n%1").arg(e), QStringLiteral("event"), id, QStringLiteral("note"),
                              QStringLiteral("Zündung %1° früh").arg(e), start.addSecs(5000LL * e).toString(Qt::ISODateWithMs),
                              bench, QStringLiteral("Jiří"), foldForSearch(QStringLiteral("Zündung %1° früh").arg(e))});
    }
    QString error;
    const std::pair<const char *, std::vector<QVariantList> *> tables[] = {
        {"tunes", &tunes}, {"tune_parents", &parents}, {"events", &events}, {"labels", &labels}};
    for (const auto &[table, rows] : tables) {
        if (!schema::insertRows(db, QLatin1String(table), schema::columnsOf(QString::fromLatin1(table)), *rows, &error))
            qWarning("%s", qPrintable(error));
        for (const QVariantList &row : *rows)
            written[QLatin1String(table)].insert(row.first().toString() + QLatin1Char('|') + row.last().toString());
    }
    return written;
}

std::set<QString> stored(QSqlDatabase db, const QString &table, const QString &columns)
{
    std::set<QString> out;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT %1 FROM %2").arg(columns, table)))
        while (q.next())
            out.insert(q.value(0).toString() + QLatin1Char('|') + q.value(1).toString());
    return out;
}

QStringList answers(ArchiveStore &store, const QString &text, int limit, bool scan)
{
    store.setSearchByScan(scan);
    const auto found = store.find(text, limit);
    QStringList out;
    if (!found)
        return {QStringLiteral("failed: ") + store.error()};
    for (const ArchiveEvent &e : found->events)
        out << e.id;
    out << QStringLiteral("tunes:");
    for (const TuneSummary &t : found->tunes)
        out << t.hash.left(8);
    out << (found->truncated ? QStringLiteral("more") : QString());
    return out;
}

}  // namespace

class ArchiveIndexTest : public QObject {
    Q_OBJECT
private slots:
    void upgradeAndSearch_data();
    void upgradeAndSearch();
};

void ArchiveIndexTest::upgradeAndSearch_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::newRow("bench file") << false;
    QTest::newRow("server") << true;
}

void ArchiveIndexTest::upgradeAndSearch()
{
    QFETCH(bool, onServer);
    QTemporaryDir dir;
    std::unique_ptr<test::PgServer> pg;
    const QString file = dir.filePath(QStringLiteral("archive.sqlite"));
    QString url;
    if (onServer) {
        pg = std::make_unique<test::PgServer>();
        QVERIFY2(pg->ready() && pg->createDatabase(QStringLiteral("shop")), qPrintable(pg->log()));
        url = pg->url(QStringLiteral("shop"));
    }
    std::map<QString, std::set<QString>> written;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(onServer ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"),
                                                    QStringLiteral("version2"));
        if (onServer) {
            db.setHostName(pg->socketDir());
            db.setPort(test::PgServer::kPort);
            db.setUserName(QStringLiteral("archive"));
            db.setDatabaseName(QStringLiteral("shop"));
        } else {
            db.setDatabaseName(file);
        }
        QVERIFY(db.open());
        written = writeVersion2(db, onServer);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("version2"));
    QCOMPARE(written.size(), std::size_t(4));

    ArchiveStore store;
    QString error;
    QVERIFY2(onServer ? store.openServer(*parseServerUrl(url, &error)) : store.openLocal(file), qPrintable(store.error()));
    QSqlQuery version(store.database());
    QVERIFY(version.exec(QStringLiteral("SELECT version FROM schema_version")) && version.next());
    QCOMPARE(version.value(0).toInt(), schema::kVersion);
    const std::pair<const char *, const char *> keys[] = {
        {"tunes", "hash, first_utc"}, {"tune_parents", "child, parent"}, {"events", "id, search"}, {"labels", "id, search"}};
    for (const auto &[table, columns] : keys)
        QCOMPARE(stored(store.database(), QLatin1String(table), QLatin1String(columns)), written[QLatin1String(table)]);

    // What is written after the upgrade is found through the indexes too.
    store.setIdentity({QStringLiteral("bench 9"), QStringLiteral("petr")});
    QVERIFY(store.record({.kind = EventKind::Read,
                          .unit = UnitTexts{QStringLiteral("VRN04"), {}, {}, QStringLiteral("Škoda Octavia")},
                          .tune = tuneOf(3), .id = QStringLiteral("after")}));
    QVERIFY(store.addLabel({LabelInput::Target::Tune, tuneHash(tuneOf(5)), LabelKey::Bike, QStringLiteral("Hüsqvarna")}));

    // Each text, and whether it finds anything at all (so that two empty answers cannot agree
    // by accident).
    const struct { QString text; bool finds; } searches[] = {
        {QStringLiteral("NOVÁK"), true},
        {QStringLiteral("kubat"), false},           // a label replaced by a newer one
        {QStringLiteral("muller"), true},
        {QStringLiteral("rehor zdarsky"), true},
        {QStringLiteral("coeur de"), true},
        {QStringLiteral("strasse-w"), true},
        {QStringLiteral("oresund"), true},
        {QStringLiteral("PERAK"), true},
        {QStringLiteral("\"perak\""), true},        // the phrase's own quotes are plain text
        {QStringLiteral("50% off"), true},
        {QStringLiteral("0%"), true},
        {QStringLiteral("etz_251"), true},
        {QStringLiteral("etz%251"), false},         // nor are LIKE's % and _
        {QStringLiteral("z_2"), true},
        {QStringLiteral("*502*"), true},
        {QStringLiteral("cez"), true},
        {QStringLiteral("zundung 14° fruh"), true},
        {QStringLiteral("dilna 2"), true},
        {QStringLiteral("jiri"), true},
        {QStringLiteral("skoda oct"), true},
        {QStringLiteral("husq"), true},
        {QStringLiteral("ak"), true},               // too short for a trigram
        {QStringLiteral("vrn04"), true},            // in every event: more than the limit
        {QStringLiteral("2026-03-02"), true},
        {tuneHash(tuneOf(7)).left(6), true},
        {QStringLiteral("yamaha"), false},
        {QStringLiteral("o'brien's \\ bike?"), true},   // the server is sent its values written in
        {QStringLiteral("n's \\"), true},
    };
    // With a limit of one, a text in most events is more than the file's walk along the time
    // index needs.
    for (const int limit : {1, 25})
    for (const auto &s : searches) {
        const QStringList scanned = answers(store, s.text, limit, true), indexed = answers(store, s.text, limit, false);
        QVERIFY2(scanned == indexed, qPrintable(s.text + QStringLiteral(": ") + scanned.join(QLatin1Char(' '))
                                                + QStringLiteral(" / ") + indexed.join(QLatin1Char(' '))));
        QVERIFY2((scanned.size() > 2) == s.finds, qPrintable(s.text + QStringLiteral(": ") + scanned.join(QLatin1Char(' '))));
    }
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ArchiveIndexTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "archive_index_test.moc"
