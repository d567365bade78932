// How the archive's answers grow with its size: an archive of `tunes` tunes and `events`
// events from 100 benches, made by a generator from a seed, on the bench's SQLite file or on
// a PostgreSQL server this program starts in a temporary folder; then a search, a unit's and
// a customer's timeline (what the archive window and `vorn4-cli archive find` show for a
// unit's identification and a customer's name), a tune's tree (`archive history`), and on
// the server the sync of a bench that was offline for a month with 10,000 events. Prints one
// line per figure: name, milliseconds (median over different texts), rows found. Asserts
// nothing; bench/scale-archive.sh runs it at several sizes.
//   vorn4-archive-scale sqlite|postgresql TUNES EVENTS [SEED]
#include "BenchSupport.h"
#include "archive/ArchiveSchema.h"
#include "archive/ArchiveSearchText.h"
#include "archive/ArchiveStore.h"
#include "archive/ArchiveSync.h"
#include "params/TuneHash.h"
#include "support/PgServer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace vorn;

namespace {

constexpr int kBenches = 100;
constexpr int kEventsPerUnit = 100;   // a unit comes to a bench about a hundred times
constexpr int kTunesPerCustomer = 5;
const QDateTime kStart(QDate(2022, 1, 1), QTime(7, 0), Qt::UTC);

const char *const kFirst[] = {"Jan", "Jiří", "Petr", "Zuzana", "Jürgen", "Günter", "Ingrid", "François", "Élodie",
                              "Hélène", "Søren", "Łukasz", "Anna", "Klaus", "Renée", "Tomáš"};
const char *const kSyllables[] = {"no", "vák", "mül", "ler", "dvo", "řák", "bé", "ran", "ger", "schnei", "der",
                                  "lu", "kas", "hof", "ma", "ček", "žák", "straß", "el", "fon", "tai", "ne",
                                  "cœur", "ber", "gé", "kra", "li", "čka", "wa", "gner", "ro", "sé"};
const char *const kBikes[] = {"Ducati 900 SS", "Jawa 350", "Čezeta 502", "MZ ETZ 251", "BMW R 100", "Moto Guzzi V7",
                              "Laverda 750", "Triumph T140"};

// Everything about the archive follows from the seed and the sizes.
struct Generator {
    quint32 seed;
    int tunes, events;
    QString prefix;   // of the ids of events and labels
    int units() const { return std::max(1, events / kEventsPerUnit); }
    int customers() const { return std::max(1, tunes / kTunesPerCustomer); }

