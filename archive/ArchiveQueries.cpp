// What the archive answers: search, a tune's history and tree, and what it knows of a tune.
#include "ArchiveSchema.h"
#include "ArchiveSearchTests.h"
#include "ArchiveSearchText.h"
#include "ArchiveStore.h"
#include "ArchiveTexts.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <cmath>
#include <deque>
#include <set>

namespace vorn {

using searchtests::AnyOf;
using searchtests::labelTargets;
using searchtests::rarestWord;
using searchtests::Targets;
using searchtests::textTest;

namespace {

const QString kEventColumns = QStringLiteral(
    "id, kind, result, time_utc, bench, user_name, unit_version, unit_date, unit_time, free_text, program_count, "
    "tune_hash");

QDateTime utcFromText(const QString &s) { return QDateTime::fromString(s, Qt::ISODateWithMs); }
QString utcText(const QDateTime &t) { return t.toUTC().toString(Qt::ISODateWithMs); }

ArchiveEvent eventFromRow(const QSqlQuery &q)
{
    ArchiveEvent e;
    e.id = q.value(0).toString();
    e.kind = eventKindFromWord(q.value(1).toString()).value_or(EventKind::Read);
    e.result = q.value(2).toString();
    e.timeUtc = utcFromText(q.value(3).toString());
    e.bench = q.value(4).toString();
    e.user = q.value(5).toString();
    e.unit = {q.value(6).toString(), q.value(7).toString(), q.value(8).toString(), q.value(9).toString()};
    if (!q.value(10).isNull())
        e.programCount = q.value(10).toInt();
    e.tuneHash = q.value(11).toString();
    return e;
}

// The local day (or month) a search text names, as a range of UTC times.
std::optional<std::pair<QString, QString>> dateRange(const QString &text)
{
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})(?:-(\\d{1,2}))?$"));
    static const QRegularExpression dotted(QStringLiteral("^(\\d{1,2})\\.\\s*(\\d{1,2})\\.\\s*(\\d{4})$"));
    QDate from, to;
    if (const auto m = iso.match(text); m.hasMatch()) {
        const bool wholeMonth = m.captured(3).isEmpty();
        from = QDate(m.captured(1).toInt(), m.captured(2).toInt(), wholeMonth ? 1 : m.captured(3).toInt());
        to = wholeMonth ? from.addMonths(1) : from.addDays(1);
    } else if (const auto d = dotted.match(text); d.hasMatch()) {
        from = QDate(d.captured(3).toInt(), d.captured(2).toInt(), d.captured(1).toInt());
        to = from.addDays(1);
    }
    if (!from.isValid())
        return std::nullopt;
    return std::pair{utcText(from.startOfDay()), utcText(to.startOfDay())};
}

}  // namespace

std::optional<std::map<QString, LabelValues>> currentLabels(QSqlDatabase db, LabelInput::Target target,
                                                           const QStringList &ids, QString *error)
{
    std::map<QString, LabelValues> labels;
    const QString kind = target == LabelInput::Target::Tune ? QStringLiteral("tune") : QStringLiteral("event");
    constexpr int kChunk = 500;
    QSqlQuery q(db);
    for (int from = 0; from < ids.size(); from += kChunk) {
        const QStringList chunk = ids.mid(from, kChunk);
        QVariantList binds{kind};
        for (const QString &id : chunk)
            binds << id;
        // Oldest first, so the newest label of each key is the one left.
        if (!schema::exec(q,
                          QStringLiteral("SELECT target, label_key, label_value FROM labels WHERE target_kind = ? "
                                         "AND target IN (%1) ORDER BY time_utc, id")
                              .arg(QStringList(chunk.size(), QStringLiteral("?")).join(QLatin1Char(','))),
                          binds)) {
            *error = q.lastError().text();
            return std::nullopt;
        }
        while (q.next())
            if (const auto key = labelKeyFromWord(q.value(1).toString()))
                labels[q.value(0).toString()][static_cast<int>(*key)] = q.value(2).toString();
    }
    return labels;
}

