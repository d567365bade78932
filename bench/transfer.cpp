// Measures Program plus Verify against the simulated unit: wall time and timer ticks.
#include "BenchSupport.h"
#include "app/Hlav.h"
#include "tests/support/ScriptedInteraction.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? QByteArray(argv[1]).toInt() : 7;
    QTemporaryDir dir;
    QProcess sim;
    if (bench::startSimOnCom1(sim, QStringLiteral(VORN4_SIM_EXE), {}, dir.path()).isEmpty())
        return 2;
    ScriptedInteraction silent;
    TFormHlav form;
    form.setUserInteraction(&silent);
    form.FormCreate({});
    int ticks = 0;
    QObject::connect(form.Timer1, &QTimer::timeout, [&ticks] { ++ticks; });
    const QString ok = form.Messages[vorn::Msg::Verify] + QStringLiteral(" OK");

    std::vector<double> wall;
    std::vector<int> tickCounts;
    for (int r = 0; r < rounds; ++r) {
        QDeadlineTimer settle(400);   // let a monitor exchange finish first
        while (!settle.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ticks = 0;
        QElapsedTimer t;
        t.start();
        form.MenuProgramClick();
        QDeadlineTimer deadline(20000);
        while (form.Session.mode() != vorn::ModeIdle && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::usleep(500);
        }
        if (form.ctl<QLabel>("LabelHlaseni")->text() != ok) {
            std::fprintf(stderr, "transfer: round %d did not verify OK\n", r);
            return 1;
        }
        wall.push_back(t.nsecsElapsed() / 1e6);
        tickCounts.push_back(ticks);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(tickCounts.begin(), tickCounts.end());
    std::printf("transfer_ms %.1f\ntransfer_ticks %d\n", wall[wall.size() / 2], tickCounts[tickCounts.size() / 2]);
    form.close();
    sim.terminate();
    sim.waitForFinished(3000);
    return 0;
}
