// Prints the cost of the map tools in the started window: a whole-map operation including
// showing the result, one highlight tick with heat colours on an unchanged map, and the
// map view's update for one monitor reply at the monitor's own pace, with everything the
// reply leads to (the surface's frame, the charts' repaint) until the next reply comes.
// Medians in microseconds.
#include "BenchSupport.h"
#include "app/Hlav.h"
#include "link/Port.h"
#include "maps/ui/MapTools.h"
#include "tests/support/ScriptedInteraction.h"

#include <QApplication>

#include <ctime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QAction>
#include <QTextStream>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>
#ifdef VORN4_BENCH_BARE_SURFACE
#include <QtDataVisualization>
#endif

#include <algorithm>
#include <functional>
#include <vector>

// The port every window of this file opens; nullptr: the real serial adapter.
static TFormHlav::PortOpener testPortOpener;

namespace {

// Counts the time the window's thread spends handling events, so that what a reply leads to
// later (a frame drawn on an update request, a repaint) is charged to it as well.
class TimedApp : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (depth_++ > 0) {
            const bool r = QApplication::notify(receiver, event);
            --depth_;
            return r;
        }
        // Asked first: a deferred delete ends the receiver.
        const bool frame = receiver->inherits("QAbstract3DGraph");
        QElapsedTimer clock;
        clock.start();
        const qint64 cpu = processCpuNs();
        const bool r = QApplication::notify(receiver, event);
        --depth_;
        busyNs += clock.nsecsElapsed();
        if (frame) {
            frameNs += clock.nsecsElapsed();
            frameCpuNs += processCpuNs() - cpu;
        }
        return r;
    }
    qint64 busyNs = 0;
    qint64 frameNs = 0;   // of that, in the 3D surface's own window (its frames)
    qint64 frameCpuNs = 0;   // the CPU time of all threads meanwhile (OpenGL in software draws on several)
    static qint64 processCpuNs()
    {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<qint64>(t.tv_sec) * 1000000000 + t.tv_nsec;
    }

private:
    int depth_ = 0;
};

// A change's time includes the repaint it asks for.
double medianUs(int rounds, const std::function<void(int)> &f)
{
    return bench::medianUs(rounds, [&](int i) {
        f(i);
        QCoreApplication::processEvents();
    });
}

}  // namespace

