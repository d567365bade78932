// Editing in the real window with key and mouse events: commits, spinners, buttons.
#include "window/EditFixture.h"

#include "link/Session.h"

#include <QPushButton>
#include <QTabWidget>

using editfixture::Window;
using editfixture::settle;

namespace {

void openPage(Window &w, const char *page)
{
    auto *tabs = w->ctl<QTabWidget>("PageControl1");
    tabs->setCurrentWidget(w->ctl<QWidget>(page));
    settle();
}

// Upper (+) or lower (-) arrow of a spinner; right (+) or left (-) arrow of a column button.
void clickSpinner(QWidget *spinner, bool up)
{
    QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(spinner->width() / 2, up ? 2 : spinner->height() - 3));
}

void clickColumnButton(QWidget *button, bool up)
{
    QTest::mouseClick(button, Qt::LeftButton, {},
                      QPoint(up ? button->width() - 4 : 4, button->height() / 2));
}

// Check boxes only toggle when the click lands on the box or its text.
void clickCheckBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void typeInto(QLineEdit *edit, const QString &text)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

}  // namespace

class EditingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void typedMapCellLeavingByTab_data();
    void typedMapCellLeavingByTab();
    void enterCommitsAndMovesFocus();
    void checkBoxMouseReleaseAndSpaceBar();
    void spinnerClicksAndArrowKeys();
    void advanceStep_data();
    void advanceStep();
    void columnSpin();
    void servoStep_data();
    void servoStep();
    void tpsCalibration_data();
    void tpsCalibration();
};

void EditingTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void EditingTest::typedMapCellLeavingByTab_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("byte");   // -1: the cell keeps its value
    QTest::newRow("letters") << "ab" << -1;
    QTest::newRow("above the maximum") << "70" << -1;
    QTest::newRow("below the minimum") << "-1" << -1;
    QTest::newRow("in range") << "45" << 45;
    QTest::newRow("maximum") << "60" << 60;
}

void EditingTest::typedMapCellLeavingByTab()
{
    QFETCH(QString, typed);
    QFETCH(int, byte);
    Window w(true);
    QVERIFY(w.shown);
    openPage(w, "TabSheetAdvance");
    QLineEdit *cell = w->edit("145");   // row 9 is shown also without the throttle map
    const int old = w->Image.advance(9, 5);
    typeInto(cell, typed);
    QCOMPARE(int(w->Image.advance(9, 5)), old);   // nothing is taken before the field is left
    QTest::keyClick(cell, Qt::Key_Tab);
    QVERIFY(!cell->hasFocus());
    const int expected = byte < 0 ? old : byte;
    QCOMPARE(int(w->Image.advance(9, 5)), expected);
    QCOMPARE(cell->text(), QString::number(expected));
}

