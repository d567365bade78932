// Keys inside a map cell and a servo voltage field: the field keeps its own meaning (Up and
// Down step, the text keys edit text), the cell selection takes only keys a text field does
// not use, and copy and paste act on cells only while more than one cell is selected.
#include "window/EditFixture.h"

#include "maps/ui/MapTools.h"

#include <QAction>
#include <QClipboard>
#include <QTabWidget>

using editfixture::Window;
using editfixture::settle;
using vorn::maps::Table;

class FieldKeysTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void keyInAField_data();
    void keyInAField();
};

void FieldKeysTest::keyInAField_data()
{
    QTest::addColumn<bool>("servo");          // servo voltage 4 (mV), else map cell row 2, column 3 (°)
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");        // in the field before the key; may be typed, not committed
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selStart");        // -1: no text selected
    QTest::addColumn<int>("selLength");
    QTest::addColumn<bool>("cells");          // two by two cells from the field selected before
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<QString>("selectedAfter");
    QTest::addColumn<int>("valueAfter");      // the field's value in the image
    QTest::addColumn<bool>("step");           // an undo step was made
    QTest::addColumn<bool>("cellsAfter");     // more than one cell is selected
    QTest::addColumn<QString>("clipboardAfter");

    const int none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier,
              altShift = Qt::AltModifier | Qt::ShiftModifier;
    // The map holds 5 * row + column / 2, so the cell shows 11; the servo point holds 100 mV.
    // The clipboard holds "35" before every key.
    auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };
    row("Up steps") << false << int(Qt::Key_Up) << none << "11" << 2 << -1 << 0 << false
                    << "12" << "" << 12 << true << false << "35";
    row("Shift+Up steps") << false << int(Qt::Key_Up) << shift << "11" << 2 << -1 << 0 << false
                          << "12" << "" << 12 << true << false << "35";
    row("Shift+Down steps") << false << int(Qt::Key_Down) << shift << "11" << 0 << -1 << 0 << false
                            << "10" << "" << 10 << true << false << "35";
    row("servo Shift+Up steps 20 mV") << true << int(Qt::Key_Up) << shift << "100" << 3 << -1 << 0 << false
                                      << "120" << "" << 120 << true << false << "35";
    row("servo Down steps") << true << int(Qt::Key_Down) << none << "100" << 3 << -1 << 0 << false
                            << "80" << "" << 80 << true << false << "35";
    row("Shift+Left selects typed text") << false << int(Qt::Key_Left) << shift << "14" << 2 << -1 << 0 << false
                                         << "14" << "4" << 11 << false << false << "35";
    row("Shift+Right selects typed text") << false << int(Qt::Key_Right) << shift << "14" << 0 << -1 << 0 << false
                                          << "14" << "1" << 11 << false << false << "35";
    row("Ctrl+A selects the field's text") << false << int(Qt::Key_A) << ctrl << "14" << 1 << -1 << 0 << false
                                           << "14" << "14" << 11 << false << false << "35";
    row("Ctrl+C copies selected text") << false << int(Qt::Key_C) << ctrl << "14" << 2 << 0 << 1 << false
                                       << "14" << "1" << 11 << false << false << "1";
    row("Ctrl+V pastes text at the caret") << false << int(Qt::Key_V) << ctrl << "14" << 2 << -1 << 0 << false
                                           << "1435" << "" << 11 << false << false << "35";
    row("Ctrl+V replaces selected text") << false << int(Qt::Key_V) << ctrl << "14" << 2 << 0 << 2 << false
                                         << "35" << "" << 11 << false << false << "35";
    row("servo Ctrl+V pastes text") << true << int(Qt::Key_V) << ctrl << "100" << 0 << -1 << 0 << false
                                    << "35100" << "" << 100 << false << false << "35";
    row("Ctrl+C with cells copies the block") << false << int(Qt::Key_C) << ctrl << "11" << 2 << -1 << 0 << true
                                              << "11" << "" << 11 << false << true << "11\t12\n16\t17\n";
    row("Ctrl+V with cells pastes into them") << false << int(Qt::Key_V) << ctrl << "11" << 2 << -1 << 0 << true
                                              << "35" << "" << 35 << true << true << "35";
    row("Escape ends the cell selection") << false << int(Qt::Key_Escape) << none << "11" << 2 << -1 << 0 << true
                                          << "11" << "" << 11 << false << false << "35";
    row("typing ends the cell selection") << false << int(Qt::Key_5) << none << "11" << 2 << -1 << 0 << true
                                          << "115" << "" << 11 << false << false << "35";
    row("Alt+Shift+Right selects cells") << false << int(Qt::Key_Right) << altShift << "11" << 2 << -1 << 0 << false
                                         << "11" << "" << 11 << false << true << "35";
    row("Alt+Shift+Down selects cells, no step") << false << int(Qt::Key_Down) << altShift << "11" << 2 << -1 << 0
                                                 << false << "11" << "" << 11 << false << true << "35";
    row("servo Alt+Shift+Left selects cells") << true << int(Qt::Key_Left) << altShift << "100" << 3 << -1 << 0 << false
                                              << "100" << "" << 100 << false << true << "35";
}

void FieldKeysTest::keyInAField()
{
    QFETCH(bool, servo);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(bool, cells);
    QFETCH(QString, textAfter);
    QFETCH(QString, selectedAfter);
    QFETCH(int, valueAfter);
    QFETCH(bool, step);
    QFETCH(bool, cellsAfter);
    QFETCH(QString, clipboardAfter);

    Window w(true);
    QVERIFY(w.shown);
    w->Image.tpsMap() = 1;
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 10; ++c)
            w->Image.advance(r, c) = static_cast<std::uint8_t>(5 * r + c / 2);
    w->Image.servoMv(4) = 5;   // 100 mV
    w->ShowParameters();
    emit w->Notifier->editStepStarted(vorn::StepLabel::named("test map"));
    emit w->Notifier->imageEdited();
    w->ctl<QTabWidget>("PageControl1")->setCurrentWidget(w->ctl<QWidget>(servo ? "TabSheetServo" : "TabSheetAdvance"));
    settle();

    QLineEdit *field = w->edit(servo ? "NapPriv5" : "73");
    const Table table = servo ? Table::Servo : Table::Advance;
    auto value = [&] { return servo ? 20 * w->Image.servoMv(4) : int(w->Image.advance(2, 3)); };
    QTest::mouseClick(field, Qt::LeftButton);
    QVERIFY(field->hasFocus());
    field->setText(text);
    field->setCursorPosition(caret);
    if (selStart >= 0)
        field->setSelection(selStart, selLength);
    if (cells)
        w->mapTools->select(table, servo ? vorn::maps::Rect{0, 4, 0, 5} : vorn::maps::Rect{2, 3, 3, 4});
    QGuiApplication::clipboard()->setText("35");
    const QString undoBefore = w->findChild<QAction *>("MenuUndo")->text();

    QTest::keyClick(field, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    settle();

    QCOMPARE(field->text(), textAfter);
    QCOMPARE(field->selectedText(), selectedAfter);
    QCOMPARE(value(), valueAfter);
    QCOMPARE(w->findChild<QAction *>("MenuUndo")->text() != undoBefore, step);
    const auto sel = w->mapTools->selection(table);
    QCOMPARE(sel && (sel->rows() > 1 || sel->columns() > 1), cellsAfter);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboardAfter);
    QVERIFY(field->hasFocus());
}

QTEST_MAIN(FieldKeysTest)
#include "fieldkeys_test.moc"
