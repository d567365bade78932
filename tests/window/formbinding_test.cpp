// Tests of the control table, showing the image in the window and reading it back.
#include "window/EditFixture.h"

#include "link/Session.h"
#include "params/FieldBindings.h"

using editfixture::Window;
using editfixture::grouped;

class FormBindingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void controlTableOrder();
    void fieldsShowWhatWasCommitted_data();
    void fieldsShowWhatWasCommitted();
    void checkBoxesAndListsRoundTrip();
    void bindingEdgeCases();
    void hiddenRowsReadBackUnchanged();
    void outOfRangeBytesSurviveUnrelatedEdits();
    void typedNumbers_data();
    void typedNumbers();
    void showingAgainUndoesUncommittedTyping_data();
    void showingAgainUndoesUncommittedTyping();
    void programAfterChange();
    void cleanupTestCase() { shared_.reset(); }

private:
    std::unique_ptr<Window> shared_;
};

void FormBindingTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// Names in the table's index order, spelled out apart from the code that fills it.
void FormBindingTest::controlTableOrder()
{
    QStringList expected;
    for (const char *flag : {"ZacH2", "EndH2", "ZacP2", "EndP2"})
        for (int ch = 1; ch <= 4; ++ch)
            expected << QStringLiteral("CheckBoxPalec%1%2").arg(ch).arg(flag);
    for (int n = 1; n <= 4; ++n)
        expected << QStringLiteral("LabelAdvance%1").arg(n);
    for (int n = 1; n <= 10; ++n)
        expected << QStringLiteral("LabelTps%1").arg(n);
    QStringList editNames, spinnerNames;
    for (const char *kind : {"Zac", "End"})
        for (int ch = 1; ch <= 4; ++ch)
            editNames << QStringLiteral("Palec%1%2").arg(ch).arg(kind);
    for (int n = 1; n <= 10; ++n)
        editNames << QStringLiteral("RpmAdv%1").arg(n);
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 10; ++col)
            editNames << QString::number(50 + 10 * row + col);
    for (int n = 1; n <= 10; ++n)
        editNames << QStringLiteral("RpmPriv%1").arg(n);
    for (int n = 1; n <= 10; ++n)
        editNames << QStringLiteral("NapPriv%1").arg(n);
    for (const QString &s : editNames)
        expected << "Edit" + s;
    for (const QString &s : editNames)
        expected << "UpDown" + s;
    QCOMPARE(expected.size(), TFormHlav::kControlTableSize);

    Window w;
    for (int k = 0; k < TFormHlav::kControlTableSize; ++k) {
        QVERIFY2(w->ControlTable[k], qPrintable(QString::number(k)));
        QCOMPARE(w->ControlTable[k]->objectName(), expected[k]);
    }
    QCOMPARE(w->ControlTable[48 + 10 * 7 + 3]->objectName(), QString("Edit123"));
    for (int k = 30; k <= 167; ++k) {
        auto *spinner = qobject_cast<UpDown *>(w->ControlTable[k + TFormHlav::kEditToUpDown]);
        QVERIFY(spinner);
        QCOMPARE(static_cast<QWidget *>(spinner->associate()), w->ControlTable[k]);
        // Built empty, every field has its number once the window has started.
        QVERIFY2(!spinner->associate()->text().isEmpty(), qPrintable(spinner->objectName()));
    }
}

// Every numeric field at both ends of its range and inside it: the committed value comes
// back as the field's text (grouped except in map cells) and as the same byte when read
// again. The speed columns are left to the edge cases, as the clamp moves their ends.
void FormBindingTest::fieldsShowWhatWasCommitted_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("shown");
    for (const vorn::FieldBinding &b : vorn::fieldBindings()) {
        const bool speedPoint = (b.offset >= vorn::Off::ServoRpm && b.offset < vorn::Off::ServoMv)
                                || (b.offset >= vorn::Off::RpmAdv && b.offset < vorn::Off::Advance);
        if (b.kind != vorn::FieldBinding::Kind::Numeric || speedPoint)
            continue;
        const QString suffix = QString::fromStdString(b.edit).mid(4);
        const int inside = ((b.min + b.max) / 2 / b.step) * b.step;
        // The limiter's lowest position is not a whole byte: 999 rpm is kept as 900 rpm.
        const int lowShown = suffix == "Omez2" ? 900 : b.min;
        QTest::addRow("%s min", qPrintable(suffix)) << suffix << b.min << lowShown;
        QTest::addRow("%s inside", qPrintable(suffix)) << suffix << inside << inside;
        QTest::addRow("%s max", qPrintable(suffix)) << suffix << b.max << b.max;
    }
}

