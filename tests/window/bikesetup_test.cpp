// Tests of choosing a model or a synchronisation method in the lists, and of the New command.
#include "window/EditFixture.h"

#include "params/New.h"

#include <QTabWidget>
#include <QWheelEvent>
#include <QToolButton>

using editfixture::Window;

namespace {

void choose(QComboBox *list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

QString lobes(Window &w)
{
    QStringList s;
    for (int ch = 0; ch < 4; ++ch)
        s << QStringLiteral("%1/%2").arg(w->Image.maxAdvLobe(ch)).arg(w->Image.startAdvLobe(ch));
    return s.join(' ');
}

int flagsSet(Window &w)
{
    int n = 0;
    for (int o = vorn::Off::MaxAdvEdge2; o < vorn::Off::StartAdvPickup2 + 4; ++o)
        n += w->Image[o] != 0;
    return n;
}

}  // namespace

class BikeSetupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyEntryByKeyboard();
    void listedModelResetsEverything();
    void sameEntryOrWheelChangesNothing_data();
    void sameEntryOrWheelChangesNothing();
    void specialKeepsTheImage();
    void specialSynchronisationChange();
    void presetLeavesHiddenChannelToTheClamp();
    void newCommand_data();
    void newCommand();
    void newWithSpecial();
};

void BikeSetupTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// Walks the model list with the keyboard as a user would; each entry stores its own code
// and the list texts stay in the order of the codes.
void BikeSetupTest::everyEntryByKeyboard()
{
    const int codes[27] = {23, 0, 1, 2, 3, 4, 24, 5, 6, 7, 8, 9, 10, 11,
                           12, 13, 14, 15, 26, 16, 17, 18, 19, 20, 21, 25, 22};
    const QStringList texts = {"Kawasaki 3 Cyl", "Kawasaki ZX h", "Honda CBR 7P", "Honda CBR 9P",
                               "Honda Shadow", "Honda VFR 400", "Honda VFR 750", "Honda VT 600 Shadow",
                               "Honda VT 1100", "", "Suzuki 800", "Suzuki GSF 400 A", "Suzuki GSF 400 B",
                               "Suzuki GSX", "Suzuki SV 650", "Suzuki Tci 125", "Suzuki VS 800,",
                               "TDM 850", "Triumph Tigra", "Virago XV", "Yamaha 125 SR", "Yamaha Fz 750",
                               "Yamaha R1", "Yamaha R6", "Yamaha XT600E", "Yamaha XVZ 1300", ""};
    Window w(true);
    QVERIFY(w.shown);
    w->ctl<QTabWidget>("PageControl1")->setCurrentWidget(w->ctl<QWidget>("TabSheetBike"));
    auto *bike = w->ctl<QComboBox>("ComboBoxBike");
    QCOMPARE(bike->count(), 27);
    bike->setFocus();
    QTest::keyClick(bike, Qt::Key_Home);
    for (int i = 0; i < 27; ++i) {
        if (i > 0)
            QTest::keyClick(bike, Qt::Key_Down);
        QCOMPARE(bike->currentIndex(), i);
        if (!texts[i].isEmpty())
            QCOMPARE(bike->itemText(i), texts[i]);
        QCOMPARE(int(w->Image.bikeCode()), codes[i]);
        if (i != vorn::kSpecialListIndex)
            QCOMPARE(w->ctl<QComboBox>("ComboBoxSynchro")->currentIndex(), int(w->Image.syncMethod()));
    }
    // Special after the XVZ 1300 keeps its trigger description.
    QCOMPARE(int(w->Image.lobeCount()), 7);
    QCOMPARE(lobes(w), QString("1/2 2/3 4/5 5/6"));
}

void BikeSetupTest::sameEntryOrWheelChangesNothing_data()
{
    QTest::addColumn<int>("model");     // list index chosen first
    QTest::addColumn<QString>("list");  // the list then acted on
    QTest::addColumn<bool>("wheel");    // wheel over it without focus, else re-pick the entry
    QTest::newRow("Yamaha R6 picked again") << 23 << "ComboBoxBike" << false;
    QTest::newRow("Special picked again") << vorn::kSpecialListIndex << "ComboBoxBike" << false;
    QTest::newRow("synchronisation picked again") << vorn::kSpecialListIndex << "ComboBoxSynchro" << false;
    QTest::newRow("wheel over the model list") << 23 << "ComboBoxBike" << true;
    QTest::newRow("wheel over the synchronisation list") << vorn::kSpecialListIndex << "ComboBoxSynchro" << true;
}

