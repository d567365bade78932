// The window as the host of its features. Features see only these roles, never the
// window's members.
#include "WindowHost.h"

#include "Hlav.h"
#include "UserInteraction.h"
#include "host/MenuPlaces.h"
#include "host/MenuTitles.h"

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
using vorn::host::MenuSpec;

// What a replay covers: the monitor column, the gauges and the transfer commands.
struct WindowHost::ReplaySnapshot {
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

WindowHost::WindowHost(TFormHlav &window) : w_(window) {}

WindowHost::~WindowHost() = default;

void WindowHost::watchCells()
{
    for (int r = 0; r < vorn::kMapSize; ++r)
        for (int c = 0; c < vorn::kMapSize; ++c)
            cellEvents_.watch(cellEdit(vorn::maps::Table::Advance, {r, c}));
    for (int k = 0; k < vorn::kMapSize; ++k)
        cellEvents_.watch(cellEdit(vorn::maps::Table::Servo, {0, k}));
}

QWidget *WindowHost::dialogParent() const
{
    return &w_;
}

int WindowHost::language() const
{
    return w_.LanguageIndex;
}

QString WindowHost::messageText(vorn::Msg message) const
{
    return w_.Messages[message];
}

void WindowHost::message(const QString &text, const QString &title)
{
    w_.MessageBox(text, title);
}

void WindowHost::messageOver(QWidget *owner, const QString &text, const QString &title)
{
    w_.messageOver(owner, text, title);
}

int WindowHost::question(const QString &text, const QString &title)
{
    return w_.runModal([&] { return w_.userInteraction().askQuestion(w_.boxOwner(), title.isEmpty() ? w_.windowTitle() : title, text); },
                       int(QMessageBox::Cancel));
}

QString WindowHost::chooseFile(QFileDialog *dialog)
{
    return w_.execFileDialog(dialog);
}

std::optional<int> WindowHost::askNumber(const QString &title, const QString &label, int initial, int min, int max)
{
    return w_.runModal([&] { return w_.userInteraction().askNumber(w_.boxOwner(), title, label, initial, min, max); },
                       std::optional<int>());
}

int WindowHost::runDialog(QDialog *dialog)
{
    return w_.runModal([&] { return w_.userInteraction().runDialog(dialog); }, int(QDialog::Rejected));
}

bool WindowHost::openDocument(const QString &path)
{
    return w_.userInteraction().openDocument(path);
}

bool WindowHost::closing() const
{
    return w_.closing_ || w_.closeWaiting_;
}

void WindowHost::placeWindow(QWidget *window)
{
    w_.placeWindow(window);
}

void WindowHost::showHint(const QString &text)
{
    w_.ShowHintInStatusBar(text);
}

void WindowHost::addStatusPart(QWidget *part)
{
    w_.addStatusPart(part);
}

vorn::SettingsAccess &WindowHost::settings()
{
    return *w_.Settings;
}

// The window's own places, declared with the first item a feature places. File and Com are
// menus of the window; Edit, View and Log are made when something first goes there.
vorn::host::MenuPlaces &WindowHost::places()
{
    if (places_)
        return *places_;
    places_ = std::make_unique<vorn::host::MenuPlaces>(&w_, w_.menuBar(), *w_.Notifier,
                                                       [this] { return language(); });
    auto *file = w_.findChild<QMenu *>(QStringLiteral("MenuFile"));
    // Before the separator above Exit.
    const auto items = file->actions();
    places_->declare(file, items.size() >= 2 ? items[items.size() - 2] : nullptr, {{MenuPlace::FileExtras}});
    places_->declare(w_.findChild<QMenu *>(QStringLiteral("MenuCom")), nullptr, {{MenuPlace::ComExtras, true}});
    places_->declare(w_.findChild<QMenu *>(QStringLiteral("MenuTools")), nullptr, {{MenuPlace::Tools, true}});
    // Edit and View after File, Log after Device: each before the first that stands after it.
    const MenuSpec opened[] = {
        {QStringLiteral("MenuEdit"), &vorn::host::kEditMenuTitle, {QStringLiteral("MenuView"), QStringLiteral("MenuCom")},
         {{MenuPlace::EditHistory}, {MenuPlace::EditCells, true}}},
        {QStringLiteral("MenuView"), &vorn::host::kViewMenuTitle, {QStringLiteral("MenuCom")}, {{MenuPlace::View}}},
        {QStringLiteral("MenuLog"), &vorn::host::kLogMenuTitle, {QStringLiteral("MenuTools")}, {{MenuPlace::Log}}},
    };
    for (const MenuSpec &m : opened)
        places_->open(m);
    return *places_;
}

void WindowHost::placeAction(MenuPlace place, QAction *action)
{
    places().add(place, action);
}

void WindowHost::openMenu(const MenuSpec &menu)
{
    places().open(menu);
}

void WindowHost::applyEdit(const vorn::ParameterImage &edited, const vorn::StepLabel &label)
{
    w_.Image = edited;
    emit w_.Notifier->editStepStarted(label);
    w_.AfterEdit();
}

void WindowHost::restoreImage(const vorn::ParameterImage &image)
{
    w_.Image = image;
    w_.AfterEdit();
}

QString WindowHost::currentFile() const
{
    return w_.ctl<QLabel>("LabelFile2")->text();
}

QString WindowHost::chooseParameterFile()
{
    w_.createFileDialogs();
    return w_.execFileDialog(w_.OpenDialog1);
}

bool WindowHost::throttleMapOn() const
{
    auto *box = w_.ctl<QCheckBox>("CheckBoxTpsMapa");
    return box && box->isChecked();
}

QWidget *WindowHost::cellEdit(vorn::maps::Table table, vorn::maps::Cell cell) const
{
    namespace tb = vorn::table;
    return w_.ControlTable[table == vorn::maps::Table::Advance ? tb::mapEdit(cell.row, cell.column)
                                                            : tb::kServoMvEdits + cell.column];
}

QWidget *WindowHost::cellArea(vorn::maps::Table table) const
{
    return w_.ctl<QWidget>(table == vorn::maps::Table::Advance ? "GroupBox6" : "GroupBoxPrivera");
}

std::optional<vorn::maps::Table> WindowHost::shownTable() const
{
    auto *pages = w_.ctl<QTabWidget>("PageControl1");
    const QWidget *page = pages ? pages->currentWidget() : nullptr;
    if (page && page->objectName() == QLatin1String("TabSheetAdvance"))
        return vorn::maps::Table::Advance;
    if (page && page->objectName() == QLatin1String("TabSheetServo"))
        return vorn::maps::Table::Servo;
    return std::nullopt;
}

bool WindowHost::rowShown(int row) const
{
    return row == 0 || throttleMapOn();
}

void WindowHost::setCellColours(CellColours colours)
{
    w_.cellColours_ = std::move(colours);
}

void WindowHost::repaintCells()
{
    w_.HighlightActiveCell();
}

bool WindowHost::replaying() const
{
    return w_.Replaying;
}

void WindowHost::beginReplay()
{
    if (replaySnapshot_)
        return;
    auto s = std::make_unique<ReplaySnapshot>();
    s->live = w_.Live;
    s->cell = w_.LiveCell;
    s->fields = w_.LiveFields;
    for (const char *name : kMonitorLabels)
        if (auto *l = w_.ctl<QLabel>(name))
            s->labels.push_back({l, l->text(), l->palette(), l->autoFillBackground(), l->isEnabled()});
    s->rpmGauge = w_.ctl<QProgressBar>("CGaugeRpm")->value();
    s->tpsGauge = w_.ctl<QProgressBar>("CGaugeTps")->value();
    for (const char *name : kTransferCommands) {
        if (QAction *a = w_.action(name)) {
            s->enabled.emplace_back(a, a->isEnabled());
            a->setEnabled(false);
        } else if (auto *w = w_.ctl<QWidget>(name)) {
            s->enabled.emplace_back(w, w->isEnabled());
            w->setEnabled(false);
        }
    }
    for (const char *name : kUnloggedLabels)
        w_.ctl<QLabel>(name)->setEnabled(false);
    replaySnapshot_ = std::move(s);
    w_.Replaying = true;
}

void WindowHost::showReplayed(const vorn::MonitorFields &fields, const vorn::LiveCell &cell)
{
    w_.ShowMonitorFields(fields, true);
    w_.LiveCell = cell;
    emit w_.Notifier->liveValuesDecoded();
}

void WindowHost::endReplay()
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
    w_.ctl<QProgressBar>("CGaugeRpm")->setValue(s.rpmGauge);
    w_.ctl<QProgressBar>("CGaugeTps")->setValue(s.tpsGauge);
    for (const auto &[o, enabled] : s.enabled) {
        if (auto *a = qobject_cast<QAction *>(o))
            a->setEnabled(enabled);
        else if (auto *w = qobject_cast<QWidget *>(o))
            w->setEnabled(enabled);
    }
    w_.Live = s.live;
    w_.LiveCell = s.cell;
    w_.LiveFields = s.fields;
    replaySnapshot_.reset();
    w_.Replaying = false;
    w_.HighlightActiveCell();
}

