// The window as the host of its features: the shell (boxes through the modal guard, menus
// at named places, status-bar parts, settings), image editing, the live view with replay,
// and the link. Features see only these roles, never the window's members.
#include "Hlav.h"

#include "UserInteraction.h"
#include "host/Colors.h"
#include "host/MenuTitles.h"
#include "history/ui/ChangeHistoryUi.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>

using vorn::host::MenuPlace;

// The menus the features fill, and the separator where the map tools' part of Edit begins,
// so each place grows at its own end whatever was placed after it.
struct TFormHlav::MenuPlaces {
    QMenu *edit = nullptr;
    QMenu *view = nullptr;
    QMenu *log = nullptr;
    QAction *editCellsSeparator = nullptr;
    QAction *comSeparator = nullptr;
    QAction *toolsSeparator = nullptr;
};

// What a replay covers: the monitor column, the gauges and the transfer commands.
struct TFormHlav::ReplaySnapshot {
    struct LabelState {
        QLabel *label;
        QString text;
        QPalette palette;
        bool autoFill;
        bool enabled;
    };
    vorn::LiveValues live;
    vorn::LiveCell cell;
    vorn::MonitorFields fields;
    std::vector<LabelState> labels;
    int rpmGauge = 0;
    int tpsGauge = 0;
    std::vector<std::pair<QObject *, bool>> enabled;
};

namespace {

// The monitor column as the monitor decoder writes it.
const char *const kMonitorLabels[] = {
    "LabelRpm",       "LabelTpsMon",     "LabelAdvance1",   "LabelAdvance2",      "LabelAdvance3",
    "LabelAdvance4",  "LabelMonSnimac1", "LabelMonSnimac2", "LabelNapeti",        "LabelPriveraPoz",
    "LabelPriveraMer", "LabelBlocking1", "LabelMonPilotLight", "LabelClutchMon", "LabelPocetProgramovani",
    "LabelTest1",     "LabelTest2",      "LabelTest3",      "LabelTest4",         "LabelTest5",
    "LabelTest6",     "LabelTest7",      "LabelTest8"};
// What a log does not hold: greyed while the replay runs.
const char *const kUnloggedLabels[] = {"LabelMonSnimac1", "LabelMonSnimac2", "LabelPocetProgramovani",
                                       "LabelTest1", "LabelTest2", "LabelTest3", "LabelTest4",
                                       "LabelTest5", "LabelTest6", "LabelTest7", "LabelTest8"};
const char *const kTransferCommands[] = {"MenuRead", "MenuVerify", "MenuProgram",
                                         "ButtonRead", "BitBtnVerify", "BitBtnProgram"};

}  // namespace

QWidget *TFormHlav::dialogParent() const
{
    return const_cast<TFormHlav *>(this);
}

int TFormHlav::question(const QString &text, const QString &title)
{
    return runModal([&] { return userInteraction().askQuestion(boxOwner(), title.isEmpty() ? windowTitle() : title, text); },
                    int(QMessageBox::Cancel));
}

std::optional<int> TFormHlav::askNumber(const QString &title, const QString &label, int initial, int min, int max)
{
    return runModal([&] { return userInteraction().askNumber(boxOwner(), title, label, initial, min, max); },
                    std::optional<int>());
}

int TFormHlav::runDialog(QDialog *dialog)
{
    return runModal([&] { return userInteraction().runDialog(dialog); }, int(QDialog::Rejected));
}

bool TFormHlav::openDocument(const QString &path)
{
    return userInteraction().openDocument(path);
}

void TFormHlav::placeAction(MenuPlace place, QAction *action)
{
    if (!menuPlaces_)
        menuPlaces_ = std::make_shared<MenuPlaces>();
    MenuPlaces &m = *menuPlaces_;
    QMenuBar *bar = menuBar();
    auto makeMenu = [&](QMenu *&menu, const char *name, const vorn::Text4 &title, QMenu *before) {
        if (menu)
            return;
        // A feature still on the window's members may have made this menu itself.
        if ((menu = findChild<QMenu *>(QString::fromLatin1(name))))
            return;
        menu = new QMenu(vorn::text4(title, LanguageIndex), bar);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        bar->insertMenu(before ? before->menuAction() : nullptr, menu);
        connect(Notifier, &vorn::host::HostNotifier::languageChanged, menu,
                [menu, &title](int language) { menu->setTitle(vorn::text4(title, language)); });
    };
    // Edit, View after File; Log after Device: each before the first that stands after it.
    auto *com = findChild<QMenu *>(QStringLiteral("MenuCom"));
    auto *tools = findChild<QMenu *>(QStringLiteral("MenuTools"));
    QMenu *menu = nullptr;
    QAction *before = nullptr;   // insert before this; nullptr appends
    switch (place) {
    case MenuPlace::FileExtras: {
        menu = findChild<QMenu *>(QStringLiteral("MenuFile"));
        // Before the separator above Exit.
        const auto items = menu->actions();
        before = items.size() >= 2 ? items[items.size() - 2] : nullptr;
        break;
    }
    case MenuPlace::ComExtras:
        menu = com;
        if (!m.comSeparator)
            m.comSeparator = menu->addSeparator();
        break;
    case MenuPlace::EditHistory:
    case MenuPlace::EditCells:
        makeMenu(m.edit, "MenuEdit", vorn::host::kEditMenuTitle, m.view ? m.view : com);
        menu = m.edit;
        if (place == MenuPlace::EditHistory) {
            before = m.editCellsSeparator;
        } else if (!m.editCellsSeparator) {
            m.editCellsSeparator = menu->addSeparator();
        }
        break;
    case MenuPlace::View:
        makeMenu(m.view, "MenuView", vorn::host::kViewMenuTitle, com);
        menu = m.view;
        break;
    case MenuPlace::Log:
        // Recording and replay made the Log menu already; the others' items join it.
        if (!m.log)
            m.log = findChild<QMenu *>(QStringLiteral("MenuLog"));
        makeMenu(m.log, "MenuLog", vorn::host::kLogMenuTitle, tools);
        menu = m.log;
        break;
    case MenuPlace::Tools:
        menu = tools;
        if (!m.toolsSeparator)
            m.toolsSeparator = menu->addSeparator();
        break;
    }
    if (!action) {
        action = new QAction(menu);
        action->setSeparator(true);
    }
    menu->insertAction(before, action);
    // Shortcuts work while the menu is closed.
    if (!action->shortcut().isEmpty())
        addAction(action);
}

