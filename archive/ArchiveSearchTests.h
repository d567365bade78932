// How a search text becomes tests the databases answer from their indexes: the trigram
// test of a text column, the labels that hold a text, and the union of such tests.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

namespace vorn::searchtests {

// The test that the search text of `alias`, a row of `table`, holds the needle anywhere, and
// the values it binds. Both sides are folded already, so a plain substring test does it. A
// needle of three letters or more is looked up in the trigram index of the table's search
// texts: on the server the index serves a LIKE (the pattern's own % and _ escaped), on the
// bench's file the FTS5 table a quoted phrase, which matches a run of trigrams, that is a
// substring. A shorter needle has no trigram and is looked for row by row, as is any needle
// by a store asked to scan (which the tests compare the index with).
struct TextTest {
    QString sql;
    QVariantList binds;
};
TextTest textTest(const QSqlDatabase &db, const char *table, const char *alias, const QString &needle, bool scan,
                  const QString &word = QString());

// The word of a needle of several that the server's trigram index is best asked for. The
// index reads, for each of a pattern's trigrams, where it occurs: a word in every eighth
// event ("ducati", a first name) makes a whole identification slow to look up however few
// events hold it. The rare word is the one the fewest of the newest events hold, the longer
// of two as rare; the whole needle when it is one word, or has no other of three letters.
QString rarestWord(QSqlDatabase db, const QString &needle);

// The targets whose current label holds the needle, for the test that a column is one of
// them: the targets themselves when there are few, so that each database looks the rows up
// by its index of the column; the subquery when a needle is in so many labels that the list
// would be longer than reading the table.
struct Targets {
    QString list;   // what goes between the parentheses of IN; empty: no target
    QVariantList binds;
};

// Tests of which a row need pass one. Each is one the database can answer from an index, and
// a test that cannot be true is left out rather than written as FALSE: SQLite takes an OR of
// indexed tests as the union of what each index finds, but reads every row when one term
// has no index.
struct AnyOf {
    QStringList tests;
    QVariantList binds;
    void add(const QString &test, const QVariantList &values)
    {
        tests << test;
        binds += values;
    }
    void addIn(const QString &column, const Targets &targets)
    {
        if (!targets.list.isEmpty())
            add(QStringLiteral("%1 IN (%2)").arg(column, targets.list), targets.binds);
    }
    QString sql() const { return tests.isEmpty() ? QStringLiteral("FALSE") : tests.join(QStringLiteral(" OR ")); }
    // The same as the union of one query of `select` per test, which the server answers test
    // by test from each one's index even where a test is a subquery; the binds stay in order.
    QString eachOf(const QString &select) const
    {
        return tests.isEmpty() ? select + QStringLiteral(" WHERE FALSE")
                               : select + QStringLiteral(" WHERE ") + tests.join(QStringLiteral(" UNION ") + select
                                                                                 + QStringLiteral(" WHERE "));
    }
};

// The targets of `targetKind` whose current label passes `test`; nothing (and `error`)
// when the database fails.
std::optional<Targets> labelTargets(QSqlDatabase db, const char *targetKind, const TextTest &test, QString *error);

}  // namespace vorn::searchtests
