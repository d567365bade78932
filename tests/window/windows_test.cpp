// The main window among the program's windows: a long status text never widens it, new
// windows open beside it on the screen, a box belongs to the window the person worked in,
// and Qt's own texts follow the program's language.
#include "window/EditFixture.h"

#include "app/WindowHost.h"
#include "archive/ArchiveStore.h"
#include "archive/ui/ArchiveUi.h"
#include "host/WindowPlacement.h"
#include "logview/LogViewApi.h"
#include "logview/ui/LogViewUi.h"
#include "params/TuneHash.h"
#include "support/SimPeer.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHelpEvent>
#include <QLibraryInfo>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>

using editfixture::Window;

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    void readOfATuneWithALongNoteKeepsTheWindowSize();
    void placeBesideTheMainWindow_data();
    void placeBesideTheMainWindow();
    void newWindowsOpenBesideTheMainWindow();
    void boxesGoOverTheWindowWorkedIn();
    void qtTextsFollowTheLanguage();
};

void WindowsTest::readOfATuneWithALongNoteKeepsTheWindowSize()
{
    Window w(true);
    QVERIFY(w.shown);
    vornsim::UnitModel unit;
    MemoryPort *port = nullptr;
    w->setPortOpener([&](const QString &, QString *) -> std::unique_ptr<vorn::PortIo> {
        auto p = std::make_unique<MemoryPort>();
        port = p.get();
        attachUnit(*port, unit);
        return p;
    });
    w->MenuCom1Click(1);
    QVERIFY(port);
    w->Timer1->start();
    const QSize size = w->size();
    QLabel *tunePart = w->Archive->tunePart();
    auto read = [&] {
        w->ctl<QWidget>("LabelHlaseni")->hide();
        w->action("MenuRead")->trigger();
        QTRY_VERIFY(w->Session.mode() == vorn::ModeIdle && !w->ctl<QWidget>("LabelHlaseni")->isHidden());
    };
    read();
    QTRY_COMPARE(tunePart->text(), QStringLiteral("tune not in archive"));

    // A customer's note of 200 characters on the tune the unit holds, then Read again.
    const QString note = QStringLiteral("customer wants the map as on the track day, ").repeated(5).left(200);
    {
        vorn::ArchiveStore store;
        QVERIFY(store.openLocal(w.dir.filePath("archive.sqlite")));
        QVERIFY(store.addLabel({vorn::LabelInput::Target::Tune, vorn::tuneHash(w->Image), vorn::LabelKey::Note, note}));
    }
    read();
    QTRY_VERIFY(tunePart->text().endsWith(note));
    QTest::qWait(100);   // the status bar's layout runs from the event loop
    QCOMPARE(w->size(), size);
    QVERIFY(tunePart->geometry().right() < w->width());
    QVERIFY(tunePart->width() < tunePart->fontMetrics().horizontalAdvance(tunePart->text()));
    // The whole text in the tooltip.
    QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), tunePart->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(tunePart, &tip);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), tunePart->text());
    QToolTip::hideText();
}

void WindowsTest::placeBesideTheMainWindow_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("placed");
    const QRect screen(0, 0, 1600, 860);   // 1600 x 900 less a panel
    QTest::newRow("room on the right") << screen << QRect(100, 50, 1012, 740) << QSize(400, 300)
                                       << QRect(1120, 50, 400, 300);
    QTest::newRow("room on the left only") << screen << QRect(560, 50, 1012, 740) << QSize(500, 400)
                                           << QRect(52, 50, 500, 400);
    QTest::newRow("beside, moved up to end on the screen") << screen << QRect(100, 300, 1012, 500)
                                                           << QSize(450, 700) << QRect(1120, 160, 450, 700);
    QTest::newRow("below where neither side has room") << screen << QRect(300, 0, 1000, 400) << QSize(900, 400)
                                                       << QRect(300, 408, 900, 400);
    QTest::newRow("no room: against the wider side's edge") << screen << QRect(100, 50, 1012, 740)
                                                            << QSize(900, 640) << QRect(700, 50, 900, 640);
    QTest::newRow("larger than the screen: made to fit") << screen << QRect(100, 50, 1012, 740)
                                                         << QSize(2000, 1200) << QRect(0, 0, 1600, 860);
    QTest::newRow("second screen to the right") << QRect(1600, 0, 1280, 1000) << QRect(1700, 100, 800, 600)
                                                << QSize(300, 200) << QRect(2508, 100, 300, 200);
    QTest::newRow("main window partly off the left edge") << screen << QRect(-300, 0, 1012, 740)
                                                          << QSize(600, 500) << QRect(720, 0, 600, 500);
}

