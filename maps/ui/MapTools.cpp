// The map tools: their menus, the cell selection by mouse and the cells' colours.
#include "MapTools.h"

#include "CellKeys.h"
#include "MapTexts.h"
#include "MapViewLink.h"
#include "files/SettingsAccess.h"
#include "host/CellEvents.h"
#include "host/Colors.h"
#include "host/HostNotifier.h"
#include "host/ImageEditing.h"
#include "host/LiveView.h"
#include "host/Shell.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabWidget>

namespace vorn::maps {

namespace {

const QString kViewSection = QStringLiteral("VIEW");
const QString kHeatKey = QStringLiteral("HeatColours");
// Selected cells: a blue no scale colour uses for its text, far from the live lime.
const QColor kSelected{0, 90, 190};

struct OpRow {
    MapTools::Op op;
    const char *name;
    const Text4 *text;
    QKeySequence key;
};

const Text4 *opText(MapTools::Op op)
{
    using O = MapTools::Op;
    switch (op) {
    case O::Set: return &texts::kSet;
    case O::Add: return &texts::kAdd;
    case O::Scale: return &texts::kScale;
    case O::InterpH: return &texts::kInterpH;
    case O::InterpV: return &texts::kInterpV;
    case O::InterpBoth: return &texts::kInterpBoth;
    case O::Smooth: return &texts::kSmooth;
    case O::SelectAll: return &texts::kSelectAll;
    case O::Copy: return &texts::kCopy;
    case O::Paste: return &texts::kPaste;
    }
    return &texts::kSet;
}

}  // namespace

MapTools::MapTools(host::Shell &shell, host::ImageEditing &editing, host::LiveView &live,
                   host::HostNotifier &notifier, QObject *parent)
    : QObject(parent), shell_(shell), editing_(editing), live_(live)
{
    setObjectName("MapTools");
    using O = Op;
    const OpRow rows[] = {
        {O::Set, "MenuMapSet", nullptr, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
        {O::Add, "MenuMapAdd", nullptr, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
        {O::Scale, "MenuMapScale", nullptr, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K)},
        {O::InterpH, "MenuMapInterpH", nullptr, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H)},
        {O::InterpV, "MenuMapInterpV", nullptr, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_J)},
        {O::InterpBoth, "MenuMapInterpBoth", nullptr, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B)},
        {O::Smooth, "MenuMapSmooth", nullptr, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)},
        // Ctrl+A stays the field's "select the text"; the menu item selects the cells.
        {O::SelectAll, "MenuMapSelectAll", nullptr, QKeySequence()},
        {O::Copy, "MenuMapCopy", nullptr, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {O::Paste, "MenuMapPaste", nullptr, QKeySequence(Qt::CTRL | Qt::Key_V)},
    };
    for (const OpRow &r : rows) {
        auto *a = new QAction(QString::fromUtf8(opText(r.op)->en), this);
        a->setObjectName(r.name);
        a->setShortcut(r.key);
        a->setData(static_cast<int>(r.op));
        const Op op = r.op;
        connect(a, &QAction::triggered, this, [this, op] {
            if (op == Op::Set || op == Op::Add || op == Op::Scale)
                ask(op);
            else
                run(op);
        });
        ops_.push_back(a);
    }
    heat_ = new QAction(QString::fromUtf8(texts::kHeat.en), this);
    heat_->setObjectName("MenuHeatColours");
    heat_->setCheckable(true);
    connect(heat_, &QAction::toggled, this, &MapTools::setHeatColours);

    mapView_ = new QAction(QString::fromUtf8(texts::kMapView.en), this);
    mapView_->setObjectName("MenuMapView");
    connect(mapView_, &QAction::triggered, this, [this] {
        if (QWidget *v = openMapView()) {
            v->show();
            v->raise();
            v->activateWindow();
        }
    });

    // View: heat colours and the map view; Edit: the operations, then selection and clipboard.
    shell_.placeAction(host::MenuPlace::View, heat_);
    shell_.placeAction(host::MenuPlace::View, mapView_);
    for (QAction *a : ops_) {
        if (static_cast<Op>(a->data().toInt()) == Op::SelectAll)
            shell_.placeSeparator(host::MenuPlace::EditCells);
        shell_.placeAction(host::MenuPlace::EditCells, a);
    }

    connect(&notifier, &host::HostNotifier::liveValuesDecoded, this, &MapTools::followLive);
    connect(&notifier, &host::HostNotifier::displayStatesApplied, this, &MapTools::afterDisplayStates);
    connect(&notifier, &host::HostNotifier::languageChanged, this, &MapTools::retranslate);

    for (int r = 0; r < kMapSize; ++r)
        for (int c = 0; c < kMapSize; ++c)
            places_.insert(live_.cellEdit(Table::Advance, {r, c}), {Table::Advance, {r, c}});
    for (int k = 0; k < kMapSize; ++k)
        places_.insert(live_.cellEdit(Table::Servo, {0, k}), {Table::Servo, {0, k}});
    keys_ = new CellKeys(*this, live_.cellEvents());
    for (auto it = places_.cbegin(); it != places_.cend(); ++it)
        keys_->watch(it.key(), it->table, it->cell);
    live_.cellEvents().handle(host::CellEvents::Slot::SelectionMouse,
                              [this](QObject *cell, QEvent *event) { return mouseEvent(cell, event); });

    heatOn_ = shell_.settings().read().readInt(kViewSection, kHeatKey, 0) != 0;
    heat_->setChecked(heatOn_);
    live_.setCellColours([this](Table t, Cell c) { return cellColour(t, c); });
    retranslate(shell_.language());
}

