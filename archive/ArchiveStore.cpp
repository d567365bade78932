// Opening an archive database and appending to it.
#include "ArchiveStore.h"

#include "ArchiveSchema.h"
#include "ArchiveSearchText.h"
#include "ArchiveTexts.h"
#include "params/TuneHash.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <atomic>

namespace vorn {

namespace {

std::atomic<int> gConnections{0};

QString utcText(const QDateTime &t) { return t.toUTC().toString(Qt::ISODateWithMs); }

QString newId() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

// A text column is never NULL: an event without identification (a transfer that failed
// before block 0 arrived) keeps empty texts.
QString notNull(const QString &s) { return s.isNull() ? QStringLiteral("") : s; }

}  // namespace

ArchiveStore::ArchiveStore()
    : connection_(QStringLiteral("vorn4-archive-%1").arg(gConnections.fetch_add(1)))
{
}

ArchiveStore::~ArchiveStore() { close(); }

QSqlDatabase ArchiveStore::database() const { return QSqlDatabase::database(connection_, false); }

bool ArchiveStore::isOpen() const
{
    return QSqlDatabase::contains(connection_) && database().isOpen();
}

void ArchiveStore::close()
{
    if (!QSqlDatabase::contains(connection_))
        return;
    database().close();
    QSqlDatabase::removeDatabase(connection_);
}

bool ArchiveStore::fail(const QString &what)
{
    error_ = what;
    return false;
}

// The connection is named and configured; opens it and brings its tables up to date. Every
// handle on the connection is let go before a failure closes it, so nothing stays in use.
bool ArchiveStore::openDatabase()
{
    QString reason;
    {
        QSqlDatabase db = database();
        if (!db.isValid())
            reason = archiveText(ArchiveText::CannotOpen)
                         .arg(location_, QStringLiteral("Qt SQL driver %1 missing").arg(db.driverName()));
        else if (!db.open())
            reason = archiveText(server_ ? ArchiveText::ServerUnreachable : ArchiveText::CannotOpen)
                         .arg(location_, db.lastError().text().simplified());
        else {
            switch (schema::ensure(db, server_, &reason)) {
            case schema::Ensured::Ok:
                reason.clear();
                break;
            case schema::Ensured::NewerVersion:
                reason = archiveText(ArchiveText::NewerSchema).arg(location_);
                break;
            case schema::Ensured::NotArchive:
                reason = archiveText(ArchiveText::CannotOpen).arg(location_, archiveText(ArchiveText::NotAnArchive));
                break;
            case schema::Ensured::Failed:
                reason = archiveText(ArchiveText::CannotOpen).arg(location_, reason.simplified());
                break;
            }
            if (reason.isEmpty() && !server_) {
                QSqlQuery q(db);
                // The journal keeps every committed event through a crash of the program;
                // readers never wait for the writer. A bench's archive is read a few rows at a
                // time and searches scan it once: a small page cache serves as well as
                // SQLite's 2 MB, which the window would otherwise fill over a working day.
                if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.exec(QStringLiteral("PRAGMA synchronous=FULL"))
                    || !q.exec(QStringLiteral("PRAGMA cache_size=-256")))
                    reason = archiveText(ArchiveText::CannotOpen).arg(location_, q.lastError().text());
            }
            // Each of the archive's queries reads a few hundred rows; helper processes cost
            // more to start than they save, and the planner, taking a rare text for a common
            // one, would start them for a frame number.
            if (reason.isEmpty() && server_)
                QSqlQuery(db).exec(QStringLiteral("SET max_parallel_workers_per_gather = 0"));
        }
    }
    if (reason.isEmpty())
        return true;
    close();
    return fail(reason);
}

bool ArchiveStore::openLocal(const QString &path)
{
    close();
    server_ = false;
    location_ = path;
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(path);
        // Another program on this bench (the window beside vorn4-cli) may be writing.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    }
    return openDatabase();
}

bool ArchiveStore::openServer(const ServerAddress &address, int connectTimeoutSeconds)
{
    close();
    server_ = true;
    location_ = address.text();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection_);
        db.setHostName(address.host);
        db.setPort(address.port);
        db.setUserName(address.user);
        db.setDatabaseName(address.database);
        // No password here: the client library takes it from ~/.pgpass or PGPASSWORD. A line
        // that goes dead is noticed within half a minute rather than at the system's default.
        db.setConnectOptions(QStringLiteral("connect_timeout=%1;application_name=vorn4;keepalives_idle=10;"
                                            "keepalives_interval=5;keepalives_count=3")
                                 .arg(std::max(2, connectTimeoutSeconds)));
    }
    return openDatabase();
}

