#include "ArchiveSchema.h"

#include "ArchiveSearchText.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace vorn::schema {

namespace {

bool refoldSearchTexts(QSqlDatabase db, QString *error);

// Step n brings a database of version n - 1 to version n: its statements ("{LOCAL}" marks one
// only the bench's own file runs), then its rewrite of rows, when it has one.
struct Step {
    std::vector<const char *> statements;
    bool (*rewrite)(QSqlDatabase, QString *) = nullptr;
};
const std::vector<Step> kSteps = {
    {{
        "CREATE TABLE tunes (seq {SEQ}, hash TEXT NOT NULL UNIQUE, bytes {BLOB} NOT NULL, "
        "first_utc TEXT NOT NULL{SENT})",
        "CREATE TABLE tune_parents (seq {SEQ}, child TEXT NOT NULL, parent TEXT NOT NULL{SENT}, "
        "UNIQUE (child, parent))",
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
        "{LOCAL}CREATE INDEX tunes_unsent ON tunes (seq) WHERE sent = 0",
        "{LOCAL}CREATE INDEX tune_parents_unsent ON tune_parents (seq) WHERE sent = 0",
        "{LOCAL}CREATE INDEX events_unsent ON events (seq) WHERE sent = 0",
        "{LOCAL}CREATE INDEX labels_unsent ON labels (seq) WHERE sent = 0",
        "{LOCAL}CREATE TABLE sync_state (server TEXT NOT NULL, table_name TEXT NOT NULL, "
        "pulled INTEGER NOT NULL, PRIMARY KEY (server, table_name))",
    }},
    // Searches leave accents out as well as case.
    {{}, refoldSearchTexts},
    // A search looks its text up in an index of the search texts' trigrams instead of reading
    // every event: a substring of three letters or more is a run of trigrams. The server has
    // them from pg_trgm (part of the server package), the bench's file from FTS5, whose
    // tables follow the rows through triggers (the sent mark does not touch them).
    {{
        "{SERVER}CREATE EXTENSION IF NOT EXISTS pg_trgm",
        "{SERVER}CREATE INDEX IF NOT EXISTS events_search ON events USING gin (search gin_trgm_ops)",
        "{SERVER}CREATE INDEX IF NOT EXISTS labels_search ON labels USING gin (search gin_trgm_ops)",
        "{LOCAL}{TEXTS events}",
        "{LOCAL}{TEXTS labels}",
    }},
};
static_assert(kVersion == 3, "one step per version");

// The FTS5 table of one table's search texts, its triggers, and its first filling. Like the
// server's indexes, each is made only when missing: a database marked with an earlier version
// may have them already (a program of this version that a later one handed back to).
QStringList localTextIndex(const QString &table)
{
    const QString t = table + QStringLiteral("_text");
    QStringList statements = {
        QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS %2 USING fts5(search, content='%1', content_rowid='seq', "
                       "tokenize='trigram case_sensitive 1')"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %2_insert AFTER INSERT ON %1 BEGIN "
                       "INSERT INTO %2 (rowid, search) VALUES (new.seq, new.search); END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %2_delete AFTER DELETE ON %1 BEGIN "
                       "INSERT INTO %2 (%2, rowid, search) VALUES ('delete', old.seq, old.search); END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %2_update AFTER UPDATE OF search ON %1 BEGIN "
                       "INSERT INTO %2 (%2, rowid, search) VALUES ('delete', old.seq, old.search); "
                       "INSERT INTO %2 (rowid, search) VALUES (new.seq, new.search); END"),
        QStringLiteral("INSERT INTO %2 (%2) VALUES ('rebuild')"),
    };
    for (QString &sql : statements)
        sql = sql.contains(QStringLiteral("%1")) ? sql.arg(table, t) : sql.arg(t);
    return statements;
}

// Every bench may create the server's tables at the same moment; this lock lets one do it.
constexpr const char *kSchemaLock = "SELECT pg_advisory_xact_lock(7342001)";

QString dialect(QString sql, bool server)
{
    sql.replace(QStringLiteral("{SEQ}"), server ? QStringLiteral("BIGSERIAL PRIMARY KEY")
                                                : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
    sql.replace(QStringLiteral("{BLOB}"), server ? QStringLiteral("BYTEA") : QStringLiteral("BLOB"));
    sql.replace(QStringLiteral("{SENT}"), server ? QString() : QStringLiteral(", sent INTEGER NOT NULL DEFAULT 0"));
    return sql;
}

// The search texts the first version stored were lower case only: each is made again from
// the columns it came from, and the rows whose text changes are written in statements of
// many rows each.
bool refoldSearchTexts(QSqlDatabase db, QString *error)
{
    struct Source {
        const char *table;
        const char *columns;   // after the id
        QString (*derive)(const QSqlQuery &q);
    };
    static const Source kSources[] = {
        {"events", "unit_version, unit_date, unit_time, free_text, bench, user_name",
         [](const QSqlQuery &q) {
             return eventSearchText({q.value(2).toString(), q.value(3).toString(), q.value(4).toString(),
                                     q.value(5).toString()},
                                    q.value(6).toString(), q.value(7).toString());
         }},
        {"labels", "label_value", [](const QSqlQuery &q) { return foldForSearch(q.value(2).toString()); }},
    };
    constexpr int kRowsPerStatement = 500;
    for (const Source &source : kSources) {
        std::vector<std::pair<QString, QString>> changed;   // id, new text
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT id, search, %1 FROM %2").arg(QLatin1String(source.columns),
                                                                         QLatin1String(source.table)))) {
            *error = q.lastError().text();
            return false;
        }
        while (q.next())
            if (QString folded = source.derive(q); folded != q.value(1).toString())
                changed.emplace_back(q.value(0).toString(), std::move(folded));
        q.finish();
        for (std::size_t from = 0; from < changed.size(); from += kRowsPerStatement) {
            const std::size_t n = std::min<std::size_t>(kRowsPerStatement, changed.size() - from);
            QVariantList binds;
            for (std::size_t i = from; i < from + n; ++i)
                binds << changed[i].first << changed[i].second;
            // Both dialects name the columns of a VALUES list column1, column2.
            const QString sql = QStringLiteral("UPDATE %1 SET search = v.column2 FROM (VALUES %2) AS v WHERE %1.id = v.column1")
                                    .arg(QLatin1String(source.table),
                                         QStringList(static_cast<int>(n), QStringLiteral("(?, ?)")).join(QLatin1Char(',')));
            if (!exec(q, sql, binds)) {
                *error = q.lastError().text();
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool isSqlite(const QSqlDatabase &db) { return db.driverName() == QLatin1String("QSQLITE"); }

bool exec(QSqlQuery &query, const QString &sql, const QVariantList &binds)
{
    if (binds.isEmpty())
        return query.exec(sql);
    // On the server a prepared statement costs three round trips (prepare, execute, free)
    // where a statement with its values written in costs one, which a query of a few rows
    // feels; the driver writes the values as the server reads them.
    if (const QSqlDriver *driver = query.driver(); driver && driver->dbmsType() == QSqlDriver::PostgreSQL) {
        const QStringList parts = sql.split(QLatin1Char('?'));
        if (parts.size() == binds.size() + 1) {
            QString written = parts.first();
            for (qsizetype i = 0; i < binds.size(); ++i) {
                QSqlField field(QString(), binds[i].metaType());
                field.setValue(binds[i]);
                written += driver->formatValue(field) + parts[i + 1];
            }
            return query.exec(written);
        }
    }
    if (!query.prepare(sql))
        return false;
    for (const QVariant &v : binds)
        query.addBindValue(v);
    return query.exec();
}

bool lockForAppend(QSqlDatabase db)
{
    if (isSqlite(db))
        return true;
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(7342002)"));
}

bool begin(QSqlDatabase db, QString *error)
{
    QSqlQuery q(db);
    if (q.exec(isSqlite(db) ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN")))
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

bool commit(QSqlDatabase db)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("COMMIT"));
}

void rollback(QSqlDatabase db)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("ROLLBACK"));
}

Ensured ensure(QSqlDatabase db, bool server, QString *error)
{
    QSqlQuery q(db);
    auto failed = [&] {
        *error = q.lastError().text();
        rollback(db);
        return Ensured::Failed;
    };
    // The server's notices ("already exists, skipping") are no business of a tuner's terminal.
    if (!isSqlite(db))
        q.exec(QStringLiteral("SET client_min_messages TO warning"));
    if (!server) {
        // Another kind of file, or another program's database, is left as it is.
        if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
            constexpr int kSqliteNotADatabase = 26;
            if (q.lastError().nativeErrorCode() == QString::number(kSqliteNotADatabase))
                return Ensured::NotArchive;
            return failed();
        }
        bool tables = false, ours = false;
        while (q.next()) {
            tables = true;
            ours = ours || q.value(0).toString() == QLatin1String("schema_version");
        }
        if (tables && !ours)
            return Ensured::NotArchive;
    }
    if (!begin(db, error))
        return Ensured::Failed;
    if (server && !q.exec(QString::fromLatin1(kSchemaLock)))
        return failed();
    if (!q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"))
        || !q.exec(QStringLiteral("SELECT max(version) FROM schema_version")) || !q.next())
        return failed();
    const int version = q.value(0).toInt();
    q.finish();
    if (version > kVersion) {
        rollback(db);
        return Ensured::NewerVersion;
    }
    if (version == kVersion) {
        rollback(db);   // nothing was written
        return Ensured::Ok;
    }
    for (std::size_t step = static_cast<std::size_t>(version); step < kSteps.size(); ++step) {
        for (const char *statement : kSteps[step].statements) {
            QString sql = QString::fromLatin1(statement);
            for (const auto &[mark, only] : {std::pair{QStringLiteral("{LOCAL}"), false}, std::pair{QStringLiteral("{SERVER}"), true}})
                if (sql.startsWith(mark)) {
                    if (server != only)
                        sql.clear();
                    sql.remove(0, mark.size());
                }
            QStringList statements{sql};
            if (sql.startsWith(QStringLiteral("{TEXTS ")))
                statements = localTextIndex(sql.mid(7, sql.size() - 8));
            for (const QString &one : statements)
                if (!one.isEmpty() && !q.exec(dialect(one, server)))
                    return failed();
        }
        if (kSteps[step].rewrite && !kSteps[step].rewrite(db, error)) {
            rollback(db);
            return Ensured::Failed;
        }
    }
    if (!q.exec(QStringLiteral("DELETE FROM schema_version"))
        || !exec(q, QStringLiteral("INSERT INTO schema_version (version) VALUES (?)"), {kVersion}))
        return failed();
    if (!commit(db))
        return failed();
    return Ensured::Ok;
}

const std::vector<SyncedTable> &syncedTables()
{
    static const std::vector<SyncedTable> tables = {
        {"tunes", {"hash", "bytes", "first_utc"}, "hash"},
        {"tune_parents", {"child", "parent"}, "child, parent"},
        {"events",
         {"id", "kind", "result", "time_utc", "bench", "user_name", "unit_version", "unit_date", "unit_time",
          "free_text", "program_count", "tune_hash", "search"},
         "id"},
        {"labels",
         {"id", "target_kind", "target", "label_key", "label_value", "time_utc", "bench", "user_name", "search"},
         "id"},
    };
    return tables;
}

const QStringList &columnsOf(QStringView table)
{
    for (const SyncedTable &t : syncedTables())
        if (table == QLatin1String(t.name))
            return t.columns;
    Q_UNREACHABLE();
}

bool insertRows(QSqlDatabase db, const QString &table, const QStringList &columns,
                const std::vector<QVariantList> &rows, QString *error, int *inserted, std::vector<qlonglong> *seqs)
{
    if (inserted)
        *inserted = 0;
    // Well under either dialect's limit of values in one statement.
    const std::size_t perStatement = std::max<std::size_t>(1, 2000 / static_cast<std::size_t>(columns.size()));
    const QString one = QLatin1Char('(') + QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(','))
                        + QLatin1Char(')');
    QSqlQuery q(db);
    for (std::size_t from = 0; from < rows.size(); from += perStatement) {
        const std::size_t n = std::min(perStatement, rows.size() - from);
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES %3 ON CONFLICT DO NOTHING%4")
                                .arg(table, columns.join(QLatin1Char(',')),
                                     QStringList(static_cast<int>(n), one).join(QLatin1Char(',')),
                                     seqs ? QStringLiteral(" RETURNING seq") : QString());
        if (!q.prepare(sql)) {
            *error = q.lastError().text();
            return false;
        }
        for (std::size_t r = from; r < from + n; ++r)
            for (const QVariant &v : rows[r])
                q.addBindValue(v);
        if (!q.exec()) {
            *error = q.lastError().text();
            return false;
        }
        if (inserted)
            *inserted += std::max(0, q.numRowsAffected());
        while (seqs && q.next())
            seqs->push_back(q.value(0).toLongLong());
    }
    return true;
}

}  // namespace vorn::schema
