// The pull comparison's figures, made in the program from the core's pull finder and the
// tunes kept beside each log; the module only shows them.
#pragma once

#include "logview/LogViewApi.h"

namespace vorn::logview {

// Every pull of the logs with the tune in force at its start, the chosen ones as runs (the
// pulls of one tune averaged into one run when `average`), each later run against the first
// per band, and the parameters that differ between the runs' tunes by name.
PullReport comparePulls(const QStringList &logs, const std::optional<std::vector<int>> &chosen, bool average,
                        int language, const PullSettings &settings = {});

// Where the pulls of the rows start, in the log's seconds: the workbench aligns logs by it.
std::vector<double> pullStartsOf(const std::vector<LogRow> &rows);

}  // namespace vorn::logview
