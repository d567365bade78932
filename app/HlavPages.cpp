// The four pages of the main window: miscellaneous settings, bike, advance map and servo.
#include "FieldPanels.h"
#include "Hlav.h"

#include "host/Colors.h"
#include "LayoutHelpers.h"
#include "PictureLabel.h"
#include "UpDown.h"
#include "params/FieldBindings.h"
#include "params/New.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace vorn::ui;

namespace {

const char *const kSyncList[] = {
    "1 lobe, 1 or 2 pick-up",
    "Short gap between lobes (inserted lobe)",
    "Wide lobe",
    "Long gap between lobes (missing lobe)",
    "2 pick-ups, missing lobe",
    "2 Short gaps between lobes (inserted lobe)",
};

const char *const kThrottleCaptions[] = {"0%", "2%", "5%", "10%", "20%",
                                         "30%", "40%", "60%", "80%", "100%"};


}  // namespace

QWidget *TFormHlav::buildPageMiscellaneous()
{
    auto *page = named(new QWidget, "TabSheetRuzne");
    auto *outer = new QHBoxLayout(page);

    auto *left = new QVBoxLayout;
    auto *form = new QGridLayout;
    const char *const rows[][2] = {{"Omez2", "Limiter [rpm]"},
                                   {"PilotLight", "Pilot light [rpm]"},
                                   {"ClutchTime", "Clutch master time [ms]"},
                                   {"ClutchPause", "Clutch master pause [ms]"},
                                   {"PocSynchro", "Počet synchro"}};
    int r = 0;
    for (const auto &row : rows) {
        form->addWidget(label("Label" + QString(row[0]), QString::fromUtf8(row[1]), page), r, 0);
        form->addWidget(numericField(row[0], page, 70), r, 1);
        ++r;
    }
    form->setColumnStretch(2, 1);
    left->addLayout(form);

    auto *tps = named(new QGroupBox("TPS", page), "GroupBoxTps");
    auto *tg = new QGridLayout(tps);
    tg->addWidget(label("LabelTps0", "0%  [mV]", tps), 0, 0);
    tg->addWidget(numericField("Tps0", tps, 60), 0, 1);
    tg->addWidget(named(new QPushButton("Set TPS 0 %", tps), "BitBtnTps0"), 0, 2);
    tg->addWidget(label("LabelTps100", "100%  [mv]", tps), 1, 0);
    tg->addWidget(numericField("Tps100", tps, 60), 1, 1);
    tg->addWidget(named(new QPushButton("Set TPS 100 %", tps), "BitBtnTps100"), 1, 2);
    left->addWidget(tps);

    auto *akt = named(new QGroupBox("Act. by closing", page), "GroupBoxAkt");
    setHint(akt, "Activation by closing |Checked items means activation by closing");
    auto *av = new QVBoxLayout(akt);
    av->addWidget(checkBox("CheckBoxAktBlok1", "Blocking 1", akt));
    av->addWidget(checkBox("CheckBoxAktClutch", "Clutch master", akt));
    left->addWidget(akt);

    left->addWidget(checkBox("CheckBoxBuzDlouhe", "Excitation Height", page));
    auto *progHned = checkBox("CheckBoxProgHned", QString::fromUtf8("Program. po změně"), page);
    left->addWidget(progHned);
    left->addStretch();
    outer->addLayout(left, 3);

    auto *right = new QVBoxLayout;
    auto *ver = new QGridLayout;
    const char *const verNames[][2] = {{"LabelVerze1", "Version|Version of program in ignition"},
                                       {"LabelVerze2", "Date|Date of program in ignition"},
                                       {"LabelVerze3", "Time|Time of program in ignition"}};
    int vr = 0;
    for (const auto &v : verNames) {
        QLabel *l = label(v[0], QString(v[1]).section('|', 0, 0), page);
        l->setMinimumWidth(200);
        l->setFrameShape(QFrame::StyledPanel);
        setHint(l, v[1]);
        ver->addWidget(l, vr++, 0);
    }
    right->addLayout(ver);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(label("LabelFile1", "File:", page));
    auto *file2 = label("LabelFile2", "----------", page);
    file2->setWordWrap(true);
    file2->setMinimumWidth(220);
    fileRow->addWidget(file2, 1);
    right->addLayout(fileRow);
    right->addWidget(label("LabelPocetProgramovani", "Number of Programing= ---", page));
    right->addStretch();
    auto *logo = named(new PictureLabel(QStringLiteral(":/logo_main.jpg"), page), "ImageLogo3");
    logo->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    right->addWidget(logo);
    outer->addLayout(right, 2);
    return page;
}

