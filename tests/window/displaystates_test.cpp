// Tests of which controls are shown, enabled, coloured and where the single advance row sits.
#include "window/EditFixture.h"

#include "host/Colors.h"

#include <QGroupBox>
#include <QTabWidget>

using editfixture::Window;
using editfixture::settle;

namespace {

bool shown(Window &w, const char *name)
{
    QWidget *c = w->ctl<QWidget>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return !c->isHidden();
}

bool enabled(Window &w, const char *name)
{
    return w->ctl<QWidget>(QLatin1String(name))->isEnabled();
}

// Counts every property change the display states could cause, on any control.
class ChangeCounter : public QObject {
public:
    int changes = 0;
protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        switch (e->type()) {
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
        case QEvent::EnabledChange:
        case QEvent::PaletteChange:
        case QEvent::LayoutRequest:
            ++changes;
            break;
        default:
            break;
        }
        return false;
    }
};

}  // namespace

class DisplayStatesTest : public QObject {
    Q_OBJECT
private slots:
    void printingAndThrottleMap_data();
    void printingAndThrottleMap();
    void lastMapRowPlace();
    void bikeDescription_data();
    void bikeDescription();
    void channelCount_data();
    void channelCount();
    void servoPickupAndProgramBox();
    void unitProgramTexts();
    void secondRunChangesNothing();
};

void DisplayStatesTest::printingAndThrottleMap_data()
{
    QTest::addColumn<bool>("printing");
    QTest::addColumn<bool>("tpsMap");
    QTest::newRow("editing, single curve") << false << false;
    QTest::newRow("editing, throttle map") << false << true;
    QTest::newRow("printing, single curve") << true << false;
    QTest::newRow("printing, throttle map") << true << true;
}

void DisplayStatesTest::printingAndThrottleMap()
{
    QFETCH(bool, printing);
    QFETCH(bool, tpsMap);
    Window w;
    w->ctl<QCheckBox>("CheckBoxTpsMapa")->setChecked(tpsMap);
    w->Printing = printing;
    w->UpdateDisplayStates();

    QCOMPARE(vorn::ui::background(&*w), printing ? vorn::ui::kWhite : vorn::ui::buttonFace());
    for (const char *name : {"CheckBoxProgHned", "StatusBar1", "GroupBoxToolBar", "UpDownBaseAdv",
                             "UpDownOmez2", "BitBtnAdvMinus", "BitBtnAdvPlus", "CheckBoxIgnAll",
                             "UpDownTps0", "UpDownTps100", "BitBtnTps0", "BitBtnTps100", "CGaugeRpm",
                             "LabelPocetProgramovani", "CheckBoxTpsMapa", "UpDownPrivHyster",
                             "BitBtnServoMinus", "BitBtnServoPlus", "CheckBoxServoAll", "LabelMonSnimac1",
                             "UpDownRpmAdv1", "UpDownRpmAdv10", "UpDown140", "UpDown149",
                             "UpDownRpmPriv1", "UpDownRpmPriv10", "UpDownNapPriv1", "UpDownNapPriv10"})
        QVERIFY2(shown(w, name) == !printing, name);
    QCOMPARE(shown(w, "CGaugeTps"), tpsMap && !printing);
    for (const char *name : {"LabelTps1", "LabelTps10", "Edit50", "Edit59", "Edit130", "Edit139"})
        QVERIFY2(shown(w, name) == tpsMap, name);
    for (const char *name : {"UpDown50", "UpDown139", "CSpinButton1", "CSpinButton10"})
        QVERIFY2(shown(w, name) == (tpsMap && !printing), name);
    QVERIFY(shown(w, "Edit140") && shown(w, "Edit149"));
    QCOMPARE(enabled(w, "LabelTpsMon"), tpsMap);
    // Spinners of the Bike page and the other Miscellaneous fields keep their visibility.
    for (const char *name : {"UpDownKompenz1", "UpDownRpmPulsu", "UpDownPilotLight", "UpDownClutchTime"})
        QVERIFY2(shown(w, name), name);
}

