// pulls: the full-throttle pulls of one or more logs, each with the tune beside its log, the
// relative torque per speed band of every pull (or of every tune, its pulls averaged) and
// every later one's against the first.
#include "Commands.h"

#include "CliTexts.h"
#include "datalog/ChartRules.h"
#include "datalog/EveryCore.h"
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "datalog/PullRuns.h"
#include "datalog/Pulls.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <cmath>

namespace vorn::cli {

namespace {

// The text lists every pull as a column of its own up to this many; beyond, the columns grow
// past a terminal's width, so the pulls of each tune are averaged unless --each is given.
constexpr int kMostPullsEach = 8;

struct Found {
    int log = 0;   // index in the invocation's files
    Pull pull;
    const LogTune *tune = nullptr;
};

// A line of the comparison: one pull, or the pulls of one tune averaged.
struct Line {
    std::vector<int> pulls;   // into the pulls found
    std::vector<PullBand> bands;
    QString name;
};

// Rounded for the document: the figures mean nothing beyond these digits, and a short
// number is what a script compares.
double rounded(double v, int digits)
{
    const double f = std::pow(10.0, digits);
    return std::round(v * f) / f;
}

QString fixed(double v, int digits) { return QString::number(v, 'f', digits); }

QString shortHash(const LogTune *tune) { return tune ? tune->hash.left(8) : QString(); }

QStringList headings(T t) { return text(t).split(QLatin1Char('|')); }

QString percent(const std::optional<double> &d)
{
    return d ? signedPercent(*d) : QStringLiteral("–");
}

// Every band any line covers, in order; each line's torque in it, nothing where it does not reach.
QString bandTables(const std::vector<Line> &lines, const std::vector<BandComparison> &comparison)
{
    std::vector<std::pair<int, int>> bands;
    for (const Line &l : lines)
        for (const PullBand &b : l.bands)
            bands.emplace_back(b.rpmFrom, b.rpmTo);
    std::sort(bands.begin(), bands.end());
    bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
    auto bandName = [](int from, int to) { return QStringLiteral("%1–%2").arg(from).arg(to); };

    QList<QStringList> rows{{text(T::BandColumn)}};
    QString align = QStringLiteral("l");
    for (const Line &l : lines) {
        rows[0] << l.name;
        align += QLatin1Char('r');
    }
    for (const auto &[from, to] : bands) {
        QStringList row{bandName(from, to)};
        for (const Line &l : lines) {
            const auto b = std::find_if(l.bands.begin(), l.bands.end(),
                                        [&](const PullBand &x) { return x.rpmFrom == from && x.rpmTo == to; });
            row << (b != l.bands.end() ? fixed(b->torqueRel, 0) : QStringLiteral("–"));
        }
        rows << row;
    }
    QString out = text(T::TorqueBands) + QLatin1Char('\n') + textTable(rows, align);
    if (comparison.empty())
        return out;
    rows = {{text(T::BandColumn)}};
    for (std::size_t k = 1; k < lines.size(); ++k)
        rows[0] << lines[k].name;
    for (const BandComparison &c : comparison) {
        QStringList row{bandName(c.rpmFrom, c.rpmTo)};
        for (const std::optional<double> &d : c.torqueDiffPercent)
            row << percent(d);
        rows << row;
    }
    return out + QLatin1Char('\n') + text(T::Comparison).arg(lines.front().name) + QLatin1Char('\n')
           + textTable(rows, align);
}

// What one log holds: its pulls and the tunes kept beside it; only the pulls are kept, not
// the rows, so a season of logs holds little at once.
struct LogPulls {
    bool ok = false;
    QString error;
    std::vector<Pull> pulls;
    std::vector<LogTune> tunes;
};

std::vector<LogPulls> readLogs(const QStringList &files, const PullSettings &settings)
{
    std::vector<LogPulls> out(static_cast<std::size_t>(files.size()));
    onEveryCore(static_cast<int>(files.size()), [&](int i) {
        LogPulls &log = out[static_cast<std::size_t>(i)];
        const LogContents contents = readLog(files[i]);
        log.ok = contents.ok;
        log.error = contents.error;
        if (!contents.ok)
            return;
        log.tunes = tunesBesideLog(files[i]);
        log.pulls = findPulls(contents.rows, settings);
    });
    return out;
}

QJsonObject pullsDocument(const Invocation &in, const std::vector<Found> &found, const std::vector<Line> &lines,
                          const std::vector<BandComparison> &comparison)
{
    auto bandsJson = [](const std::vector<PullBand> &bands, bool seconds) {
        QJsonArray out;
        for (const PullBand &b : bands) {
            QJsonObject o{{QStringLiteral("rpm_from"), b.rpmFrom},
                          {QStringLiteral("rpm_to"), b.rpmTo},
                          {QStringLiteral("torque_rel"), rounded(b.torqueRel, 2)}};
            if (seconds)
                o.insert(QStringLiteral("seconds"), rounded(b.seconds, 4));
            out.append(o);
        }
        return out;
    };
    auto tuneJson = [](const LogTune *t) {   // null: no tune beside the log
        return t ? QJsonValue(QJsonObject{{QStringLiteral("hash"), t->hash}, {QStringLiteral("file"), t->path}})
                 : QJsonValue();
    };
    QJsonArray pulls;
    for (const Found &f : found)
        pulls.append(QJsonObject{{QStringLiteral("log"), in.files[f.log]},
                                 {QStringLiteral("start_s"), rounded(f.pull.startS, 3)},
                                 {QStringLiteral("end_s"), rounded(f.pull.endS, 3)},
                                 {QStringLiteral("rpm_from"), f.pull.rpmFrom},
                                 {QStringLiteral("rpm_to"), f.pull.rpmTo},
                                 {QStringLiteral("tune"), tuneJson(f.tune)},
                                 {QStringLiteral("bands"), bandsJson(f.pull.bands, true)}});
    // The lines compared: every pull, or with --average the pulls of each tune.
    QJsonArray runs;
    for (const Line &l : lines) {
        QJsonArray indexes;
        for (int i : l.pulls)
            indexes.append(i);
        runs.append(QJsonObject{{QStringLiteral("pulls"), indexes},
                                {QStringLiteral("tune"), tuneJson(found[static_cast<std::size_t>(l.pulls.front())].tune)},
                                {QStringLiteral("bands"), bandsJson(l.bands, false)}});
    }
    QJsonArray bands;
    for (const BandComparison &c : comparison) {
        QJsonArray diffs;
        for (const std::optional<double> &d : c.torqueDiffPercent)
            diffs.append(d ? QJsonValue(rounded(*d, 2)) : QJsonValue());
        bands.append(QJsonObject{{QStringLiteral("rpm_from"), c.rpmFrom},
                                 {QStringLiteral("rpm_to"), c.rpmTo},
                                 {QStringLiteral("torque_diff_percent"), diffs}});
    }
    return QJsonObject{{QStringLiteral("pulls"), pulls}, {QStringLiteral("runs"), runs}, {QStringLiteral("comparison"), bands}};
}

}  // namespace

int runPulls(const Invocation &in)
{
    PullSettings settings;
    settings.bandRpm = in.bandRpm;
    settings.thresholdPercent = in.thresholdPercent;

    // Every log is read before anything is printed, so that an unreadable one is a refusal.
    std::vector<LogPulls> read = readLogs(in.files, settings);
    std::vector<std::vector<LogTune>> tunes;
    std::vector<Found> found;
    for (int i = 0; i < in.files.size(); ++i) {
        LogPulls &log = read[static_cast<std::size_t>(i)];
        if (!log.ok) {
            complain(text(T::CannotRead).arg(in.files[i], log.error));
            return ExitUsage;
        }
        tunes.push_back(std::move(log.tunes));
        for (Pull &p : log.pulls)
            found.push_back({i, std::move(p), nullptr});
    }
    // The tunes are looked up only now: `tunes` no longer grows, so the pointers hold.
    for (Found &f : found)
        f.tune = tuneAt(tunes[static_cast<std::size_t>(f.log)], std::llround(f.pull.startS * 1000));
    if (found.empty()) {
        complain(text(T::NoPulls).arg(settings.thresholdPercent));
        if (in.json)
            say(QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("pulls"), QJsonArray()},
                                                            {QStringLiteral("runs"), QJsonArray()},
                                                            {QStringLiteral("comparison"), QJsonArray()}})
                                      .toJson()));
        return ExitDiffer;
    }

    // A script gets every pull unless it asks for the average; a reader gets columns that fit.
    const int count = static_cast<int>(found.size());
    const bool manyPulls = !in.json && !in.each && count > kMostPullsEach;
    const bool average = in.average || manyPulls;
    std::vector<int> all(found.size());
    std::vector<QString> tuneOf;
    for (int i = 0; i < count; ++i) {
        all[static_cast<std::size_t>(i)] = i;
        tuneOf.push_back(found[static_cast<std::size_t>(i)].tune ? found[static_cast<std::size_t>(i)].tune->hash : QString());
    }
    std::vector<Line> lines;
    for (std::vector<int> &pulls : pullLines(all, tuneOf, average)) {
        Line l;
        const Found &first = found[static_cast<std::size_t>(pulls.front())];
        std::vector<std::vector<PullBand>> each;
        for (int i : pulls)
            each.push_back(found[static_cast<std::size_t>(i)].pull.bands);
        l.bands = pulls.size() > 1 ? averageBands(each) : first.pull.bands;
        // An averaged column is its tune's; a pull alone is its number.
        l.name = average && first.tune ? shortHash(first.tune) : text(T::PullName).arg(pulls.front() + 1);
        l.pulls = std::move(pulls);
        lines.push_back(std::move(l));
    }
    std::vector<std::vector<PullBand>> runs;
    for (const Line &l : lines)
        runs.push_back(l.bands);
    const std::vector<BandComparison> comparison = runs.size() > 1 ? compareBands(runs) : std::vector<BandComparison>{};

    if (in.json) {
        say(QString::fromUtf8(QJsonDocument(pullsDocument(in, found, lines, comparison)).toJson()));
        return ExitOk;
    }

    QList<QStringList> rows{headings(T::PullColumns)};
    for (int i = 0; i < count; ++i) {
        const Found &f = found[static_cast<std::size_t>(i)];
        rows << QStringList{QString::number(i + 1),
                            in.files[f.log],
                            fixed(f.pull.startS, 2),
                            fixed(f.pull.endS, 2),
                            QStringLiteral("%1–%2").arg(f.pull.rpmFrom).arg(f.pull.rpmTo),
                            f.tune ? shortHash(f.tune) : text(T::PullNoTune),
                            f.tune ? QFileInfo(f.tune->path).fileName() : QString()};
    }
    QString out = text(T::PullsFound).arg(count) + QLatin1Char('\n') + textTable(rows, QStringLiteral("rlrrrll"));
    if (average) {
        QList<QStringList> tuneRows{headings(T::AveragedColumns)};
        for (const Line &l : lines) {
            QStringList numbers;
            for (int i : l.pulls)
                numbers << QString::number(i + 1);
            tuneRows << QStringList{l.name, numbers.join(QStringLiteral(", "))};
        }
        out += QLatin1Char('\n')
               + (manyPulls && !in.average ? text(T::PullsAveragedMany).arg(kMostPullsEach) : text(T::PullsAveraged))
               + QLatin1Char('\n') + textTable(tuneRows, QStringLiteral("ll"));
    }
    say(out + QLatin1Char('\n') + bandTables(lines, comparison));
    return ExitOk;
}

}  // namespace vorn::cli
