// Datalog figures on the real window: the cost recording adds to one monitor reply, loading
// a one-hour log (about 11,000 rows), and the CPU a 16x replay takes. Prints figures only.
#include "app/Hlav.h"
#include "app/UserInteraction.h"
#include "datalog/LogFormat.h"
#include "datalog/ui/DatalogController.h"
#include "link/Monitor.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

// The port every window of this file opens; nullptr: the real serial adapter.
static TFormHlav::PortOpener testPortOpener;

namespace {

// Nobody at the screen: boxes are dropped, file choices cancelled.
class Unattended : public UserInteraction {
public:
    void showMessage(QWidget *, const QString &, const QString &) override {}
    QString chooseFile(QFileDialog *) override { return {}; }
};

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Replies as a ride would bring them: speed and throttle moving, everything else plausible.
vorn::Frame replyAt(int i)
{
    vorn::MonitorFields f;
    f.rpm = static_cast<std::uint16_t>(1000 + (i * 37) % 9000);
    f.tpsPercent = static_cast<std::uint8_t>((i * 7) % 101);
    f.tpsRaw = static_cast<std::uint16_t>(f.tpsPercent * 10);
    f.supplyMv = 13500;
    f.advance = {static_cast<std::uint8_t>(10 + i % 20), 0, 0, 0};
    f.servoOk = 1;
    return vorn::monitorReplyFrame(f);
}

// Microseconds per DecodeMonitorFrame over n replies.
double decodeMicroseconds(TFormHlav &form, int n)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i)
        form.DecodeMonitorFrame(replyAt(i));
    return t.nsecsElapsed() / 1000.0 / n;
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    testPortOpener = [](const QString &, QString *) { return std::unique_ptr<vorn::PortIo>(); };
    Unattended nobody;
    TFormHlav form;
    form.setUserInteraction(&nobody);
    form.setPortOpener(testPortOpener);
    form.FormCreate({});
    form.show();
    form.ctl<QTabWidget>("PageControl1")->setCurrentIndex(2);   // the map, with its overlay
    form.ctl<QCheckBox>("CheckBoxTpsMapa")->setChecked(true);

    // Recording: the same replies decoded with and without a log being written.
    constexpr int kReplies = 2000;
    std::vector<double> plain, recorded;
    for (int r = 0; r < rounds; ++r) {
        plain.push_back(decodeMicroseconds(form, kReplies));
        form.Datalog->startRecording();
        recorded.push_back(decodeMicroseconds(form, kReplies));
        form.Datalog->stopRecording();
    }
    std::printf("decode_us %.2f\n", median(plain));
    std::printf("decode_recording_us %.2f\n", median(recorded));
    std::printf("recording_added_ms %.4f\n", (median(recorded) - median(plain)) / 1000.0);

    // A one-hour log: 11,000 rows about 330 ms apart.
    const QString log = dir.filePath("hour.csv");
    {
        vorn::LogWriter w;
        w.open(log);
        for (int i = 0; i < 11000; ++i) {
            vorn::LiveCell cell{i % 10, false, (i / 3) % 10, (i / 7) % 10};
            w.append(vorn::logRowFrom(vorn::parseMonitorFrame(replyAt(i)), cell, i * 330));
        }
    }
    std::vector<double> load, open;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        const vorn::LogContents c = vorn::readLog(log);
        load.push_back(t.nsecsElapsed() / 1e6);
        if (c.rows.size() != 11000)
            std::fprintf(stderr, "read %zu rows\n", c.rows.size());
        t.restart();
        form.Datalog->startReplay(log);
        open.push_back(t.nsecsElapsed() / 1e6);
        form.Datalog->leaveReplay();
    }
    std::printf("load_11000_rows_ms %.2f\n", median(load));
    std::printf("replay_start_11000_rows_ms %.2f\n", median(open));

    // A 16x replay over 10 s of wall time, on the map page, without and with time in cell.
    QEventLoop loop;
    for (bool overlay : {false, true}) {
        form.action("MenuLogTimeInCell")->setChecked(overlay);
        form.Datalog->startReplay(log);
        form.Datalog->setSpeed(16);
        const double cpu0 = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        const double cpu = cpuSeconds() - cpu0;
        std::printf("replay_16x%s_cpu_percent %.2f\n", overlay ? "_time_in_cell" : "",
                    100.0 * cpu / (wall.nsecsElapsed() / 1e9));
        std::printf("replay_16x%s_rows_played %zu\n", overlay ? "_time_in_cell" : "", form.Datalog->player().position());
        form.Datalog->leaveReplay();
    }
    return 0;
}