// Without the throttle map the single row takes the first row's place; with it, it sits
// in its own row under the "100%" caption. Edits and spinners both follow the row.
void DisplayStatesTest::lastMapRowPlace()
{
    Window w(true);
    QVERIFY(w.shown);
    w->ctl<QTabWidget>("PageControl1")->setCurrentWidget(w->ctl<QWidget>("TabSheetAdvance"));
    auto *tpsMap = w->ctl<QCheckBox>("CheckBoxTpsMapa");
    auto center = [](QWidget *c) { return c->geometry().center().y(); };
    for (const bool on : {false, true, false, true}) {
        tpsMap->setChecked(on);
        w->UpdateDisplayStates();
        settle();
        const int caption = center(w->ctl<QWidget>(on ? "LabelTps10" : "LabelTps1"));
        for (int k = 0; k < 10; ++k) {
            QWidget *last = w->edit(QString::number(140 + k));
            QVERIFY(qAbs(center(last) - caption) <= 4);
            QVERIFY(qAbs(center(w->upDown(QString::number(140 + k))) - caption) <= 4);
            if (on)
                QVERIFY(last->y() > w->edit(QString::number(130 + k))->y());
            else
                QCOMPARE(last->y(), w->edit(QString::number(50 + k))->y());
        }
    }
}

void DisplayStatesTest::bikeDescription_data()
{
    QTest::addColumn<bool>("special");
    QTest::addColumn<int>("syncItem");
    for (const bool special : {false, true})
        for (const int item : {0, 2, 4})
            QTest::addRow("%s, method %d", special ? "special" : "listed", item) << special << item;
}

void DisplayStatesTest::bikeDescription()
{
    QFETCH(bool, special);
    QFETCH(int, syncItem);
    Window w;
    w->ctl<QComboBox>("ComboBoxBike")->setCurrentIndex(special ? 26 : 14);
    w->ctl<QComboBox>("ComboBoxSynchro")->setCurrentIndex(syncItem);
    w->UpdateDisplayStates();
    const bool d0 = syncItem == 0, pickup2 = syncItem == 0 || syncItem == 4;

    for (const char *name : {"ComboBoxSynchro", "EditPocKanalu", "LabelLobe", "LabelHrana2",
                             "LabelSnimac2", "EditKompenz1", "EditKompenz2", "CheckBoxPalec1ZacH2",
                             "CheckBoxPalec4EndH2", "GroupBoxSpecial", "GroupBoxPalec3", "LabelSynchro",
                             "LabelPocKanalu", "LabelPalec2End", "LabelKompenz2"})
        QVERIFY2(enabled(w, name) == special, name);
    for (const char *name : {"EditPocPalcu", "EditPalec1Zac", "EditPalec4End"})
        QVERIFY2(enabled(w, name) == (special && !d0), name);
    for (const char *name : {"CheckBoxPalec1ZacP2", "CheckBoxPalec2EndP2", "CheckBoxPalec4ZacP2"}) {
        QVERIFY2(shown(w, name) == pickup2, name);
        QVERIFY2(enabled(w, name) == special, name);
    }
    for (const char *name : {"UpDownPocPalcu", "UpDownPalec1Zac", "UpDownPalec3End"})
        QVERIFY2(shown(w, name) == (special && !d0), name);
    QCOMPARE(shown(w, "UpDownPocKanalu"), special);
}

void DisplayStatesTest::channelCount_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bikeCode");
    for (const int code : {22, 20})
        for (int n = 0; n <= 4; ++n)
            QTest::addRow("%d channels, code %d", n, code) << n << code;
}