std::optional<std::vector<ArchiveEvent>> ArchiveStore::events(const QString &where, const QVariantList &binds,
                                                              const QString &tail, const QString &from)
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!schema::exec(q, QStringLiteral("SELECT %1 FROM %4 e WHERE %2 %3").arg(kEventColumns, where, tail, from), binds)) {
        fail(q.lastError().text());
        return std::nullopt;
    }
    std::vector<ArchiveEvent> out;
    while (q.next())
        out.push_back(eventFromRow(q));
    return out;
}

bool ArchiveStore::attachLabels(std::vector<ArchiveEvent> &events)
{
    QStringList ids;
    for (const ArchiveEvent &e : events)
        ids << e.id;
    const auto labels = currentLabels(database(), LabelInput::Target::Event, ids, &error_);
    if (!labels)
        return false;
    for (ArchiveEvent &e : events)
        if (const auto it = labels->find(e.id); it != labels->end())
            e.labels = it->second;
    return true;
}

std::optional<FindResult> ArchiveStore::find(const QString &text, int limit)
{
    if (!isOpen())
        return std::nullopt;
    const QString needle = foldForSearch(text.simplified());
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{%1,64}$").arg(kHashPrefixMin));
    const bool hashPrefix = hex.match(needle).hasMatch();
    const auto day = dateRange(needle);

    // With a search text SQLite gathers what the indexes find and sorts it, its ordering
    // naming an expression the time index does not cover: walking that index row by row
    // would read most of the table for a text in few events. A text in many events is the
    // other way round: the walk, newest first, testing each event's own text, stops at the
    // limit soon. Gathering costs about the number of events that hold the text, walking
    // about the number of events over it times the limit; the two are even where the text
    // is in the square root of events times limit, which is where SQLite switches, told how
    // many events hold the text by its text index (counting up to that bound). The text
    // test of the walk is one no index answers, which makes SQLite take the whole OR row by
    // row instead of gathering. The server decides by a bounded walk (below).
    bool walk = needle.isEmpty() || !schema::isSqlite(database());
    if (!walk && !scan_ && needle.toUcs4().size() >= 3) {
        QSqlQuery q(database());
        const qlonglong events = q.exec(QStringLiteral("SELECT max(seq) FROM events")) && q.next() ? q.value(0).toLongLong() : 0;
        const int many = static_cast<int>(std::max<double>(20.0 * (limit + 1), std::sqrt(double(events) * (limit + 1))));
        const QVariant phrase = textTest(database(), "events", "e", needle, false).binds.first();
        walk = schema::exec(q,
                            QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM events_text WHERE events_text MATCH ? LIMIT %1)")
                                .arg(many),
                            {phrase})
               && q.next() && q.value(0).toInt() >= many;
    }
    FindResult result;
    QString where = QStringLiteral("TRUE");
    QVariantList binds;
    AnyOf any;
    std::optional<Targets> tuneLabels;
    if (!needle.isEmpty()) {
        const QString word = schema::isSqlite(database()) || scan_ ? QString() : rarestWord(database(), needle);
        const auto eventText = textTest(database(), "events", "e", needle, scan_ || (walk && schema::isSqlite(database())), word);
        const auto labelText = textTest(database(), "labels", "l", needle, scan_, word);
        const auto eventLabels = labelTargets(database(), "event", labelText, &error_);
        tuneLabels = labelTargets(database(), "tune", labelText, &error_);
        if (!eventLabels || !tuneLabels)
            return std::nullopt;
        any.add(eventText.sql, eventText.binds);
        any.addIn(QStringLiteral("e.id"), *eventLabels);
        any.addIn(QStringLiteral("e.tune_hash"), *tuneLabels);
        // A range rather than LIKE: SQLite's LIKE ignores case, so it would not use the index.
        // Every hash is lower-case hex, and each one that starts with the prefix sorts below
        // the prefix followed by a "g".
        if (hashPrefix)
            any.add(QStringLiteral("(e.tune_hash >= ? AND e.tune_hash < ?)"), QVariantList{needle, needle + QLatin1Char('g')});
        if (day)
            any.add(QStringLiteral("(e.time_utc >= ? AND e.time_utc < ?)"), QVariantList{day->first, day->second});
        where = any.sql();
        binds = any.binds;
    }
    const QString order = walk ? QStringLiteral("e.time_utc") : QStringLiteral("(e.time_utc || '')");
    const QString tail = QStringLiteral("ORDER BY %1 DESC, e.id DESC LIMIT %2").arg(order).arg(limit + 1);
    std::optional<std::vector<ArchiveEvent>> events;
    if (!schema::isSqlite(database()) && !needle.isEmpty() && !scan_) {
        // The server's planner guesses how many events hold a text from a sample, and a text
        // in none of them looks as common as one in a hundredth: it then walks the time index
        // through every event for a frame number. So the walk is bounded here: the newest
        // events, as many as a text in every tenth event needs, answer a common text; when
        // they do not, the text is rare: what each test's index finds is gathered and sorted
        // (the materialized part is planned on its own, without the LIMIT that invites the walk).
        events = this->events(where, binds, tail,
                              QStringLiteral("(SELECT * FROM events ORDER BY time_utc DESC, id DESC LIMIT %1)")
                                  .arg(10 * (limit + 1)));
        if (events && static_cast<int>(events->size()) <= limit)
            events = this->events(QStringLiteral("TRUE"), binds, tail,
                                  QStringLiteral("(WITH hit AS MATERIALIZED (%1) SELECT * FROM hit)")
                                      .arg(any.eachOf(QStringLiteral("SELECT * FROM events e"))));
    } else {
        events = this->events(where, binds, tail);
    }
    if (!events || !attachLabels(*events))
        return std::nullopt;
    result.truncated = static_cast<int>(events->size()) > limit;
    if (result.truncated)
        events->pop_back();
    result.events = std::move(*events);

    if (!needle.isEmpty()) {
        QSqlQuery q(database());
        AnyOf any;
        any.addIn(QStringLiteral("hash"), *tuneLabels);
        if (hashPrefix)
            any.add(QStringLiteral("(hash >= ? AND hash < ?)"), QVariantList{needle, needle + QLatin1Char('g')});
        const QString tuneWhere = any.sql();
        const QVariantList &tuneBinds = any.binds;
        if (!schema::exec(q, QStringLiteral("SELECT hash, first_utc FROM tunes WHERE %1 ORDER BY first_utc DESC LIMIT %2")
                                 .arg(tuneWhere).arg(limit),
                          tuneBinds)) {
            fail(q.lastError().text());
            return std::nullopt;
        }
        QStringList hashes;
        while (q.next()) {
            result.tunes.push_back({q.value(0).toString(), utcFromText(q.value(1).toString()), {}});
            hashes << result.tunes.back().hash;
        }
        const auto labels = currentLabels(database(), LabelInput::Target::Tune, hashes, &error_);
        if (!labels)
            return std::nullopt;
        for (TuneSummary &t : result.tunes)
            if (const auto it = labels->find(t.hash); it != labels->end())
                t.labels = it->second;
    }
    return result;
}

