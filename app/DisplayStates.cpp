// Which controls are visible, enabled, coloured or moved, recomputed from scratch each time.
#include "host/Colors.h"
#include "ControlTable.h"
#include "EditState.h"
#include "maps/ui/MapTools.h"
#include "params/New.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace {

// This runs on every edit: a property is only written when it has to change.
void setShown(QWidget *w, bool visible)
{
    if (w->isHidden() == visible)
        w->setVisible(visible);
}

void setOn(QWidget *w, bool enabled)
{
    if (w->testAttribute(Qt::WA_ForceDisabled) == enabled)
        w->setEnabled(enabled);
}

constexpr int kGridRowOfMapRow0 = 1;   // grid row 0 holds the column speeds

std::vector<QWidget *> named(TFormHlav &form, std::initializer_list<const char *> names)
{
    std::vector<QWidget *> list;
    for (const char *n : names) {
        QWidget *w = form.ctl<QWidget>(QLatin1String(n));
        Q_ASSERT_X(w, "display states", n);
        list.push_back(w);
    }
    return list;
}

// Row 9 is the single advance curve while the throttle map is off; it then takes row 0's
// place so the curve sits right under the column speeds.
void placeLastMapRow(TFormHlav &form, bool throttleMap)
{
    constexpr int last = vorn::kMapSize - 1;
    const int wantedRow = kGridRowOfMapRow0 + (throttleMap ? last : 0);
    QGridLayout *grid = form.mapGrid_;
    bool moved = false;
    for (int k = 0; k < vorn::kMapSize; ++k) {
        QHBoxLayout *cell = form.mapCells_[last][static_cast<std::size_t>(k)];
        const int index = grid->indexOf(cell);
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        if (row == wantedRow)
            continue;
        grid->takeAt(index);
        cell->setParent(nullptr);   // a layout is only adopted without a parent
        grid->addLayout(cell, wantedRow, column);
        moved = true;
    }
    if (moved)
        grid->invalidate();   // re-adding a layout alone does not schedule a new layout pass
}

void showUnitProgramTexts(TFormHlav &form, TFormHlav::EditState &s)
{
    const QString texts[3] = {form.Identification.version, form.Identification.date,
                              form.Identification.time};
    for (int n = 0; n < 3; ++n) {
        QLabel *label = s.labelVerze[static_cast<std::size_t>(n)];
        if (label->text() != texts[n])
            label->setText(texts[n]);
    }
}

}  // namespace

void buildDisplayStateLists(TFormHlav &form, TFormHlav::EditState &s)
{
    s.hiddenWhilePrinting = named(form, {
        "CheckBoxProgHned", "StatusBar1", "GroupBoxToolBar", "UpDownBaseAdv", "UpDownOmez2",
        "BitBtnAdvMinus", "BitBtnAdvPlus", "CheckBoxIgnAll", "UpDownTps0", "UpDownTps100",
        "BitBtnTps0", "BitBtnTps100", "CGaugeRpm",
        "LabelPocetProgramovani", "CheckBoxTpsMapa", "UpDownPrivHyster", "BitBtnServoMinus",
        "BitBtnServoPlus", "CheckBoxServoAll", "LabelMonSnimac1"});
    s.specialEnabled = named(form, {
        "LabelLobe", "LabelHrana2", "LabelSnimac2", "EditKompenz1", "EditKompenz2",
        "GroupBoxSpecial", "GroupBoxPalec1", "GroupBoxPalec2", "GroupBoxPalec3", "GroupBoxPalec4",
        "LabelSynchro", "LabelPocPalcu", "LabelPocKanalu", "LabelPalec1Zac", "LabelPalec1End",
        "LabelPalec2Zac", "LabelPalec2End", "LabelPalec3Zac", "LabelPalec3End", "LabelPalec4Zac",
        "LabelPalec4End", "LabelKompenz1", "LabelKompenz2"});
    s.lobeFieldsEnabled = named(form, {
        "EditPocPalcu", "EditPalec1Zac", "EditPalec1End", "EditPalec2Zac", "EditPalec2End",
        "EditPalec3Zac", "EditPalec3End", "EditPalec4Zac", "EditPalec4End"});
    s.lobeSpinnersVisible = named(form, {
        "UpDownPocPalcu", "UpDownPalec1Zac", "UpDownPalec1End", "UpDownPalec2Zac",
        "UpDownPalec2End", "UpDownPalec3Zac", "UpDownPalec3End", "UpDownPalec4Zac",
        "UpDownPalec4End"});
    s.cgaugeTps = form.ctl<QWidget>("CGaugeTps");
    s.groupPrivera = form.ctl<QWidget>("GroupBoxPrivera");
    s.labelPriveraPoz = form.ctl<QWidget>("LabelPriveraPoz");
    s.labelPriveraMer = form.ctl<QWidget>("LabelPriveraMer");
    s.labelTpsMon = form.ctl<QWidget>("LabelTpsMon");
    s.comboSynchro = form.ctl<QWidget>("ComboBoxSynchro");
    s.editPocKanalu = form.ctl<QWidget>("EditPocKanalu");
    s.upDownPocKanalu = form.ctl<QWidget>("UpDownPocKanalu");
    s.labelMonSnimac2 = form.ctl<QWidget>("LabelMonSnimac2");
    for (int ch = 2; ch <= vorn::kChannels; ++ch)
        s.groupPalec[static_cast<std::size_t>(ch - 2)] = form.ctl<QWidget>(QStringLiteral("GroupBoxPalec%1").arg(ch));
    for (int n = 1; n <= 3; ++n)
        s.labelVerze[static_cast<std::size_t>(n - 1)] = form.ctl<QLabel>(QStringLiteral("LabelVerze%1").arg(n));
    for (int k = 1; k <= vorn::kMapSize; ++k)
        s.spinButtons[static_cast<std::size_t>(k - 1)] = form.ctl<QWidget>(QStringLiteral("CSpinButton%1").arg(k));
}