void BikeSetupTest::sameEntryOrWheelChangesNothing()
{
    QFETCH(int, model);
    QFETCH(QString, list);
    QFETCH(bool, wheel);
    Window w;
    choose(w->ctl<QComboBox>("ComboBoxBike"), model);
    w->edit("75")->setText("59");
    w->EditExit();
    const vorn::ParameterImage before = w->Image;
    QCOMPARE(int(w->Image.advance(2, 5)), 59);

    auto *target = w->ctl<QComboBox>(list);
    const int index = target->currentIndex();
    if (wheel) {
        QWheelEvent turn(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &turn);
    } else {
        choose(target, index);
    }
    QCOMPARE(target->currentIndex(), index);
    QCOMPARE(w->Image, before);
    QCOMPARE(w->edit("75")->text(), QString("59"));
}

void BikeSetupTest::listedModelResetsEverything()
{
    Window w;
    w->edit("75")->setText("59");
    w->edit("Omez2")->setText("15,000");
    w->EditExit();
    QCOMPARE(int(w->Image.advance(2, 5)), 59);
    choose(w->ctl<QComboBox>("ComboBoxBike"), 6);   // Honda VFR 750
    QCOMPARE(int(w->Image.advance(2, 5)), 45);
    QCOMPARE(w->edit("75")->text(), QString("45"));
    QCOMPARE(int(w->Image.limiter2()), 110);
    QCOMPARE(w->edit("Omez2")->text(), QString("11,000"));
    QCOMPARE(int(w->Image.syncMethod()), 4);
    QCOMPARE(int(w->Image.lobeCount()), 11);
    QCOMPARE(int(w->Image.outputCount()), 4);
    QCOMPARE(lobes(w), QString("4/5 7/8 10/11 1/2"));
    QCOMPARE(flagsSet(w), 0);

    // Yamaha 125 SR: method 4 keeps the second pick-up through the hook's clamp.
    choose(w->ctl<QComboBox>("ComboBoxBike"), 20);
    QVERIFY(w->Image.startAdvEdge2(0) && w->Image.startAdvPickup2(0));
    QVERIFY(w->ctl<QCheckBox>("CheckBoxPalec1EndP2")->isChecked());
    // Standard: one lobe, channel 2 both events on the second pick-up.
    choose(w->ctl<QComboBox>("ComboBoxBike"), 9);
    QCOMPARE(int(w->Image.lobeCount()), 1);
    QCOMPARE(int(w->Image.syncMethod()), 0);
    QVERIFY(w->Image.maxAdvPickup2(1) && w->Image.startAdvPickup2(1));
}

void BikeSetupTest::specialKeepsTheImage()
{
    Window w;
    choose(w->ctl<QComboBox>("ComboBoxBike"), 14);   // Suzuki SV 650
    w->edit("75")->setText("52");
    w->EditExit();
    const vorn::ParameterImage before = w->Image;
    choose(w->ctl<QComboBox>("ComboBoxBike"), vorn::kSpecialListIndex);
    vorn::ParameterImage expected = before;
    expected.bikeCode() = vorn::kSpecialBikeCode;
    QVERIFY(w->Image == expected);
    QCOMPARE(w->ctl<QComboBox>("ComboBoxSynchro")->currentIndex(), 2);
    QVERIFY(!w->BikeSetupPending);
}

// Under Special the synchronisation list is the only thing that changes; method 0 then
// forces one lobe through the clamp.
void BikeSetupTest::specialSynchronisationChange()
{
    Window w;
    choose(w->ctl<QComboBox>("ComboBoxBike"), 21);   // Yamaha Fz 750: 8 lobes
    choose(w->ctl<QComboBox>("ComboBoxBike"), vorn::kSpecialListIndex);
    w->Image.advance(7, 7) = 44;
    w->ShowParameters();
    choose(w->ctl<QComboBox>("ComboBoxSynchro"), 0);
    QCOMPARE(int(w->Image.syncMethod()), 0);
    QCOMPARE(int(w->Image.lobeCount()), 1);
    QCOMPARE(lobes(w), QString("1/1 1/1 0/0 0/0"));
    QCOMPARE(int(w->Image.advance(7, 7)), 44);
    QCOMPARE(int(w->Image.bikeCode()), int(vorn::kSpecialBikeCode));
    QCOMPARE(w->edit("PocPalcu")->text(), QString("1"));
}