QWidget *TFormHlav::buildPageBike()
{
    auto *page = named(new QWidget, "TabSheetBike");
    auto *v = new QVBoxLayout(page);

    auto *bikeRow = new QHBoxLayout;
    QLabel *bikeLabel = label("LabelBike", "Motorka", page);
    bikeRow->addWidget(bikeLabel);
    auto *bike = named(new QComboBox(page), "ComboBoxBike");
    bikeLabel->setBuddy(bike);   // one language gives the caption a mnemonic
    for (int i = 0; i < vorn::kBikeListSize; ++i)
        bike->addItem(QString::fromUtf8(vorn::bikeListText(i)));
    bike->setMaxVisibleItems(27);
    bike->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setHint(bike, "Type of keying");
    bikeRow->addWidget(bike);
    bikeRow->addStretch();
    v->addLayout(bikeRow);

    auto *special = named(new QGroupBox("Specification of synchronization - Caution - For experienced user only!", page),
                          "GroupBoxSpecial");
    auto *sv = new QVBoxLayout(special);
    auto *syncRow = new QHBoxLayout;
    syncRow->addWidget(label("LabelSynchro", "Synchronization method", special));
    auto *sync = named(new QComboBox(special), "ComboBoxSynchro");
    for (const char *s : kSyncList)
        sync->addItem(QString::fromUtf8(s));
    sync->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setHint(sync, "Type of keying");
    syncRow->addWidget(sync);
    syncRow->addStretch();
    sv->addLayout(syncRow);

    auto *body = new QHBoxLayout;
    auto *leftGrid = new QGridLayout;
    leftGrid->addWidget(label("LabelPocPalcu", "Number of lobes", special), 0, 0);
    leftGrid->addWidget(numericField("PocPalcu", special, 44), 0, 1);
    leftGrid->addWidget(label("LabelPocKanalu", "Number of outputs (coils)", special), 1, 0);
    leftGrid->addWidget(numericField("PocKanalu", special, 44), 1, 1);
    leftGrid->addWidget(label("LabelKompenz1", "Compensation 1", special), 2, 0);
    leftGrid->addWidget(numericField("Kompenz1", special, 44), 2, 1);
    leftGrid->addWidget(label("LabelKompenz2", "Compensation 2", special), 3, 0);
    leftGrid->addWidget(numericField("Kompenz2", special, 44), 3, 1);
    leftGrid->setRowStretch(4, 1);
    body->addLayout(leftGrid);
    body->addSpacing(12);

    // Channel groups: two rows each ("Maximum advance", "Start advance") under a common
    // header of lobe, second edge and second pick-up.
    constexpr int kCaptionWidth = 150, kLobeWidth = 70, kFlagWidth = 90;
    auto *channels = new QVBoxLayout;
    channels->setSpacing(2);
    auto *header = new QGridLayout;
    header->setContentsMargins(10, 0, 10, 0);
    header->setColumnMinimumWidth(0, kCaptionWidth);
    // Centred over their columns, as the check boxes below them are.
    header->addWidget(label("LabelLobe", "Lobe", special), 0, 1, Qt::AlignHCenter);
    header->addWidget(label("LabelHrana2", "2nd Edge", special), 0, 2, Qt::AlignHCenter);
    header->addWidget(label("LabelSnimac2", "2nd Pick-up", special), 0, 3, Qt::AlignHCenter);
    header->setColumnMinimumWidth(1, kLobeWidth);
    header->setColumnMinimumWidth(2, kFlagWidth);
    header->setColumnMinimumWidth(3, kFlagWidth);
    header->setColumnStretch(4, 1);
    channels->addLayout(header);
    for (int ch = 1; ch <= vorn::kChannels; ++ch) {
        const QString n = QString::number(ch);
        auto *g = named(new QGroupBox(QStringLiteral("Channel %1").arg(ch), special),
                        "GroupBoxPalec" + n);
        auto *gg = new QGridLayout(g);
        gg->setContentsMargins(8, 2, 8, 2);
        gg->setVerticalSpacing(1);
        gg->setColumnMinimumWidth(0, kCaptionWidth);
        gg->setColumnMinimumWidth(1, kLobeWidth);
        gg->setColumnMinimumWidth(2, kFlagWidth);
        gg->setColumnMinimumWidth(3, kFlagWidth);
        gg->setColumnStretch(4, 1);
        int row = 0;
        for (const auto &[kind, caption] : {std::pair{"Zac", "Maximum advance"}, std::pair{"End", "Start advance"}}) {
            const QString base = "Palec" + n + kind;
            gg->addWidget(label("Label" + base, caption, g), row, 0);
            gg->addWidget(numericField(base, g, 44), row, 1);
            gg->addWidget(checkBox("CheckBox" + base + "H2", QString(), g), row, 2, Qt::AlignHCenter);
            gg->addWidget(checkBox("CheckBox" + base + "P2", QString(), g), row, 3, Qt::AlignHCenter);
            ++row;
        }
        channels->addWidget(g);
    }
    channels->addStretch();
    body->addLayout(channels, 1);
    sv->addLayout(body);
    v->addWidget(special);

    auto *bottom = new QHBoxLayout;
    auto *rpm = named(new QGroupBox("RPM", page), "GroupBoxRpm");
    auto *rg = new QGridLayout(rpm);
    rg->addWidget(label("LabelRpmPulsu", "Pulses", rpm), 0, 0);
    rg->addWidget(numericField("RpmPulsu", rpm, 44), 0, 1);
    rg->addWidget(label("LabelRpmKorekce", "Correction", rpm), 1, 0);
    rg->addWidget(numericField("RpmKorekce", rpm, 44), 1, 1);
    bottom->addWidget(rpm);
    auto *inv = checkBox("CheckBoxInvInput", QString::fromUtf8("Inverzní vstupy"), page);
    bottom->addWidget(inv, 0, Qt::AlignTop);
    bottom->addStretch();
    v->addLayout(bottom);
    v->addStretch();
    return page;
}

