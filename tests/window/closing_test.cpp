// A closing signal while a box or dialog of the window is open: the box ends, the handler
// that opened it returns on a living window, then the window closes the normal way.
#include "app/Hlav.h"
#include "app/SignalClose.h"
#include "about/About.h"
#include "files/ImageDump.h"
#include "maps/ui/MapTools.h"
#include "support/ScriptedInteraction.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

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
    TFormHlav::portOpener = [](const QString &, QString *) -> std::unique_ptr<vorn::PortIo> { return nullptr; };
    ScriptedInteraction startUp;   // answers the port's box at start-up only
    QPointer<TFormHlav> form = new TFormHlav;
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setUserInteraction(&startUp);
    installCloseOnSignals(form);
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
    auto mapViewShown = [&] {
        auto *view = form->findChild<QWidget *>("FormMapView");
        return view && view->isVisible();
    };

    bool signalled = false;
    QTimer poll;
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, this, [&] {
        if (!signalled && (QApplication::activeModalWidget() || mapViewShown())) {
            signalled = true;
            ::raise(signal);
        }
    });
    poll.start();
    form->findChild<QAction *>(action)->trigger();   // returns once the box has ended
    QTRY_VERIFY(signalled);
    QVERIFY(form);   // the handler finished on a living window
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