    QString unitText(int u) const   // the unit's free text: its bike and its frame number
    {
        QRandomGenerator r(seed ^ (0x9e3779b9u * static_cast<quint32>(u + 1)));
        QString frame;
        for (int i = 0; i < 9; ++i)
            frame += QLatin1Char("ABCDEFGHJKLMNPRSTUVWXYZ0123456789"[r.bounded(33)]);
        return QStringLiteral("%1 %2").arg(QString::fromUtf8(kBikes[u % std::size(kBikes)]), frame).left(30);
    }
    QString customer(int c) const
    {
        QRandomGenerator r(seed ^ (0x85ebca6bu * static_cast<quint32>(c + 1)));
        QString surname;
        for (int i = 0; i < 3; ++i)
            surname += QString::fromUtf8(kSyllables[r.bounded(static_cast<int>(std::size(kSyllables)))]);
        surname[0] = surname[0].toUpper();
        return QString::fromUtf8(kFirst[r.bounded(static_cast<int>(std::size(kFirst)))]) + QLatin1Char(' ') + surname
               + QStringLiteral(" %1").arg(c % 97);
    }
    // Tune t belongs to unit t % units; a unit's tunes make a chain, each made from the last.
    int unitOf(int t) const { return t % units(); }
    QByteArray bytes(int t) const
    {
        QRandomGenerator r(seed + static_cast<quint32>(t) * 2654435761u);
        QByteArray b(kTuneSize, Qt::Uninitialized);
        for (char &c : b)
            c = static_cast<char>(r.bounded(256));
        return b;
    }
    QString hash(int t) const { return tuneHash(*imageFromTuneBytes(bytes(t))); }
    QString id(char kind, int n) const { return prefix + QLatin1Char(kind) + QString::number(n); }
};

// One table's rows in chunks: appended through transactions of many-row INSERTs on the file,
// through COPY from a CSV file on the server (which reads it itself).
class Loader {
public:
    Loader(QSqlDatabase db, QString dir) : db_(db), dir_(std::move(dir)) {}
    bool add(const QString &table, QVariantList row)
    {
        auto &rows = rows_[table];
        rows.push_back(std::move(row));
        return rows.size() < 20000 || flush(table);
    }
    bool flush(const QString &table)
    {
        auto &rows = rows_[table];
        if (rows.empty())
            return true;
        QString error;
        bool ok;
        if (schema::isSqlite(db_)) {
            ok = schema::begin(db_, &error) && schema::insertRows(db_, table, schema::columnsOf(table), rows, &error)
                 && schema::commit(db_);
        } else {
            const QString path = dir_ + QStringLiteral("/rows.csv");
            QFile csv(path);
            ok = csv.open(QIODevice::WriteOnly);
            for (const QVariantList &row : rows) {
                QStringList fields;
                for (const QVariant &v : row)
                    fields << (v.isNull() ? QString()
                               : v.typeId() == QMetaType::QByteArray
                                   ? QStringLiteral("\\x") + QString::fromLatin1(v.toByteArray().toHex())
                                   : QLatin1Char('"') + v.toString().replace(QLatin1Char('"'), QStringLiteral("\"\""))
                                         + QLatin1Char('"'));
                csv.write((fields.join(QLatin1Char(',')) + QLatin1Char('\n')).toUtf8());
            }
            csv.close();
            csv.setPermissions(csv.permissions() | QFile::ReadOther);
            QSqlQuery q(db_);
            ok = ok && q.exec(QStringLiteral("COPY %1 (%2) FROM '%3' WITH (FORMAT csv)")
                                  .arg(table, schema::columnsOf(table).join(QLatin1Char(',')), path));
            error = q.lastError().text();
        }
        if (!ok)
            std::fprintf(stderr, "loading %s: %s\n", qPrintable(table), qPrintable(error + db_.lastError().text()));
        rows.clear();
        return ok;
    }

private:
    QSqlDatabase db_;
    QString dir_;
    std::map<QString, std::vector<QVariantList>> rows_;
};

bool fill(QSqlDatabase db, const Generator &g, const QString &dir)
{
    QSqlQuery q(db);
    // The server builds its indexes once after the rows instead of row by row: the
    // definitions the program made are kept, dropped and made again.
    QStringList indexes;
    if (!schema::isSqlite(db)) {
        q.exec(QStringLiteral("SET maintenance_work_mem = '1GB'"));
        q.exec(QStringLiteral("SELECT indexname, indexdef FROM pg_indexes WHERE schemaname = 'public' AND indexname "
                              "NOT IN (SELECT conname FROM pg_constraint)"));
        QStringList names;
        while (q.next()) {
            names << q.value(0).toString();
            indexes << q.value(1).toString();
        }
        for (const QString &name : names)
            q.exec(QStringLiteral("DROP INDEX %1").arg(name));
    }
    // The file is written as fast as it goes (what a crash would lose is made again), then
    // read with the program's own settings.
    if (schema::isSqlite(db))
        q.exec(QStringLiteral("PRAGMA journal_mode=OFF")), q.exec(QStringLiteral("PRAGMA synchronous=OFF")),
            q.exec(QStringLiteral("PRAGMA cache_size=-262144"));
    Loader load(db, dir);
    const QString bench1 = QStringLiteral("bench 1");
    for (int t = 0; t < g.tunes; ++t) {
        const QString hash = g.hash(t), time = kStart.addSecs(60LL * t).toString(Qt::ISODateWithMs);
        const QString customer = g.customer(t % g.customers());
        bool ok = load.add(QStringLiteral("tunes"), {hash, g.bytes(t), time})
                  && load.add(QStringLiteral("labels"), {g.id('c', t), QStringLiteral("tune"), hash,
                                                         QStringLiteral("customer"), customer, time, bench1,
                                                         QStringLiteral("tuner"), foldForSearch(customer)});
        if (t >= g.units())
            ok = ok && load.add(QStringLiteral("tune_parents"), {hash, g.hash(t - g.units())});
        if (!ok)
            return false;
    }
    const qint64 span = 3LL * 365 * 86400;   // three years
    for (int e = 0; e < g.events; ++e) {
        QRandomGenerator r(g.seed * 31u + static_cast<quint32>(e));
        const int unit = r.bounded(g.units());
        const int perUnit = std::max(1, g.tunes / g.units());
        const int tune = std::min(g.tunes - 1, unit + g.units() * r.bounded(perUnit));
        const UnitTexts texts{QStringLiteral("VRN04"), QStringLiteral(" 7. 8.2005"), QStringLiteral("09:05"), g.unitText(unit)};
        const QString bench = QStringLiteral("bench %1").arg(r.bounded(kBenches) + 1);
        const QString user = QString::fromUtf8(kFirst[r.bounded(static_cast<int>(std::size(kFirst)))]);
        if (!load.add(QStringLiteral("events"),
                      {g.id('e', e), r.bounded(3) ? QStringLiteral("read") : QStringLiteral("program"),
                       kResultOk, kStart.addSecs(span * e / g.events).toString(Qt::ISODateWithMs), bench, user,
                       texts.version, texts.date, texts.time, texts.freeText, e % 5000, g.hash(tune),
                       eventSearchText(texts, bench, user)}))
            return false;
    }
    for (const char *table : {"tunes", "labels", "tune_parents", "events"})
        if (!load.flush(QLatin1String(table)))
            return false;
    for (const QString &index : indexes)
        if (!q.exec(index)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(index), qPrintable(q.lastError().text()));
            return false;
        }
    if (schema::isSqlite(db))
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL")), q.exec(QStringLiteral("PRAGMA synchronous=FULL")),
            q.exec(QStringLiteral("PRAGMA cache_size=-256"));
    return q.exec(QStringLiteral("ANALYZE"));
}

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Prints the figure's median time and, beside it, the median of this process's CPU time:
// on a machine busy with other work the time waits for a core, the CPU time does not (on
// the server it leaves out the server's own).
void figure(const char *name, int rounds, const std::function<std::size_t(int)> &f)
{
    std::size_t rows = 0;
    std::vector<double> cpu;
    const double us = bench::medianUs(rounds, [&](int i) {
        const double before = cpuMs();
        rows = f(i);
        cpu.push_back(cpuMs() - before);
    });
    std::sort(cpu.begin(), cpu.end());
    std::printf("%s %.2f %zu %.2f\n", name, us / 1000.0, rows, cpu[cpu.size() / 2]);
    std::fflush(stdout);
}

