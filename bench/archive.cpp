// The workshop archive's speed: a search over a workshop's worth of tunes and events on the
// bench's SQLite file and on a PostgreSQL server of its own, the sync of a bench that was
// offline for a while, what recording an event costs the window's thread, and what a server
// that takes the connection and never answers costs a command. Prints figures; asserts
// nothing.
#include "BenchSupport.h"
#include "archive/ArchiveSchema.h"
#include "archive/ArchiveSearchText.h"
#include "archive/ArchiveService.h"
#include "archive/ArchiveStore.h"
#include "archive/ArchiveSync.h"
#include "params/TuneHash.h"
#include "support/PgServer.h"
#include "support/SilentListener.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vorn;

namespace {

ParameterImage tuneOf(int i)
{
    ParameterImage image;
    QRandomGenerator random(static_cast<quint32>(i) + 1);
    for (int b = kBlockSize; b < kImageSize; ++b)
        image[b] = static_cast<std::uint8_t>(random.bounded(256));
    return image;
}

// Fills a store in a few large transactions, rows as record() and addLabel() write them.
bool fill(ArchiveStore &store, int tunes, int events)
{
    QSqlDatabase db = store.database();
    QString error;
    const QDateTime start(QDate(2024, 1, 1), QTime(8, 0), Qt::UTC);
    std::vector<QVariantList> tuneRows, labelRows, eventRows;
    std::vector<QString> hashes;
    for (int t = 0; t < tunes; ++t) {
        const ParameterImage image = tuneOf(t);
        hashes.push_back(tuneHash(image));
        const QString time = start.addSecs(600LL * t).toString(Qt::ISODateWithMs);
        tuneRows.push_back({hashes.back(), tuneBytes(image), time});
        const QString customer = QStringLiteral("Customer %1").arg(t);
        labelRows.push_back({QStringLiteral("label-%1").arg(t), QStringLiteral("tune"), hashes.back(),
                             QStringLiteral("customer"), customer, time, QStringLiteral("bench 1"),
                             QStringLiteral("tuner"), foldForSearch(customer)});
    }
    for (int e = 0; e < events; ++e) {
        const QString time = start.addSecs(60LL * e).toString(Qt::ISODateWithMs);
        const QString freeText = QStringLiteral("bike %1").arg(e % 5000);
        const QString bench = QStringLiteral("bench %1").arg(e % 7);
        eventRows.push_back({QStringLiteral("event-%1").arg(e), e % 3 ? QStringLiteral("read") : QStringLiteral("program"),
                             QStringLiteral(" OK"), time, bench, QStringLiteral("tuner"), QStringLiteral("VRN04"),
                             QStringLiteral(" 7. 8.2005"), QStringLiteral("09:05"), freeText, e,
                             hashes[static_cast<std::size_t>(e % tunes)],
                             eventSearchText({QStringLiteral("VRN04"), QStringLiteral(" 7. 8.2005"),
                                              QStringLiteral("09:05"), freeText},
                                             bench, QStringLiteral("tuner"))});
    }
    return schema::begin(db) && schema::insertRows(db, QStringLiteral("tunes"), schema::columnsOf(u"tunes"), tuneRows, &error)
           && schema::insertRows(db, QStringLiteral("labels"), schema::columnsOf(u"labels"), labelRows, &error)
           && schema::insertRows(db, QStringLiteral("events"), schema::columnsOf(u"events"), eventRows, &error)
           && schema::commit(db) && QSqlQuery(db).exec(QStringLiteral("ANALYZE"));
}

void searches(ArchiveStore &store, const char *where)
{
    const QStringList texts{QStringLiteral("customer 4321"), QStringLiteral("bike 777"), QStringLiteral("2024-01-15"),
                            tuneHash(tuneOf(1234)).left(8), QStringLiteral("nothing like this")};
    for (const QString &text : texts) {
        std::size_t hits = 0;
        const double us = bench::medianUs(9, [&](int) {
            const auto r = store.find(text);
            hits = r ? r->events.size() + r->tunes.size() : 0;
        });
        std::printf("search %-22s %-11s %8.1f ms  (%zu hits)\n", qPrintable(QLatin1Char('"') + text + QLatin1Char('"')),
                    where, us / 1000.0, hits);
    }
}

// A Read, Program or Verify hands its event to the archive and goes on: the time the caller's
// thread spends in record() is what the window's tick could feel; the write itself happens on
// the archive's own thread.
void recordFromTheWindowsThread(const QString &path)
{
    constexpr int kEvents = 200;
    ArchiveConfig config;
    config.localPath = path;
    config.identity = {QStringLiteral("bench 1"), QStringLiteral("tuner")};
    ArchiveService service(config);
    service.start();
    int written = 0;
    QObject::connect(&service, &ArchiveService::recorded, [&written] { ++written; });
    std::vector<double> callUs;
    QElapsedTimer all;
    all.start();
    for (int e = 0; e < kEvents; ++e) {
        EventInput event;
        event.kind = EventKind::Program;
        event.tune = tuneOf(e);
        QElapsedTimer call;
        call.start();
        service.record(std::move(event));
        callUs.push_back(call.nsecsElapsed() / 1000.0);
        QCoreApplication::processEvents();
    }
    while (written < kEvents && all.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::sort(callUs.begin(), callUs.end());
    std::printf("record from the window's thread: %.1f us per event (median; slowest %.1f us); "
                "%d of %d written on the archive's thread in %lld ms\n",
                callUs[callUs.size() / 2], callUs.back(), written, kEvents, static_cast<long long>(all.elapsed()));
}

// A server that takes the connection and never answers: what the sync after a command's
// event costs the command (vorn4-cli waits 200 ms for the server's first word), and how long
// the window's closing waits for the archive's threads while a sync is waiting for it.
void silentServer(const QString &path)
{
    vorn::test::SilentListener silent;
    const ServerAddress address{QStringLiteral("127.0.0.1"), silent.port(), QStringLiteral("tuner"), QStringLiteral("shop")};
    {
        ArchiveStore local;
        local.openLocal(path);
        local.record({.kind = EventKind::Read, .tune = tuneOf(1)});
        SyncReport report;
        const double us = bench::medianUs(5, [&](int) {
            ServerProbe probe(address);
            report = syncWithServer(local, address, probe, std::chrono::milliseconds(200));
        });
        std::printf("silent server: a command's sync %.1f ms (answered %s, %d events waiting)\n", us / 1000.0,
                    report.answered ? "yes" : "no", report.waiting);
    }
    std::vector<double> closingMs;
    for (int round = 0; round < 5; ++round) {
        auto service = std::make_unique<ArchiveService>(
            ArchiveConfig{path, address, {QStringLiteral("bench 1"), QStringLiteral("tuner")}});
        service->start();
        service->record({.kind = EventKind::Read, .tune = tuneOf(2)});
        QThread::msleep(100);   // the sync is now waiting for the server
        QElapsedTimer closing;
        closing.start();
        service.reset();
        closingMs.push_back(closing.nsecsElapsed() / 1e6);
    }
    std::sort(closingMs.begin(), closingMs.end());
    std::printf("silent server: the archive closed with the window in %.1f ms (median; slowest %.1f ms)\n",
                closingMs[closingMs.size() / 2], closingMs.back());
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int tunes = 10000, events = 100000, waiting = 1000;
    QTemporaryDir dir;
    std::printf("archive: %d tunes, %d events\n", tunes, events);

    ArchiveStore file;
    if (!file.openLocal(dir.filePath(QStringLiteral("bench.sqlite"))) || !fill(file, tunes, events)) {
        std::printf("cannot fill the SQLite file: %s\n", qPrintable(file.error()));
        return 1;
    }
    searches(file, "SQLite");
    recordFromTheWindowsThread(dir.filePath(QStringLiteral("service.sqlite")));
    silentServer(dir.filePath(QStringLiteral("silent.sqlite")));

    vorn::test::PgServer pg;
    if (!pg.ready() || !pg.createDatabase(QStringLiteral("search")) || !pg.createDatabase(QStringLiteral("sync"))) {
        std::printf("no PostgreSQL server: %s\n", qPrintable(pg.log()));
        return 1;
    }
    QString error;
    ArchiveStore server;
    if (!server.openServer(*parseServerUrl(pg.url(QStringLiteral("search")), &error)) || !fill(server, tunes, events)) {
        std::printf("cannot fill the server: %s\n", qPrintable(server.error()));
        return 1;
    }
    searches(server, "PostgreSQL");

    // A bench back from a while offline: its waiting events to an empty server.
    ArchiveStore offline;
    offline.setIdentity({QStringLiteral("bench 9"), QStringLiteral("tuner")});
    offline.openLocal(dir.filePath(QStringLiteral("offline.sqlite")));
    for (int e = 0; e < waiting; ++e)
        offline.record({.kind = EventKind::Read, .tune = tuneOf(e % 100)});
    SyncReport report;
    const double us = bench::medianUs(1, [&](int) {
        report = syncWithServer(offline, *parseServerUrl(pg.url(QStringLiteral("sync")), &error));
    });
    std::printf("sync of %d waiting events: %.1f ms (sent %d, still waiting %d%s%s)\n", waiting, us / 1000.0,
                report.sent, report.waiting, report.error.isEmpty() ? "" : ", ", qPrintable(report.error));
    return 0;
}
