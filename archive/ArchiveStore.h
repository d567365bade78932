// One archive database, the bench's SQLite file or the shared PostgreSQL server: its tables,
// appending events, tunes and labels, and the queries the window and vorn4-cli ask.
#pragma once

#include "ArchiveConfig.h"
#include "ArchiveRecords.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorn {

// Not thread-safe: one store per thread, as a database connection belongs to the thread
// that opened it. Every failure leaves error() saying why.
class ArchiveStore {
public:
    ArchiveStore();
    ~ArchiveStore();
    ArchiveStore(const ArchiveStore &) = delete;
    ArchiveStore &operator=(const ArchiveStore &) = delete;

    // The bench's own file, created with its tables when missing (write-ahead journal).
    bool openLocal(const QString &path);
    // The shared server; its tables are created or upgraded when needed. Gives up after
    // connectTimeoutSeconds when the server does not answer.
    bool openServer(const ServerAddress &address, int connectTimeoutSeconds = 3);
    void close();
    bool isOpen() const;
    bool isServer() const { return server_; }
    // The file or the server address, for messages.
    const QString &location() const { return location_; }
    const QString &error() const { return error_; }

    // Who the events and labels appended here are by.
    void setIdentity(const ArchiveIdentity &identity) { identity_ = identity; }
    const ArchiveIdentity &identity() const { return identity_; }

    // Appends the event with its tune and the tune's parent in one transaction; the event's
    // id, or nothing on failure.
    std::optional<QString> record(const EventInput &event);
    std::optional<QString> addLabel(const LabelInput &label);

    // Events and tunes whose current labels, identification, free text, bench or user
    // contain `text` (case and accents aside: foldForSearch), events of a day when it is a
    // date (2026-11-02, 2.11.2026), tunes whose hash starts with it when it is
    // kHashPrefixMin or more hex digits. Newest first, at most `limit` events.
    std::optional<FindResult> find(const QString &text, int limit = 200);
    // find() reads every row instead of asking the text indexes: the answers the indexes
    // must give, for the tests and the bench.
    void setSearchByScan(bool scan) { scan_ = scan; }
    std::optional<TuneHistory> history(const QString &hash);
    // What is known of a tune a unit holds, asked by `asker`; the event ignoreEventId (the
    // Read that just found the tune) does not count.
    std::optional<TuneStatus> status(const QString &hash, const ArchiveIdentity &asker,
                                     const QString &ignoreEventId = QString());
    // The tune's bytes as an image (block 0 and the reserved byte zero); nothing with an
    // empty error() when it is not there.
    std::optional<ParameterImage> tune(const QString &hash);
    // Stored tunes whose hash starts with `prefix`, at most `limit`.
    std::optional<QStringList> tunesStartingWith(const QString &prefix, int limit = 2);
    // Events appended here that the server has not confirmed (a local file only).
    std::optional<int> waitingEvents();

    // For the sync, which moves rows between two stores.
    QSqlDatabase database() const;

private:
    bool openDatabase();
    bool fail(const QString &what);
    bool insertTune(const ParameterImage &image, const QString &timeUtc);
    // The events of `from` (the table, or a subquery of its rows) that pass `where`.
    std::optional<std::vector<ArchiveEvent>> events(const QString &where, const QVariantList &binds,
                                                    const QString &tail = QString(),
                                                    const QString &from = QStringLiteral("events"));
    bool attachLabels(std::vector<ArchiveEvent> &events);
    std::optional<std::vector<TuneNode>> walk(const QString &hash, bool up, int maxNodes = 1000);

    QString connection_;
    QString location_;
    QString error_;
    ArchiveIdentity identity_;
    bool server_ = false;
    bool scan_ = false;
};

// Current labels of tunes or events: the newest label of each key wins.
std::optional<std::map<QString, LabelValues>> currentLabels(QSqlDatabase db, LabelInput::Target target,
                                                           const QStringList &ids, QString *error);

}  // namespace vorn
