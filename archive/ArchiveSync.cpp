#include "ArchiveSync.h"

#include "ArchiveSchema.h"
#include "ArchiveTexts.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace vorn {

namespace {

constexpr int kPushBatch = 500;
constexpr int kServerConnectTimeoutSeconds = 3;
constexpr int kPullBatch = 2000;

std::nullopt_t failWith(QString *error, const QString &text)
{
    *error = text;
    return std::nullopt;
}

std::vector<QVariantList> readRows(QSqlQuery &q, int columns, QStringList *firstColumn)
{
    std::vector<QVariantList> rows;
    while (q.next()) {
        firstColumn->append(q.value(0).toString());
        QVariantList row;
        row.reserve(columns);
        for (int c = 1; c <= columns; ++c)
            row << q.value(c);
        rows.push_back(std::move(row));
    }
    return rows;
}

// Runs of consecutive server seqs, each of them given to a row this sync sent, in order: no
// other bench's row lies inside one, so the fetch need not bring them back. A seq missing
// from the answers (a row the server had already still uses one up) ends a run, as nothing
// says whose it is.
using OwnRuns = std::vector<std::pair<qlonglong, qlonglong>>;

// Runs too short to be worth a query of their own are fetched back like any other rows.
constexpr qlonglong kOwnRunMin = 32;

OwnRuns runsOf(std::vector<qlonglong> seqs)
{
    std::sort(seqs.begin(), seqs.end());
    OwnRuns runs;
    for (std::size_t i = 0; i < seqs.size();) {
        std::size_t j = i + 1;
        while (j < seqs.size() && seqs[j] == seqs[j - 1] + 1)
            ++j;
        if (qlonglong(j - i) >= kOwnRunMin)
            runs.emplace_back(seqs[i], seqs[j - 1]);
        i = j;
    }
    return runs;
}

// Sends the unsent rows of one table; the number of rows the server confirmed. `own` gets the
// runs of the server's seqs this bench's rows were given.
std::optional<int> push(QSqlDatabase local, QSqlDatabase server, const schema::SyncedTable &t,
                        const SyncProgress &progress, OwnRuns *own, QString *error)
{
    const QString table = QLatin1String(t.name);
    int confirmed = 0;
    std::vector<qlonglong> given;
    for (;;) {
        QStringList seqs;
        std::vector<QVariantList> rows;
        {
            QSqlQuery q(local);
            q.setForwardOnly(true);
            if (!q.exec(QStringLiteral("SELECT seq, %1 FROM %2 WHERE sent = 0 ORDER BY seq LIMIT %3")
                            .arg(t.columns.join(QLatin1Char(',')), table)
                            .arg(kPushBatch)))
                return failWith(error, q.lastError().text());
            rows = readRows(q, static_cast<int>(t.columns.size()), &seqs);
        }
        if (rows.empty()) {
            *own = runsOf(std::move(given));
            return confirmed;
        }
        QString why;
        if (!schema::begin(server) || !schema::lockForAppend(server)
            || !schema::insertRows(server, table, t.columns, rows, &why, nullptr, &given) || !schema::commit(server)) {
            const QString text = why.isEmpty() ? server.lastError().text() : why;
            schema::rollback(server);
            return failWith(error, text);
        }
        if (progress)
            progress(table, static_cast<int>(rows.size()));
        QSqlQuery mark(local);
        if (!schema::begin(local)
            || !mark.exec(QStringLiteral("UPDATE %1 SET sent = 1 WHERE seq IN (%2)").arg(table, seqs.join(QLatin1Char(','))))
            || !schema::commit(local)) {
            const QString text = mark.lastError().text();
            schema::rollback(local);
            return failWith(error, text);
        }
        confirmed += static_cast<int>(rows.size());
    }
}

// Fetches the server's rows beyond what this bench fetched before, passing over the runs this
// sync sent itself; the number that were new here. Once the rows below a run are all here,
// the run's end is as far as this bench got.
std::optional<int> pull(QSqlDatabase local, QSqlDatabase server, const QString &serverKey,
                        const schema::SyncedTable &t, const OwnRuns &own, QString *error)
{
    const QString table = QLatin1String(t.name);
    qlonglong pulled = 0;
    {
        QSqlQuery q(local);
        if (!schema::exec(q, QStringLiteral("SELECT pulled FROM sync_state WHERE server = ? AND table_name = ?"),
                          {serverKey, table}))
            return failWith(error, q.lastError().text());
        if (q.next())
            pulled = q.value(0).toLongLong();
    }
    QStringList localColumns = t.columns;
    localColumns << QStringLiteral("sent");   // the server has them
    int added = 0;
    auto run = own.begin();
    for (;;) {
        while (run != own.end() && run->second <= pulled)
            ++run;
        QStringList seqs;
        std::vector<QVariantList> rows;
        {
            QSqlQuery q(server);
            q.setForwardOnly(true);
            const QString below = run == own.end() ? QString() : QStringLiteral(" AND seq < %1").arg(run->first);
            if (!schema::exec(q, QStringLiteral("SELECT seq, %1 FROM %2 WHERE seq > ?%3 ORDER BY seq LIMIT %4")
                                     .arg(t.columns.join(QLatin1Char(',')), table, below)
                                     .arg(kPullBatch),
                              {pulled}))
                return failWith(error, q.lastError().text());
            rows = readRows(q, static_cast<int>(t.columns.size()), &seqs);
        }
        qlonglong reached = rows.empty() ? pulled : seqs.last().toLongLong();
        const bool belowRunDone = static_cast<int>(rows.size()) < kPullBatch;
        if (belowRunDone && run != own.end())
            reached = std::max(reached, run->second);
        if (reached == pulled)
            return added;
        for (QVariantList &row : rows)
            row << 1;
        pulled = reached;
        QString why;
        int inserted = 0;
        QSqlQuery mark(local);
        if (!schema::begin(local) || !schema::insertRows(local, table, localColumns, rows, &why, &inserted)
            || !schema::exec(mark,
                             QStringLiteral("INSERT INTO sync_state (server, table_name, pulled) VALUES (?, ?, ?) "
                                            "ON CONFLICT (server, table_name) DO UPDATE SET pulled = excluded.pulled"),
                             {serverKey, table, pulled})
            || !schema::commit(local)) {
            const QString text = why.isEmpty() ? (mark.lastError().isValid() ? mark.lastError().text()
                                                                              : local.lastError().text())
                                               : why;
            schema::rollback(local);
            return failWith(error, text);
        }
        added += inserted;
    }
}

}  // namespace

