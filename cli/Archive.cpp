// archive find, history, get, label and sync; and the archive that read, program and verify
// record in.
#include "Commands.h"

#include "CliTexts.h"
#include "TransferArchive.h"
#include "archive/ArchiveStore.h"
#include "archive/ArchiveSync.h"
#include "archive/ArchiveTexts.h"
#include "files/AtomicFile.h"
#include "files/IgnFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <map>

namespace vorn::cli {

namespace {

// A server that is away, or takes the connection and says nothing, holds a command up this
// long at most; what the command recorded waits in the bench's file for the next command, or
// the window, to send it.
constexpr std::chrono::milliseconds kServerWait{200};
// archive sync has nothing else to do, and waits longer for the server to answer.
constexpr std::chrono::seconds kSyncWait{3};

QString localTime(const QDateTime &utc) { return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")); }
QString shortHash(const QString &hash) { return hash.left(12); }

QString labelsText(const LabelValues &labels)
{
    QStringList parts;
    for (int k = 0; k < kLabelKeyCount; ++k)
        if (!labels[k].isEmpty())
            parts << labelKeyText(static_cast<LabelKey>(k), language()) + QLatin1Char(' ') + labels[k];
    return parts.join(QStringLiteral(", "));
}

QJsonObject labelsJson(const LabelValues &labels)
{
    QJsonObject o;
    for (int k = 0; k < kLabelKeyCount; ++k)
        if (!labels[k].isEmpty())
            o.insert(QLatin1String(labelKeyWord(static_cast<LabelKey>(k))), labels[k]);
    return o;
}

QJsonValue orNull(const QString &s) { return s.isEmpty() ? QJsonValue() : QJsonValue(s); }

QJsonObject eventJson(const ArchiveEvent &e)
{
    return QJsonObject{{QStringLiteral("id"), e.id},
                       {QStringLiteral("kind"), QLatin1String(eventKindWord(e.kind))},
                       {QStringLiteral("result"), e.result},
                       {QStringLiteral("time"), e.timeUtc.toString(Qt::ISODateWithMs)},
                       {QStringLiteral("bench"), e.bench},
                       {QStringLiteral("user"), e.user},
                       {QStringLiteral("unit"), QJsonObject{{QStringLiteral("version"), e.unit.version},
                                                            {QStringLiteral("date"), e.unit.date},
                                                            {QStringLiteral("time"), e.unit.time},
                                                            {QStringLiteral("free_text"), e.unit.freeText}}},
                       {QStringLiteral("program_count"), e.programCount ? QJsonValue(*e.programCount) : QJsonValue()},
                       {QStringLiteral("tune"), orNull(e.tuneHash)},
                       {QStringLiteral("labels"), labelsJson(e.labels)}};
}

QString eventLine(const ArchiveEvent &e)
{
    QStringList parts{localTime(e.timeUtc), eventKindText(e.kind, language()), e.result.trimmed(),
                      e.bench + QStringLiteral(" (") + e.user + QLatin1Char(')'),
                      (e.unit.version + QLatin1Char(' ') + e.unit.freeText).trimmed(), shortHash(e.tuneHash),
                      labelsText(e.labels)};
    parts.removeAll(QString());
    return QStringLiteral("  ") + parts.join(QStringLiteral("  "));
}

QJsonArray nodesJson(const std::vector<TuneNode> &nodes)
{
    QJsonArray a;
    for (const TuneNode &n : nodes)
        a.append(QJsonObject{{QStringLiteral("hash"), n.hash}, {QStringLiteral("via"), n.via},
                             {QStringLiteral("depth"), n.depth}});
    return a;
}

QString document(const QJsonObject &o) { return QString::fromUtf8(QJsonDocument(o).toJson()); }

// One line on stderr when a sync did not go through: `away` when the server did not answer,
// else why it failed.
void complainAbout(const SyncReport &r, const QString &away)
{
    if (!r.answered)
        complain(away);
    else if (!r.error.isEmpty())
        complain(r.error);
}

QString keptHere(const SyncReport &r) { return waitingText(r.waiting); }

// The bench's archive, brought up to date with the server when one is set and answers.
struct Opened {
    ArchiveConfig config;
    ArchiveStore store;
    std::unique_ptr<ServerProbe> probe;   // asked as soon as the server is known
    std::optional<SyncReport> caughtUp;   // the sync before the question
    bool serverAway() const { return caughtUp && !caughtUp->answered; }
};

bool open(const Invocation &in, Opened &o, bool catchUp)
{
    QString error;
    const auto config = archiveConfig(in.archive, &error);
    if (!config) {
        complain(error);
        return false;
    }
    o.config = *config;
    if (o.config.server)
        o.probe = std::make_unique<ServerProbe>(*o.config.server);
    o.store.setIdentity(o.config.identity);
    if (!o.store.openLocal(o.config.localPath)) {
        complain(o.store.error());
        return false;
    }
    if (catchUp && o.config.server)
        o.caughtUp = syncWithServer(o.store, *o.config.server, *o.probe, kServerWait);
    return true;
}

enum class Resolved { Found, NotThere, Ambiguous, Failed, NotAHash };

// A tune named by its hash or the start of it (kHashPrefixMin hex digits or more).
Resolved resolveTune(ArchiveStore &store, const QString &arg, QString *hash)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9a-fA-F]{%1,64}$").arg(kHashPrefixMin));
    if (!hex.match(arg).hasMatch())
        return Resolved::NotAHash;
    const auto hashes = store.tunesStartingWith(arg.toLower(), 2);
    if (!hashes)
        return Resolved::Failed;
    if (hashes->size() > 1)
        return Resolved::Ambiguous;
    if (hashes->size() == 1) {
        *hash = hashes->first();
        return Resolved::Found;
    }
    return Resolved::NotThere;
}

bool isWholeHash(const QString &arg)
{
    static const QRegularExpression whole(QStringLiteral("^[0-9a-fA-F]{64}$"));
    return whole.match(arg).hasMatch();
}

// The tune `arg` names, or the exit status after one line saying why there is none.
int resolveOrSay(ArchiveStore &store, const QString &arg, QString *hash)
{
    switch (resolveTune(store, arg, hash)) {
    case Resolved::Found:
        return ExitOk;
    case Resolved::Ambiguous:
        complain(text(T::AmbiguousTune).arg(arg));
        break;
    case Resolved::Failed:
        complain(store.error());
        break;
    case Resolved::NotThere:
    case Resolved::NotAHash:
        complain(text(T::NoSuchTune).arg(arg));
        break;
    }
    return ExitUsage;
}

int findCommand(const Invocation &in, Opened &o, const QString &needle)
{
    const auto r = o.store.find(needle);
    if (!r) {
        complain(o.store.error());
        return ExitUsage;
    }
    const bool nothing = r->events.empty() && r->tunes.empty();
    if (in.json) {
        QJsonArray tunes, events;
        for (const TuneSummary &t : r->tunes)
            tunes.append(QJsonObject{{QStringLiteral("hash"), t.hash},
                                     {QStringLiteral("first_seen"), t.firstSeenUtc.toString(Qt::ISODateWithMs)},
                                     {QStringLiteral("labels"), labelsJson(t.labels)}});
        for (const ArchiveEvent &e : r->events)
            events.append(eventJson(e));
        say(document({{QStringLiteral("command"), QStringLiteral("archive find")}, {QStringLiteral("text"), needle},
                      {QStringLiteral("tunes"), tunes}, {QStringLiteral("events"), events},
                      {QStringLiteral("truncated"), r->truncated}}));
    } else if (nothing) {
        say(text(T::NothingFound).arg(needle) + QLatin1Char('\n'));
    } else {
        QString out;
        if (!r->tunes.empty()) {
            out += text(T::FoundTunes) + QLatin1Char('\n');
            for (const TuneSummary &t : r->tunes)
                out += QStringLiteral("  %1  %2  %3\n").arg(t.hash, localTime(t.firstSeenUtc), labelsText(t.labels));
        }
        if (!r->events.empty()) {
            out += text(T::FoundEvents) + QLatin1Char('\n');
            for (const ArchiveEvent &e : r->events)
                out += eventLine(e) + QLatin1Char('\n');
        }
        if (r->truncated)
            out += text(T::MoreFound).arg(r->events.size()) + QLatin1Char('\n');
        say(out);
    }
    return nothing ? ExitDiffer : ExitOk;
}

int historyCommand(const Invocation &in, Opened &o, const QString &arg)
{
    QString hash;
    QStringList hashes;
    switch (resolveTune(o.store, arg, &hash)) {
    case Resolved::Found:
        hashes << hash;
        break;
    case Resolved::Ambiguous:
        complain(text(T::AmbiguousTune).arg(arg));
        return ExitUsage;
    case Resolved::Failed:
        complain(o.store.error());
        return ExitUsage;
    case Resolved::NotThere:
        if (isWholeHash(arg)) {   // nothing else could be meant
            complain(text(T::NoSuchTune).arg(arg));
            return ExitUsage;
        }
        [[fallthrough]];
    case Resolved::NotAHash: {
        // Not a stored tune: the tunes of what the text finds, newest first.
        const auto r = o.store.find(arg);
        if (!r) {
            complain(o.store.error());
            return ExitUsage;
        }
        for (const TuneSummary &t : r->tunes)
            hashes << t.hash;
        for (const ArchiveEvent &e : r->events)
            if (!e.tuneHash.isEmpty())
                hashes << e.tuneHash;
        hashes.removeDuplicates();
        break;
    }
    }
    if (hashes.isEmpty()) {
        complain(text(T::NothingFound).arg(arg));
        return ExitDiffer;
    }
    QJsonArray tunes;
    QString out;
    for (const QString &h : hashes) {
        const auto history = o.store.history(h);
        if (!history) {
            complain(o.store.error());
            return ExitUsage;
        }
        QJsonArray events;
        out += QStringLiteral("%1  %2\n").arg(h, labelsText(history->labels));
        out += QStringLiteral("  ") + text(T::HistoryEvents) + QLatin1Char('\n');
        for (const ArchiveEvent &e : history->events) {
            events.append(eventJson(e));
            out += QStringLiteral("  ") + eventLine(e) + QLatin1Char('\n');
        }
        for (const auto &[heading, nodes] : {std::pair{T::HistoryMadeFrom, &history->ancestors},
                                             std::pair{T::HistoryMadeInto, &history->descendants}}) {
            if (nodes->empty())
                continue;
            out += QStringLiteral("  ") + text(heading) + QLatin1Char('\n');
            for (const TuneNode &n : *nodes)
                out += QStringLiteral("    %1%2\n").arg(QString(2 * (n.depth - 1), QLatin1Char(' ')), n.hash);
        }
        tunes.append(QJsonObject{{QStringLiteral("hash"), h},
                                 {QStringLiteral("stored"), history->stored},
                                 {QStringLiteral("labels"), labelsJson(history->labels)},
                                 {QStringLiteral("events"), events},
                                 {QStringLiteral("ancestors"), nodesJson(history->ancestors)},
                                 {QStringLiteral("descendants"), nodesJson(history->descendants)}});
    }
    say(in.json ? document({{QStringLiteral("command"), QStringLiteral("archive history")},
                            {QStringLiteral("tunes"), tunes}})
                : out);
    return ExitOk;
}

int getCommand(const Invocation &in, Opened &o, const QString &arg, const QString &path)
{
    QString hash;
    if (const int status = resolveOrSay(o.store, arg, &hash); status != ExitOk)
        return status;
    const auto image = o.store.tune(hash);
    if (!image) {
        complain(o.store.error().isEmpty() ? text(T::NoSuchTune).arg(arg) : o.store.error());
        return ExitUsage;
    }
    if (!writeFileAtomically(path, WriteParameterFile(*image))) {
        complain(text(T::CannotWrite).arg(path));
        return ExitUsage;
    }
    say(in.json ? document({{QStringLiteral("command"), QStringLiteral("archive get")},
                            {QStringLiteral("tune"), hash}, {QStringLiteral("file"), path},
                            {QStringLiteral("result"), QStringLiteral("ok")}})
                : text(T::Written).arg(path) + QLatin1Char('\n'));
    return ExitOk;
}

// The labels given, each key's last value, that differ from the tune's current ones; a
// workshop's script run twice adds nothing the second time.
int labelCommand(const Invocation &in, Opened &o, const QString &arg)
{
    QString hash;
    if (const int status = resolveOrSay(o.store, arg, &hash); status != ExitOk)
        return status;
    const auto history = o.store.history(hash);
    if (!history) {
        complain(o.store.error());
        return ExitUsage;
    }
    std::map<LabelKey, QString> given;
    for (const auto &[word, value] : in.labels)
        given[*labelKeyFromWord(word)] = value.trimmed();
    LabelValues labels = history->labels;
    for (const auto &[key, value] : given) {
        if (labels[static_cast<int>(key)] == value)
            continue;
        if (!o.store.addLabel({LabelInput::Target::Tune, hash, key, value})) {
            complain(o.store.error());
            return ExitUsage;
        }
        labels[static_cast<int>(key)] = value;
    }
    if (o.config.server) {
        // A server that did not answer the catch-up is not waited for again.
        const SyncReport r = o.serverAway() ? *o.caughtUp
                                            : syncWithServer(o.store, *o.config.server, *o.probe, kServerWait);
        complainAbout(r, keptHere(r));
    }
    const QString current = labelsText(labels);
    say(in.json ? document({{QStringLiteral("command"), QStringLiteral("archive label")},
                            {QStringLiteral("tune"), hash},
                            {QStringLiteral("labels"), labelsJson(labels)}})
                : text(T::LabelsOfTune).arg(shortHash(hash), current.isEmpty() ? text(T::NoLabels) : current)
                      + QLatin1Char('\n'));
    return ExitOk;
}

int syncCommand(const Invocation &in, Opened &o)
{
    if (!o.config.server) {
        complain(text(T::NoServer));
        return ExitUsage;
    }
    const SyncReport r = syncWithServer(o.store, *o.config.server, *o.probe, kSyncWait);
    complainAbout(r, keptHere(r));
    say(in.json ? document({{QStringLiteral("command"), QStringLiteral("archive sync")},
                            {QStringLiteral("server"), o.config.server->text()},
                            {QStringLiteral("reached"), r.reached},
                            {QStringLiteral("sent"), r.sent},
                            {QStringLiteral("received"), r.received},
                            {QStringLiteral("waiting"), r.waiting}})
                : text(T::SyncReport).arg(r.sent).arg(r.received).arg(r.waiting) + QLatin1Char('\n'));
    return r.done() ? ExitOk : ExitDiffer;
}

}  // namespace