void FormBindingTest::fieldsShowWhatWasCommitted()
{
    QFETCH(QString, suffix);
    QFETCH(int, value);
    QFETCH(int, shown);
    if (!shared_)   // one window for all rows: each row commits one field
        shared_ = std::make_unique<Window>();
    Window *w = shared_.get();
    const bool mapCell = suffix.at(0).isDigit();
    auto text = [&](int v) { return mapCell ? QString::number(v) : grouped(v); };
    (*w)->edit(suffix)->setText(text(value));
    (*w)->EditExit();
    QCOMPARE((*w)->edit(suffix)->text(), text(shown));
    QCOMPARE(int((*w)->upDown(suffix)->position()), shown);
    const vorn::ParameterImage before = (*w)->Image;
    (*w)->ReadParameters();
    QVERIFY((*w)->Image == before);
}

void FormBindingTest::checkBoxesAndListsRoundTrip()
{
    Window w;
    for (const vorn::FieldBinding &b : vorn::fieldBindings()) {
        if (b.kind != vorn::FieldBinding::Kind::Check)
            continue;
        auto *box = w->ctl<QCheckBox>(QString::fromStdString(b.edit));
        for (const bool on : {true, false, true}) {
            box->setChecked(on);
            w->ReadParameters();
            QCOMPARE(int(w->Image[b.offset]), on ? 1 : 0);
        }
        w->Image[b.offset] = 0;
        w->ShowParameters();
        QVERIFY(!box->isChecked());
        w->Image[b.offset] = 7;   // any non-zero byte reads as on
        w->ShowParameters();
        QVERIFY2(box->isChecked(), b.edit.c_str());
    }
    auto *sync = w->ctl<QComboBox>("ComboBoxSynchro");
    for (int m = 0; m < 6; ++m) {
        w->Image.syncMethod() = static_cast<std::uint8_t>(m);
        w->ShowParameters();
        QCOMPARE(sync->currentIndex(), m);
        sync->setCurrentIndex(5 - m);
        w->ReadParameters();
        QCOMPARE(int(w->Image.syncMethod()), 5 - m);
    }
}

void FormBindingTest::bindingEdgeCases()
{
    {
        // A spinner built with its position leaves the edit empty: that is no typed number,
        // and the first showing writes the number even when the value is the same.
        QLineEdit edit;
        UpDown spinner;
        spinner.setAssociate(&edit);
        spinner.setInitialPosition(42);
        QCOMPARE(int(spinner.position()), 42);
        QVERIFY(!spinner.shows(42));
        spinner.setPosition(42);
        QCOMPARE(edit.text(), QString("42"));
    }
    Window w;
    // 15 050 rpm typed: the byte keeps whole hundreds and the field shows them grouped.
    w->edit("Omez2")->setText("15050");
    w->EditExit();
    QCOMPARE(int(w->Image.limiter2()), 150);
    QCOMPARE(w->edit("Omez2")->text(), QString("15,000"));

    // The throttle 100 % byte 0 is 2 500 mV, and 2 500 reads back as byte 0.
    w->Image.tps100() = 0;
    w->ShowParameters();
    QCOMPARE(w->edit("Tps100")->text(), QString("2,500"));
    w->ReadParameters();
    QCOMPARE(int(w->Image.tps100()), 0);

    // Tachometer correction: -60 % is byte 40, byte 160 is +60 %.
    w->edit("RpmKorekce")->setText("-60");
    w->EditExit();
    QCOMPARE(int(w->Image.rpmCorrection()), 40);
    w->Image.rpmCorrection() = 160;
    w->ShowParameters();
    QCOMPARE(w->edit("RpmKorekce")->text(), QString("60"));

    // Speed columns: the clamp of the hook moves the ends of the window range.
    w->edit("RpmAdv1")->setText("20,100");
    w->EditExit();
    QCOMPARE(int(w->Image.rpmAdv(0)), 191);
    QCOMPARE(w->edit("RpmAdv1")->text(), QString("19,100"));
    w->edit("RpmAdv1")->setText("199");
    w->EditExit();
    QCOMPARE(w->edit("RpmAdv1")->text(), QString("300"));
    w->edit("RpmPriv10")->setText("20100");
    w->EditExit();
    QCOMPARE(w->edit("RpmPriv10")->text(), QString("20,000"));

    // A model code without a row leaves the list where it was; an empty list keeps the code.
    auto *bike = w->ctl<QComboBox>("ComboBoxBike");
    QCOMPARE(bike->currentIndex(), 23);   // start-up model
    w->Image.bikeCode() = 30;
    w->ShowParameters();
    QCOMPARE(bike->currentIndex(), 23);
    bike->setCurrentIndex(-1);
    w->ReadParameters();
    QCOMPARE(int(w->Image.bikeCode()), 30);
}