void TFormHlav::UpdateDisplayStates()
{
    if (!editState_ || !ControlTable[vorn::table::kMapEdits])
        return;   // the control table is filled first thing at start-up
    EditState &s = *editState_;
    EditState::Busy busy(s);
    namespace t = vorn::table;
    auto at = [this](int index) { return ControlTable[static_cast<std::size_t>(index)]; };

    const bool P = Printing;
    const bool T = s.tpsMapa->isChecked();
    const bool S = s.bike->currentIndex() == vorn::kSpecialListIndex;
    const bool D0 = s.sync->currentIndex() == 0;
    const bool D4 = s.sync->currentIndex() == 4;
    const int channels = Image.outputCount();

    vorn::ui::setBackground(this, P ? vorn::ui::kWhite : vorn::ui::buttonFace());            // 1
    vorn::ui::setBackground(s.progHned, s.progHned->isChecked() ? vorn::ui::kRed             // 2
                                                                 : vorn::ui::buttonFace());
    for (QWidget *w : s.hiddenWhilePrinting)                                                 // 3, 5
        setShown(w, !P);
    setShown(s.cgaugeTps, T && !P);                                                          // 4
    for (int k = 0; k < vorn::kMapSize; ++k) {                                               // 6
        setShown(at(t::kRpmAdvUpDowns + k), !P);
        setShown(at(t::mapUpDown(9, k)), !P);
        setShown(at(t::kServoRpmUpDowns + k), !P);
        setShown(at(t::kServoMvUpDowns + k), !P);
    }
    for (int j = 0; j < vorn::kMapSize; ++j) {                                               // 7
        setShown(at(t::kTpsLabels + j), T);
        for (int i = 0; i < vorn::kMapSize - 1; ++i)
            setShown(at(t::mapEdit(i, j)), T);
    }
    for (int j = 0; j < vorn::kMapSize; ++j)                                                 // 8
        for (int i = 0; i < vorn::kMapSize - 1; ++i)
            setShown(at(t::mapUpDown(i, j)), T && !P);
    for (QWidget *w : s.spinButtons)                                                         // 9
        setShown(w, T && !P);
    placeLastMapRow(*this, T);                                                               // 10
    const bool servo = Image.servoEnable() != 0;                                             // 11
    setShown(s.groupPrivera, servo);
    setShown(s.labelPriveraPoz, servo);
    setShown(s.labelPriveraMer, servo);
    showUnitProgramTexts(*this, s);                                                          // 12
    setOn(s.labelTpsMon, T);                                                                 // 13
    setOn(s.comboSynchro, S);                                                                // 14
    setOn(s.editPocKanalu, S);
    for (QWidget *w : s.lobeFieldsEnabled)                                                   // 15
        setOn(w, S && !D0);
    for (int k = 0; k < 16; ++k)                                                             // 16, 17
        setOn(at(t::kChannelChecks + k), S);
    for (QWidget *w : s.specialEnabled)
        setOn(w, S);
    for (int k = 0; k < 8; ++k)                                                              // 18
        setShown(at(t::kPickup2Checks + k), D4 || D0);
    for (QWidget *w : s.lobeSpinnersVisible)                                                 // 19
        setShown(w, S && !D0);
    setShown(s.upDownPocKanalu, S);                                                          // 20
    for (int n = 2; n <= vorn::kChannels; ++n) {                                             // 21, 22
        setShown(s.groupPalec[static_cast<std::size_t>(n - 2)], channels >= n);
        setShown(at(t::kAdvanceLabels + n - 1), Image.bikeCode() == vorn::kSpecialBikeCode && channels >= n);
    }
    setShown(s.labelMonSnimac2, Image.syncMethod() == 0 || Image.syncMethod() == 4);       // 23
    if (mapTools)
        mapTools->afterDisplayStates();   // heat colours and the map view follow the values
    emit Notifier->displayStatesApplied();
}
