// Undo and redo in the window: every change path is one step, the Edit menu names it, and
// the keys work inside a number field with typing not yet committed.
#include "window/EditFixture.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>

using editfixture::Window;
using editfixture::settle;

namespace {

void openPage(Window &w, const char *page)
{
    w->ctl<QTabWidget>("PageControl1")->setCurrentWidget(w->ctl<QWidget>(page));
    settle();
}

void typeInto(QLineEdit *edit, const QString &text)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

QString undoText(Window &w)
{
    return w->action("MenuUndo")->text();
}

}  // namespace

class UndoTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void editMenuSitsBetweenFileAndCom();
    void everyPathIsOneStep_data();
    void everyPathIsOneStep();
    void keysInsideAFieldTakeTheTypingFirst();
};

void UndoTest::editMenuSitsBetweenFileAndCom()
{
    Window w;
    QStringList titles;
    for (QAction *a : w->menuBar()->actions())
        titles << a->objectName();
    QCOMPARE(titles.indexOf("MenuEdit"), titles.indexOf("MenuFile") + 1);
    titles.removeAll("MenuView");   // the View menu comes right after Edit
    QCOMPARE(titles.indexOf("MenuCom"), titles.indexOf("MenuEdit") + 1);
    QVERIFY(!w->action("MenuUndo")->isEnabled());
    w->selectLanguage(1);
    QCOMPARE(w->ctl<QMenu>("MenuEdit")->title(), QString("&Bearbeiten"));
    QCOMPARE(undoText(w), QString::fromUtf8("&Rückgängig"));
}

void UndoTest::everyPathIsOneStep_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");   // what the Undo item says after the change
    const QString arrow = QString::fromUtf8(" → ");
    QTest::newRow("typed field") << "field" << "&Undo Limiter 11,000" + arrow + "10,500 rpm";
    QTest::newRow("check box") << "check" << "&Undo Excitation Long on" + arrow + "off";
    QTest::newRow("advance plus, all") << "advanceAll" << QString::fromUtf8("&Undo Advance map +1 °");
    QTest::newRow("column spin") << "column" << QString::fromUtf8("&Undo Advance column 3 +1 °");
    QTest::newRow("throttle calibration") << "tps0" << "&Undo Throttle sensor at 0 %" + QString::fromUtf8(" 700") + arrow + "500 mV";
    QTest::newRow("model list") << "model" << "&Undo Model change with its preset";
    QTest::newRow("new") << "new" << "&Undo New (default setting)";
    QTest::newRow("open") << "open" << "&Undo Open example.ign";
    QTest::newRow("paste-like command") << "note" << "&Undo Smooth map";
}

void UndoTest::everyPathIsOneStep()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    Window w(true);
    QVERIFY(w.shown);
    // Something for New to change back: it puts the limiter and base advance to defaults.
    if (path == "new") {
        w->Image.limiter2() = 150;
        w->Image.baseAdv() = 20;
        w->AfterEdit();
    }
    const vorn::ParameterImage before = w->Image;

    if (path == "field") {
        openPage(w, "TabSheetRuzne");
        typeInto(w->edit("Omez2"), "10500");
        QTest::keyClick(w->edit("Omez2"), Qt::Key_Return);
    } else if (path == "check") {
        openPage(w, "TabSheetRuzne");
        auto *box = w->ctl<QCheckBox>("CheckBoxBuzDlouhe");
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        settle();
    } else if (path == "advanceAll") {
        w->ctl<QCheckBox>("CheckBoxIgnAll")->setChecked(true);
        w->BitBtnAdvPlusClick();
    } else if (path == "column") {
        w->CSpinButtonUpClick(2);
    } else if (path == "tps0") {
        w->Live.tpsMv = 500;
        w->BitBtnTps0Click();
    } else if (path == "model") {
        auto *bike = w->ctl<QComboBox>("ComboBoxBike");
        bike->setCurrentIndex(2);
        w->ComboBikeChange();
    } else if (path == "new") {
        w->MenuNewClick();
    } else if (path == "open") {
        w.person.fileAnswers << QStringLiteral(VORN4_TEST_DATA "/example.ign");
        w->MenuOpenClick();
    } else if (path == "note") {
        w->Image.advance(3, 3) = 40;
        w->Image.advance(3, 4) = 41;
        // A command that changes the image its own way names its step before the after-edit path.
        emit w->Notifier->editStepStarted(vorn::StepLabel::named(QStringLiteral("Smooth map")));
        w->AfterEdit();
    }
    const vorn::ParameterImage after = w->Image;
    QVERIFY(after != before);
    QCOMPARE(undoText(w), name);

    w->action("MenuUndo")->trigger();
    QCOMPARE(w->Image, before);
    QCOMPARE(w->edit("Omez2")->text(), editfixture::grouped(before[vorn::Off::Limiter2] * 100));
    w->action("MenuRedo")->trigger();
    QCOMPARE(w->Image, after);
    QVERIFY(!w->action("MenuRedo")->isEnabled());
    // Undoing twice goes back past this path only when an earlier step exists.
    w->action("MenuUndo")->trigger();
    QCOMPARE(w->action("MenuUndo")->isEnabled(), path == "new");
}

void UndoTest::keysInsideAFieldTakeTheTypingFirst()
{
    Window w(true);
    QVERIFY(w.shown);
    openPage(w, "TabSheetRuzne");
    QLineEdit *limiter = w->edit("Omez2");
    typeInto(limiter, "10500");
    QTest::keyClick(limiter, Qt::Key_Return);
    QCOMPARE(int(w->Image.limiter2()), 105);

    // Typing not yet committed, then Ctrl+Z twice in that field: the first takes back only
    // the typing, the second the edit before it; leaving the field later commits nothing.
    typeInto(limiter, "9000");
    QVERIFY(limiter->hasFocus());
    const struct {
        int limiter;
        const char *shown;
    } afterPress[] = {{105, "10,500"}, {110, "11,000"}};
    for (const auto &after : afterPress) {
        QTest::keyClick(limiter, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(int(w->Image.limiter2()), after.limiter);
        QCOMPARE(limiter->text(), QString(after.shown));
    }
    QTest::keyClick(limiter, Qt::Key_Tab);
    QCOMPARE(int(w->Image.limiter2()), 110);

    // Both redo keys, from a field and from elsewhere in the window.
    typeInto(w->edit("PilotLight"), "5000");
    QTest::keyClick(w->edit("PilotLight"), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(int(w->Image.limiter2()), 105);
    QCOMPARE(w->edit("PilotLight")->text(), editfixture::grouped(w->Image.pilotLight() * 100));
    QTest::keyClick(w->edit("PilotLight"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(int(w->Image.limiter2()), 110);
    w->ctl<QWidget>("PageControl1")->setFocus();
    QTest::keyClick(w->ctl<QWidget>("PageControl1"), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(int(w->Image.limiter2()), 105);
}

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