void TFormHlav::applyEdit(const vorn::ParameterImage &edited, const vorn::StepLabel &label)
{
    Image = edited;
    if (History)
        History->nextStep(label);
    AfterEdit();
}

void TFormHlav::restoreImage(const vorn::ParameterImage &image)
{
    Image = image;
    AfterEdit();
}

QString TFormHlav::currentFile() const
{
    return ctl<QLabel>("LabelFile2")->text();
}

QString TFormHlav::chooseParameterFile()
{
    createFileDialogs();
    return execFileDialog(OpenDialog1);
}

bool TFormHlav::throttleMapOn() const
{
    auto *box = ctl<QCheckBox>("CheckBoxTpsMapa");
    return box && box->isChecked();
}

QWidget *TFormHlav::cellEdit(vorn::maps::Table table, vorn::maps::Cell cell) const
{
    namespace tb = vorn::table;
    return ControlTable[table == vorn::maps::Table::Advance ? tb::mapEdit(cell.row, cell.column)
                                                            : tb::kServoMvEdits + cell.column];
}

QWidget *TFormHlav::cellArea(vorn::maps::Table table) const
{
    return ctl<QWidget>(table == vorn::maps::Table::Advance ? "GroupBox6" : "GroupBoxPrivera");
}

std::optional<vorn::maps::Table> TFormHlav::shownTable() const
{
    auto *pages = ctl<QTabWidget>("PageControl1");
    const QWidget *page = pages ? pages->currentWidget() : nullptr;
    if (page && page->objectName() == QLatin1String("TabSheetAdvance"))
        return vorn::maps::Table::Advance;
    if (page && page->objectName() == QLatin1String("TabSheetServo"))
        return vorn::maps::Table::Servo;
    return std::nullopt;
}

bool TFormHlav::rowShown(int row) const
{
    return row == 0 || throttleMapOn();
}

void TFormHlav::beginReplay()
{
    if (replaySnapshot_)
        return;
    auto s = std::make_shared<ReplaySnapshot>();
    s->live = Live;
    s->cell = LiveCell;
    s->fields = LiveFields;
    for (const char *name : kMonitorLabels)
        if (auto *l = ctl<QLabel>(name))
            s->labels.push_back({l, l->text(), l->palette(), l->autoFillBackground(), l->isEnabled()});
    s->rpmGauge = ctl<QProgressBar>("CGaugeRpm")->value();
    s->tpsGauge = ctl<QProgressBar>("CGaugeTps")->value();
    for (const char *name : kTransferCommands) {
        if (QAction *a = action(name)) {
            s->enabled.emplace_back(a, a->isEnabled());
            a->setEnabled(false);
        } else if (auto *w = ctl<QWidget>(name)) {
            s->enabled.emplace_back(w, w->isEnabled());
            w->setEnabled(false);
        }
    }
    for (const char *name : kUnloggedLabels)
        ctl<QLabel>(name)->setEnabled(false);
    replaySnapshot_ = std::move(s);
    Replaying = true;
}

void TFormHlav::showReplayed(const vorn::MonitorFields &fields, const vorn::LiveCell &cell)
{
    ShowMonitorFields(fields, true);
    LiveCell = cell;
    emit liveValuesDecoded();
    emit Notifier->liveValuesDecoded();
}

void TFormHlav::endReplay()
{
    if (!replaySnapshot_)
        return;
    const ReplaySnapshot &s = *replaySnapshot_;
    for (const auto &l : s.labels) {
        l.label->setText(l.text);
        l.label->setPalette(l.palette);
        l.label->setAutoFillBackground(l.autoFill);
        l.label->setEnabled(l.enabled);
    }
    ctl<QProgressBar>("CGaugeRpm")->setValue(s.rpmGauge);
    ctl<QProgressBar>("CGaugeTps")->setValue(s.tpsGauge);
    for (const auto &[o, enabled] : s.enabled) {
        if (auto *a = qobject_cast<QAction *>(o))
            a->setEnabled(enabled);
        else if (auto *w = qobject_cast<QWidget *>(o))
            w->setEnabled(enabled);
    }
    Live = s.live;
    LiveCell = s.cell;
    LiveFields = s.fields;
    replaySnapshot_.reset();
    Replaying = false;
    HighlightActiveCell();
}