int runArchive(const Invocation &in)
{
    const QString sub = in.files.value(0);
    const QStringList args = in.files.mid(1);
    const bool label = sub == QLatin1String("label");
    const bool fits = (label ? args.size() == 1 && !in.labels.empty() : in.labels.empty())
                      && ((sub == QLatin1String("find") && !args.isEmpty())
                          || (sub == QLatin1String("history") && !args.isEmpty())
                          || (sub == QLatin1String("get") && args.size() == 2)
                          || (sub == QLatin1String("sync") && args.isEmpty()) || label);
    if (!fits) {
        complain(text(T::WrongArguments).arg(QStringLiteral("archive")));
        return ExitUsage;
    }
    Opened o;
    // Sync itself talks to the server; the questions first fetch what other benches sent.
    if (!open(in, o, sub != QLatin1String("sync")))
        return ExitUsage;
    if (label)
        return labelCommand(in, o, args[0]);
    if (o.caughtUp)
        complainAbout(*o.caughtUp, text(T::AnsweredHere));
    if (sub == QLatin1String("find"))
        return findCommand(in, o, args.join(QLatin1Char(' ')));
    if (sub == QLatin1String("history"))
        return historyCommand(in, o, args.join(QLatin1Char(' ')));
    if (sub == QLatin1String("get"))
        return getCommand(in, o, args[0], args[1]);
    return syncCommand(in, o);
}

