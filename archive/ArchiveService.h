// The archive for a program with an event loop (the window): every call returns at once;
// the bench's file is written on a worker thread and the server is synced on another, so
// neither a slow disk nor a server out of reach ever holds up the caller.
#pragma once

#include "ArchiveConfig.h"
#include "ArchiveRecords.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class QThread;

namespace vorn {

class ArchiveStore;

struct ArchiveState {
    bool serverSet = false;
    // The last attempt to reach the server failed; events wait here until it answers.
    bool waitingForServer = false;
    int waiting = 0;   // events the server has not confirmed
    bool operator==(const ArchiveState &) const = default;
};

// The status-bar text of a state: "archive server not reachable; kept here, 3 events waiting"
// while the server is out of reach, else empty.
QString archiveStateText(const ArchiveState &state, int language);

class ArchiveService : public QObject {
    Q_OBJECT
public:
    // Nothing is opened here: the bench's file on the first call that needs it, the server
    // on start().
    explicit ArchiveService(const ArchiveConfig &config, QObject *parent = nullptr,
                            std::chrono::milliseconds retryInterval = std::chrono::minutes(1));
    // Writes everything recorded so far, then stops the threads; a sync under way is left
    // to finish its batch, a sync not yet begun is dropped (the next start sends it).
    ~ArchiveService() override;

    const ArchiveConfig &config() const { return config_; }
    ArchiveState state() const { return state_; }

    // Syncs once when a server is set, and once a minute while it cannot be reached.
    void start();
    // Appends the event (with its tune and parent) and syncs after it. Returns the event's
    // id at once, so the caller can ask lookUp() to leave that event out.
    QString record(EventInput event);
    void addLabel(const LabelInput &label);
    void syncNow();

    // Questions answered on the worker; `done` runs on this object's thread, with nothing
    // when the archive failed (said once through failed()). Dropped with the service.
    void lookUp(const QString &hash, const QString &ignoreEventId,
                std::function<void(std::optional<TuneStatus>)> done);
    void find(const QString &text, std::function<void(std::optional<FindResult>)> done);
    void history(const QString &hash, std::function<void(std::optional<TuneHistory>)> done);
    void tune(const QString &hash, std::function<void(std::optional<ParameterImage>)> done);

signals:
    void stateChanged(const vorn::ArchiveState &state);
    // A failure of the bench's file (`server` false) or of the server, in the archive
    // language; each kind is said once until the archive works again.
    void failed(const QString &message, bool server);
    void recorded(const QString &eventId);

private:
    class LocalWorker;
    class SyncWorker;
    template <class Result>
    void ask(std::function<std::optional<Result>(ArchiveStore &)> job,
             std::function<void(std::optional<Result>)> done);
    void localResult(bool ok, const QString &error, std::optional<int> waiting);
    void syncResult(bool reached, const QString &error, int waiting);
    void setState(const ArchiveState &state);

    ArchiveConfig config_;
    ArchiveState state_;
    bool localFailing_ = false;
    bool serverFailing_ = false;
    QThread *localThread_ = nullptr;
    QThread *syncThread_ = nullptr;
    LocalWorker *local_ = nullptr;
    SyncWorker *sync_ = nullptr;
};

}  // namespace vorn
