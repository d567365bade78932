// The advance finder's parts shared by its forms: the settings from the invocation, and the
// result as text or JSON.
#pragma once

#include "Commands.h"
#include "finder/AdvanceFinder.h"

namespace vorn::cli {

struct FinderSetup {
    int row = finder::kFullThrottleRow;
    finder::Ceiling ceiling;
};

// The row and the ceiling of the invocation; false after saying why.
bool finderSetup(const Invocation &in, FinderSetup &setup);
// Reads a parameter file onto an empty image; false after saying why.
bool readImage(const QString &path, ParameterImage &image, QByteArray *content = nullptr);
// Prints the analysis (and writes --propose's file, or `proposalPath` when given) and
// returns the exit status: 0 when a cell was decided, 1 when none.
int reportAnalysis(const Invocation &in, const finder::Analysis &analysis, const ParameterImage &base,
                   const QString &proposalPath);

int runFinderRun(const Invocation &in, const FinderSetup &setup);

}  // namespace vorn::cli
