// pulls: the full-throttle pulls of one or more logs, each with the tune beside its log, and
// every later pull's torque per speed band against the first.
#include "Commands.h"

#include "CliTexts.h"
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "datalog/Pulls.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

namespace vorn::cli {

namespace {

struct Found {
    int log = 0;   // index in the invocation's files
    Pull pull;
    const LogTune *tune = nullptr;
};

// Rounded for the document: the figures mean nothing beyond these digits, and a short
// number is what a script compares.
double rounded(double v, int digits)
{
    const double f = std::pow(10.0, digits);
    return std::round(v * f) / f;
}

QString fixed(double v, int digits) { return QString::number(v, 'f', digits); }

}  // namespace

int runPulls(const Invocation &in)
{
    PullSettings settings;
    settings.bandRpm = in.bandRpm;
    settings.thresholdPercent = in.thresholdPercent;

    // Every log is read before anything is printed, so that an unreadable one is a refusal.
    std::vector<std::vector<LogTune>> tunes;
    std::vector<Found> found;
    for (int i = 0; i < in.files.size(); ++i) {
        const QString &path = in.files[i];
        const LogContents log = readLog(path);
        if (!log.ok) {
            complain(text(T::CannotRead).arg(path, log.error));
            return ExitUsage;
        }
        tunes.push_back(tunesBesideLog(path));
        for (Pull &p : findPulls(log.rows, settings))
            found.push_back({i, std::move(p), nullptr});
    }
    // The tunes are looked up only now: `tunes` no longer grows, so the pointers hold.
    for (Found &f : found)
        f.tune = tuneAt(tunes[static_cast<std::size_t>(f.log)], std::llround(f.pull.startS * 1000));
    if (found.empty()) {
        complain(text(T::NoPulls).arg(settings.thresholdPercent));
        if (in.json)
            say(QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("pulls"), QJsonArray()},
                                                            {QStringLiteral("comparison"), QJsonArray()}})
                                      .toJson()));
        return ExitDiffer;
    }

    std::vector<std::vector<PullBand>> runs;
    for (const Found &f : found)
        runs.push_back(f.pull.bands);
    const std::vector<BandComparison> comparison = found.size() > 1 ? compareBands(runs) : std::vector<BandComparison>{};

    if (in.json) {
        QJsonArray pulls;
        for (const Found &f : found) {
            QJsonArray bands;
            for (const PullBand &b : f.pull.bands)
                bands.append(QJsonObject{{QStringLiteral("rpm_from"), b.rpmFrom},
                                         {QStringLiteral("rpm_to"), b.rpmTo},
                                         {QStringLiteral("seconds"), rounded(b.seconds, 4)},
                                         {QStringLiteral("torque_rel"), rounded(b.torqueRel, 2)}});
            QJsonValue tune;   // null: no tune beside the log
            if (f.tune)
                tune = QJsonObject{{QStringLiteral("hash"), f.tune->hash},
                                   {QStringLiteral("file"), f.tune->path}};
            pulls.append(QJsonObject{{QStringLiteral("log"), in.files[f.log]},
                                     {QStringLiteral("start_s"), rounded(f.pull.startS, 3)},
                                     {QStringLiteral("end_s"), rounded(f.pull.endS, 3)},
                                     {QStringLiteral("rpm_from"), f.pull.rpmFrom},
                                     {QStringLiteral("rpm_to"), f.pull.rpmTo},
                                     {QStringLiteral("tune"), tune},
                                     {QStringLiteral("bands"), bands}});
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
        say(QString::fromUtf8(
            QJsonDocument(QJsonObject{{QStringLiteral("pulls"), pulls}, {QStringLiteral("comparison"), bands}}).toJson()));
        return ExitOk;
    }

    QString out;
    int number = 0;
    for (const Found &f : found) {
        out += text(T::PullLine)
                   .arg(in.files[f.log])
                   .arg(++number)
                   .arg(fixed(f.pull.startS, 2), fixed(f.pull.endS, 2))
                   .arg(f.pull.rpmFrom)
                   .arg(f.pull.rpmTo)
               + QLatin1Char('\n');
        out += (f.tune ? text(T::PullTune).arg(f.tune->hash, QFileInfo(f.tune->path).fileName()) : text(T::PullNoTune))
               + QLatin1Char('\n');
        for (const PullBand &b : f.pull.bands)
            out += text(T::PullBand).arg(b.rpmFrom).arg(b.rpmTo).arg(fixed(b.seconds, 3), fixed(b.torqueRel, 0))
                   + QLatin1Char('\n');
    }
    if (!comparison.empty()) {
        out += text(T::Comparison) + QLatin1Char('\n');
        for (const BandComparison &c : comparison) {
            QString line = QStringLiteral("  %1-%2").arg(c.rpmFrom).arg(c.rpmTo);
            for (const std::optional<double> &d : c.torqueDiffPercent)
                line += d ? QStringLiteral("  %1%2 %").arg(*d >= 0 ? QStringLiteral("+") : QString(), fixed(*d, 1))
                          : QStringLiteral("  -");
            out += line + QLatin1Char('\n');
        }
    }
    say(out);
    return ExitOk;
}

}  // namespace vorn::cli
