#include "ArchiveSync.h"

#include "ArchiveSchema.h"
#include "ArchiveTexts.h"

#include <QSqlError>
#include <QSqlQuery>

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

// Sends the unsent rows of one table; the number of rows the server confirmed.
std::optional<int> push(QSqlDatabase local, QSqlDatabase server, const schema::SyncedTable &t,
                        const SyncProgress &progress, QString *error)
{
    const QString table = QLatin1String(t.name);
    int confirmed = 0;
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
        if (rows.empty())
            return confirmed;
        QString why;
        if (!schema::begin(server) || !schema::lockForAppend(server)
            || !schema::insertRows(server, table, t.columns, rows, &why) || !schema::commit(server)) {
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

// Fetches the server's rows beyond what this bench fetched before; the number that were new here.
std::optional<int> pull(QSqlDatabase local, QSqlDatabase server, const QString &serverKey,
                        const schema::SyncedTable &t, QString *error)
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
    for (;;) {
        QStringList seqs;
        std::vector<QVariantList> rows;
        {
            QSqlQuery q(server);
            q.setForwardOnly(true);
            if (!schema::exec(q, QStringLiteral("SELECT seq, %1 FROM %2 WHERE seq > ? ORDER BY seq LIMIT %3")
                                     .arg(t.columns.join(QLatin1Char(',')), table)
                                     .arg(kPullBatch),
                              {pulled}))
                return failWith(error, q.lastError().text());
            rows = readRows(q, static_cast<int>(t.columns.size()), &seqs);
        }
        if (rows.empty())
            return added;
        for (QVariantList &row : rows)
            row << 1;
        pulled = seqs.last().toLongLong();
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
    for (const schema::SyncedTable &t : schema::syncedTables()) {
        const auto n = push(local.database(), server.database(), t, progress, &error);
        if (!(ok = n.has_value()))
            break;
        if (QLatin1String(t.name) == QLatin1String("events"))
            report.sent = *n;
    }
    for (std::size_t i = 0; ok && i < schema::syncedTables().size(); ++i) {
        const schema::SyncedTable &t = schema::syncedTables()[i];
        const auto n = pull(local.database(), server.database(), server.location(), t, &error);
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
