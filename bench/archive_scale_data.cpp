#include "archive_scale_data.h"

#include "archive/ArchiveRecords.h"
#include "archive/ArchiveSchema.h"
#include "archive/ArchiveSearchText.h"
#include "params/TuneHash.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace scale {

using namespace vorn;

const char *const kBikes[8] = {"Ducati 900 SS", "Jawa 350",      "Čezeta 502",  "MZ ETZ 251",
                               "BMW R 100",     "Moto Guzzi V7", "Laverda 750", "Triumph T140"};

namespace {

const char *const kFirst[] = {"Jan", "Jiří", "Petr", "Zuzana", "Jürgen", "Günter", "Ingrid", "François", "Élodie",
                              "Hélène", "Søren", "Łukasz", "Anna", "Klaus", "Renée", "Tomáš"};
const char *const kSyllables[] = {"no", "vák", "mül", "ler", "dvo", "řák", "bé", "ran", "ger", "schnei", "der",
                                  "lu", "kas", "hof", "ma", "ček", "žák", "straß", "el", "fon", "tai", "ne",
                                  "cœur", "ber", "gé", "kra", "li", "čka", "wa", "gner", "ro", "sé"};
const QDateTime kStart(QDate(2022, 1, 1), QTime(7, 0), Qt::UTC);
constexpr qint64 kSpan = 3LL * 365 * 86400;   // three years of events

// What QDateTime::toString(Qt::ISODateWithMs) writes for a UTC time of whole seconds, without
// building a QDateTime for each of ten million rows.
QString utcText(qint64 secondsSinceStart)
{
    const qint64 s = kStart.toSecsSinceEpoch() + secondsSinceStart;
    const QDate day = QDate(1970, 1, 1).addDays(s / 86400);
    const int t = static_cast<int>(s % 86400);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.000Z", day.year(), day.month(), day.day(), t / 3600,
                  t / 60 % 60, t % 60);
    return QString::fromLatin1(text);
}

// A second connection on a thread of its own, running statements in order while the first
// does other work: the server loads one chunk while the next one is made, and builds one
// index while the first connection builds another.
class Worker {
public:
    explicit Worker(const QString &connection) : thread_([this, connection] { run(connection); }) {}
    ~Worker() { finish(); }
    // Queued; waits while two are waiting already. `removeAfter` is a file to delete once run.
    void post(const QString &sql, const QString &removeAfter = QString())
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return jobs_.size() < 2; });
        jobs_.push_back({sql, removeAfter});
        changed_.notify_all();
    }
    // Waits until every statement ran; false (said on stderr) when one failed.
    bool wait()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return jobs_.empty() && !busy_; });
        return error_.isEmpty();
    }
    bool finish()
    {
        const bool ok = wait();
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
            changed_.notify_all();
        }
        if (thread_.joinable())
            thread_.join();
        return ok;
    }

private:
    struct Job {
        QString sql, removeAfter;
    };
    void run(const QString &connection)
    {
        const QString name = connection + QStringLiteral("-worker");
        {
            QSqlDatabase db = QSqlDatabase::cloneDatabase(connection, name);
            const bool open = db.open();
            QSqlQuery q(db);
            q.exec(QStringLiteral("SET synchronous_commit = off"));
            q.exec(QStringLiteral("SET maintenance_work_mem = '1GB'"));
            for (;;) {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return !jobs_.empty() || closing_; });
                if (jobs_.empty())
                    break;
                const Job job = jobs_.front();
                busy_ = true;
                lock.unlock();
                const bool ok = open && error_.isEmpty() && q.exec(job.sql);
                if (!job.removeAfter.isEmpty())
                    QFile::remove(job.removeAfter);
                lock.lock();
                if (!ok && error_.isEmpty()) {
                    error_ = job.sql.left(80) + QStringLiteral(": ") + (open ? q.lastError().text() : db.lastError().text());
                    std::fprintf(stderr, "%s\n", qPrintable(error_));
                }
                jobs_.pop_front();
                busy_ = false;
                changed_.notify_all();
            }
        }
        QSqlDatabase::removeDatabase(name);
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    bool busy_ = false, closing_ = false;
    QString error_;
    std::thread thread_;
};

