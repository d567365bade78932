#include "logview/ui/PullReport.h"

#include "datalog/EveryCore.h"
#include "datalog/LogTune.h"
#include "datalog/PullRuns.h"
#include "logview/ui/LogViewTexts.h"
#include "params/ParameterCatalogue.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <memory>

namespace vorn::logview {

namespace {

// Eight hex digits tell tunes apart on a chart; the file name says the rest.
QString shortHash(const QString &hash)
{
    return hash.left(8);
}

QString tuneText(const QString &hash, int language)
{
    return hash.isEmpty() ? text4(texts::kNoTune, language) : text4(texts::kTune, language).arg(shortHash(hash));
}

}  // namespace

std::vector<double> pullStartsOf(const std::vector<LogRow> &rows)
{
    std::vector<double> starts;
    for (const Pull &p : findPulls(rows))
        starts.push_back(p.startS);
    return starts;
}

LogPulls pullsOfLog(const QString &log, const PullSettings &settings)
{
    LogPulls out;
    const LogContents contents = readLog(log);
    out.ok = contents.ok;
    if (!contents.ok)
        return out;
    const std::vector<LogTune> tunes = tunesBesideLog(log);
    for (const Pull &p : findPulls(contents.rows, settings)) {
        FoundPull found{log, p.startS, p.endS, p.rpmFrom, p.rpmTo, {}, {}};
        if (const LogTune *t = tuneAt(tunes, static_cast<std::int64_t>(p.startS * 1000.0))) {
            found.tuneHash = t->hash;
            found.tuneFile = t->path;
            out.images.emplace(t->hash, t->image);
        }
        out.pulls.push_back(found);
        out.bands.push_back(p.bands);
    }
    return out;
}

PullReport comparePulls(const QStringList &logs, const std::optional<std::vector<int>> &chosen, bool average,
                        int language, const PullSettings &settings)
{
    return reportOf(logs, [&](const QString &log) { return pullsOfLog(log, settings); }, chosen, average, language);
}

ComparePulls cachedComparePulls()
{
    struct Kept {
        QDateTime modified;
        qint64 size = 0;
        LogPulls pulls;
    };
    auto cache = std::make_shared<std::map<QString, Kept>>();
    return [cache](const QStringList &logs, const std::optional<std::vector<int>> &chosen, bool average, int language) {
        // The logs not yet read, or changed since, are read together on every core.
        QStringList stale;
        std::vector<QFileInfo> files;
        for (const QString &log : logs) {
            const QFileInfo file(log);
            const auto it = cache->find(log);
            if ((it == cache->end() || it->second.modified != file.lastModified() || it->second.size != file.size())
                && !stale.contains(log)) {
                stale << log;
                files.push_back(file);
            }
        }
        std::vector<LogPulls> read(static_cast<std::size_t>(stale.size()));
        onEveryCore(static_cast<int>(stale.size()), [&](int i) { read[static_cast<std::size_t>(i)] = pullsOfLog(stale[i], {}); });
        for (std::size_t i = 0; i < read.size(); ++i)
            // A log that cannot be read may be readable on the next look.
            if (read[i].ok)
                cache->insert_or_assign(stale[static_cast<int>(i)], Kept{files[i].lastModified(), files[i].size(), std::move(read[i])});
        return reportOf(
            logs,
            [&](const QString &log) {
                const auto it = cache->find(log);
                return it != cache->end() ? it->second.pulls : pullsOfLog(log, {});
            },
            chosen, average, language);
    };
}

PullReport reportOf(const QStringList &logs, const std::function<LogPulls(const QString &)> &read,
                    const std::optional<std::vector<int>> &chosen, bool average, int language)
{
    PullReport report;
    std::vector<std::vector<PullBand>> bandsOf;   // per pull found
    std::map<QString, ParameterImage> images;     // per tune hash
    for (const QString &log : logs) {
        LogPulls found = read(log);
        if (!found.ok) {
            report.unreadable << text4(texts::kUnreadable, language).arg(QFileInfo(log).fileName());
            continue;
        }
        report.pulls.insert(report.pulls.end(), found.pulls.begin(), found.pulls.end());
        for (auto &bands : found.bands)
            bandsOf.push_back(std::move(bands));
        images.merge(found.images);
    }

    std::vector<int> picked;
    if (chosen) {
        picked = *chosen;
    } else {
        for (int i = 0; i < static_cast<int>(report.pulls.size()); ++i)
            picked.push_back(i);
    }
    std::vector<QString> tuneOf;
    for (const FoundPull &p : report.pulls)
        tuneOf.push_back(p.tuneHash);
    std::vector<std::vector<int>> lines = pullLines(picked, tuneOf, average);
    // Left to itself the window charts as many lines as have colours that stay apart: a
    // season of rides unaveraged is thousands of lines no one can read, and slow to draw.
    // The ticks in the pull list show which are charted; ticking others charts them.
    constexpr std::size_t kMostLinesUnchosen = 20;
    if (!chosen && lines.size() > kMostLinesUnchosen)
        lines.resize(kMostLinesUnchosen);
    for (std::vector<int> &pulls : lines) {
        PullRun run;
        run.tuneHash = tuneOf[static_cast<std::size_t>(pulls.front())];
        run.pulls = std::move(pulls);
        report.runs.push_back(std::move(run));
    }
    std::vector<std::vector<PullBand>> runBands;
    for (PullRun &run : report.runs) {
        const FoundPull &first = report.pulls[static_cast<std::size_t>(run.pulls.front())];
        if (run.pulls.size() == 1) {
            run.bands = bandsOf[static_cast<std::size_t>(run.pulls.front())];
            run.name = text4(texts::kPullName, language)
                           .arg(QFileInfo(first.log).completeBaseName(), QString::number(first.startS, 'f', 1),
                                tuneText(first.tuneHash, language));
        } else {
            std::vector<std::vector<PullBand>> each;
            for (int i : run.pulls)
                each.push_back(bandsOf[static_cast<std::size_t>(i)]);
            run.bands = averageBands(each);
            run.name = text4(texts::kAverageName, language).arg(tuneText(run.tuneHash, language)).arg(run.pulls.size());
        }
        runBands.push_back(run.bands);
    }
    if (runBands.size() > 1)
        report.comparison = compareBands(runBands);

    // The tunes in the order their runs come, the first one the reference.
    std::vector<QString> hashes;
    for (const PullRun &run : report.runs)
        if (!run.tuneHash.isEmpty() && std::find(hashes.begin(), hashes.end(), run.tuneHash) == hashes.end())
            hashes.push_back(run.tuneHash);
    for (const QString &h : hashes)
        report.tunes << tuneText(h, language);
    if (hashes.size() > 1) {
        const ParameterImage &reference = images.at(hashes.front());
        // Every parameter that differs from the reference in any tune, in catalogue order.
        std::vector<const Parameter *> differing;
        for (std::size_t t = 1; t < hashes.size(); ++t)
            for (const ParameterDifference &d : imageDifferences(reference, images.at(hashes[t])))
                if (std::find(differing.begin(), differing.end(), d.parameter) == differing.end())
                    differing.push_back(d.parameter);
        for (const Parameter &p : parameterCatalogue()) {
            if (std::find(differing.begin(), differing.end(), &p) == differing.end())
                continue;
            QStringList row{parameterName(p, language, reference)};
            for (const QString &h : hashes)
                row << valueWithUnit(p, images.at(h).bytes[static_cast<std::size_t>(p.offset)], language);
            report.differences << row;
        }
    }
    return report;
}

}  // namespace vorn::logview