std::optional<std::vector<TuneNode>> ArchiveStore::walk(const QString &hash, bool up, int maxNodes)
{
    const QString sql = up ? QStringLiteral("SELECT parent FROM tune_parents WHERE child = ? ORDER BY parent")
                           : QStringLiteral("SELECT child FROM tune_parents WHERE parent = ? ORDER BY child");
    std::vector<TuneNode> nodes;
    std::set<QString> seen{hash};   // a tune edited back to an earlier one makes a cycle
    std::deque<std::pair<QString, int>> queue{{hash, 0}};
    QSqlQuery q(database());
    while (!queue.empty() && static_cast<int>(nodes.size()) < maxNodes) {
        const auto [from, depth] = queue.front();
        queue.pop_front();
        if (!schema::exec(q, sql, {from})) {
            fail(q.lastError().text());
            return std::nullopt;
        }
        while (q.next()) {
            const QString next = q.value(0).toString();
            if (seen.insert(next).second) {
                nodes.push_back({next, from, depth + 1});
                queue.emplace_back(next, depth + 1);
            }
        }
    }
    return nodes;
}

std::optional<TuneHistory> ArchiveStore::history(const QString &hash)
{
    if (!isOpen())
        return std::nullopt;
    TuneHistory h;
    h.hash = hash;
    QSqlQuery q(database());
    if (!schema::exec(q, QStringLiteral("SELECT count(*) FROM tunes WHERE hash = ?"), {hash}) || !q.next()) {
        fail(q.lastError().text());
        return std::nullopt;
    }
    h.stored = q.value(0).toInt() > 0;
    auto events = this->events(QStringLiteral("tune_hash = ?"), {hash}, QStringLiteral("ORDER BY time_utc, id"));
    auto labels = currentLabels(database(), LabelInput::Target::Tune, {hash}, &error_);
    auto ancestors = walk(hash, true);
    auto descendants = walk(hash, false);
    if (!events || !attachLabels(*events) || !labels || !ancestors || !descendants)
        return std::nullopt;
    h.events = std::move(*events);
    if (const auto it = labels->find(hash); it != labels->end())
        h.labels = it->second;
    h.ancestors = std::move(*ancestors);
    h.descendants = std::move(*descendants);
    return h;
}

