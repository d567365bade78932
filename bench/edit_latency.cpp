// Measures one after-edit round and one language switch on the real main window.
#include "app/Hlav.h"
#include "history/RestorePoints.h"
#include "history/ui/ChangeHistoryUi.h"
#include "history/ui/RestorePointsUi.h"
#include "history/ui/UndoUi.h"
#include "tests/support/ScriptedInteraction.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

template <class F>
double medianMs(int rounds, F &&f)
{
    std::vector<double> samples;
    QElapsedTimer t;
    for (int i = 0; i < rounds; ++i) {
        t.start();
        f(i);
        samples.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(samples);
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    ScriptedInteraction silent;
    TFormHlav form;
    form.setUserInteraction(&silent);
    form.FormCreate({});
    form.show();
    QApplication::processEvents();

    // Each round includes the layout and paint work it leaves behind, as a user waits for it.
    auto settle = [] { QApplication::processEvents(); };
    const double afterEdit = medianMs(300, [&](int i) {
        form.Image.advance(i % 10, (i / 10) % 10) = static_cast<std::uint8_t>(i % 60);
        form.AfterEdit();
        settle();
    });
    const double language = medianMs(40, [&](int i) {
        if (i % 2)
            form.MenuEnglishClick();
        else
            form.MenuGermanClick();
        settle();
    });
    // Undo and redo of one step, each the whole after-edit path of the window.
    form.MenuEnglishClick();
    const double undoRedo = medianMs(300, [&](int i) {
        if (i % 2)
            ChangeHistoryUi::of(form.History).undo().redo();
        else
            ChangeHistoryUi::of(form.History).undo().undo();
        settle();
    });
    // A restore point as a command takes it: the time the window's thread spends before it
    // goes on (the file work is queued for the worker thread).
    const double pointCommand = medianMs(200, [&](int i) {
        vorn::ParameterImage img = form.Image;
        img.limiter2() = static_cast<std::uint8_t>(100 + i % 50);
        emit form.Notifier->imageReplacing(vorn::host::HostNotifier::Replacement::New, img);
    });
    ChangeHistoryUi::of(form.History).restorePoints().waitForRestorePoints();
    // One restore point written by the store (the worker thread's share of the work).
    vorn::RestorePointStore store(dir.filePath("points"));
    const QDateTime t0 = QDateTime::currentDateTime();
    const double point = medianMs(200, [&](int i) {
        form.Image.limiter2() = static_cast<std::uint8_t>(100 + i % 50);
        store.write(form.Image, vorn::RestoreEvent::Read, t0.addSecs(i), i % 2 ? QStringLiteral("VRN04") : QString());
    });
    std::printf("after_edit_ms %.3f\nlanguage_switch_ms %.3f\nundo_redo_ms %.3f\nrestore_point_ms %.3f\n"
                "restore_point_command_ms %.3f\n",
                afterEdit, language, undoRedo, point, pointCommand);
    form.close();
    return 0;
}
