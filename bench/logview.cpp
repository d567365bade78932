// Log workbench figures: opening a one-hour log (about 11,000 rows) until its graphs are
// drawn, and one redraw after a pan or a zoom with four such logs overlaid. Prints figures only.
#include "BenchSupport.h"
#include "datalog/LogFormat.h"
#include "logview/PlotArea.h"
#include "logview/Workbench.h"
#include "support/FakeHost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {

// A ride: rows 330 ms apart; speed rising in pulls and falling back, throttle following.
QString writeRide(const QString &path, int rows, int seed)
{
    QByteArray text = QByteArray(vorn::kLogHeader) + '\n';
    for (int i = 0; i < rows; ++i) {
        vorn::LogRow r;
        r.timeMs = 330LL * i;
        const double phase = std::fmod(i * 0.33 + seed * 7.0, 60.0) / 60.0;
        r.rpm = static_cast<int>(1500 + 9000 * (phase < 0.5 ? phase * 2 : (1 - phase) * 2) + (i * 37 + seed) % 21 - 10);
        r.throttlePercent = phase < 0.5 ? 100 : 10;
        r.throttleMv = 500 + r.throttlePercent * 40;
        r.supplyMv = 13800 + (i % 7) * 10;
        for (int c = 0; c < 4; ++c)
            r.advance[static_cast<std::size_t>(c)] = 10 + r.rpm / 400;
        r.mapRow = phase < 0.5 ? 9 : 3;
        r.mapColumn = std::min(9, r.rpm / 1100);
        text += vorn::formatLogRow(r) + '\n';
    }
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    constexpr int kRows = 11000;
    QStringList logs;
    for (int k = 0; k < 4; ++k)
        logs << writeRide(dir.filePath(QStringLiteral("ride%1.csv").arg(k)), kRows, k);
    FakeHost host(dir.filePath("vorn4.ini"));

    // Open and show: read, index and paint the graphs of three channels, in a workbench
    // already on the screen; the window's own first showing apart.
    double windowUs = 0;
    const double openUs = bench::medianUs(7, [&](int round) {
        QElapsedTimer clock;
        clock.start();
        vorn::logview::WorkbenchWindow wb(host, {}, nullptr);
        wb.resize(1280, 800);
        wb.show();
        QCoreApplication::processEvents();
        if (round == 3)
            windowUs = static_cast<double>(clock.nsecsElapsed()) / 1000.0;
        clock.restart();
        wb.openLog(logs[0]);
        wb.plotView()->repaint();
        QCoreApplication::processEvents();
    });
    std::printf("workbench window made and shown: %.1f ms\n", windowUs / 1000);
    {
        QElapsedTimer clock;
        clock.start();
        vorn::logview::WorkbenchWindow wb(host, {}, nullptr);
        const double made = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        wb.resize(1280, 800);
        wb.show();
        QCoreApplication::processEvents();
        std::printf("  of which made %.1f ms, shown %.1f ms\n", made, static_cast<double>(clock.nsecsElapsed()) / 1e6 - made);
    }
    std::printf("open a %d-row log and draw its graphs (with the window): %.1f ms (median of 7)\n", kRows, openUs / 1000);
    const double openOnlyUs = [&] {
        vorn::logview::WorkbenchWindow wb(host, {}, nullptr);
        wb.resize(1280, 800);
        wb.show();
        QCoreApplication::processEvents();
        return bench::medianUs(7, [&](int) {
            wb.openLog(logs[0]);
            wb.plotView()->repaint();
        });
    }();
    std::printf("open a %d-row log and draw its graphs: %.1f ms (median of 7; target < 150)\n", kRows, openOnlyUs / 1000);

    vorn::logview::WorkbenchWindow wb(host, {}, nullptr);
    wb.resize(1280, 800);
    wb.show();
    wb.openLog(logs[0]);
    for (int k = 1; k < 4; ++k)
        wb.addLog(logs[k]);
    wb.setChannels({vorn::ChRpm, vorn::ChThrottlePercent, vorn::ChAdvance1, vorn::ChMapRow});
    QCoreApplication::processEvents();
    auto *plot = wb.plotArea();
    std::printf("plot %dx%d, %d logs of %d rows, 4 channels\n", plot->width(), plot->height(), wb.logCount(), kRows);
    struct Span {
        const char *name;
        double seconds;
    } spans[] = {{"whole hour in view", 3700}, {"10 minutes in view", 600}, {"30 s in view", 30}};
    for (const Span &s : spans) {
        wb.setView(600, 600 + s.seconds);
        plot->repaint();
        const double panUs = bench::medianUs(41, [&](int i) {
            plot->pan(i % 2 ? -0.02 : 0.02);
            plot->repaint();
        });
        const double zoomUs = bench::medianUs(41, [&](int i) {
            plot->zoom(i % 2 ? 1.25 : 0.8, 600 + s.seconds / 2);
            plot->repaint();
        });
        std::printf("%-20s redraw after pan %.2f ms, after zoom %.2f ms (median of 41; target < 16)\n", s.name,
                    panUs / 1000, zoomUs / 1000);
    }
    return 0;
}
