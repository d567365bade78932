// Start-up probe: builds either the real main window or a bare QMainWindow of the same size,
// and on the first expose prints the wall-clock time and the resident set size, then quits.
#include "app/Hlav.h"
#include "about/About.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

// Wall-clock microseconds, comparable with the launching shell's $EPOCHREALTIME.
long long realtimeUs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
}

long residentKb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Reports once, on the window's first expose (the moment a user first sees it).
class FirstShown : public QObject {
public:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Expose && !done_) {
            done_ = true;
            const long long shown = realtimeUs();
            // Let pending layout and paint work finish before reading memory.
            QTimer::singleShot(200, [shown] {
                std::printf("shown_us %lld rss_kb %ld\n", shown, residentKb());
                std::fflush(stdout);
                QApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool done_ = false;
};

}  // namespace

// Usage: vorn4-startup-probe real|bare
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool bare = argc > 1 && QByteArray(argv[1]) == "bare";
    FirstShown probe;
    QWidget *window = nullptr;
    if (bare) {
        auto *w = new QMainWindow;
        w->resize(TFormHlav::kDesignWidth, TFormHlav::kDesignHeight);
        window = w;
    } else {
        TFormHlav::messageHook = [](const QString &) {};
        auto *form = new TFormHlav;
        form->FormCreate({});
        FormAbout = new TFormAbout(form);
        window = form;
    }
    window->installEventFilter(&probe);
    window->show();
    const int rc = app.exec();
    if (!bare)
        window->close();
    delete window;
    return rc;
}
