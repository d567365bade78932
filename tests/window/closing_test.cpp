// A closing signal while a box or dialog of the window is open: the box ends, the handler
// that opened it returns on a living window, then the window closes the normal way.
#include "app/Hlav.h"
#include "app/SignalClose.h"
#include "about/About.h"
#include "files/ImageDump.h"
#include "files/IgnFile.h"
#include "history/ui/ChangeHistoryUi.h"
#include "history/ui/CompareUi.h"
#include "maps/ui/MapTools.h"
#include "support/ScriptedInteraction.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

// The port every window of this file opens; nullptr: the real serial adapter.
static TFormHlav::PortOpener testPortOpener;

class ClosingTest : public QObject {
    Q_OBJECT
private slots:
    void signalWhileModal_data();
    void signalWhileModal();
};

void ClosingTest::signalWhileModal_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("signal");
    QTest::newRow("Open dialog, SIGTERM") << "MenuOpen" << int(SIGTERM);
    QTest::newRow("Open dialog, SIGHUP") << "MenuOpen" << int(SIGHUP);
    QTest::newRow("Save dialog, SIGINT") << "MenuSave" << int(SIGINT);
    QTest::newRow("New question, SIGTERM") << "MenuNew" << int(SIGTERM);
    QTest::newRow("New question, SIGINT") << "MenuNew" << int(SIGINT);
    QTest::newRow("missing manual box, SIGHUP") << "MenuContens" << int(SIGHUP);
    QTest::newRow("about box, SIGTERM") << "MenuAbout" << int(SIGTERM);
    // Windows of their own beside the main window (not modal), and the file choice of Compare.
    QTest::newRow("restore points, SIGTERM") << "MenuRestorePoints" << int(SIGTERM);
    QTest::newRow("comparison, SIGHUP") << "CompareView" << int(SIGHUP);
    QTest::newRow("compare with file dialog, SIGINT") << "MenuCompareFile" << int(SIGINT);
    QTest::newRow("archive window, SIGHUP") << "MenuArchive" << int(SIGHUP);
    QTest::newRow("Replay log dialog, SIGTERM") << "MenuLogReplay" << int(SIGTERM);
    QTest::newRow("Log folder dialog, SIGINT") << "MenuLogFolder" << int(SIGINT);
    QTest::newRow("Load time in cell dialog, SIGHUP") << "MenuLogTimeInCellLoad" << int(SIGHUP);
    QTest::newRow("Compare pulls log dialog, SIGTERM") << "MenuLogComparePulls" << int(SIGTERM);
    // Not modal: the window closes with it open and takes it along.
    QTest::newRow("Port settings dialog, SIGTERM") << "MenuPortSettings" << int(SIGTERM);
    QTest::newRow("map cells Set box, SIGTERM") << "MenuMapSet" << int(SIGTERM);
    QTest::newRow("map cells Add box, SIGINT") << "MenuMapAdd" << int(SIGINT);
    QTest::newRow("map cells Scale box, SIGHUP") << "MenuMapScale" << int(SIGHUP);
    QTest::newRow("map view open, SIGTERM") << "MenuMapView" << int(SIGTERM);
}

void ClosingTest::signalWhileModal()
{
    QFETCH(QString, action);
    QFETCH(int, signal);

    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    testPortOpener = [](const QString &, QString *) -> std::unique_ptr<vorn::PortIo> { return nullptr; };
    ScriptedInteraction startUp;   // answers the port's box at start-up only
    QPointer<TFormHlav> form = new TFormHlav;
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setUserInteraction(&startUp);
    installCloseOnSignals(form);
    form->setPortOpener(testPortOpener);
    form->FormCreate({});
    FormAbout = new TFormAbout(form);
    form->setUserInteraction(nullptr);   // from here on the real boxes and dialogs
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    form->Image.limiter2() = 177;   // the dump must hold what the window held
    form->ShowParameters();
    const QString fileShown = form->ctl<QLabel>("LabelFile2")->text();
    if (action.startsWith("MenuMap")) {   // the map tools' boxes ask for the cells they act on
        form->ctl<QTabWidget>("PageControl1")->setCurrentWidget(form->ctl<QWidget>("TabSheetAdvance"));
        form->mapTools->select(vorn::maps::Table::Advance, {0, 0, 1, 1});
    }
    // The map view is no box: the signal comes once it is on screen.
    bool signalled = false;
    QTimer poll;
    poll.setInterval(5);
    const QString ownWindow = action == "MenuRestorePoints" ? QStringLiteral("RestorePointsDialog")
                              : action == "MenuArchive"     ? QStringLiteral("ArchiveWindow")
                              : action == "CompareView"     ? action
                              : action == "MenuMapView"     ? QStringLiteral("FormMapView")
                                                            : QString();
    auto opened = [&] {
        if (!ownWindow.isEmpty()) {
            auto *w = form ? form->findChild<QWidget *>(ownWindow) : nullptr;
            return w && w->isVisible();
        }
        if (QApplication::activeModalWidget())
            return true;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog *>(w) && w->isVisible())
                return true;
        return false;
    };
    connect(&poll, &QTimer::timeout, this, [&] {
        if (!signalled && opened()) {
            signalled = true;
            ::raise(signal);
        }
    });
    poll.start();
    if (action == "CompareView") {
        QFile other(dir.filePath("other.ign"));
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write(vorn::WriteParameterFile(form->Image)) > 0);
        other.close();
        ChangeHistoryUi::of(form->History).compare().compareWithFile(other.fileName());
    } else {
        form->findChild<QAction *>(action)->trigger();   // returns once a modal box has ended
    }
    QTRY_VERIFY(signalled);
    if (ownWindow.isEmpty())
        QVERIFY(form);   // the handler of a modal box finished on a living window
    QTRY_VERIFY(form.isNull());
    poll.stop();

    QFile ini(dir.filePath("vorn4.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray saved = ini.readAll();
    QVERIFY2(saved.contains("[FORM_HLAV]") && saved.contains("File=" + fileShown.toUtf8()), saved.constData());
    QFile dump(dir.filePath("_vorn4.ini"));
    QVERIFY(dump.open(QIODevice::ReadOnly));
    vorn::ParameterImage image;
    QVERIFY(vorn::ReadImageDump(dump.readAll(), image));
    QCOMPARE(int(image.limiter2()), 177);   // New was not applied on the way out
}

QTEST_MAIN(ClosingTest)
#include "closing_test.moc"
