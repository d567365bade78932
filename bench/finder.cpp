// The advance finder against the simulated motorcycle: vorn4-cli finder run --rounds 2 from
// the stock full-throttle row 6 degrees retarded and 5 degrees advanced, with the symmetric
// engine and with one that loses twice as much over-advanced; the worst and median error
// per start against the model's best, and how long the analysis of the eighteen logs of a
// run takes. Each start rides about six minutes in real time; --start and --loss pick one.
// With VORN4_FINDER_KEEP set the runs' folders stay; --analyse reads such folders again and
// judges today's analysis of their logs without riding (the second round's variants are the
// ones the run laid then).
//
//   vorn4-finder [--start DEG] [--loss X] [--seed N]
//   vorn4-finder --analyse DIR...
#include "finder/AdvanceFinder.h"
#include "support/FinderSim.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

std::vector<vorn::finder::RecordedLog> readLogs(const QString &dir, const QString &pattern)
{
    std::vector<vorn::finder::RecordedLog> logs;
    for (const QString &name : QDir(dir + "/out").entryList({pattern}, QDir::Files, QDir::Name))
        logs.push_back({vorn::readLog(dir + "/out/" + name).rows});
    return logs;
}

vorn::ParameterImage readBase(const QString &dir)
{
    vorn::ParameterImage base;
    vorn::ReadParameterFile(findersim::readFile(dir + "/base.ign"), base);
    return base;
}

// The analysis of a run's logs, best of ten.
double analysisMs(const QString &dir, int *logCount)
{
    const std::vector<vorn::finder::RecordedLog> logs = readLogs(dir, "round*-variant*.csv");
    *logCount = static_cast<int>(logs.size());
    const vorn::ParameterImage base = readBase(dir);
    double best = 1e9;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        const vorn::finder::Analysis a = vorn::finder::analyse(logs, base, {});
        best = std::min(best, t.nsecsElapsed() / 1e6);
        if (a.cells.empty())
            return -1;
    }
    return best;
}

// Today's analysis of a kept run's logs (the first round's, then all), against its truth.
void analyseKept(const QString &dir)
{
    const vorn::ParameterImage base = readBase(dir);
    vorn::finder::AnalysisSettings settings;
    settings.ceiling.offsetDeg = findersim::kCeilingOffset;
    for (const QString &pattern : {QString("round1-variant*.csv"), QString("round*-variant*.csv")}) {
        const vorn::finder::Analysis a = vorn::finder::analyse(readLogs(dir, pattern), base, settings);
        std::vector<findersim::Answer> answers;
        for (const vorn::finder::CellResult &c : a.cells)
            answers.push_back({c.column, c.rpm, c.decided(), QString::number(int(c.why)), c.bestAdvance, c.decided(),
                               c.proposed});
        if (qEnvironmentVariableIsSet("VORN4_FINDER_POINTS"))
            for (const vorn::finder::CellResult &c : a.cells) {
                std::printf("  column %d:", c.column);
                for (const vorn::finder::Tried &t : c.tried)
                    std::printf(" %d:%.4f±%.4f(%d)", t.advance, t.torqueRel, t.torqueSd, t.pulls);
                std::printf(" -> %.2f [%.2f, %.2f] loss %.5f/%.5f\n", c.bestAdvance, c.intervalLow, c.intervalHigh,
                            c.retardLoss, c.overAdvanceLoss);
            }
        findersim::Figures f;
        findersim::judge(answers, base, findersim::readFile(dir + "/truth.csv"), f);
        std::printf("%s, %s (%d pulls):\n%s  worst %.2f deg, median %.2f deg, proposal worst %.2f, above ceiling: %s\n",
                    qPrintable(dir), qPrintable(pattern), a.pulls, qPrintable(f.detail), f.worst, f.median,
                    f.proposalWorst, f.aboveCeiling ? "yes" : "no");
    }
    int logs = 0;
    const double ms = analysisMs(dir, &logs);
    std::printf("  analysis of its %d logs: %.1f ms\n", logs, ms);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 2 && QString(argv[1]) == "--analyse") {
        for (int i = 2; i < argc; ++i)
            analyseKept(argv[i]);
        return 0;
    }
    std::vector<int> starts{-6, 5};
    std::vector<double> losses{1, 2};
    int seed = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString name = argv[i];
        if (name == "--start")
            starts = {QString(argv[i + 1]).toInt()};
        else if (name == "--loss")
            losses = {QString(argv[i + 1]).toDouble()};
        else if (name == "--seed")
            seed = QString(argv[i + 1]).toInt();
    }
    for (int start : starts)
        for (double loss : losses) {
            QTemporaryDir dir;
            dir.setAutoRemove(qEnvironmentVariableIsEmpty("VORN4_FINDER_KEEP"));
            const findersim::Figures f = findersim::runFromStock(dir.path(), start, loss, seed, VORN4_SIM_EXE, VORN4_CLI_EXE);
            std::printf("start %+d deg, over-advance loss x%.0f (%s):\n", start, loss, qPrintable(dir.path()));
            if (!f.ran) {
                std::printf("  did not run: %s\n", qPrintable(f.error));
                continue;
            }
            std::printf("%s", qPrintable(f.detail));
            int logs = 0;
            const double ms = analysisMs(dir.path(), &logs);
            std::printf("  cells %d, decided %d, worst %.2f deg, median %.2f deg, above ceiling: %s\n", f.cells,
                        f.decided, f.worst, f.median, f.aboveCeiling ? "yes" : "no");
            std::printf("  analysis of its %d logs: %.1f ms\n", logs, ms);
            std::fflush(stdout);
        }
    return 0;
}