void EditingTest::enterCommitsAndMovesFocus()
{
    Window w(true);
    QVERIFY(w.shown);
    openPage(w, "TabSheetAdvance");
    typeInto(w->edit("145"), "33");
    QTest::keyClick(w->edit("145"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->edit("146")));
    QCOMPARE(int(w->Image.advance(9, 5)), 33);

    // Enter on the keypad, in a grouped field of another page.
    openPage(w, "TabSheetRuzne");
    typeInto(w->edit("Omez2"), "12,300");
    QTest::keyClick(w->edit("Omez2"), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(!w->edit("Omez2")->hasFocus());
    QCOMPARE(int(w->Image.limiter2()), 123);
    QCOMPARE(w->edit("Omez2")->text(), QString("12,300"));
}

// A mouse release commits the box at once; a space-bar toggle waits for the next commit
// of any field (here Enter on the clutch box, the one check box where Enter commits).
void EditingTest::checkBoxMouseReleaseAndSpaceBar()
{
    Window w(true);
    QVERIFY(w.shown);
    openPage(w, "TabSheetRuzne");
    auto *excitation = w->ctl<QCheckBox>("CheckBoxBuzDlouhe");
    QCOMPARE(int(w->Image.excitation()), 1);
    clickCheckBox(excitation);
    settle();
    QCOMPARE(int(w->Image.excitation()), 0);

    auto *blok = w->ctl<QCheckBox>("CheckBoxAktBlok1");
    blok->setFocus();
    QTest::keyClick(blok, Qt::Key_Space);
    settle();
    QVERIFY(!blok->isChecked());
    QCOMPARE(int(w->Image.actBlok1()), 1);

    auto *clutch = w->ctl<QCheckBox>("CheckBoxAktClutch");
    clutch->setFocus();
    QTest::keyClick(clutch, Qt::Key_Space);
    settle();
    QCOMPARE(int(w->Image.actClutch()), 1);
    QTest::keyClick(clutch, Qt::Key_Return);
    QVERIFY(!clutch->hasFocus());
    QCOMPARE(int(w->Image.actClutch()), 0);
    QCOMPARE(int(w->Image.actBlok1()), 0);

    // Checking "Programming after change" is itself an edit and programs the unit at once.
    clickCheckBox(w->ctl<QCheckBox>("CheckBoxProgHned"));
    settle();
    QCOMPARE(w->Session.mode(), vorn::ModeProgram);

    // The throttle map box changes what the map shows as soon as it is released.
    openPage(w, "TabSheetAdvance");
    QVERIFY(w->edit("55")->isHidden());
    clickCheckBox(w->ctl<QCheckBox>("CheckBoxTpsMapa"));
    settle();
    QCOMPARE(int(w->Image.tpsMap()), 1);
    QVERIFY(!w->edit("55")->isHidden());
}

void EditingTest::spinnerClicksAndArrowKeys()
{
    Window w(true);
    QVERIFY(w.shown);
    openPage(w, "TabSheetRuzne");
    UpDown *limiter = w->upDown("Omez2");
    clickSpinner(limiter, true);
    QCOMPARE(int(w->Image.limiter2()), 111);
    QCOMPARE(w->edit("Omez2")->text(), QString("11,100"));
    clickSpinner(limiter, false);
    clickSpinner(limiter, false);
    QCOMPARE(int(w->Image.limiter2()), 109);

    // Typed text is where a click starts from.
    w->edit("Omez2")->setText("24,900");
    clickSpinner(limiter, true);
    QCOMPARE(int(w->Image.limiter2()), 250);
    clickSpinner(limiter, true);   // stops at the maximum, never wraps
    QCOMPARE(int(w->Image.limiter2()), 250);
    QCOMPARE(w->edit("Omez2")->text(), QString("25,000"));

    // Up and down arrow keys in the edit work its spinner.
    QLineEdit *clutchTime = w->edit("ClutchTime");
    QTest::mouseClick(clutchTime, Qt::LeftButton);
    QTest::keyClick(clutchTime, Qt::Key_Up);
    QCOMPARE(int(w->Image.clutchTime()), 11);
    QTest::keyClick(clutchTime, Qt::Key_Down);
    QTest::keyClick(clutchTime, Qt::Key_Down);
    QCOMPARE(int(w->Image.clutchTime()), 9);

    // The bottom of a range: correction -60 % stays there.
    openPage(w, "TabSheetBike");
    w->edit("RpmKorekce")->setText("-59");
    clickSpinner(w->upDown("RpmKorekce"), false);
    clickSpinner(w->upDown("RpmKorekce"), false);
    QCOMPARE(int(w->Image.rpmCorrection()), 40);
}

// The advance buttons and F4 / F5: the whole map with "All", else only the live cell.
void EditingTest::advanceStep_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("belowMap");
    QTest::addColumn<bool>("useKey");
    QTest::newRow("all plus") << true << true << false << false;
    QTest::newRow("all minus") << true << false << false << false;
    QTest::newRow("all plus by F5") << true << true << true << true;
    QTest::newRow("live cell plus") << false << true << false << false;
    QTest::newRow("live cell minus by F4") << false << false << false << true;
    QTest::newRow("no live cell") << false << true << true << false;
}

void EditingTest::advanceStep()
{
    QFETCH(bool, all);
    QFETCH(bool, up);
    QFETCH(bool, belowMap);
    QFETCH(bool, useKey);
    Window w(true);
    QVERIFY(w.shown);
    openPage(w, "TabSheetAdvance");
    const int cells[][3] = {{0, 0, 59}, {0, 1, 60}, {0, 2, 20}, {5, 5, 0}, {5, 6, 1}, {9, 9, 60}};
    for (const auto &c : cells)
        w->Image.advance(c[0], c[1]) = static_cast<std::uint8_t>(c[2]);
    w->ShowParameters();
    w->ctl<QCheckBox>("CheckBoxIgnAll")->setChecked(all);
    w->LiveCell.belowMap = belowMap;
    w->LiveCell.throttleRow = 0;
    w->LiveCell.advanceColumn = up ? 0 : 2;
    vorn::ParameterImage before = w->Image;

    if (useKey)
        QTest::keyClick(&*w, up ? Qt::Key_F5 : Qt::Key_F4);
    else
        QTest::mouseClick(w->ctl<QPushButton>(up ? "BitBtnAdvPlus" : "BitBtnAdvMinus"), Qt::LeftButton);

    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 10; ++c) {
            int expected = before.advance(r, c);
            const bool live = !belowMap && r == w->LiveCell.throttleRow && c == w->LiveCell.advanceColumn;
            if (all || live)
                expected = up ? std::min(expected + 1, 60) : std::max(expected - 1, 0);
            QVERIFY2(w->Image.advance(r, c) == expected, qPrintable(QStringLiteral("cell %1 %2").arg(r).arg(c)));
        }
    if (all)
        QCOMPARE(w->edit("149")->text(), QString(up ? "60" : "59"));
}