void WindowsTest::placeBesideTheMainWindow()
{
    QFETCH(QRect, available);
    QFETCH(QRect, main);
    QFETCH(QSize, size);
    QFETCH(QRect, placed);
    QCOMPARE(vorn::host::placeBeside(available, main, size), placed);
}

void WindowsTest::newWindowsOpenBesideTheMainWindow()
{
    Window w(true);
    QVERIFY(w.shown);
    const QRect available = w->screen()->availableGeometry();
    // A feature's window taller than the screen, made with the main window as parent and
    // shown as features do: made to fit, wholly on the screen.
    auto *feature = new QWidget(w.form.get(), Qt::Window);
    feature->resize(400, available.height() + 100);
    feature->show();
    QVERIFY(available.contains(feature->frameGeometry()));
    // One that chose its place keeps it.
    auto *placed = new QWidget(w.form.get(), Qt::Window);
    placed->resize(100, 100);
    placed->move(available.topLeft() + QPoint(20, 30));
    placed->show();
    QCOMPARE(placed->pos(), available.topLeft() + QPoint(20, 30));
}

void WindowsTest::boxesGoOverTheWindowWorkedIn()
{
    Window w(true);
    QVERIFY(w.shown);
    // The log workbench opens a file that is no log (the markers beside a log).
    const QString markers = w.dir.filePath("ride.markers.csv");
    {
        QFile f(markers);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("time_s,note\r\n12.5,shift\r\n");
    }
    vorn::logview::Workbench *workbench = w->LogView->openWorkbench();
    QVERIFY(workbench);
    QWidget *bench = workbench->widget();
    QTRY_COMPARE(QApplication::activeWindow(), bench);
    const qsizetype before = w.person.messages.size();
    QVERIFY(!workbench->openLog(markers));
    QCOMPARE(w.person.messages.size(), before + 1);
    QCOMPARE(w.person.messageParents.last(), bench);
    // A modal dialog over the workbench, closed again: the next box still goes there.
    {
        QDialog dialog(bench);
        dialog.setModal(true);
        dialog.show();
        QTRY_COMPARE(QApplication::activeWindow(), &dialog);
    }
    w->host().message("about the workbench");
    QCOMPARE(w.person.messageParents.last(), bench);
    // Back in the main window, its boxes go over it; a feature names its window itself.
    w->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), w.form.get());
    w->host().message("about the unit");
    QCOMPARE(w.person.messageParents.last(), w.form.get());
    w->host().messageOver(bench, "about the workbench again");
    QCOMPARE(w.person.messageParents.last(), bench);
    // Closed, the workbench gets none.
    bench->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), bench);
    bench->close();
    w->host().message("after the workbench");
    QCOMPARE(w.person.messageParents.last(), w.form.get());
}

void WindowsTest::qtTextsFollowTheLanguage()
{
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *file : {"qtbase_de.qm", "qtbase_fr.qm", "qtbase_cs.qm"})
        if (!QFile::exists(dir + QLatin1Char('/') + QLatin1String(file)))
            QSKIP(qPrintable(QStringLiteral("%1 is not in %2 (Debian package qt6-translations-l10n)")
                                 .arg(QLatin1String(file), dir)));
    Window w;
    // Made while English, written anew on each switch.
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    QLineEdit edit;
    auto menuText = [&] {
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        return menu->actions().first()->text();   // Undo
    };
    struct Row {
        const char *item;
        const char *cancel;
        const char *undo;
    };
    const Row rows[] = {
        {"MenuGerman", "Abbrechen", "&Rückgängig"},
        {"MenuCzech", "Zrušit", "&Zpět"},
        {"MenuFrench", "Annuler", "&Annuler"},
        {"MenuEnglish", "Cancel", "&Undo"},
    };
    for (const Row &r : rows) {
        w->action(r.item)->trigger();
        QTRY_COMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8(r.cancel));
        QVERIFY2(menuText().startsWith(QString::fromUtf8(r.undo)), qPrintable(menuText()));
    }
}

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