QWidget *TFormHlav::buildPageAdvance()
{
    auto *page = named(new QWidget, "TabSheetAdvance");
    auto *v = new QVBoxLayout(page);
    auto *group = named(new QGroupBox(page), "GroupBox6");
    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(2);
    auto *rpmCaption = label("LabelRpm1", "RPM", group);
    setHint(rpmCaption, "Round per Minute|Speed - Round per Minute");
    grid->addWidget(rpmCaption, 0, 0);
    // Columns: 0 row captions; then per map column an edit (1 + 2k) and its spinner (2 + 2k).
    for (int k = 0; k < vorn::kMapSize; ++k) {
        QWidget *f = numericField(QStringLiteral("RpmAdv%1").arg(k + 1), group, 46);
        grid->addWidget(f, 0, 1 + k, Qt::AlignLeft);
    }
    for (int row = 0; row < vorn::kMapSize; ++row) {
        QLabel *l = label(QStringLiteral("LabelTps%1").arg(row + 1), kThrottleCaptions[row], group);
        keepPlace(l);
        l->setAutoFillBackground(true);
        grid->addWidget(l, 1 + row, 0);
        for (int k = 0; k < vorn::kMapSize; ++k) {
            const int n = 50 + 10 * row + k;
            auto *e = named(new QLineEdit(group), QStringLiteral("Edit%1").arg(n));
            e->setFixedWidth(40);
            e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            FieldPanelStyle::instance()->attach(e);
            auto *u = named(new UpDown(group), QStringLiteral("UpDown%1").arg(n));
            const vorn::FieldBinding *b = vorn::findBinding(e->objectName().toStdString());
            u->setRange(b->min, b->max);
            u->setStep(b->step);
            u->setGrouped(false);
            u->setAssociate(e);
            u->setFixedHeight(e->sizeHint().height());
            u->setInitialPosition(b->initial);
            keepPlace(e);
            keepPlace(u);
            auto *cell = new QHBoxLayout;
            cell->setSpacing(0);
            cell->addWidget(e);
            cell->addWidget(u);
            cell->addStretch();
            mapCells_[row][k] = cell;
            grid->addLayout(cell, 1 + row, 1 + k);
        }
    }
    for (int k = 0; k < vorn::kMapSize; ++k) {
        auto *s = named(new CSpinButton(group), QStringLiteral("CSpinButton%1").arg(k + 1));
        keepPlace(s);
        s->setFixedWidth(40);
        grid->addWidget(s, 11, 1 + k, Qt::AlignLeft);
    }
    grid->setColumnStretch(11, 1);
    mapGrid_ = grid;
    v->addWidget(group);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(checkBox("CheckBoxTpsMapa", "TPS", page));
    bottom->addSpacing(12);
    auto *minus = named(new QPushButton("-", page), "BitBtnAdvMinus");
    auto *plus = named(new QPushButton("+", page), "BitBtnAdvPlus");
    for (QPushButton *b : {minus, plus}) {
        b->setFixedWidth(36);
        bottom->addWidget(b);
    }
    setHint(minus, "Injection minus 1 percent");
    setHint(plus, "Injection plus 1 percent");
    bottom->addWidget(checkBox("CheckBoxIgnAll", "All", page));
    bottom->addSpacing(24);
    bottom->addWidget(label("LabelBaseAdv", QString::fromUtf8("Base advance [°]"), page));
    bottom->addWidget(numericField("BaseAdv", page, 44));
    bottom->addStretch();
    v->addLayout(bottom);
    v->addStretch();
    return page;
}