// One table's rows in chunks: appended through transactions of many-row INSERTs on the file;
// on the server written to a CSV file that the worker's COPY reads while the next chunk is made.
class Loader {
public:
    Loader(QSqlDatabase db, QString dir, Worker *worker) : db_(db), dir_(std::move(dir)), worker_(worker) {}
    bool add(const QString &table, QVariantList row)
    {
        Chunk &chunk = chunks_[table];
        ++chunk.rows;
        if (worker_)
            appendCsv(chunk.csv, row);
        else
            chunk.list.push_back(std::move(row));
        return chunk.rows < (worker_ ? 200000 : 20000) || flush(table);
    }
    bool flush(const QString &table)
    {
        Chunk &chunk = chunks_[table];
        if (chunk.rows == 0)
            return true;
        chunk.rows = 0;
        if (worker_) {
            const QString path = dir_ + QStringLiteral("/rows-%1.csv").arg(++files_);
            QFile csv(path);
            if (!csv.open(QIODevice::WriteOnly) || csv.write(chunk.csv) != chunk.csv.size()) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(csv.errorString()));
                return false;
            }
            csv.close();
            csv.setPermissions(csv.permissions() | QFile::ReadOther);
            chunk.csv.clear();
            worker_->post(QStringLiteral("COPY %1 (%2) FROM '%3' WITH (FORMAT csv)")
                              .arg(table, schema::columnsOf(table).join(QLatin1Char(',')), path),
                          path);
            return true;
        }
        QString error;
        const bool ok = schema::begin(db_, &error)
                        && schema::insertRows(db_, table, schema::columnsOf(table), chunk.list, &error)
                        && schema::commit(db_);
        if (!ok)
            std::fprintf(stderr, "loading %s: %s\n", qPrintable(table), qPrintable(error + db_.lastError().text()));
        chunk.list.clear();
        return ok;
    }

private:
    struct Chunk {
        int rows = 0;
        std::vector<QVariantList> list;
        QByteArray csv;
    };
    static void appendCsv(QByteArray &csv, const QVariantList &row)
    {
        for (qsizetype i = 0; i < row.size(); ++i) {
            const QVariant &v = row[i];
            if (i)
                csv += ',';
            if (v.isNull())
                continue;
            if (v.typeId() == QMetaType::QByteArray) {
                csv += "\\x" + v.toByteArray().toHex();
            } else if (v.typeId() == QMetaType::Int) {
                csv += QByteArray::number(v.toInt());
            } else {
                csv += '"';
                csv += v.toString().toUtf8().replace('"', "\"\"");
                csv += '"';
            }
        }
        csv += '\n';
    }

    QSqlDatabase db_;
    QString dir_;
    Worker *worker_;
    int files_ = 0;
    std::map<QString, Chunk> chunks_;
};

// What the generator makes again and again, made once: the tunes' hashes, the units' texts and
// the folded part of an event's search text they give, the customers' names.
struct Made {
    std::vector<QString> hashes, unitTexts, unitSearch, customers;
    explicit Made(const Generator &g)
    {
        hashes.reserve(g.tunes);
        for (int t = 0; t < g.tunes; ++t)
            hashes.push_back(g.hash(t));
        for (int u = 0; u < g.units(); ++u) {
            unitTexts.push_back(g.unitText(u));
            // Folding goes letter by letter, so the search text's lines fold one by one.
            unitSearch.push_back(eventSearchText({QStringLiteral("VRN04"), QStringLiteral(" 7. 8.2005"),
                                                  QStringLiteral("09:05"), unitTexts.back()},
                                                 QString(), QString())
                                     .chopped(2));
        }
        for (int c = 0; c < g.customers(); ++c)
            customers.push_back(g.customer(c));
    }
};

// The server takes its rows with no index but the sequence's and builds the others once
// after the rows, two at a time, instead of row by row. Each definition the program made is
// kept, dropped and made again; a unique constraint gets its index first and is then put
// back on that index. The CREATE INDEX statements of the server's indexes.
struct ServerIndexes {
    QStringList gin, others, constraints;
};