// Column spin buttons under the map: every row of the column, each cell within 0..60.
void EditingTest::columnSpin()
{
    Window w(true);
    QVERIFY(w.shown);
    openPage(w, "TabSheetAdvance");
    clickCheckBox(w->ctl<QCheckBox>("CheckBoxTpsMapa"));
    settle();
    for (int r = 0; r < 10; ++r) {
        w->Image.advance(r, 3) = static_cast<std::uint8_t>(r % 2 ? 60 : 58 + r / 4);
        w->Image.advance(r, 4) = static_cast<std::uint8_t>(r % 3 ? 5 : 0);
    }
    w->ShowParameters();
    vorn::ParameterImage before = w->Image;
    clickColumnButton(w->ctl<QWidget>("CSpinButton4"), true);
    clickColumnButton(w->ctl<QWidget>("CSpinButton5"), false);
    for (int r = 0; r < 10; ++r) {
        QCOMPARE(int(w->Image.advance(r, 3)), std::min(before.advance(r, 3) + 1, 60));
        QCOMPARE(int(w->Image.advance(r, 4)), std::max(before.advance(r, 4) - 1, 0));
        QCOMPARE(w->Image.advance(r, 2), before.advance(r, 2));
    }
    QCOMPARE(w->edit("93")->text(), QString::number(w->Image.advance(4, 3)));
}

// Servo "+" / "-": bytes 1..249 (20..4 980 mV), the live point or all ten.
void EditingTest::servoStep_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<bool>("up");
    QTest::newRow("live plus") << false << true;
    QTest::newRow("live minus") << false << false;
    QTest::newRow("all plus") << true << true;
    QTest::newRow("all minus") << true << false;
}

void EditingTest::servoStep()
{
    QFETCH(bool, all);
    QFETCH(bool, up);
    Window w(true);
    QVERIFY(w.shown);
    openPage(w, "TabSheetServo");
    const int bytes[10] = {249, 1, 2, 248, 100, 250, 120, 130, 140, 145};
    for (int p = 0; p < 10; ++p)
        w->Image.servoMv(p) = static_cast<std::uint8_t>(bytes[p]);
    w->ShowParameters();
    w->ctl<QCheckBox>("CheckBoxServoAll")->setChecked(all);
    w->LiveCell.servoColumn = up ? 0 : 1;   // at the button's limit
    QTest::mouseClick(w->ctl<QPushButton>(up ? "BitBtnServoPlus" : "BitBtnServoMinus"), Qt::LeftButton);
    for (int p = 0; p < 10; ++p) {
        int expected = bytes[p];
        if (all && up && expected < 249)
            ++expected;
        if (all && !up && expected > 1)
            --expected;
        QCOMPARE(int(w->Image.servoMv(p)), expected);
    }
    if (!all)   // the live point stays at its limit
        QCOMPARE(w->edit(up ? "NapPriv1" : "NapPriv2")->text(), QString(up ? "4,980" : "20"));

    // Moving the live point away from the limit lets the button step it.
    w->LiveCell.servoColumn = 4;
    QTest::mouseClick(w->ctl<QPushButton>(up ? "BitBtnServoPlus" : "BitBtnServoMinus"), Qt::LeftButton);
    QCOMPARE(int(w->Image.servoMv(4)), all ? (up ? 102 : 98) : (up ? 101 : 99));
}

void EditingTest::tpsCalibration_data()
{
    QTest::addColumn<bool>("full");   // "Set TPS 100 %" rather than "Set TPS 0 %"
    QTest::addColumn<int>("mv");
    QTest::addColumn<int>("byte");    // -1: nothing changes
    QTest::addColumn<QString>("shown");
    QTest::newRow("0 % lowest") << false << 100 << 10 << "100";
    QTest::newRow("0 % inside") << false << 734 << 73 << "730";
    QTest::newRow("0 % highest") << false << 2500 << 250 << "2,500";
    QTest::newRow("0 % below") << false << 99 << -1 << "700";
    QTest::newRow("0 % above") << false << 2600 << -1 << "700";
    QTest::newRow("100 % lowest") << true << 2500 << 0 << "2,500";
    QTest::newRow("100 % at 3000") << true << 3000 << 50 << "3,000";
    QTest::newRow("100 % highest") << true << 4900 << 240 << "4,900";
    QTest::newRow("100 % below") << true << 2499 << -1 << "3,790";
    QTest::newRow("100 % above") << true << 4901 << -1 << "3,790";
}

void EditingTest::tpsCalibration()
{
    QFETCH(bool, full);
    QFETCH(int, mv);
    QFETCH(int, byte);
    QFETCH(QString, shown);
    Window w(true);
    QVERIFY(w.shown);
    openPage(w, "TabSheetRuzne");
    // Typed but uncommitted text is not read first by the calibration buttons.
    w->ctl<QWidget>("CheckBoxAktBlok1")->setFocus();
    w->edit("Omez2")->setText("9,000");
    w->Live.tpsMv = static_cast<std::uint16_t>(mv);
    vorn::ParameterImage before = w->Image;
    QTest::mouseClick(w->ctl<QPushButton>(full ? "BitBtnTps100" : "BitBtnTps0"), Qt::LeftButton);
    vorn::ParameterImage expected = before;
    if (byte >= 0)
        expected[full ? vorn::Off::Tps100 : vorn::Off::Tps0] = static_cast<std::uint8_t>(byte);
    QVERIFY(w->Image == expected);
    QCOMPARE(w->edit(full ? "Tps100" : "Tps0")->text(), shown);
}

QTEST_MAIN(EditingTest)
#include "editing_test.moc"
