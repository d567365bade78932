// Restore points in the window: written before New, listed newest first, restored as one
// undo step; points queued for writing keep unique names and are all on disk once the
// window has closed; a folder that cannot be written is said once, by the unit part of the status bar.
#include "window/EditFixture.h"

#include "history/ui/ChangeHistoryUi.h"
#include "history/ui/CompareUi.h"
#include "history/ui/RestorePointsUi.h"
#include "history/ui/ChangeTrackingUi.h"
#include "history/ui/CompareView.h"
#include "history/ui/RestorePointsDialog.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeWidget>

using editfixture::Window;

class RestorePointsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void newLeavesAPointThatRestoresAsOneStep();
    void queuedPointsAreWrittenBeforeTheWindowCloses();
    void unwritableFolderIsSaidOnce();
};

void RestorePointsWindowTest::newLeavesAPointThatRestoresAsOneStep()
{
    Window w;
    w->Image.limiter2() = 150;
    w->Image.advance(9, 2) = 33;
    w->AfterEdit();
    const vorn::ParameterImage edited = w->Image;
    w->MenuNewClick();
    QVERIFY(w->Image != edited);

    w->action("MenuRestorePoints")->trigger();
    RestorePointsDialog *dialog = ChangeHistoryUi::of(w->History).restorePoints().restorePointsDialog();
    QVERIFY(dialog && dialog->isVisible());
    QTreeWidget *tree = dialog->tree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->text(1), QString("before new"));
    QCOMPARE(tree->topLevelItem(0)->text(3), QString("2"));   // limiter and one map cell

    dialog->findChild<QPushButton *>("RestorePointShow")->click();
    CompareView *view = ChangeHistoryUi::of(w->History).compare().compareView();
    QVERIFY(view && view->isVisible());
    QCOMPARE(view->list()->rowCount(), 2);
    QVERIFY(view->text().contains(QString::fromUtf8("Limiter\t11,000 rpm\t15,000 rpm")));

    dialog->findChild<QPushButton *>("RestorePointRestore")->click();
    QCOMPARE(w->Image, edited);
    QVERIFY(w->action("MenuUndo")->text().startsWith("&Undo Restore "));
    QCOMPARE(tree->topLevelItem(0)->text(3), QString("0"));
    w->action("MenuUndo")->trigger();
    QVERIFY(w->Image != edited);
}

void RestorePointsWindowTest::queuedPointsAreWrittenBeforeTheWindowCloses()
{
    Window w;
    const int count = 6;   // most of them within the same second
    for (int i = 0; i < count; ++i) {
        w->Image.limiter2() = static_cast<std::uint8_t>(150 + i);
        w->AfterEdit();
        w->MenuNewClick();
    }
    QVERIFY(w->close());
    QStringList limiters;
    for (const auto &p : vorn::listRestorePoints(w.dir.filePath("history"))) {
        vorn::ParameterImage img;
        QVERIFY(vorn::loadRestorePoint(w.dir.filePath("history/" + p.fileName), img));
        limiters.prepend(QString::number(img.limiter2()));
    }
    QCOMPARE(limiters, (QStringList{"150", "151", "152", "153", "154", "155"}));
}

void RestorePointsWindowTest::unwritableFolderIsSaidOnce()
{
    Window w;
    QFile blocker(w.dir.filePath("history"));   // a file where the folder should be
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QStatusBar *bar = w->statusBar();
    QLabel *unitPart = ChangeHistoryUi::of(w->History).tracking().unitPart();
    const qsizetype boxesBefore = w.messages.size();   // the port's box at start-up
    for (int i = 0; i < 2; ++i) {
        w->Image.limiter2() = static_cast<std::uint8_t>(150 + i);
        w->AfterEdit();
        bar->clearMessage();
        w->MenuNewClick();   // the command itself goes on
        ChangeHistoryUi::of(w->History).restorePoints().waitForRestorePoints();
        QCOMPARE(int(w->Image.limiter2()), 110);
        // The unit part says it, the hint panel keeps hints only; a click tells why.
        QVERIFY(bar->currentMessage().isEmpty());
        QCOMPARE(unitPart->toolTip().startsWith("Restore point not written: "), i == 0);
        QTest::mouseClick(unitPart, Qt::LeftButton);
        QVERIFY2(w.messages.size() == boxesBefore + 1, qPrintable(w.messages.join(" / ")));
    }
    QVERIFY2(w.messages.last().startsWith("Restore point not written: cannot create the folder "),
             qPrintable(w.messages.last()));
}

QTEST_MAIN(RestorePointsWindowTest)
#include "restorepoints_window_test.moc"