bool ArchiveStore::insertTune(const ParameterImage &image, const QString &timeUtc)
{
    QString why;
    if (!schema::insertRows(database(), QStringLiteral("tunes"), {QStringLiteral("hash"), QStringLiteral("bytes"),
                                                                  QStringLiteral("first_utc")},
                            {{tuneHash(image), tuneBytes(image), timeUtc}}, &why))
        return fail(archiveText(ArchiveText::WriteFailed).arg(why));
    return true;
}

std::optional<QString> ArchiveStore::record(const EventInput &event)
{
    if (!isOpen())
        return std::nullopt;
    const QString id = event.id.isEmpty() ? newId() : event.id;
    const QString time = utcText(event.timeUtc.isValid() ? event.timeUtc : QDateTime::currentDateTimeUtc());
    const QString hash = event.tune ? tuneHash(*event.tune) : QString();
    const UnitTexts unit = event.unit.value_or(UnitTexts{});
    QSqlDatabase db = database();
    if (!schema::begin(db) || !schema::lockForAppend(db)) {
        fail(archiveText(ArchiveText::WriteFailed).arg(db.lastError().text()));
        schema::rollback(db);
        return std::nullopt;
    }
    bool ok = !event.tune || insertTune(*event.tune, time);
    if (ok && event.tune && event.parent && tuneHash(*event.parent) != hash) {
        QString why;
        ok = insertTune(*event.parent, time)
             && (schema::insertRows(db, QStringLiteral("tune_parents"), {QStringLiteral("child"), QStringLiteral("parent")},
                                    {{hash, tuneHash(*event.parent)}}, &why)
                 || fail(archiveText(ArchiveText::WriteFailed).arg(why)));
    }
    if (ok) {
        const QString search = eventSearchText(unit, identity_.bench, identity_.user);
        QString why;
        ok = schema::insertRows(db, QStringLiteral("events"), schema::columnsOf(u"events"),
                                {{id, QString::fromLatin1(eventKindWord(event.kind)), notNull(event.result), time,
                                  notNull(identity_.bench), notNull(identity_.user), notNull(unit.version),
                                  notNull(unit.date), notNull(unit.time), notNull(unit.freeText),
                                  event.programCount ? QVariant(*event.programCount) : QVariant(QMetaType::fromType<int>()),
                                  hash.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(hash), search}},
                                &why)
             || fail(archiveText(ArchiveText::WriteFailed).arg(why));
    }
    if (!ok || !schema::commit(db)) {
        if (ok)
            fail(archiveText(ArchiveText::WriteFailed).arg(db.lastError().text()));
        schema::rollback(db);
        return std::nullopt;
    }
    return id;
}

std::optional<QString> ArchiveStore::addLabel(const LabelInput &label)
{
    if (!isOpen())
        return std::nullopt;
    const QString id = newId();
    QString why;
    QSqlDatabase db = database();
    const QString kind = label.target == LabelInput::Target::Tune ? QStringLiteral("tune") : QStringLiteral("event");
    const QString key = QString::fromLatin1(labelKeyWord(label.key));
    // The newest label of a key is the one that holds, so a label given within the same
    // millisecond as the one it replaces is stamped just after it rather than beside it.
    auto labelTime = [&]() -> std::optional<QDateTime> {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT max(time_utc) FROM labels WHERE target_kind = ? AND target = ? AND label_key = ?"));
        q.addBindValue(kind);
        q.addBindValue(label.targetId);
        q.addBindValue(key);
        if (!q.exec() || !q.next()) {
            why = q.lastError().text();
            return std::nullopt;
        }
        QDateTime now = QDateTime::currentDateTimeUtc();
        const QDateTime latest = QDateTime::fromString(q.value(0).toString(), Qt::ISODateWithMs);
        if (latest.isValid() && now <= latest)
            now = latest.addMSecs(1);
        return now;
    };
    std::optional<QDateTime> when;
    if (!schema::begin(db) || !schema::lockForAppend(db) || !(when = labelTime())
        || !schema::insertRows(db, QStringLiteral("labels"), schema::columnsOf(u"labels"),
                            {{id, kind, label.targetId, key, notNull(label.value),
                              utcText(*when), notNull(identity_.bench),
                              notNull(identity_.user), foldForSearch(label.value)}},
                            &why)
        || !schema::commit(db)) {
        fail(archiveText(ArchiveText::WriteFailed).arg(why.isEmpty() ? db.lastError().text() : why));
        schema::rollback(db);
        return std::nullopt;
    }
    return id;
}

std::optional<int> ArchiveStore::waitingEvents()
{
    if (!isOpen())
        return std::nullopt;
    if (server_)
        return 0;
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM events WHERE sent = 0")) || !q.next()) {
        fail(q.lastError().text());
        return std::nullopt;
    }
    return q.value(0).toInt();
}

}  // namespace vorn
