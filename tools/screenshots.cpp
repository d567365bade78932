// Developer tool: renders every page of the main window in each language to PNG files.
#include "app/Hlav.h"
#include "archive/ArchiveStore.h"
#include "archive/ui/ArchiveUi.h"
#include "archive/ui/ArchiveWindow.h"
#include "files/ConfigDir.h"
#include "params/TuneHash.h"
#include "datalog/ui/DatalogController.h"
#include "datalog/ui/ReplayPanel.h"
#include "history/ui/ChangeHistoryUi.h"
#include "history/ui/CompareUi.h"
#include "history/ui/RestorePointsUi.h"
#include "history/ui/ChangeTrackingUi.h"
#include "history/ui/CompareView.h"
#include "history/ui/RestorePointsDialog.h"
#include "logview/ui/AdvanceFinderUi.h"
#include "logview/ui/LogViewUi.h"
#include "link/ui/PortSettingsDialog.h"
#include "link/ui/PortSettingsUi.h"
#include "maps/ui/MapTools.h"
#include "tests/support/ScriptedInteraction.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTabWidget>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

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
    ChangeHistoryUi &history = ChangeHistoryUi::of(form.History);
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
    // With VORN4_SHOT_LOG set to a log file: the recording state, then that log replayed
    // on the map page with time in cell shown, and the replay panel.
    const QString log = qEnvironmentVariable("VORN4_SHOT_LOG");
    if (!log.isEmpty()) {
        form.action(kLanguageMenus[languages.first() & 3])->trigger();
        auto wait = [](int ms) {
            QEventLoop loop;
            QTimer::singleShot(ms, &loop, &QEventLoop::quit);
            loop.exec();
        };
        tabs->setCurrentIndex(2);
        form.ctl<QCheckBox>("CheckBoxTpsMapa")->setChecked(true);   // the whole map
        form.UpdateDisplayStates();
        form.Datalog->startRecording();
        wait(2200);
        form.grab().save(out + QStringLiteral("/datalog-recording.png"));
        form.Datalog->stopRecording();
        form.action("MenuLogTimeInCell")->setChecked(true);
        form.Datalog->startReplay(log);
        form.Datalog->setSpeed(16);
        wait(3000);
        form.Datalog->togglePlay();
        wait(700);
        form.grab().save(out + QStringLiteral("/datalog-replay-map.png"));
        form.Datalog->panel()->grab().save(out + QStringLiteral("/datalog-replay-panel.png"));
        form.Datalog->leaveReplay();
    }
    // With VORN4_SHOT_HISTORY set: the Edit menu, the status bar's change parts, the restore
    // points and the comparison after a few edits and a New.
    if (qEnvironmentVariableIsSet("VORN4_SHOT_HISTORY")) {
        form.action("MenuEnglish")->trigger();
        form.Image.limiter2() = 105;
        form.AfterEdit();
        form.Image.advance(9, 3) = 31;
        form.Image.advance(5, 6) = 12;
        form.AfterEdit();
        form.MenuNewClick();
        form.Image.limiter2() = 120;
        form.AfterEdit();
        history.restorePoints().waitForRestorePoints();
        QApplication::processEvents();
        form.statusBar()->grab().save(out + "/history-statusbar.png");
        QMenu *edit = form.findChild<QMenu *>(QStringLiteral("MenuEdit"));
        edit->popup(form.mapToGlobal(QPoint(60, 20)));
        QApplication::processEvents();
        edit->grab().save(out + "/history-editmenu.png");
        edit->hide();
        history.restorePoints().openRestorePoints();
        QApplication::processEvents();
        history.restorePoints().restorePointsDialog()->grab().save(out + "/history-restorepoints.png");
        history.restorePoints().restorePointsDialog()->findChild<QPushButton *>("RestorePointShow")->click();
        QApplication::processEvents();
        history.compare().compareView()->grab().save(out + "/history-compare.png");
    }
    // With VORN4_SHOT_VERIFY=1 and a unit on the port that holds another set: the offer
    // after "Verify error!" and the comparison of the blocks the unit sent.
    if (qEnvironmentVariableIntValue("VORN4_SHOT_VERIFY")) {
        form.action(kLanguageMenus[languages.first() & 3])->trigger();
        form.action("MenuVerify")->trigger();
        for (int i = 0; i < 100 && form.Session.mode() != vorn::ModeIdle; ++i) {
            QEventLoop loop;
            QTimer::singleShot(55, &loop, &QEventLoop::quit);
            loop.exec();
        }
        QApplication::processEvents();
        form.grab().save(out + "/history-verify-offer.png");
        if (history.tracking().verifyRepliesOffered()) {
            history.compare().showVerifyReplies();
            QApplication::processEvents();
            history.compare().compareView()->grab().save(out + "/history-verify-compare.png");
        }
    }
    // The map tools: a selection, heat colours, and the map view with a trail (made with
    // VORN4_SHOT_MAPTOOLS=1; the heat choice is saved in the settings folder used).
    if (qEnvironmentVariableIntValue("VORN4_SHOT_MAPTOOLS")) {
        using namespace vorn::maps;
        form.Image.tpsMap() = 1;
        form.ShowParameters();
        tabs->setCurrentWidget(form.ctl<QWidget>("TabSheetAdvance"));
        form.Live.speed = 4600;
        form.Live.tpsPercent = 35;
        form.mapTools->select(Table::Advance, {2, 3, 5, 6});
        QApplication::processEvents();
        form.grab().save(out + "/maptools-selection.png");
        form.mapTools->setHeatColours(true);
        QApplication::processEvents();
        form.grab().save(out + "/maptools-heat-selection.png");
        form.mapTools->clearSelection();
        QApplication::processEvents();
        form.grab().save(out + "/maptools-heat.png");
        form.mapTools->setHeatColours(false);
        if (QWidget *view = form.mapTools->openMapView()) {
            view->show();
            for (int n = 0; n < 50; ++n) {
                form.LiveCell = vorn::LiveCell{(n / 3) % 10, false, (n / 4) % 10, 3 + (n / 7) % 7};
                emit form.Notifier->liveValuesDecoded();
            }
            auto *viewTabs = view->findChild<QTabWidget *>("MapViewTabs");
            for (int page = 0; page < viewTabs->count(); ++page) {
                viewTabs->setCurrentIndex(page);
                QEventLoop paint;
                QTimer::singleShot(500, &paint, &QEventLoop::quit);
                paint.exec();
                if (page == 0 && !view->findChild<QWidget *>("LabelNo3D")) {
                    // The surface is a GL window inside the widget: grab its frame buffer.
                    view->screen()->grabWindow(view->winId()).save(out + "/mapview-tab0.png");
                    continue;
                }
                view->grab().save(QStringLiteral("%1/mapview-tab%2.png").arg(out).arg(page));
            }
        }
    }
    // Com, "Port settings..." (VORN4_SHOT_PORTS=1): the devices this machine reports, plus a
    // sample USB adapter when it reports none, so every column has something to show.
    if (qEnvironmentVariableIntValue("VORN4_SHOT_PORTS")) {
        form.remakePortSettings([] {
            std::vector<vorn::SerialDevice> devices = vorn::listSerialDevices();
            bool usb = false;
            for (const vorn::SerialDevice &d : devices)
                usb = usb || d.hasUsbIds;
            if (!usb) {
                vorn::SerialDevice sample;
                sample.path = QStringLiteral("/dev/ttyUSB0");
                sample.byIdPath = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
                sample.hasUsbIds = true;
                sample.vendorId = 0x0403;
                sample.productId = 0x6001;
                sample.serialNumber = QStringLiteral("A50285BI");
                sample.description = QStringLiteral("FT232R USB UART");
                sample.access = {true, false, QStringLiteral("dialout"), false, false};
                devices.insert(devices.begin(), sample);
            }
            return devices;
        });
        for (int language : languages) {
            form.action(kLanguageMenus[language & 3])->trigger();
            form.action("MenuPortSettings")->trigger();
            auto *dialog = form.findChild<PortSettingsDialog *>();
            if (dialog->devices()->topLevelItemCount() > 0)
                dialog->devices()->setCurrentItem(dialog->devices()->topLevelItem(0));
            QApplication::processEvents();
            dialog->grab().save(QStringLiteral("%1/ports-dialog-lang%2.png").arg(out).arg(language));
            dialog->hide();
        }
        QEventLoop settleLabel;   // the no-connection label shows after about a second
        QTimer::singleShot(1500, &settleLabel, &QEventLoop::quit);
        settleLabel.exec();
        form.grab().save(out + "/ports-hint.png");
    }
    // With VORN4_SHOT_ARCHIVE set (in the last language given): a few events in the bench's archive, a Read of a tune
    // another bench made from one of ours, the status bar and the archive window.
    if (qEnvironmentVariableIsSet("VORN4_SHOT_ARCHIVE")) {
        form.action(kLanguageMenus[languages.last() & 3])->trigger();   // the last language asked for
        vorn::ParameterImage a = form.Image, b = form.Image, c = form.Image;
        b.advance(4, 6) = static_cast<std::uint8_t>(a.advance(4, 6) + 2);
        c.advance(5, 6) = static_cast<std::uint8_t>(a.advance(5, 6) + 3);
        {
            vorn::ArchiveStore seeder;
            seeder.openLocal(vorn::configPath(vorn::kArchiveFileName));
            auto at = [](int day, int hour) { return QDateTime(QDate(2026, 11, day), QTime(hour, 15), Qt::UTC); };
            seeder.setIdentity({QStringLiteral("bench 1"), QStringLiteral("anna")});
            seeder.record({.kind = vorn::EventKind::Read, .unit = vorn::unitTextsFromImage(a), .tune = a, .timeUtc = at(1, 9)});
            seeder.record({.kind = vorn::EventKind::Program, .unit = vorn::unitTextsFromImage(c), .tune = c, .parent = a,
                           .timeUtc = at(1, 10)});
            const QString hc = vorn::tuneHash(c);
            seeder.addLabel({vorn::LabelInput::Target::Tune, hc, vorn::LabelKey::Customer, QStringLiteral("Novák")});
            seeder.addLabel({vorn::LabelInput::Target::Tune, hc, vorn::LabelKey::Bike, QStringLiteral("Jawa 350")});
            seeder.addLabel({vorn::LabelInput::Target::Tune, hc, vorn::LabelKey::Registration, QStringLiteral("1A2 3456")});
            seeder.setIdentity({QStringLiteral("bench 2"), QStringLiteral("bert")});
            seeder.record({.kind = vorn::EventKind::Program, .unit = vorn::unitTextsFromImage(b), .tune = b, .parent = c,
                           .timeUtc = at(3, 14)});
            seeder.record({.kind = vorn::EventKind::Verify, .unit = vorn::unitTextsFromImage(b), .tune = b, .timeUtc = at(3, 14)});
        }
        emit form.Notifier->transferFinished(vorn::host::HostNotifier::Transfer::Read, true, vorn::Msg::Verify, b);
        form.Archive->openWindow();
        QEventLoop answers;
        QTimer::singleShot(1500, &answers, &QEventLoop::quit);
        answers.exec();
        form.statusBar()->grab().save(out + "/archive-statusbar.png");
        form.Archive->window()->grab().save(out + "/archive-window.png");
        form.Archive->window()->searchEdit()->setText(QStringLiteral("novák"));
        form.Archive->window()->search(QStringLiteral("novák"));
        QTimer::singleShot(1000, &answers, &QEventLoop::quit);
        answers.exec();
        form.Archive->window()->grab().save(out + "/archive-window-search.png");
        form.Archive->compareTunes(vorn::tuneHash(c), vorn::tuneHash(b));
        QTimer::singleShot(1000, &answers, &QEventLoop::quit);
        answers.exec();
        if (CompareView *view = form.Archive->compareView())
            view->grab().save(out + "/archive-compare.png");
    }
    // A window of a module in every language given, each after the switch has been drawn.
    auto grabInEachLanguage = [&](QWidget *widget, const QString &name) {
        for (int language : languages) {
            form.action(kLanguageMenus[language & 3])->trigger();
            QEventLoop redraw;
            QTimer::singleShot(500, &redraw, &QEventLoop::quit);
            redraw.exec();
            widget->grab().save(QStringLiteral("%1/%2-lang%3.png").arg(out, name).arg(language));
        }
    };
    // With VORN4_SHOT_PULLS="first.csv:second.csv" (logs with their tunes beside them): Log,
    // "Compare pulls..." on those logs, the pulls of each tune averaged, in every language given.
    const QStringList pullLogs = qEnvironmentVariable("VORN4_SHOT_PULLS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (pullLogs.size() >= 2 && form.LogView) {
        silent.fileAnswers << pullLogs.front();   // the window asks for the first log itself
        form.LogView->comparePullsAction()->trigger();
        if (vorn::logview::PullComparison *pulls = form.LogView->pullComparison()) {
            for (const QString &log : pullLogs.mid(1))
                pulls->addLog(log);
            pulls->setAverage(true);
            pulls->widget()->resize(1200, 820);
            grabInEachLanguage(pulls->widget(), QStringLiteral("pulls"));
        }
    }
    // With VORN4_SHOT_FINDER=N and the unit riding pulls: Tools, "Advance finder..." run to
    // its end with N pulls per variant (the rider's line grabbed once on the way), then its
    // result in every language given.
    if (const int finderPulls = qEnvironmentVariableIntValue("VORN4_SHOT_FINDER"); finderPulls > 0) {
        auto *ui = form.findChild<vorn::logview::AdvanceFinderUi *>();
        if (vorn::logview::AdvanceFinder *finder = ui ? ui->open() : nullptr) {
            form.action(kLanguageMenus[languages.first() & 3])->trigger();
            finder->widget()->resize(1200, 900);
            auto settings = finder->settings();
            settings.pulls = finderPulls;
            finder->setSettings(settings);
            finder->start();
            QElapsedTimer ride;
            ride.start();
            bool riding = false;
            while (finder->running() && ride.elapsed() < 30 * 60 * 1000) {
                QEventLoop loop;
                QTimer::singleShot(250, &loop, &QEventLoop::quit);
                loop.exec();
                if (!riding && finder->progressText().contains(QLatin1String("variant 2"))) {
                    riding = true;
                    finder->widget()->grab().save(out + QStringLiteral("/finder-riding.png"));
                }
            }
            grabInEachLanguage(finder->widget(), QStringLiteral("finder"));
            // The proposal beside the base map, for a look at each cell's note.
            if (auto *tabs = finder->widget()->findChild<QTabWidget *>(); tabs && tabs->count() > 1) {
                tabs->setCurrentIndex(1);
                grabInEachLanguage(finder->widget(), QStringLiteral("finder-table"));
                tabs->setCurrentIndex(0);
            }
        }
    }
    form.close();
    return 0;
}
