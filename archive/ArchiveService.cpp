#include "ArchiveService.h"

#include "ArchiveStore.h"
#include "ArchiveSync.h"
#include "ArchiveTexts.h"

#include <QThread>
#include <QTimer>
#include <QUuid>

namespace vorn {

// Owns the bench's file on its thread; opens it on the first job.
class ArchiveService::LocalWorker : public QObject {
public:
    explicit LocalWorker(const ArchiveConfig &config) : config_(config) {}

    // The open store, or nothing with the reason in error().
    ArchiveStore *store()
    {
        if (!store_.isOpen()) {
            store_.setIdentity(config_.identity);
            if (!store_.openLocal(config_.localPath))
                return nullptr;
        }
        return &store_;
    }
    const QString &error() const { return store_.error(); }
    void close() { store_.close(); }

private:
    ArchiveConfig config_;
    ArchiveStore store_;
};

// Syncs the bench's file (through a connection of its own) with the server, one sync at a
// time; while the server cannot be reached it tries again after the retry interval.
class ArchiveService::SyncWorker : public QObject {
public:
    using Report = std::function<void(bool reached, const QString &error, int waiting)>;
    SyncWorker(const ArchiveConfig &config, std::chrono::milliseconds retry, Report report)
        : config_(config), report_(std::move(report)), retry_(this)
    {
        retry_.setSingleShot(true);
        retry_.setInterval(retry);
        QObject::connect(&retry_, &QTimer::timeout, this, [this] { request(); });
    }

    // Many requests while one sync runs make one more sync after it.
    void request()
    {
        if (scheduled_)
            return;
        scheduled_ = true;
        QTimer::singleShot(0, this, [this] { run(); });
    }
    void close()
    {
        retry_.stop();
        local_.close();
    }

private:
    void run()
    {
        scheduled_ = false;
        if (QThread::currentThread()->isInterruptionRequested())
            return;
        if (!local_.isOpen()) {
            local_.setIdentity(config_.identity);
            if (!local_.openLocal(config_.localPath)) {
                report_(true, local_.error(), 0);
                return;
            }
        }
        // A fresh connection for each sync, after the server answered a probe: a server that
        // is away, or takes the connection and says nothing, never holds this thread longer
        // than the probe's patience, and the window's closing no longer than a moment.
        ServerProbe probe(*config_.server, kPatience);
        const SyncReport r = syncWithServer(local_, *config_.server, probe, kPatience,
                                            [] { return QThread::currentThread()->isInterruptionRequested(); });
        if (QThread::currentThread()->isInterruptionRequested())
            return;
        if (!r.reached || !r.error.isEmpty())
            retry_.start();
        else
            retry_.stop();
        report_(r.reached, r.error, r.waiting);
    }

    static constexpr std::chrono::seconds kPatience{3};
    ArchiveConfig config_;
    Report report_;
    ArchiveStore local_;
    QTimer retry_;
    bool scheduled_ = false;
};

QString archiveStateText(const ArchiveState &state, int language)
{
    return state.waitingForServer ? waitingText(state.waiting, language) : QString();
}

ArchiveService::ArchiveService(const ArchiveConfig &config, QObject *parent, std::chrono::milliseconds retryInterval)
    : QObject(parent), config_(config)
{
    state_.serverSet = config_.server.has_value();
    localThread_ = new QThread(this);
    localThread_->setObjectName(QStringLiteral("archive"));
    local_ = new LocalWorker(config_);
    local_->moveToThread(localThread_);
    localThread_->start();
    if (!state_.serverSet)
        return;
    syncThread_ = new QThread(this);
    syncThread_->setObjectName(QStringLiteral("archive sync"));
    sync_ = new SyncWorker(config_, retryInterval, [this](bool reached, const QString &error, int waiting) {
        QMetaObject::invokeMethod(this, [=, this] { syncResult(reached, error, waiting); }, Qt::QueuedConnection);
    });
    sync_->moveToThread(syncThread_);
    syncThread_->start();
}

ArchiveService::~ArchiveService()
{
    // Each worker closes its connections on its own thread after the jobs queued before.
    if (sync_) {
        syncThread_->requestInterruption();
        QMetaObject::invokeMethod(sync_, [w = sync_] {
            w->close();
            QThread::currentThread()->quit();
        });
    }
    QMetaObject::invokeMethod(local_, [w = local_] {
        w->close();
        QThread::currentThread()->quit();
    });
    localThread_->wait();
    delete local_;
    if (sync_) {
        syncThread_->wait();
        delete sync_;
    }
}

void ArchiveService::start() { syncNow(); }

void ArchiveService::syncNow()
{
    if (sync_)
        QMetaObject::invokeMethod(sync_, [w = sync_] { w->request(); });
}

void ArchiveService::setState(const ArchiveState &state)
{
    if (state == state_)
        return;
    state_ = state;
    emit stateChanged(state_);
}

void ArchiveService::localResult(bool ok, const QString &error, std::optional<int> waiting)
{
    if (!ok && !localFailing_)
        emit failed(error, false);
    localFailing_ = !ok;
    if (waiting && state_.serverSet) {
        ArchiveState s = state_;
        s.waiting = *waiting;
        setState(s);
    }
}

void ArchiveService::syncResult(bool reached, const QString &error, int waiting)
{
    if (!error.isEmpty() && !serverFailing_)
        emit failed(error, true);
    serverFailing_ = !error.isEmpty();
    ArchiveState s = state_;
    s.waitingForServer = !reached;
    s.waiting = waiting;
    setState(s);
}

QString ArchiveService::record(EventInput event)
{
    if (event.id.isEmpty())
        event.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!event.timeUtc.isValid())
        event.timeUtc = QDateTime::currentDateTimeUtc();
    const QString id = event.id;
    const bool syncAfter = sync_ != nullptr;
    QMetaObject::invokeMethod(local_, [this, w = local_, s = sync_, event = std::move(event), syncAfter] {
        ArchiveStore *store = w->store();
        const bool ok = store && store->record(event).has_value();
        const QString error = store ? store->error() : w->error();
        const std::optional<int> waiting = ok && syncAfter ? store->waitingEvents() : std::nullopt;
        if (ok && syncAfter)
            QMetaObject::invokeMethod(s, [s] { s->request(); });
        QMetaObject::invokeMethod(this, [=, this] {
            localResult(ok, error, waiting);
            if (ok)
                emit recorded(event.id);
        }, Qt::QueuedConnection);
    });
    return id;
}

