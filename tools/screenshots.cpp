// Developer tool: renders every page of the main window in each language to PNG files.
#include "app/Hlav.h"
#include "tests/support/ScriptedInteraction.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTabWidget>
#include <QTimer>

// Usage: vorn4-screenshots OUTDIR [LANGUAGE-INDEX...]
// Runs the real start-up (settings from VORN4_CONFIG_DIR); with VORN4_SHOT_SETTLE_MS the
// event loop runs that long first, so a unit on the configured port shows live values; with
// VORN4_SHOT_READ=1 the window reads that unit first, so its pages show the unit's set.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    QList<int> languages;
    for (int i = 2; i < argc; ++i)
        languages << QString::fromLocal8Bit(argv[i]).toInt();
    if (languages.isEmpty())
        languages << 0;
    ScriptedInteraction silent;
    TFormHlav form;
    form.setUserInteraction(&silent);
    form.FormCreate({});
    form.show();
    if (qEnvironmentVariableIntValue("VORN4_SHOT_READ"))
        form.action("MenuRead")->trigger();
    // Let the timer run a few seconds so a connected unit's live values fill the monitor.
    const int settleMs = qEnvironmentVariableIntValue("VORN4_SHOT_SETTLE_MS");
    QEventLoop settle;
    QTimer::singleShot(settleMs, &settle, &QEventLoop::quit);
    settle.exec();
    auto *tabs = form.ctl<QTabWidget>("PageControl1");
    static const char *const kLanguageMenus[] = {"MenuEnglish", "MenuGerman", "MenuFrench", "MenuCzech"};
    for (int language : languages) {
        form.action(kLanguageMenus[language & 3])->trigger();
        // The live labels take the new language with the next monitor replies.
        if (settleMs > 0) {
            QEventLoop relabel;
            QTimer::singleShot(1000, &relabel, &QEventLoop::quit);
            relabel.exec();
        }
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            QApplication::processEvents();
            form.grab().save(QStringLiteral("%1/lang%2-page%3.png").arg(out).arg(language).arg(page));
        }
    }
    form.close();
    return 0;
}