std::optional<ServerIndexes> dropIndexes(QSqlDatabase db)
{
    QSqlQuery q(db);
    ServerIndexes kept;
    QStringList drops;
    if (!q.exec(QStringLiteral("SELECT indexname, indexdef FROM pg_indexes WHERE schemaname = 'public' AND indexname "
                               "NOT IN (SELECT conname FROM pg_constraint)")))
        return std::nullopt;
    while (q.next()) {
        (q.value(1).toString().contains(QLatin1String("USING gin")) ? kept.gin : kept.others) << q.value(1).toString();
        drops << QStringLiteral("DROP INDEX %1").arg(q.value(0).toString());
    }
    if (!q.exec(QStringLiteral("SELECT conname, conrelid::regclass, pg_get_indexdef(conindid) FROM pg_constraint "
                               "WHERE contype = 'u' AND connamespace = 'public'::regnamespace")))
        return std::nullopt;
    while (q.next()) {
        kept.others << q.value(2).toString();
        drops << QStringLiteral("ALTER TABLE %1 DROP CONSTRAINT %2").arg(q.value(1).toString(), q.value(0).toString());
        kept.constraints << QStringLiteral("ALTER TABLE %1 ADD CONSTRAINT %2 UNIQUE USING INDEX %2")
                                .arg(q.value(1).toString(), q.value(0).toString());
    }
    for (const QString &sql : drops)
        if (!q.exec(sql))
            return std::nullopt;
    return kept;
}

bool run(QSqlQuery &q, const QString &sql)
{
    if (q.exec(sql))
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(sql.left(80)), qPrintable(q.lastError().text()));
    return false;
}

}  // namespace

QString Generator::unitText(int u) const
{
    QRandomGenerator r(seed ^ (0x9e3779b9u * static_cast<quint32>(u + 1)));
    QString frame;
    for (int i = 0; i < 9; ++i)
        frame += QLatin1Char("ABCDEFGHJKLMNPRSTUVWXYZ0123456789"[r.bounded(33)]);
    return QStringLiteral("%1 %2").arg(QString::fromUtf8(kBikes[u % std::size(kBikes)]), frame).left(30);
}

QString Generator::customer(int c) const
{
    QRandomGenerator r(seed ^ (0x85ebca6bu * static_cast<quint32>(c + 1)));
    QString surname;
    for (int i = 0; i < 3; ++i)
        surname += QString::fromUtf8(kSyllables[r.bounded(static_cast<int>(std::size(kSyllables)))]);
    surname[0] = surname[0].toUpper();
    return QString::fromUtf8(kFirst[r.bounded(static_cast<int>(std::size(kFirst)))]) + QLatin1Char(' ') + surname
           + QStringLiteral(" %1").arg(c % 97);
}

QByteArray Generator::bytes(int t) const
{
    QRandomGenerator r(seed + static_cast<quint32>(t) * 2654435761u);
    QByteArray b(kTuneSize, Qt::Uninitialized);
    for (char &c : b)
        c = static_cast<char>(r.bounded(256));
    return b;
}

QString Generator::hash(int t) const { return tuneHash(*imageFromTuneBytes(bytes(t))); }