int main(int argc, char **argv)
{
    TimedApp app(argc, argv);
    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    testPortOpener = [](const QString &, QString *) -> std::unique_ptr<vorn::PortIo> { return nullptr; };
    ScriptedInteraction silent;
    TFormHlav form;
    form.setUserInteraction(&silent);
    form.setPortOpener(testPortOpener);
    form.FormCreate({});
    form.Timer1->stop();
    form.show();
    QCoreApplication::processEvents();
    auto &tools = *form.mapTools;
    using vorn::maps::MapTools;
    form.Image.tpsMap() = 1;
    form.ShowParameters();
    tools.select(vorn::maps::Table::Advance, vorn::maps::wholeTable(vorn::maps::Table::Advance));
    form.ctl<QTabWidget>("PageControl1")->setCurrentWidget(form.ctl<QWidget>("TabSheetAdvance"));
    QTextStream out(stdout);

    // Up and down by one in turn: every round changes all hundred cells (a map driven to its
    // limit would change none and show nothing).
    const double op = medianUs(101, [&](int i) { tools.run(MapTools::Op::Add, i % 2 ? -1 : 1); });
    out << "whole_map_operation_us " << op << "   (goal < 1000, with the cells shown)\n";

    tools.clearSelection();
    form.Live.speed = 3000;
    form.Live.tpsPercent = 30;
    const double plain = medianUs(501, [&](int) { form.HighlightActiveCell(); });
    tools.setHeatColours(true);
    form.HighlightActiveCell();
    const double heat = medianUs(501, [&](int) { form.HighlightActiveCell(); });
    out << "highlight_tick_us plain " << plain << " heat " << heat << "   (goal: heat adds nothing on an unchanged tick)\n";
    tools.setHeatColours(false);

    // One monitor reply's notice as the map view meets it; first with no view made, so
    // the closed view's figure can be held against what the other listeners cost.
    auto reply = [&](int i) {
        form.Live.speed = static_cast<std::uint16_t>(1000 + (i % 90) * 100);
        form.LiveCell = vorn::LiveCell{i % 10, false, i % 10, (i / 10) % 10};
        emit form.Notifier->liveValuesDecoded();
    };
    const double noView = medianUs(501, reply);
    tools.mapViewAction()->trigger();
    if (!tools.mapViewWindow()) {
        out << "map_view_update_us n/a (module not found)\n";
        return 0;
    }
    QCoreApplication::processEvents();
    const bool with3D = !tools.mapViewWindow()->findChild<QWidget *>("LabelNo3D");
    QEventLoop settle;   // the first frames of the surface
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
    bool onScreen = false;   // the surface is a window of its own inside the view
    for (QWindow *w : QGuiApplication::allWindows())
        if (w->inherits("QAbstract3DGraph") && w->isExposed())
            onScreen = true;
    // The monitor asks every sixth tick; each reply's share is the thread's busy time from
    // its notice until the next one, the surface's frame and the charts' repaint included.
    std::vector<double> perReply, frames, frameCpu, outside;
    {
        constexpr int kReplies = 31;
        int sent = 0;
        qint64 mark = 0, frameMark = 0, cpuMark = 0;
        QEventLoop pace;
        QTimer monitor;
        monitor.setInterval(6 * TFormHlav::kTimerInterval);
        QObject::connect(&monitor, &QTimer::timeout, [&] {
            if (sent > 0) {
                perReply.push_back(static_cast<double>(app.busyNs - mark) / 1000.0);
                frames.push_back(static_cast<double>(app.frameNs - frameMark) / 1000.0);
                frameCpu.push_back(static_cast<double>(app.frameCpuNs - cpuMark) / 1000.0);
                outside.push_back(perReply.back() - frames.back());
            }
            if (sent == kReplies) {
                pace.quit();
                return;
            }
            mark = app.busyNs;
            frameMark = app.frameNs;
            cpuMark = app.frameCpuNs;
            reply(sent++);
        });
        monitor.start();
        pace.exec();
        std::sort(perReply.begin(), perReply.end());
        std::sort(frames.begin(), frames.end());
        std::sort(frameCpu.begin(), frameCpu.end());
        std::sort(outside.begin(), outside.end());
    }
    out << "map_view_update_us " << perReply[perReply.size() / 2] << " (max " << perReply.back()
        << ")   (goal < 2000 per monitor reply at the monitor's pace, charts drawn"
        << (onScreen ? ", with the 3D surface on screen)\n" : with3D ? ", 3D surface NOT exposed)\n"
                                                                     : ", no OpenGL here)\n");
    out << "map_view_update_us of_which_surface_frames " << frames[frames.size() / 2] << " cpu_all_threads "
        << frameCpu[frameCpu.size() / 2] << " everything_else " << outside[outside.size() / 2]
        << "   (the view's own update, the charts and the window)\n";
    // With --shot FOLDER: the view's tabs as a tuner sees them after these replies.
    if (const int at = QCoreApplication::arguments().indexOf(QStringLiteral("--shot")); at > 0) {
        QWidget *view = tools.mapViewWindow();
        auto *tabs = view->findChild<QTabWidget *>(QStringLiteral("MapViewTabs"));
        for (int t = 0; t < tabs->count(); ++t) {
            tabs->setCurrentIndex(t);
            QTimer::singleShot(500, &settle, &QEventLoop::quit);
            settle.exec();
            view->screen()->grabWindow(0, view->x(), view->y(), view->frameGeometry().width(),
                                       view->frameGeometry().height())
                .save(QStringLiteral("%1/mapview-%2.png").arg(QCoreApplication::arguments().value(at + 1)).arg(t));
        }
        tabs->setCurrentIndex(0);
    }
    // The same replies with the trail's place unchanged: nothing on the surface moves.
    const double still = medianUs(201, [&](int) { emit form.Notifier->liveValuesDecoded(); });
    out << "map_view_update_us same_cell " << still << "\n";
    tools.mapViewWindow()->hide();
    QCoreApplication::processEvents();
    const double closed = medianUs(501, reply);
    out << "map_view_update_us closed " << closed << " no_view_made " << noView
        << "   (goal: closed adds nothing to the reply)\n";
#ifdef VORN4_BENCH_BARE_SURFACE
    // The floor beneath that figure on this machine: a 3D surface with nothing but its axes,
    // labels and walls, of the view's surface's size, redrawn for one small marker moved, the way
    // a reply moves the trail. The view is closed by now.
    if (onScreen) {
        QWidget *container = tools.mapViewWindow()->findChild<QWidget *>(QStringLiteral("Surface3D"));
        const QSize size = container ? container->size() : QSize(878, 618);
        QSurfaceFormat format;
        format.setDepthBufferSize(24);
        format.setSamples(0);
        auto *bare = new Q3DSurface(&format);
        bare->setShadowQuality(QAbstract3DGraph::ShadowQualityNone);
        auto *marker = new QCustom3DItem;
        marker->setMeshFile(QStringLiteral(":/defaultMeshes/sphere"));
        marker->setScaling(QVector3D(0.04f, 0.04f, 0.04f));
        bare->addCustomItem(marker);
        QWidget host;
        auto *layout = new QVBoxLayout(&host);
        layout->setContentsMargins(0, 0, 0, 0);
        QWidget *inner = QWidget::createWindowContainer(bare);
        inner->setFixedSize(size);
        layout->addWidget(inner);
        host.show();
        QTimer::singleShot(300, &settle, &QEventLoop::quit);
        settle.exec();
        std::vector<double> bareFrames;
        int moved = 0;
        qint64 frameMark = 0;
        QTimer pace;
        pace.setInterval(60);
        QObject::connect(&pace, &QTimer::timeout, [&] {
            if (moved > 0)
                bareFrames.push_back(static_cast<double>(app.frameNs - frameMark) / 1000.0);
            if (moved == 31) {
                settle.quit();
                return;
            }
            frameMark = app.frameNs;
            marker->setPosition(QVector3D(static_cast<float>(moved % 9), 5.0f, static_cast<float>(moved % 7)));
            ++moved;
        });
        pace.start();
        settle.exec();
        pace.stop();
        std::sort(bareFrames.begin(), bareFrames.end());
        out << "map_view_update_us bare_surface_frame " << bareFrames[bareFrames.size() / 2] << "   ("
            << size.width() << "x" << size.height()
            << ", axes and walls only: what one frame of any 3D surface costs here)\n";
    }
#endif
    return 0;
}
