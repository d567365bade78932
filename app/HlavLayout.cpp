// Composition of the main window: menus, toolbar, monitor column, status bar; the pages are in HlavPages.cpp.
#include "FieldPanels.h"
#include "Hlav.h"

#include "host/Colors.h"
#include "LayoutHelpers.h"
#include "UpDown.h"
#include "params/FieldBindings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QIcon>
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

#include <algorithm>

using namespace vorn::ui;

QWidget *TFormHlav::numericField(const QString &suffix, QWidget *parent, int editWidth)
{
    const vorn::FieldBinding *b = vorn::findBinding(("Edit" + suffix).toStdString());
    Q_ASSERT(b);
    auto *box = new QWidget(parent);
    auto *h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    auto *e = named(new QLineEdit(box), "Edit" + suffix);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FieldPanelStyle::instance()->attach(e);
    auto *u = named(new UpDown(box), "UpDown" + suffix);
    u->setRange(b->min, b->max);
    u->setStep(b->step);
    u->setGrouped(b->grouped);
    u->setAssociate(e);
    // At least wide enough for both ends of the range as the spinner writes them, so a
    // thousands separator or a minus sign never pushes a digit out of sight.
    for (int extreme : {b->min, b->max})
        editWidth = std::max(editWidth, editWidthFor(e, u->textFor(extreme)));
    e->setFixedWidth(editWidth);
    u->setFixedHeight(e->sizeHint().height());
    u->setInitialPosition(b->initial);
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

namespace {

// The style's own icons decode every size they come in, 128 pixels included, as they are
// made: four of them were a twentieth of the window's start. A tool button draws 16 pixels
// (32 on a doubled screen). Where the icon theme has no picture of the name the style asks
// for, Qt's own styles take these files, so here the two small ones are read alone. Any
// other style keeps drawing its own icons.
QIcon toolButtonIcon(QStyle::StandardPixmap which, QStyle *style)
{
    const char *file = nullptr;
    const char *themeName = nullptr;
    switch (which) {
    case QStyle::SP_FileIcon: file = "file"; themeName = "text-x-generic"; break;
    case QStyle::SP_DialogOpenButton: file = "standardbutton-open"; themeName = "folder-open"; break;
    case QStyle::SP_DialogSaveButton: file = "standardbutton-save"; themeName = "document-save"; break;
    case QStyle::SP_FileDialogDetailedView: file = "viewdetailed"; themeName = "view-list-details"; break;
    default: break;
    }
    const QString styleName = style->name().toLower();
    if (!file || (styleName != u"fusion" && styleName != u"windows") || QIcon::hasThemeIcon(QLatin1String(themeName)))
        return style->standardIcon(which);
    QIcon icon;
    for (int size : {16, 32}) {
        const QString path = QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                                 .arg(QLatin1String(file)).arg(size);
        if (!QFile::exists(path))
            return style->standardIcon(which);
        icon.addFile(path, QSize(size, size));
    }
    return icon;
}

}  // namespace

QWidget *TFormHlav::buildToolBar()
{
    auto *box = named(new QGroupBox, "GroupBoxToolBar");
    auto *h = new QHBoxLayout(box);
    h->setContentsMargins(4, 2, 4, 2);
    auto tool = [&](const QString &name, QStyle::StandardPixmap icon, const QString &text) {
        auto *b = named(new QToolButton(box), name);
        b->setIcon(toolButtonIcon(icon, style()));
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
    setObjectName("FormHlav");
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
