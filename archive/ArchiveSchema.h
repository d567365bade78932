// The archive's tables, the same on the bench's SQLite file and on the server, created and
// upgraded by the program, and the small SQL helpers both dialects share.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

namespace vorn::schema {

// The version of the tables this program writes; a database of a later one is left alone.
constexpr int kVersion = 3;

// Creates or upgrades the tables in one transaction. A local file also gets the marks of
// what the server has confirmed and how far the server's rows have been fetched.
// NewerVersion when a later program made the database; NotArchive when a local file is not
// a database, or is one with tables of something else.
enum class Ensured { Ok, Failed, NewerVersion, NotArchive };
Ensured ensure(QSqlDatabase db, bool server, QString *error);

// The tables the sync moves, with the columns it moves (the local 'sent' mark and each
// database's own 'seq' stay behind) and the unique key that makes a second copy a no-op.
struct SyncedTable {
    const char *name;
    QStringList columns;
    QString key;
};
const std::vector<SyncedTable> &syncedTables();
// The moved columns of one of them.
const QStringList &columnsOf(QStringView table);

// Transactions that write: SQLite takes its write lock at once, so two writers wait for
// each other instead of one failing when it upgrades a read.
bool begin(QSqlDatabase db, QString *error = nullptr);
bool commit(QSqlDatabase db);
void rollback(QSqlDatabase db);

// On the server, every transaction that appends takes this lock first, so rows become
// visible in the order of their 'seq': a bench that fetched everything up to some seq never
// later finds a smaller one appearing (which a mere sequence would allow when two
// transactions commit out of order). Nothing on a local file.
bool lockForAppend(QSqlDatabase db);

// Runs a statement with positional values; false (query.lastError()) on failure.
bool exec(QSqlQuery &query, const QString &sql, const QVariantList &binds = {});
bool isSqlite(const QSqlDatabase &db);

// INSERT ... ON CONFLICT DO NOTHING of rows (each one value per column), in statements of
// many rows each, so that a server a network away sees few round trips. With `seqs`, the
// 'seq' the database gave each row it took (a row it already had gives none).
bool insertRows(QSqlDatabase db, const QString &table, const QStringList &columns,
                const std::vector<QVariantList> &rows, QString *error, int *inserted = nullptr,
                std::vector<qlonglong> *seqs = nullptr);

}  // namespace vorn::schema