void ArchiveService::addLabel(const LabelInput &label)
{
    QMetaObject::invokeMethod(local_, [this, w = local_, s = sync_, label] {
        ArchiveStore *store = w->store();
        const bool ok = store && store->addLabel(label).has_value();
        const QString error = store ? store->error() : w->error();
        if (ok && s)
            QMetaObject::invokeMethod(s, [s] { s->request(); });
        QMetaObject::invokeMethod(this, [=, this] { localResult(ok, error, std::nullopt); }, Qt::QueuedConnection);
    });
}

template <class Result>
void ArchiveService::ask(std::function<std::optional<Result>(ArchiveStore &)> job,
                         std::function<void(std::optional<Result>)> done)
{
    QMetaObject::invokeMethod(local_, [this, w = local_, job = std::move(job), done = std::move(done)] {
        ArchiveStore *store = w->store();
        std::optional<Result> result = store ? job(*store) : std::nullopt;
        const QString error = store ? store->error() : w->error();
        QMetaObject::invokeMethod(this, [this, done, result = std::move(result), error] {
            localResult(result.has_value(), error, std::nullopt);
            if (done)
                done(result);
        }, Qt::QueuedConnection);
    });
}

void ArchiveService::lookUp(const QString &hash, const QString &ignoreEventId,
                            std::function<void(std::optional<TuneStatus>)> done)
{
    ask<TuneStatus>([hash, ignoreEventId, asker = config_.identity](ArchiveStore &s) {
        return s.status(hash, asker, ignoreEventId);
    }, std::move(done));
}

void ArchiveService::find(const QString &text, std::function<void(std::optional<FindResult>)> done)
{
    ask<FindResult>([text](ArchiveStore &s) -> std::optional<FindResult> {
        auto r = s.find(text);
        if (!r)
            return r;
        QStringList hashes;
        for (const ArchiveEvent &e : r->events)
            if (!e.tuneHash.isEmpty() && !hashes.contains(e.tuneHash))
                hashes << e.tuneHash;
        QString error;
        auto labels = currentLabels(s.database(), LabelInput::Target::Tune, hashes, &error);
        if (!labels)
            return std::nullopt;
        r->tuneLabels = std::move(*labels);
        return r;
    }, std::move(done));
}

void ArchiveService::history(const QString &hash, std::function<void(std::optional<TuneHistory>)> done)
{
    ask<TuneHistory>([hash](ArchiveStore &s) { return s.history(hash); }, std::move(done));
}

void ArchiveService::tune(const QString &hash, std::function<void(std::optional<ParameterImage>)> done)
{
    // A tune that is not there is an answer, not a failure of the archive.
    ask<std::optional<ParameterImage>>([hash](ArchiveStore &s) -> std::optional<std::optional<ParameterImage>> {
        auto image = s.tune(hash);
        if (!image && !s.error().isEmpty())
            return std::nullopt;
        return image;
    }, [done = std::move(done)](std::optional<std::optional<ParameterImage>> r) {
        if (done)
            done(r ? *r : std::nullopt);
    });
}

}  // namespace vorn