void DisplayStatesTest::channelCount()
{
    QFETCH(int, channels);
    QFETCH(int, bikeCode);
    Window w;
    w->Image.outputCount() = static_cast<std::uint8_t>(channels);
    w->Image.bikeCode() = static_cast<std::uint8_t>(bikeCode);
    w->UpdateDisplayStates();
    QVERIFY(shown(w, "GroupBoxPalec1"));
    QVERIFY(shown(w, "LabelAdvance1"));
    const char *groups[] = {"GroupBoxPalec2", "GroupBoxPalec3", "GroupBoxPalec4"};
    const char *labels[] = {"LabelAdvance2", "LabelAdvance3", "LabelAdvance4"};
    for (int n = 2; n <= 4; ++n) {
        QCOMPARE(shown(w, groups[n - 2]), channels >= n);
        QCOMPARE(shown(w, labels[n - 2]), bikeCode == 22 && channels >= n);
    }
}

void DisplayStatesTest::servoPickupAndProgramBox()
{
    Window w;
    for (const int servo : {0, 1, 9}) {
        w->Image.servoEnable() = static_cast<std::uint8_t>(servo);
        w->UpdateDisplayStates();
        for (const char *name : {"GroupBoxPrivera", "LabelPriveraPoz", "LabelPriveraMer"})
            QVERIFY2(shown(w, name) == (servo != 0), name);
    }
    for (int method = 0; method <= 6; ++method) {
        w->Image.syncMethod() = static_cast<std::uint8_t>(method);
        for (const bool printing : {false, true}) {
            w->Printing = printing;
            w->UpdateDisplayStates();
            QCOMPARE(shown(w, "LabelMonSnimac2"), method == 0 || method == 4);
        }
    }
    auto *box = w->ctl<QCheckBox>("CheckBoxProgHned");
    for (const bool checked : {true, false}) {
        box->setChecked(checked);
        w->UpdateDisplayStates();
        QCOMPARE(vorn::ui::background(box), checked ? vorn::ui::kRed : vorn::ui::buttonFace());
    }
}

void DisplayStatesTest::unitProgramTexts()
{
    Window w;
    // Before any read the design texts give way to the (empty) unit texts.
    for (const char *name : {"LabelVerze1", "LabelVerze2", "LabelVerze3"})
        QVERIFY2(w->ctl<QLabel>(name)->text().isEmpty(), name);
    w->Identification.version = "ABC07";
    w->Identification.date = " 7. 8.2005";
    w->Identification.time = "09:05";
    w->UpdateDisplayStates();
    QCOMPARE(w->ctl<QLabel>("LabelVerze1")->text(), QString("ABC07"));
    QCOMPARE(w->ctl<QLabel>("LabelVerze2")->text(), QString(" 7. 8.2005"));
    QCOMPARE(w->ctl<QLabel>("LabelVerze3")->text(), QString("09:05"));
}

// Stateless and cheap: a second run in any state finds nothing to change.
void DisplayStatesTest::secondRunChangesNothing()
{
    Window w(true);
    QVERIFY(w.shown);
    w->ctl<QTabWidget>("PageControl1")->setCurrentWidget(w->ctl<QWidget>("TabSheetAdvance"));
    ChangeCounter counter;
    const auto controls = w->findChildren<QWidget *>();
    for (QWidget *c : controls)
        c->installEventFilter(&counter);
    w->installEventFilter(&counter);
    for (const bool printing : {false, true})
        for (const bool tpsMap : {false, true})
            for (const int bike : {26, 3}) {
                w->Printing = printing;
                w->ctl<QCheckBox>("CheckBoxTpsMapa")->setChecked(tpsMap);
                w->ctl<QComboBox>("ComboBoxBike")->setCurrentIndex(bike);
                w->UpdateDisplayStates();
                // Layout passes ripple up one level per event-loop pass; let them finish.
                for (int pass = 0; pass < 20; ++pass) {
                    counter.changes = 0;
                    settle();
                    if (counter.changes == 0)
                        break;
                }
                QCOMPARE(counter.changes, 0);
                w->UpdateDisplayStates();
                settle();
                QCOMPARE(counter.changes, 0);
            }
}

QTEST_MAIN(DisplayStatesTest)
#include "displaystates_test.moc"
