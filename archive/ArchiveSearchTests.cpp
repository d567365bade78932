#include "ArchiveSearchTests.h"

#include "ArchiveSchema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace vorn::searchtests {

namespace {

// The targets of one kind whose current label of some key contains the needle.
QString labelHits(const QString &test)
{
    return QStringLiteral(
               "SELECT l.target FROM labels l WHERE l.target_kind = ? AND %1 "
               "AND NOT EXISTS (SELECT 1 FROM labels n WHERE n.target_kind = l.target_kind AND n.target = l.target "
               "AND n.label_key = l.label_key AND (n.time_utc > l.time_utc OR (n.time_utc = l.time_utc AND n.id > l.id)))")
        .arg(test);
}

}  // namespace

TextTest textTest(const QSqlDatabase &db, const char *table, const char *alias, const QString &needle, bool scan,
                  const QString &word)
{
    const bool sqlite = schema::isSqlite(db);
    const QString plain = (sqlite ? QStringLiteral("instr(%1.search, ?) > 0") : QStringLiteral("strpos(%1.search, ?) > 0"))
                              .arg(QLatin1String(alias));
    if (scan || needle.toUcs4().size() < 3)
        return {plain, {needle}};
    QString quoted = needle;
    if (sqlite)
        return {QStringLiteral("%1.seq IN (SELECT rowid FROM %2_text WHERE %2_text MATCH ?)")
                    .arg(QLatin1String(alias), QLatin1String(table)),
                {QLatin1Char('"') + quoted.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"')}};
    // The server's index is asked for `word` alone when it is a part of the needle, and each
    // row it finds is tested for the whole needle (see rarestWord).
    const bool part = !word.isEmpty() && word != needle;
    QString pattern = part ? word : needle;
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    const QString like = QStringLiteral("%1.search LIKE ?").arg(QLatin1String(alias));
    pattern = QLatin1Char('%') + pattern + QLatin1Char('%');
    if (part)
        return {QStringLiteral("(%1 AND %2)").arg(like, plain), {pattern, needle}};
    return {like, {pattern}};
}

QString rarestWord(QSqlDatabase db, const QString &needle)
{
    QStringList words;
    for (const QString &w : needle.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (w.toUcs4().size() >= 3 && !words.contains(w))
            words << w;
    if (words.size() < 2)
        return words.value(0, needle);
    constexpr int kSample = 1000;
    QStringList counts;
    QVariantList binds;
    for (const QString &w : words) {
        counts << QStringLiteral("count(*) FILTER (WHERE strpos(search, ?) > 0)");
        binds << w;
    }
    QSqlQuery q(db);
    const bool sampled = schema::exec(q,
                                      QStringLiteral("SELECT %1 FROM (SELECT search FROM events ORDER BY time_utc DESC "
                                                     "LIMIT %2) s")
                                          .arg(counts.join(QLatin1Char(',')))
                                          .arg(kSample),
                                      binds)
                         && q.next();
    int best = 0;
    for (int i = 1; i < words.size(); ++i) {
        const qlonglong a = sampled ? q.value(i).toLongLong() : 0, b = sampled ? q.value(best).toLongLong() : 0;
        if (a < b || (a == b && words[i].size() > words[best].size()))
            best = i;
    }
    return words[best];
}

constexpr int kListedTargetsMax = 2000;
std::optional<Targets> labelTargets(QSqlDatabase db, const char *targetKind, const TextTest &test, QString *error)
{
    const QString hits = labelHits(test.sql);
    const QVariantList binds = QVariantList{QString::fromLatin1(targetKind)} + test.binds;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!schema::exec(q, hits + QStringLiteral(" LIMIT %1").arg(kListedTargetsMax + 1), binds)) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    Targets targets;
    while (q.next())
        targets.binds << q.value(0);
    if (targets.binds.size() > kListedTargetsMax)
        return Targets{hits, binds};
    if (!targets.binds.isEmpty())
        targets.list = QStringList(targets.binds.size(), QStringLiteral("?")).join(QLatin1Char(','));
    return targets;
}


}  // namespace vorn::searchtests