void BikeSetupTest::presetLeavesHiddenChannelToTheClamp()
{
    Window w;
    choose(w->ctl<QComboBox>("ComboBoxBike"), vorn::kSpecialListIndex);
    w->edit("PocPalcu")->setText("12");
    w->EditExit();
    w->edit("Palec4Zac")->setText("9");
    w->edit("Palec4End")->setText("10");
    w->EditExit();
    QCOMPARE(int(w->Image.startAdvLobe(3)), 10);
    choose(w->ctl<QComboBox>("ComboBoxBike"), 18);   // Triumph Tigra: 7 lobes, 3 outputs
    QCOMPARE(lobes(w), QString("2/3 4/5 6/1 7/7"));
    QVERIFY(w->ctl<QWidget>("GroupBoxPalec4")->isHidden());
}

void BikeSetupTest::newCommand_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("byButton");
    QTest::newRow("yes, menu") << int(QMessageBox::Yes) << false;
    QTest::newRow("yes, tool button") << int(QMessageBox::Yes) << true;
    QTest::newRow("no") << int(QMessageBox::No) << false;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << true;
}

void BikeSetupTest::newCommand()
{
    QFETCH(int, answer);
    QFETCH(bool, byButton);
    Window w;
    choose(w->ctl<QComboBox>("ComboBoxBike"), 3);   // Honda CBR 9P
    w->edit("88")->setText("7");
    w->edit("Tps0")->setText("1,200");
    w->EditExit();
    w->ctl<QLabel>("LabelFile2")->setText("/tmp/bike.ign");
    w->ctl<QLabel>("LabelHlaseni")->show();
    const vorn::ParameterImage before = w->Image;
    w.answer = answer;
    if (byButton)
        w->ctl<QToolButton>("SpeedButton6")->click();
    else
        w->action("MenuNew")->trigger();
    QCOMPARE(w.questions, QStringList{"Do you want default setting?"});
    if (answer != QMessageBox::Yes) {
        QVERIFY(w->Image == before);
        QCOMPARE(w->ctl<QLabel>("LabelFile2")->text(), QString("/tmp/bike.ign"));
        return;
    }
    QCOMPARE(int(w->Image.advance(3, 8)), 43);
    QCOMPARE(w->edit("88")->text(), QString("43"));
    QCOMPARE(int(w->Image.tps0()), 70);
    QCOMPARE(int(w->Image.bikeCode()), 2);
    QCOMPARE(lobes(w), QString("1/3 7/9 0/0 0/0"));
    QCOMPARE(flagsSet(w), 2);
    QVERIFY(w->ctl<QLabel>("LabelFile2")->text().isEmpty());
    QVERIFY(w->ctl<QWidget>("LabelHlaseni")->isHidden());
    QVERIFY(w->ctl<QWidget>("CGauge")->isHidden());
}

// New under Special: the defaults load, the hand-set trigger stays, its flags are cleared.
void BikeSetupTest::newWithSpecial()
{
    Window w;
    choose(w->ctl<QComboBox>("ComboBoxBike"), 7);   // Honda VT 600 Shadow: flags on channel 2
    choose(w->ctl<QComboBox>("ComboBoxBike"), vorn::kSpecialListIndex);
    w->edit("Omez2")->setText("14,000");
    w->EditExit();
    QVERIFY(flagsSet(w) > 0);
    w->action("MenuNew")->trigger();
    QCOMPARE(int(w->Image.limiter2()), 110);
    QCOMPARE(int(w->Image.syncMethod()), 4);
    QCOMPARE(int(w->Image.lobeCount()), 7);
    QCOMPARE(int(w->Image.outputCount()), 2);
    QCOMPARE(lobes(w), QString("1/2 5/6 0/0 0/0"));
    QCOMPARE(flagsSet(w), 0);
    QCOMPARE(w->ctl<QComboBox>("ComboBoxBike")->currentIndex(), vorn::kSpecialListIndex);
}

QTEST_MAIN(BikeSetupTest)
#include "bikesetup_test.moc"