const vorn::ParameterImage &WindowHost::image() const
{
    return w_.Image;
}

void WindowHost::commitTyping()
{
    w_.ReadParameters();
}

void WindowHost::showImage()
{
    w_.ShowParameters();
}

const vorn::LiveValues &WindowHost::live() const
{
    return w_.Live;
}

const vorn::LiveCell &WindowHost::liveCell() const
{
    return w_.LiveCell;
}

const vorn::MonitorFields &WindowHost::liveFields() const
{
    return w_.LiveFields;
}

bool WindowHost::printing() const
{
    return w_.Printing;
}

vorn::PortIo *WindowHost::port() const
{
    return w_.Port.get();
}

const vorn::DeviceSession &WindowHost::session() const
{
    return w_.Session;
}

const vorn::UnitIdentification &WindowHost::identification() const
{
    return w_.Identification;
}

int WindowHost::comPort() const
{
    return w_.ComPort;
}

void WindowHost::selectPort(int n)
{
    w_.MenuCom1Click(n);
}

bool WindowHost::lendPort()
{
    return w_.Port && !std::exchange(w_.portLent_, true);
}

bool WindowHost::program(const vorn::ParameterImage &image)
{
    return w_.program(image);
}

void WindowHost::returnPort()
{
    w_.portLent_ = false;
}

bool WindowHost::noConnectionShown() const
{
    return w_.noConnectionShown();
}
