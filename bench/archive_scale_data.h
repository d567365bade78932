// The archive vorn4-archive-scale measures: made by a generator from a seed, the same rows on
// the bench's SQLite file and on a PostgreSQL server, and loaded as fast as each one takes them.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include <vector>

namespace scale {

constexpr int kBenches = 100;
constexpr int kEventsPerUnit = 100;   // a unit comes to a bench about a hundred times
constexpr int kTunesPerCustomer = 5;
extern const char *const kBikes[8];

// Everything about the archive follows from the seed and the sizes.
struct Generator {
    quint32 seed;
    int tunes, events;
    QString prefix;   // of the ids of events and labels
    int units() const { return std::max(1, events / kEventsPerUnit); }
    int customers() const { return std::max(1, tunes / kTunesPerCustomer); }
    QString unitText(int u) const;   // the unit's free text: its bike and its frame number
    QString customer(int c) const;   // a first name and a surname, accents and all
    // Tune t belongs to unit t % units; a unit's tunes make a chain, each made from the last.
    int unitOf(int t) const { return t % units(); }
    QByteArray bytes(int t) const;
    QString hash(int t) const;
    QString id(char kind, int n) const { return prefix + QLatin1Char(kind) + QString::number(n); }
};

// Fills the archive's tables of `db` (created by the program) with the generator's rows;
// `dir` is a folder the server may read files from. False, said on stderr, on failure.
bool fill(QSqlDatabase db, const Generator &g, const QString &dir);

}  // namespace scale