void FormBindingTest::hiddenRowsReadBackUnchanged()
{
    Window w;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 10; ++c)
            w->Image.advance(r, c) = static_cast<std::uint8_t>(r * 5 + c);
    w->Image.tpsMap() = 0;
    w->ShowParameters();
    QVERIFY(w->edit("55")->isHidden());
    w->edit("145")->setText("33");
    w->EditExit();
    QCOMPARE(int(w->Image.advance(9, 5)), 33);
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 10; ++c)
            QCOMPARE(int(w->Image.advance(r, c)), r * 5 + c);
}

// Bytes outside a field's window range (a calibration below 250 mV, lobe 0, a map cell
// of 200, a synchronisation method the list does not have) are shown as they are and
// stay in the image through edits of other fields.
void FormBindingTest::outOfRangeBytesSurviveUnrelatedEdits()
{
    Window w;
    w->Live.tpsMv = 150;
    w->BitBtnTps0Click();
    QCOMPARE(int(w->Image.tps0()), 15);
    QCOMPARE(w->edit("Tps0")->text(), QString("150"));
    QCOMPARE(int(w->Image.maxAdvLobe(2)), 0);   // channels 3 and 4 after start-up
    QCOMPARE(w->edit("Palec4End")->text(), QString("0"));
    w->Image.advance(1, 1) = 200;
    w->Image.servoHyster() = 255;
    w->Image[vorn::Off::SyncMethod] = 7;
    w->ShowParameters();
    QCOMPARE(w->edit("61")->text(), QString("200"));
    QCOMPARE(w->ctl<QComboBox>("ComboBoxSynchro")->currentIndex(), -1);
    const vorn::ParameterImage before = w->Image;

    w->upDown("Omez2")->stepUp();   // an unrelated edit, committed through the spinner
    QCOMPARE(int(w->Image.limiter2()), int(before[vorn::Off::Limiter2]) + 1);
    vorn::ParameterImage expected = before;
    expected.limiter2() = w->Image.limiter2();
    QVERIFY(w->Image == expected);
    w->edit("BaseAdv")->setText("12");
    w->EditExit();
    expected.baseAdv() = 12;
    QVERIFY(w->Image == expected);

    // A spinner click on such a field moves from the shown value into the range.
    w->upDown("Tps0")->stepUp();
    QCOMPARE(w->edit("Tps0")->text(), QString("250"));
    QCOMPARE(int(w->Image.tps0()), 25);
    w->upDown("61")->stepDown();
    QCOMPARE(int(w->Image.advance(1, 1)), 60);
}

// Typed text in several locales: digit groups with the locale's separator (a plain space
// where the locale groups with a space), signs, and text that is not a whole number.
void FormBindingTest::typedNumbers_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("byte");   // -1: the previous value stays
    QTest::newRow("en grouped") << "en_US" << "Omez2" << "15,050" << 150;
    QTest::newRow("en plain") << "en_US" << "Omez2" << "12300" << 123;
    QTest::newRow("en spaces around") << "en_US" << "Omez2" << " 12,300 " << 123;
    QTest::newRow("en bad group") << "en_US" << "Omez2" << "1,5000" << -1;
    QTest::newRow("en short group") << "en_US" << "Omez2" << "12,30" << -1;
    QTest::newRow("en decimal") << "en_US" << "Tps0" << "700.5" << -1;
    QTest::newRow("en letters") << "en_US" << "Omez2" << "12k" << -1;
    QTest::newRow("en empty") << "en_US" << "Omez2" << "" << -1;
    QTest::newRow("en above range") << "en_US" << "Omez2" << "25,100" << -1;
    QTest::newRow("en huge") << "en_US" << "Omez2" << "99999999999999" << -1;
    QTest::newRow("en minus") << "en_US" << "RpmKorekce" << "-15" << 85;
    QTest::newRow("en plus") << "en_US" << "RpmKorekce" << "+15" << 115;
    QTest::newRow("de dot groups") << "de_DE" << "Omez2" << "15.050" << 150;
    QTest::newRow("de comma is no group") << "de_DE" << "Omez2" << "15,050" << -1;
    QTest::newRow("cs space groups") << "cs_CZ" << "Omez2" << "15 050" << 150;
    QTest::newRow("cs no-break space") << "cs_CZ" << "Omez2" << QString("15") + QChar(0xA0) + "050" << 150;
    QTest::newRow("fr space groups") << "fr_FR" << "PilotLight" << "9 900" << 99;
}

