// Start-up probe: builds either the real main window or a bare QMainWindow of the same size,
// and on its first paint prints the wall-clock time and the resident set size, then quits.
#include "BenchSupport.h"
#include "app/Hlav.h"
#include "tests/support/ScriptedInteraction.h"
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

// Reports once, on the window's first paint (the moment a user first sees it).
class FirstShown : public QObject {
public:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && !done_) {
            done_ = true;
            const long long shown = realtimeUs();
            // Let pending layout and paint work finish before reading memory.
            QTimer::singleShot(200, [shown] {
                std::printf("shown_us %lld rss_kb %ld\n", shown, bench::residentKb());
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
        static ScriptedInteraction silent;
        auto *form = new TFormHlav;
        form->setUserInteraction(&silent);
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