std::size_t found(const std::optional<FindResult> &r) { return r ? r->events.size() + r->tunes.size() : 0; }

void measure(ArchiveStore &store, const Generator &g)
{
    constexpr int kRounds = 9;
    QRandomGenerator pick(g.seed + 7);
    std::vector<int> units, customers, tunes;
    for (int i = 0; i < kRounds; ++i) {
        units.push_back(pick.bounded(g.units()));
        customers.push_back(pick.bounded(g.customers()));
        tunes.push_back(pick.bounded(g.tunes));
    }
    // A few letters of a surname as typed, without accents: found among a handful of customers.
    figure("search_name", kRounds, [&](int i) {
        return found(store.find(foldForSearch(g.customer(customers[i]).section(QLatin1Char(' '), 1, 1)).mid(1, 6)));
    });
    // Part of a frame number.
    figure("search_frame", kRounds, [&](int i) { return found(store.find(g.unitText(units[i]).right(6).toLower())); });
    // A bike model, in a tenth of all events: the newest 200.
    figure("search_common", kRounds, [&](int i) {
        return found(store.find(QString::fromUtf8(kBikes[i % std::size(kBikes)]).toLower()));
    });
    figure("unit_timeline", kRounds, [&](int i) { return found(store.find(g.unitText(units[i]))); });
    figure("customer_timeline", kRounds, [&](int i) { return found(store.find(g.customer(customers[i]))); });
    figure("tune_tree", kRounds, [&](int i) {
        const auto h = store.history(g.hash(tunes[i]));
        return h ? h->events.size() + h->ancestors.size() + h->descendants.size() : 0;
    });
}

// A bench back after a month offline with 10,000 events (and their tunes) the server has not
// seen; it had fetched everything before it went.
void offlineMonth(ArchiveStore &server, const Generator &g, const QString &dir)
{
    constexpr int kWaiting = 10000;
    ArchiveStore local;
    local.setIdentity({QStringLiteral("bench 101"), QStringLiteral("tuner")});
    if (!local.openLocal(dir + QStringLiteral("/offline.sqlite")))
        return;
    QSqlQuery q(server.database()), mark(local.database());
    for (const schema::SyncedTable &t : schema::syncedTables()) {
        q.exec(QStringLiteral("SELECT coalesce(max(seq), 0) FROM %1").arg(QLatin1String(t.name)));
        q.next();
        schema::exec(mark, QStringLiteral("INSERT INTO sync_state (server, table_name, pulled) VALUES (?, ?, ?)"),
                     {server.location(), QLatin1String(t.name), q.value(0)});
    }
    const Generator month{g.seed + 1, kWaiting / 5, kWaiting, QStringLiteral("month-")};
    if (!fill(local.database(), month, dir))
        return;
    SyncReport report;
    figure("sync_offline_month", 1, [&](int) {
        report = syncArchive(local, server);
        return static_cast<std::size_t>(report.sent);
    });
    if (!report.error.isEmpty())
        std::fprintf(stderr, "sync: %s\n", qPrintable(report.error));
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: vorn4-archive-scale sqlite|postgresql TUNES EVENTS [SEED]\n");
        return 2;
    }
    const bool server = args[1] == QLatin1String("postgresql");
    const Generator g{args.value(4, QStringLiteral("37")).toUInt(), args[2].toInt(), args[3].toInt(), QString()};
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ReadOther | QFile::ExeOther);
    std::unique_ptr<test::PgServer> pg;
    ArchiveStore store;
    store.setIdentity({QStringLiteral("bench 1"), QStringLiteral("tuner")});
    if (server) {
        pg = std::make_unique<test::PgServer>();
        QString error;
        if (!pg->ready() || !pg->createDatabase(QStringLiteral("scale"))
            || !store.openServer(*parseServerUrl(pg->url(QStringLiteral("scale")), &error))) {
            std::fprintf(stderr, "no PostgreSQL server: %s %s\n", qPrintable(pg->log()), qPrintable(store.error()));
            return 1;
        }
    } else if (!store.openLocal(dir.filePath(QStringLiteral("scale.sqlite")))) {
        std::fprintf(stderr, "%s\n", qPrintable(store.error()));
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    if (!fill(store.database(), g, dir.path()))
        return 1;
    std::printf("generated_s %.1f - -\n", clock.elapsed() / 1000.0);
    measure(store, g);
    if (server)
        offlineMonth(store, g, dir.path());
    return 0;
}