SyncReport syncArchive(ArchiveStore &local, ArchiveStore &server, const SyncProgress &progress)
{
    SyncReport report;
    report.reached = server.isOpen();
    if (!local.isOpen() || !server.isOpen()) {
        report.error = local.isOpen() ? server.error() : local.error();
        report.waiting = local.waitingEvents().value_or(0);
        return report;
    }
    QString error;
    bool ok = true;
    // Tunes before the events that name them, both ways.
    std::vector<OwnRuns> own(schema::syncedTables().size());
    for (std::size_t i = 0; i < own.size(); ++i) {
        const schema::SyncedTable &t = schema::syncedTables()[i];
        const auto n = push(local.database(), server.database(), t, progress, &own[i], &error);
        if (!(ok = n.has_value()))
            break;
        if (QLatin1String(t.name) == QLatin1String("events"))
            report.sent = *n;
    }
    for (std::size_t i = 0; ok && i < schema::syncedTables().size(); ++i) {
        const schema::SyncedTable &t = schema::syncedTables()[i];
        const auto n = pull(local.database(), server.database(), server.location(), t, own[i], &error);
        if (!(ok = n.has_value()))
            break;
        if (QLatin1String(t.name) == QLatin1String("events"))
            report.received = *n;
    }
    if (!ok) {
        report.error = error.simplified();
        // A line that died in the middle is a server out of reach, like one never reached.
        if (!server.database().isOpen() || !QSqlQuery(server.database()).exec(QStringLiteral("SELECT 1")))
            report.reached = false;
    }
    report.waiting = local.waitingEvents().value_or(0);
    return report;
}

SyncReport syncWithServer(ArchiveStore &local, const ServerAddress &address, ServerProbe &probe,
                          std::chrono::milliseconds wait, const std::function<bool()> &stop,
                          const SyncProgress &progress)
{
    SyncReport report;
    if (probe.wait(wait, stop) != ServerProbe::Answer::Answered) {
        report.error = archiveText(ArchiveText::ServerUnreachable).arg(address.text(), probe.reason());
        report.waiting = local.waitingEvents().value_or(0);
        return report;
    }
    ArchiveStore server;
    server.setIdentity(local.identity());
    // It answered a moment ago: the client library's own time-out is only for the odd server
    // that stops answering in between.
    if (!server.openServer(address, kServerConnectTimeoutSeconds)) {
        report.answered = true;
        report.error = server.error();
        report.waiting = local.waitingEvents().value_or(0);
        return report;
    }
    report = syncArchive(local, server, progress);
    report.answered = true;
    return report;
}

SyncReport syncWithServer(ArchiveStore &local, const ServerAddress &address, int connectTimeoutSeconds,
                          const SyncProgress &progress)
{
    const std::chrono::seconds patience(connectTimeoutSeconds);
    ServerProbe probe(address, patience);
    return syncWithServer(local, address, probe, patience, {}, progress);
}

}  // namespace vorn