TransferArchive::TransferArchive(const Invocation &in) : in_(in) {}

TransferArchive::~TransferArchive() = default;

QString TransferArchive::record(const EventInput &event)
{
    if (said_)
        return {};
    auto sayOnce = [this](const QString &line) {
        complain(line);
        said_ = true;
        return QString();
    };
    if (!store_) {
        QString error;
        const auto config = archiveConfig(in_.archive, &error);
        if (!config)
            return sayOnce(error);
        config_ = std::make_unique<ArchiveConfig>(*config);
        // Asked now, on a thread of its own, so that the answer is there when the event
        // has been written and the result printed.
        if (config_->server)
            probe_ = std::make_unique<ServerProbe>(*config_->server);
        store_ = std::make_unique<ArchiveStore>();
        store_->setIdentity(config_->identity);
        if (!store_->openLocal(config_->localPath))
            return sayOnce(store_->error());
    }
    const auto id = store_->record(event);
    return id ? *id : sayOnce(store_->error());
}

void TransferArchive::sync()
{
    if (said_ || !store_ || !store_->isOpen() || !config_->server)
        return;
    const SyncReport r = syncWithServer(*store_, *config_->server, *probe_, kServerWait);
    complainAbout(r, keptHere(r));
}

}  // namespace vorn::cli