std::optional<TuneStatus> ArchiveStore::status(const QString &hash, const ArchiveIdentity &asker,
                                               const QString &ignoreEventId)
{
    const auto h = history(hash);
    if (!h)
        return std::nullopt;
    TuneStatus s;
    s.hash = hash;
    std::vector<ArchiveEvent> events;   // newest first, without the Read that asks
    for (auto it = h->events.rbegin(); it != h->events.rend(); ++it)
        if (it->id != ignoreEventId)
            events.push_back(*it);
    s.known = h->stored || !events.empty();
    if (!s.known)
        return s;
    const auto programmed = std::find_if(events.begin(), events.end(),
                                         [](const ArchiveEvent &e) { return e.kind == EventKind::Program && e.ok(); });
    if (programmed != events.end())
        s.shown = *programmed;
    else if (!events.empty())
        s.shown = events.front();
    s.labels = h->labels;
    if (std::all_of(s.labels.begin(), s.labels.end(), [](const QString &v) { return v.isEmpty(); }) && s.shown)
        s.labels = s.shown->labels;

    // This bench's newest good Program of the nearest ancestor it programmed.
    std::optional<ArchiveEvent> yours;
    for (const TuneNode &a : h->ancestors) {
        auto mine = this->events(QStringLiteral("tune_hash = ? AND kind = 'program' AND result = ? AND bench = ?"),
                                 {a.hash, kResultOk, asker.bench}, QStringLiteral("ORDER BY time_utc DESC LIMIT 1"));
        if (!mine)
            return std::nullopt;
        if (!mine->empty()) {
            yours = mine->front();
            break;
        }
    }
    const bool newestIsOthersProgram = !events.empty() && programmed == events.begin()
                                       && (programmed->bench != asker.bench || programmed->user != asker.user);
    const bool programmedHere = programmed != events.end() && programmed->bench == asker.bench;
    if (newestIsOthersProgram)
        s.changed = TuneStatus::Changed{*programmed, yours};
    else if (yours && !programmedHere && !events.empty())
        s.changed = TuneStatus::Changed{programmed != events.end() ? *programmed : events.back(), yours};
    return s;
}

std::optional<ParameterImage> ArchiveStore::tune(const QString &hash)
{
    error_.clear();
    if (!isOpen()) {
        fail(archiveText(ArchiveText::CannotOpen).arg(location_, error_));
        return std::nullopt;
    }
    QSqlQuery q(database());
    if (!schema::exec(q, QStringLiteral("SELECT bytes FROM tunes WHERE hash = ?"), {hash})) {
        fail(q.lastError().text());
        return std::nullopt;
    }
    return q.next() ? imageFromTuneBytes(q.value(0).toByteArray()) : std::nullopt;
}

std::optional<QStringList> ArchiveStore::tunesStartingWith(const QString &prefix, int limit)
{
    if (!isOpen())
        return std::nullopt;
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{1,64}$"));
    const QString p = prefix.toLower();
    if (!hex.match(p).hasMatch())
        return QStringList();
    QSqlQuery q(database());
    if (!schema::exec(q, QStringLiteral("SELECT hash FROM tunes WHERE hash LIKE ? ORDER BY hash LIMIT %1").arg(limit),
                      {p + QLatin1Char('%')})) {
        fail(q.lastError().text());
        return std::nullopt;
    }
    QStringList hashes;
    while (q.next())
        hashes << q.value(0).toString();
    return hashes;
}

}  // namespace vorn