void FormBindingTest::typedNumbers()
{
    QFETCH(QString, locale);
    QFETCH(QString, suffix);
    QFETCH(QString, typed);
    QFETCH(int, byte);
    QLocale::setDefault(QLocale(locale));
    {
        Window w;
        const vorn::FieldBinding *b = vorn::findBinding(("Edit" + suffix).toStdString());
        const std::uint8_t previous = w->Image[b->offset];
        w->edit(suffix)->setText(typed);
        w->EditExit();
        QCOMPARE(int(w->Image[b->offset]), byte < 0 ? int(previous) : byte);
        // What the field shows reads back as the same byte.
        const QString shown = w->edit(suffix)->text();
        QCOMPARE(shown, QLocale().toString(w->upDown(suffix)->position()));
        w->edit(suffix)->setText(shown + " ");
        w->ReadParameters();
        QCOMPARE(int(w->Image[b->offset]), byte < 0 ? int(previous) : byte);
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// Showing the image again leaves a field alone when it shows its byte already; a field
// typed into (and not committed) is not such a field, even when the byte is unchanged
// and the typed number is the same.
void FormBindingTest::showingAgainUndoesUncommittedTyping_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("typed");
    QTest::newRow("other number") << "Omez2" << "12000";
    QTest::newRow("same number, not grouped") << "Tps100" << "2500";
    QTest::newRow("not a number") << "Tps100" << "abc";
    QTest::newRow("emptied") << "55" << "";
    QTest::newRow("map cell, other number") << "55" << "7";
}

void FormBindingTest::showingAgainUndoesUncommittedTyping()
{
    QFETCH(QString, suffix);
    QFETCH(QString, typed);
    Window w;
    w->Image.tps100() = 0;   // 2 500 mV
    w->Image.advance(0, 5) = 31;
    w->ShowParameters();
    const QString shown = w->edit(suffix)->text();
    QVERIFY(shown != typed);
    w->edit(suffix)->setText(typed);
    w->ShowParameters();
    QCOMPARE(w->edit(suffix)->text(), shown);
    w->ReadParameters();
    QCOMPARE(w->edit(suffix)->text(), shown);
}

// The after-edit hook programs the unit when the box was just checked or blocks 1 and 2
// changed since; a started run sets the status countdown, which the test clears before.
void FormBindingTest::programAfterChange()
{
    Window w;
    auto *box = w->ctl<QCheckBox>("CheckBoxProgHned");
    auto hookStartsRun = [&] {
        w->SetMessageCountdown(0);
        w->AfterEdit();
        return w->MessageCountdown() > 0 && w->Session.mode() == vorn::ModeProgram;
    };
    QVERIFY(!hookStartsRun());          // unchecked: never
    box->setChecked(true);
    QVERIFY(hookStartsRun());           // first hook after checking, nothing changed
    QVERIFY(w->ctl<QLabel>("LabelHlaseni")->isVisibleTo(&*w));
    QVERIFY(!hookStartsRun());          // no change since
    w->Image.advance(4, 4) += 1;
    QVERIFY(hookStartsRun());           // a map cell changed
    QVERIFY(!hookStartsRun());
    w->Image.compensation2() += 1;      // a setting in block 1
    QVERIFY(hookStartsRun());
    w->Image[50] += 1;                  // block 0 is not compared
    QVERIFY(!hookStartsRun());
    box->setChecked(false);
    QVERIFY(!hookStartsRun());          // unchecking disarms
    box->setChecked(true);
    QVERIFY(hookStartsRun());           // checking again programs at once
}

QTEST_MAIN(FormBindingTest)
#include "formbinding_test.moc"