bool fill(QSqlDatabase db, const Generator &g, const QString &dir)
{
    const bool server = !schema::isSqlite(db);
    QElapsedTimer stage;
    stage.start();
    QSqlQuery q(db);
    std::optional<ServerIndexes> indexes;
    std::unique_ptr<Worker> worker;
    if (server) {
        // The bench's own server: what a crash would lose is made again.
        q.exec(QStringLiteral("ALTER SYSTEM SET max_wal_size = '16GB'"));
        q.exec(QStringLiteral("ALTER SYSTEM SET full_page_writes = off"));
        q.exec(QStringLiteral("SELECT pg_reload_conf()"));
        q.exec(QStringLiteral("SET synchronous_commit = off"));
        q.exec(QStringLiteral("SET maintenance_work_mem = '1GB'"));
        if (!(indexes = dropIndexes(db))) {
            std::fprintf(stderr, "dropping the indexes: %s\n", qPrintable(q.lastError().text()));
            return false;
        }
        worker = std::make_unique<Worker>(db.connectionName());
    } else {
        // The file is written as fast as it goes, then read with the program's own settings.
        q.exec(QStringLiteral("PRAGMA journal_mode=OFF")), q.exec(QStringLiteral("PRAGMA synchronous=OFF")),
            q.exec(QStringLiteral("PRAGMA cache_size=-262144"));
    }
    const Made made(g);
    Loader load(db, dir, worker.get());
    const QString bench1 = QStringLiteral("bench 1");
    for (int t = 0; t < g.tunes; ++t) {
        const QString &hash = made.hashes[t];
        const QString time = utcText(60LL * t);
        const QString &customer = made.customers[t % g.customers()];
        bool ok = load.add(QStringLiteral("tunes"), {hash, g.bytes(t), time})
                  && load.add(QStringLiteral("labels"), {g.id('c', t), QStringLiteral("tune"), hash,
                                                         QStringLiteral("customer"), customer, time, bench1,
                                                         QStringLiteral("tuner"), foldForSearch(customer)});
        if (t >= g.units())
            ok = ok && load.add(QStringLiteral("tune_parents"), {hash, made.hashes[t - g.units()]});
        if (!ok)
            return false;
    }
    // Who, with the folded line each adds to the search text.
    std::vector<std::pair<QString, QString>> benches, users;
    for (int b = 1; b <= kBenches; ++b)
        benches.emplace_back(QStringLiteral("bench %1").arg(b), QStringLiteral("bench %1").arg(b));
    for (const char *name : kFirst)
        users.emplace_back(QString::fromUtf8(name), foldForSearch(QString::fromUtf8(name)));
    const QString read = QStringLiteral("read"), program = QStringLiteral("program");
    for (int e = 0; e < g.events; ++e) {
        QRandomGenerator r(g.seed * 31u + static_cast<quint32>(e));
        const int unit = r.bounded(g.units());
        const int perUnit = std::max(1, g.tunes / g.units());
        const int tune = std::min(g.tunes - 1, unit + g.units() * r.bounded(perUnit));
        const auto &[bench, benchSearch] = benches[r.bounded(kBenches)];
        const auto &[user, userSearch] = users[r.bounded(static_cast<int>(users.size()))];
        if (!load.add(QStringLiteral("events"),
                      {g.id('e', e), r.bounded(3) ? read : program, kResultOk, utcText(kSpan * e / g.events),
                       bench, user, QStringLiteral("VRN04"), QStringLiteral(" 7. 8.2005"), QStringLiteral("09:05"),
                       made.unitTexts[unit], e % 5000, made.hashes[tune],
                       made.unitSearch[unit] + QLatin1Char('\n') + benchSearch + QLatin1Char('\n') + userSearch}))
            return false;
    }
    for (const char *table : {"tunes", "labels", "tune_parents", "events"})
        if (!load.flush(QLatin1String(table)))
            return false;
    if (server) {
        if (!worker->wait())
            return false;
        std::fprintf(stderr, "rows loaded: %.1f s; ", stage.restart() / 1000.0);
        for (const QString &index : indexes->gin)
            worker->post(index);
        for (const QString &index : indexes->others)
            if (!run(q, index))
                return false;
        if (!worker->finish())
            return false;
        for (const QString &constraint : indexes->constraints)
            if (!run(q, constraint))
                return false;
        std::fprintf(stderr, "indexes: %.1f s; ", stage.restart() / 1000.0);
        // A server that has run a while has vacuumed its tables: their pages are marked
        // all-visible, which its index-only and bitmap scans count on.
        const bool vacuumed = run(q, QStringLiteral("VACUUM ANALYZE")) && run(q, QStringLiteral("CHECKPOINT"));
        std::fprintf(stderr, "vacuum: %.1f s\n", stage.elapsed() / 1000.0);
        return vacuumed;
    }
    q.exec(QStringLiteral("PRAGMA journal_mode=WAL")), q.exec(QStringLiteral("PRAGMA synchronous=FULL")),
        q.exec(QStringLiteral("PRAGMA cache_size=-256"));
    return run(q, QStringLiteral("ANALYZE"));
}

}  // namespace scale