MapTools::~MapTools()
{
    // The host paints its cells after the tools are gone: with its own colours then.
    live_.setCellColours({});
    live_.cellEvents().handle(host::CellEvents::Slot::SelectionMouse, {});
}

QAction *MapTools::actionFor(Op op) const
{
    return ops_[static_cast<std::size_t>(op)];
}

void MapTools::retranslate(int language)
{
    for (QAction *a : ops_)
        a->setText(text4(*opText(static_cast<Op>(a->data().toInt())), language));
    heat_->setText(text4(texts::kHeat, language));
    mapView_->setText(text4(texts::kMapView, language));
    if (view_)
        view_->setLanguage(language);
}

QWidget *MapTools::openMapView()
{
    if (!view_)
        view_ = std::make_unique<MapViewLink>(shell_, editing_, live_);
    return view_->open();
}

QWidget *MapTools::mapViewWindow() const
{
    return view_ ? view_->window() : nullptr;
}

void MapTools::followLive()
{
    if (view_)
        view_->followLive();
}

void MapTools::afterDisplayStates()
{
    if (heatOn_ || sel_ || decorated_)
        repaint();
    if (view_)
        view_->followEdits();
}

std::optional<MapTools::Place> MapTools::placeOf(QObject *o) const
{
    const auto it = places_.constFind(o);
    if (it == places_.cend())
        return std::nullopt;
    return *it;
}

// While the throttle map is off only the 100 % row is on the page.
Rect MapTools::limitToShown(Table t, Rect r) const
{
    r = *clipped(t, r);
    if (t == Table::Advance && !live_.throttleMapOn())
        r.top = r.bottom = kMapSize - 1;
    return r;
}

std::optional<Rect> MapTools::selection(Table t) const
{
    if (!sel_ || selTable_ != t)
        return std::nullopt;
    return sel_;
}

void MapTools::select(Table t, Rect r)
{
    selTable_ = t;
    sel_ = limitToShown(t, r);
    keys_->followTyping();
    repaint();
}

void MapTools::clearSelection()
{
    if (!sel_)
        return;
    sel_.reset();
    repaint();
}

std::optional<MapTools::Target> MapTools::target() const
{
    const auto t = live_.shownTable();
    if (!t)
        return std::nullopt;
    if (const auto s = selection(*t))
        return Target{*t, limitToShown(*t, *s)};
    if (focus_ && focus_->table == *t)
        return Target{*t, limitToShown(*t, {focus_->cell.row, focus_->cell.column, focus_->cell.row,
                                             focus_->cell.column})};
    return std::nullopt;
}

void MapTools::extendTo(Table t, Cell c)
{
    const Cell from = (sel_ && selTable_ == t) ? anchor_ : (focus_ ? focus_->cell : c);
    if (!(sel_ && selTable_ == t))
        anchor_ = from;
    select(t, Rect::spanning(anchor_, c));
}

bool MapTools::mouseEvent(QObject *cell, QEvent *event)
{
    const auto p = placeOf(cell);
    if (!p)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        if (!(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier))
            anchor_ = p->cell;
        focus_ = p;
        break;
    case QEvent::MouseButtonPress: {
        auto *m = static_cast<QMouseEvent *>(event);
        if (m->button() != Qt::LeftButton)
            break;
        if (m->modifiers() & Qt::ShiftModifier) {
            extendTo(p->table, p->cell);
            return true;   // the focus stays where the selection started
        }
        clearSelection();
        anchor_ = p->cell;
        dragging_ = true;
        break;
    }
    case QEvent::MouseMove: {
        auto *m = static_cast<QMouseEvent *>(event);
        if (!dragging_ || !(m->buttons() & Qt::LeftButton))
            break;
        const auto over = placeOf(QApplication::widgetAt(m->globalPosition().toPoint()));
        if (over && over->table == p->table && !(over->cell == anchor_)) {
            select(p->table, Rect::spanning(anchor_, over->cell));
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        dragging_ = false;
        break;
    default:
        break;
    }
    return false;
}

void MapTools::setHeatColours(bool on)
{
    if (heat_->isChecked() != on)
        heat_->setChecked(on);   // comes back here through toggled
    if (heatOn_ == on)
        return;
    heatOn_ = on;
    QString error;
    if (!shell_.settings().write([on](ProfileIni &ini) { ini.writeInt(kViewSection, kHeatKey, on ? 1 : 0); },
                                 &error))
        qWarning("vorn4: %s", qPrintable(error));
    repaint();
}

QColor MapTools::cellColour(Table t, Cell c)
{
    if (live_.printing())
        return ui::windowColor();   // the printout shows the page as it always was
    if (sel_ && selTable_ == t && sel_->contains(c))
        return kSelected;
    if (heatOn_ && t == Table::Advance)
        return heatMap_.colour(editing_.image(), c);
    return ui::windowColor();
}

void MapTools::repaint()
{
    // The host paints the live cell in lime and every other one in cellColour.
    live_.repaintCells();
    decorated_ = (heatOn_ || sel_.has_value()) && !live_.printing();
}

}  // namespace vorn::maps