QWidget *TFormHlav::buildPageServo()
{
    auto *page = named(new QWidget, "TabSheetServo");
    auto *v = new QVBoxLayout(page);
    v->addWidget(checkBox("CheckBoxPrivEnable", "Servo enable", page));
    auto *group = named(new QGroupBox("Servo", page), "GroupBoxPrivera");
    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(2);
    grid->addWidget(label("Label6", "RPM", group), 0, 0);
    grid->addWidget(label("Label5", "[mV]", group), 1, 0);
    for (int k = 0; k < vorn::kMapSize; ++k) {
        grid->addWidget(numericField(QStringLiteral("RpmPriv%1").arg(k + 1), group, 46), 0, 1 + k);
        grid->addWidget(numericField(QStringLiteral("NapPriv%1").arg(k + 1), group, 46), 1, 1 + k);
    }
    grid->setColumnStretch(11, 1);
    auto *row = new QHBoxLayout;
    row->setSpacing(6);   // not the map's tight column spacing
    row->addWidget(label("LabelServoHyster", "Servo hysteresis [mV]", group));
    row->addWidget(numericField("PrivHyster", group, 50));
    row->addSpacing(24);
    auto *minus = named(new QPushButton("-", group), "BitBtnServoMinus");
    auto *plus = named(new QPushButton("+", group), "BitBtnServoPlus");
    for (QPushButton *b : {minus, plus}) {
        b->setFixedWidth(36);
        row->addWidget(b);
    }
    setHint(minus, "Take off 20 mV");
    setHint(plus, "Add 20 mV");
    row->addWidget(checkBox("CheckBoxServoAll", "All", group));
    row->addStretch();
    grid->addLayout(row, 2, 0, 1, 12);
    v->addWidget(group);
    v->addStretch();
    auto *logo = named(new PictureLabel(QStringLiteral(":/logo_servo.jpg"), page), "ImageLogo");
    logo->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    v->addWidget(logo);
    return page;
}

