// Logs far beyond an hour: the generator bench/scale-logs.sh makes its rides with, and the
// workbench and pull comparison figures it prints at each size. Prints figures only.
//
//   vorn4-scale-logs rides DIR COUNT ROWS SEED  COUNT rides of ROWS rows (330 ms apart), a
//                                            pull every two and a half minutes, each ride's
//                                            tune beside it (one of four)
//   vorn4-scale-logs workbench ROWS LOG...    open and draw the first log, then overlay them
//                                            all and redraw after pans and zooms; memory
//   vorn4-scale-logs compare LOG...           the pull comparison window over all the logs,
//                                            averaged per tune
#include "BenchSupport.h"
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "logview/PlotArea.h"
#include "logview/Workbench.h"
#include "logview/ui/PullReport.h"
#include "params/New.h"
#include "support/FakeHost.h"
#include "support/SyntheticPulls.h"

#ifdef VORN4_LOGVIEW_CHARTS
#include "logview/PullComparisonWindow.h"
#endif

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <random>

namespace {

// Cruising between pulls: speed and throttle wandering, every channel filled as the unit
// reports it; a full-throttle pull from 4,000 rpm about every 450 rows, coasting after it.
std::vector<vorn::LogRow> ride(int count, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(-1, 1);
    // Four tunes, each pulling a little differently.
    const double factor = 1 + 0.02 * (seed % 4);
    const synth::Run run([factor](double rpm) { return factor * synth::torqueCurve(rpm); }, 4000, 11000);
    std::vector<vorn::LogRow> rows;
    rows.reserve(static_cast<std::size_t>(count) + 64);
    std::int64_t t = 0;
    double phase = unit(rng) * 3;
    int pull = 0;
    while (static_cast<int>(rows.size()) < count) {
        const int cruise = 420 + static_cast<int>(rng() % 60);
        for (int i = 0; i < cruise; ++i, t += 330) {
            phase += 0.01 + 0.005 * unit(rng);
            const int rpm = static_cast<int>(5000 + 1800 * std::sin(phase) + 10 * unit(rng));
            rows.push_back(synth::row(t, rpm, static_cast<int>(30 + 20 * std::sin(phase * 1.7))));
        }
        t = synth::appendRun(rows, run, t, {10, 0, double(rng() % 330), seed * 1000 + unsigned(pull++)});
        t = synth::appendSteady(rows, t, 8, 10800, -800, 0);
    }
    rows.resize(static_cast<std::size_t>(count));
    for (vorn::LogRow &r : rows) {
        r.throttleMv = 500 + r.throttlePercent * 40;
        r.supplyMv = 13600 + static_cast<int>(rng() % 300);
        for (int c = 0; c < vorn::kChannels; ++c)
            r.advance[static_cast<std::size_t>(c)] = 8 + r.rpm / 400 + c;
        r.servoDesiredMv = r.rpm > 7000 ? 4000 : 1000;
        r.servoMeasuredMv = r.servoDesiredMv + static_cast<int>(rng() % 40);
        r.mapRow = std::min(9, r.throttlePercent / 10);
        r.mapColumn = std::min(9, r.rpm / 1200);
    }
    return rows;
}

int writeRide(const QString &path, int count, unsigned seed)
{
    const std::vector<vorn::LogRow> rows = ride(count, seed);
    QByteArray text = QByteArray(vorn::kLogHeader) + '\n';
    text.reserve(static_cast<qsizetype>(rows.size()) * 64);
    for (const vorn::LogRow &r : rows)
        text += vorn::formatLogRow(r) + '\n';
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        return 1;
    f.close();
    vorn::ParameterImage image;
    vorn::LoadDefaults(image);
    image[vorn::Off::Advance + 55] = static_cast<std::uint8_t>(20 + seed % 4);
    return vorn::saveTuneBesideLog(image, path) ? 0 : 1;
}

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The median wall time and the median CPU time of `rounds` runs of f(round), in ms: on a
// machine others share, the wall clock also counts their turns.
struct Timing {
    double wallMs = 0, cpuMs = 0;
};
Timing median(int rounds, const std::function<void(int)> &f)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        const double c0 = cpuMs();
        f(i);
        cpu.push_back(cpuMs() - c0);
        wall.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

void print(const char *name, int size, const Timing &t)
{
    std::printf("%s %d %.2f\n%s_cpu %d %.2f\n", name, size, t.wallMs, name, size, t.cpuMs);
}

int workbench(int rows, const QStringList &logs)
{
    QTemporaryDir dir;
    FakeHost host(dir.filePath("vorn4.ini"));
    const long before = bench::residentKb();
    vorn::logview::WorkbenchWindow wb(host, {}, nullptr);
    wb.resize(1280, 800);
    wb.show();
    QCoreApplication::processEvents();
    // The first opening on its own: memory as a tuner would see it with one long log.
    wb.openLog(logs[0]);
    wb.plotView()->repaint();
    const long one = bench::residentKb();
    print("open_ms", rows, median(5, [&](int) {
              wb.openLog(logs[0]);
              wb.plotView()->repaint();
          }));
    std::printf("rss_one_mb %d %.1f\n", rows, one / 1024.0);
    for (int k = 1; k < logs.size(); ++k)
        wb.addLog(logs[k]);
    wb.setChannels({vorn::ChRpm, vorn::ChThrottlePercent, vorn::ChAdvance1, vorn::ChMapRow});
    QCoreApplication::processEvents();
    auto *plot = wb.plotArea();
    plot->showWhole();
    plot->repaint();
    std::printf("rss_four_mb %d %.1f\n", rows, bench::residentKb() / 1024.0);
    std::printf("rss_before_window_mb %d %.1f\n", rows, before / 1024.0);
    // The whole log in view, and a tenth of it: what a redraw costs at both ends of zooming.
    const double whole = wb.viewTo() - wb.viewFrom();
    for (const double share : {1.0, 0.1}) {
        wb.setView(wb.viewFrom(), wb.viewFrom() + whole * share);
        plot->repaint();
        const bool all = share == 1.0;
        print(all ? "redraw_pan_ms_whole" : "redraw_pan_ms_tenth", rows, median(41, [&](int i) {
                  plot->pan(i % 2 ? -0.02 : 0.02);
                  plot->repaint();
              }));
        print(all ? "redraw_zoom_ms_whole" : "redraw_zoom_ms_tenth", rows, median(41, [&](int i) {
                  plot->zoom(i % 2 ? 1.25 : 0.8, (wb.viewFrom() + wb.viewTo()) / 2);
                  plot->repaint();
              }));
    }
    return 0;
}

int compare(const QStringList &logs)
{
#ifdef VORN4_LOGVIEW_CHARTS
    QTemporaryDir dir;
    FakeHost host(dir.filePath("vorn4.ini"));
    const vorn::logview::ComparePulls compare = vorn::logview::cachedComparePulls();
    vorn::logview::PullComparisonWindow window(host, compare, nullptr);
    window.show();
    window.setAverage(true);
    QCoreApplication::processEvents();
    int added = 0;
    print("compare_ms", static_cast<int>(logs.size()), median(1, [&](int) {
              added = window.addLogs(logs);
              QCoreApplication::processEvents();
          }));
    std::printf("compare_pulls %lld %zu (logs added %d)\n", static_cast<long long>(logs.size()),
                window.report().pulls.size(), added);
    return 0;
#else
    (void)logs;
    std::printf("compare_ms: the pull comparison needs Qt Charts\n");
    return 0;
#endif
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString mode = args.value(0);
    if (mode == QLatin1String("rides") && args.size() == 5) {
        for (int k = 0; k < args[2].toInt(); ++k)
            if (writeRide(QStringLiteral("%1/ride%2.csv").arg(args[1]).arg(k, 3, 10, QLatin1Char('0')), args[3].toInt(),
                          args[4].toUInt() * 1000 + static_cast<unsigned>(k)))
                return 1;
        return 0;
    }
    if (mode == QLatin1String("workbench") && args.size() >= 3)
        return workbench(args[1].toInt(), args.mid(2));
    if (mode == QLatin1String("compare") && args.size() >= 2)
        return compare(args.mid(1));
    std::fprintf(stderr, "usage: vorn4-scale-logs rides DIR COUNT ROWS SEED | workbench ROWS LOG... | compare LOG...\n");
    return 2;
}
