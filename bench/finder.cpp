// The advance finder against the simulated motorcycle: vorn4-cli finder run --rounds 2 from
// the stock full-throttle row 6 degrees retarded and 5 degrees advanced, with the symmetric
// engine and with one that loses twice as much over-advanced; the worst and median error
// per start against the model's best, and how long the analysis of the eighteen logs of a
// run takes. Each start rides about six minutes in real time; --start and --loss pick one.
//
//   vorn4-finder [--start DEG] [--loss X] [--seed N]
#include "finder/AdvanceFinder.h"
#include "support/FinderSim.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The analysis of a run's logs, best of ten.
double analysisMs(const QString &dir, int *logCount)
{
    std::vector<vorn::finder::RecordedLog> logs;
    for (const QString &name : QDir(dir + "/out").entryList({"round*-variant*.csv"}, QDir::Files, QDir::Name))
        logs.push_back({vorn::readLog(dir + "/out/" + name).rows});
    *logCount = static_cast<int>(logs.size());
    vorn::ParameterImage base;
    vorn::ReadParameterFile(findersim::readFile(dir + "/base.ign"), base);
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

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
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
