// The pull comparison's figures, made in the program from the core's pull finder and the
// tunes kept beside each log; the module only shows them.
#pragma once

#include "logview/LogViewApi.h"

#include "params/ParameterImage.h"

#include <map>

namespace vorn::logview {

// What one log holds for the comparison: its pulls with the tune of each, and the bands of
// each pull. `ok` false when it cannot be read.
struct LogPulls {
    bool ok = false;
    std::vector<FoundPull> pulls;
    std::vector<std::vector<PullBand>> bands;   // per pull
    std::map<QString, ParameterImage> images;   // per tune hash
};

LogPulls pullsOfLog(const QString &log, const PullSettings &settings = {});

// The report over logs whose pulls `read` gives.
PullReport reportOf(const QStringList &logs, const std::function<LogPulls(const QString &)> &read,
                    const std::optional<std::vector<int>> &chosen, bool average, int language);

// Every pull of the logs with the tune in force at its start, the chosen ones as runs (the
// pulls of one tune averaged into one run when `average`), each later run against the first
// per band, and the parameters that differ between the runs' tunes by name.
PullReport comparePulls(const QStringList &logs, const std::optional<std::vector<int>> &chosen, bool average,
                        int language, const PullSettings &settings = {});

// comparePulls keeping what each log held while the log stays as it was: the window asks for
// the report again on every choice, and a season of logs is read once, not at every look.
ComparePulls cachedComparePulls();

// Where the pulls of the rows start, in the log's seconds: the workbench aligns logs by it.
std::vector<double> pullStartsOf(const std::vector<LogRow> &rows);

}  // namespace vorn::logview
