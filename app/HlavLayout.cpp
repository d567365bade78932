// Composition of the main window: menus, toolbar, the four pages, monitor column, status bar.
#include "Hlav.h"

#include "Colors.h"
#include "UpDown.h"
#include "params/FieldBindings.h"

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

namespace {

template <class T>
T *named(T *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

QLabel *label(const QString &name, const QString &text, QWidget *parent)
{
    return named(new QLabel(text, parent), name);
}

QCheckBox *checkBox(const QString &name, const QString &text, QWidget *parent)
{
    return named(new QCheckBox(text, parent), name);
}

// Map cells keep their place when hidden, so the map does not jump when the throttle
// rows come and go; row 9 then takes the place of row 0 explicitly.
void keepPlace(QWidget *w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

const char *const kBikeList[] = {
    "Kawasaki 3 Cyl",     "Kawasaki ZX h",   "Honda CBR 7P",
    "Honda CBR 9P",       "Honda Shadow",    "Honda VFR 400",
    "Honda VFR 750",      "Honda VT 600 Shadow", "Honda VT 1100",
    "Standard (1 lobe, 1 or 2 pick-up) ", "Suzuki 800", "Suzuki GSF 400 A",
    "Suzuki GSF 400 B",   "Suzuki GSX",      "Suzuki SV 650",
    "Suzuki Tci 125",     "Suzuki VS 800,",  "TDM 850",
    "Triumph Tigra",      "Virago XV",       "Yamaha 125 SR",
    "Yamaha Fz 750",      "Yamaha R1",       "Yamaha R6",
    "Yamaha XT600E",      "Yamaha XVZ 1300", "Special - (manual seting)",
};

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

QWidget *TFormHlav::numericField(const QString &suffix, QWidget *parent, int editWidth)
{
    const vorn::FieldBinding *b = vorn::findBinding(("Edit" + suffix).toStdString());
    Q_ASSERT(b);
    auto *box = new QWidget(parent);
    auto *h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    auto *e = named(new QLineEdit(box), "Edit" + suffix);
    e->setFixedWidth(editWidth);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *u = named(new UpDown(box), "UpDown" + suffix);
    u->setRange(b->min, b->max);
    u->setStep(b->step);
    u->setGrouped(b->grouped);
    u->setAssociate(e);
    u->setFixedHeight(e->sizeHint().height());
    u->setPosition(b->initial);
    h->addWidget(e);
    h->addWidget(u);
    h->addStretch();
    return box;
}

void TFormHlav::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName("MainMenu1");
    auto addMenu = [&](const QString &name, const QString &title) {
        QMenu *m = named(bar->addMenu(title), name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    auto addItem = [&](QMenu *m, const QString &name, const QString &text,
                       const QKeySequence &key = {}) {
        QAction *a = named(m->addAction(text), name);
        if (!key.isEmpty())
            a->setShortcut(key);
        return a;
    };

    QMenu *file = addMenu("MenuFile", "&File");
    addItem(file, "MenuNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    file->addSeparator();
    addItem(file, "MenuOpen", "&Open", QKeySequence(Qt::Key_F3));
    file->addSeparator();
    addItem(file, "MenuSave", "&Save", QKeySequence(Qt::Key_F2));
    file->addSeparator();
    addItem(file, "MenuPrint", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P));
    addItem(file, "MenuPrintAll", "Print All");
    file->addSeparator();
    addItem(file, "MenuExit", "E&xit");

    QMenu *com = addMenu("MenuCom", "&Com");
    for (int n = 1; n <= 10; ++n) {
        const QString text = n < 10 ? QStringLiteral("Com &%1").arg(n) : QStringLiteral("Com 1&0");
        QAction *a = addItem(com, QStringLiteral("MenuCom%1").arg(n), text);
        a->setCheckable(true);
    }

    QMenu *device = addMenu("MenuDevice", "&Device");
    addItem(device, "MenuRead", "&Read", QKeySequence(Qt::Key_F7));
    addItem(device, "MenuVerify", "&Verify", QKeySequence(Qt::Key_F8));
    addItem(device, "MenuProgram", "&Program", QKeySequence(Qt::Key_F9));

    QMenu *tools = addMenu("MenuTools", "&Tools");
    setHint(addItem(tools, "AdvanceMinus", "Advance -", QKeySequence(Qt::Key_F4)),
            "Curve A minus|Take off 1 degree of curve A");
    setHint(addItem(tools, "AdvancePlus", "Advance +", QKeySequence(Qt::Key_F5)),
            "Curve A plus|Add 1 degree of curve A");

    QMenu *lang = addMenu("MenuLanguage", "&Language");
    const char *const langNames[][3] = {{"MenuEnglish", "&English", "Set English menu"},
                                        {"MenuGerman", "&German", "Deutsches Menü"},
                                        {"MenuFrench", "&France", "Installer en Francais "},
                                        {"MenuCzech", "&Czech", "Nastavit české menu"}};
    for (const auto &l : langNames) {
        QAction *a = addItem(lang, l[0], QString::fromUtf8(l[1]));
        a->setCheckable(true);
        setHint(a, QString::fromUtf8(l[2]));
    }

    QMenu *help = addMenu("MenuHelp", "&Help");
    setHint(help, "Not available jet");
    addItem(help, "MenuContens", "&Contens", QKeySequence(Qt::Key_F1));
    addItem(help, "MenuAbout", "&About...");
}

QWidget *TFormHlav::buildToolBar()
{
    auto *box = named(new QGroupBox, "GroupBoxToolBar");
    auto *h = new QHBoxLayout(box);
    h->setContentsMargins(4, 2, 4, 2);
    auto tool = [&](const QString &name, QStyle::StandardPixmap icon, const QString &text) {
        auto *b = named(new QToolButton(box), name);
        b->setIcon(style()->standardIcon(icon));
        b->setText(text);
        b->setAutoRaise(true);
        h->addWidget(b);
        return b;
    };
    tool("SpeedButton6", QStyle::SP_FileIcon, "New");
    tool("SpeedButton5", QStyle::SP_DialogOpenButton, "Open");
    tool("SpeedButton7", QStyle::SP_DialogSaveButton, "Save");
    auto *print = tool("SpeedButtonPrint", QStyle::SP_FileDialogDetailedView, "Print");
    print->setToolButtonStyle(Qt::ToolButtonIconOnly);
    h->addSpacing(8);
    for (const auto &[name, text] : {std::pair{"ButtonRead", "&Read"}, std::pair{"BitBtnVerify", "Verify"},
                                     std::pair{"BitBtnProgram", "Program"}}) {
        auto *b = named(new QPushButton(text, box), name);
        h->addWidget(b);
    }
    return box;
}

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
    auto *logo = label("ImageLogo3", QString(), page);
    logo->setPixmap(QPixmap(":/logo_main.jpg"));
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
    bikeRow->addWidget(label("LabelBike", "Motorka", page));
    auto *bike = named(new QComboBox(page), "ComboBoxBike");
    for (const char *b : kBikeList)
        bike->addItem(QString::fromUtf8(b));
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
    header->addWidget(label("LabelLobe", "Lobe", special), 0, 1);
    header->addWidget(label("LabelHrana2", "2nd Edge", special), 0, 2);
    header->addWidget(label("LabelSnimac2", "2nd Pick-up", special), 0, 3);
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
            auto *u = named(new UpDown(group), QStringLiteral("UpDown%1").arg(n));
            const vorn::FieldBinding *b = vorn::findBinding(e->objectName().toStdString());
            u->setRange(b->min, b->max);
            u->setStep(b->step);
            u->setGrouped(false);
            u->setAssociate(e);
            u->setFixedHeight(e->sizeHint().height());
            u->setPosition(b->initial);
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
    auto *logo = label("ImageLogo", QString(), page);
    logo->setPixmap(QPixmap(":/logo_servo.jpg"));
    logo->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    v->addWidget(logo);
    return page;
}

QWidget *TFormHlav::buildMonitorColumn()
{
    auto *col = new QWidget;
    col->setObjectName("MonitorColumn");
    col->setFixedWidth(250);
    auto *v = new QVBoxLayout(col);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(3);
    auto live = [&](const QString &name, const QString &text) {
        QLabel *l = label(name, text, col);
        l->setAutoFillBackground(true);
        l->setMinimumHeight(18);
        v->addWidget(l);
        return l;
    };
    auto gauge = [&](const QString &name, const QColor &chunk, int max) {
        auto *g = named(new QProgressBar(col), name);
        g->setRange(0, max);
        g->setValue(0);
        g->setTextVisible(false);
        g->setFixedHeight(12);
        g->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: %1; }").arg(chunk.name()));
        v->addWidget(g);
        return g;
    };
    live("LabelRpm", "RPM = ---");
    gauge("CGaugeRpm", QColor(255, 0, 255), 100);
    live("LabelTpsMon", "TP= --- [%]");
    gauge("CGaugeTps", QColor(0, 0, 128), 100);
    live("LabelAdvance1", QString::fromUtf8("ADVANCE = --- [°]"));
    live("LabelAdvance2", QString::fromUtf8("ADVANCE 2 = --- [°]"))->hide();
    live("LabelAdvance3", QString::fromUtf8("ADVANCE 3 = --- [°]"))->hide();
    live("LabelAdvance4", QString::fromUtf8("ADVANCE 4 = --- [°]"))->hide();
    live("LabelMonSnimac1", "Pick-up (CKPS) 1 ---");
    live("LabelMonSnimac2", "Pick-up (CKPS) 2 ---");
    live("LabelNapeti", "U = --- [V]");
    live("LabelPriveraPoz", "Servo desired= ---");
    live("LabelPriveraMer", "Servo measured= ---");
    live("LabelBlocking1", "Blocking = --");
    live("LabelMonPilotLight", "Pilot Light = --");
    live("LabelClutchMon", "Clutch master= ---");
    v->addStretch();
    QLabel *status = live("LabelHlaseni", "Programming:");
    QFont bold = status->font();
    bold.setBold(true);
    status->setFont(bold);
    status->setWordWrap(true);
    status->hide();
    gauge("CGauge", QColor(0, 255, 255), 5)->hide();
    return col;
}

QWidget *TFormHlav::buildTestRow()
{
    auto *row = new QWidget;
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    for (int i = 1; i <= 8; ++i) {
        QLabel *l = label(QStringLiteral("LabelTest%1").arg(i), QStringLiteral("Test%1 = ---").arg(i), row);
        l->hide();
        h->addWidget(l);
    }
    h->addStretch();
    return row;
}

void TFormHlav::composeWindow()
{
    setWindowTitle("Programming of VORN Ignition Unit");
    resize(kDesignWidth, kDesignHeight);
    buildMenus();

    auto *central = new QWidget(this);
    central->setObjectName("ClientArea");
    auto *v = new QVBoxLayout(central);
    v->setContentsMargins(6, 4, 6, 4);

    auto *top = new QHBoxLayout;
    top->addWidget(buildToolBar());
    top->addStretch();
    auto *spojeni = label("LabelSpojeni", "No Connection", central);
    QFont f = spojeni->font();
    f.setBold(true);
    spojeni->setFont(f);
    spojeni->setAlignment(Qt::AlignCenter);
    spojeni->setMinimumHeight(2 * spojeni->sizeHint().height());
    spojeni->setContentsMargins(16, 0, 16, 0);
    vorn::ui::setBackground(spojeni, vorn::ui::kRed);
    keepPlace(spojeni);
    top->addWidget(spojeni);
    top->addStretch();
    v->addLayout(top);

    auto *mid = new QHBoxLayout;
    auto *tabs = named(new QTabWidget(central), "PageControl1");
    tabs->addTab(buildPageMiscellaneous(), "Miscellaneous");
    tabs->addTab(buildPageBike(), "Bike");
    tabs->addTab(buildPageAdvance(), "Advance Map");
    tabs->addTab(buildPageServo(), "Servo");
    tabs->setCurrentIndex(1);   // the design's open page
    mid->addWidget(tabs, 1);
    mid->addWidget(buildMonitorColumn());
    v->addLayout(mid, 1);
    v->addWidget(buildTestRow());
    setCentralWidget(central);

    auto *status = new QStatusBar(this);
    status->setObjectName("StatusBar1");
    setStatusBar(status);
}
