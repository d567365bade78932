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
#include "archive_scale_data.h"
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
using scale::Generator;

namespace {

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
        return found(store.find(QString::fromUtf8(scale::kBikes[i % std::size(scale::kBikes)]).toLower()));
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
    if (!scale::fill(local.database(), month, dir))
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
    if (!scale::fill(store.database(), g, dir.path()))
        return 1;
    std::printf("generated_s %.1f - -\n", clock.elapsed() / 1000.0);
    // VORN4_SCALE_PLANS=1: the server's plan of every query, with its times, on stderr.
    if (server && qEnvironmentVariableIsSet("VORN4_SCALE_PLANS")) {
        QSqlQuery q(store.database());
        for (const char *sql : {"SET client_min_messages = notice", "LOAD 'auto_explain'",
                                "SET auto_explain.log_min_duration = 0", "SET auto_explain.log_analyze = on",
                                "SET auto_explain.log_buffers = on", "SET auto_explain.log_level = notice"})
            q.exec(QLatin1String(sql));
    }
    measure(store, g);
    if (server)
        offlineMonth(store, g, dir.path());
    return 0;
}
