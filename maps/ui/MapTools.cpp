// The map tools: selection, operations, clipboard, heat colours, the map view.
#include "MapTools.h"

#include "CellKeys.h"
#include "MapTexts.h"
#include "MapViewApi.h"
#include "files/SettingsAccess.h"
#include "host/Colors.h"
#include "host/HostNotifier.h"
#include "host/ImageEditing.h"
#include "host/LiveView.h"
#include "host/Shell.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibrary>
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

// The operation's name in the undo menu, looked up whenever the menu shows it.
const Text4 *stepText(MapTools::Op op)
{
    using O = MapTools::Op;
    switch (op) {
    case O::Set: return &texts::kStepSet;
    case O::Add: return &texts::kStepAdd;
    case O::Scale: return &texts::kStepScale;
    case O::InterpH: return &texts::kStepInterpH;
    case O::InterpV: return &texts::kStepInterpV;
    case O::InterpBoth: return &texts::kStepInterpBoth;
    case O::Smooth: return &texts::kStepSmooth;
    case O::Paste: return &texts::kStepPaste;
    default: break;
    }
    return &texts::kStepSet;
}

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

QColor heatColour(int v, int lo, int hi)
{
    // A diverging blue-yellow-red scale of even lightness steps (ColorBrewer RdYlBu).
    static const QColor stops[] = {{49, 54, 149},  {69, 117, 180}, {116, 173, 209}, {171, 217, 233},
                                   {224, 243, 248}, {254, 224, 144}, {253, 174, 97}, {244, 109, 67},
                                   {215, 48, 39},  {165, 0, 38}};
    constexpr int n = static_cast<int>(std::size(stops)) - 1;
    if (hi <= lo)
        return stops[n / 2];
    const double t = std::clamp(double(v - lo) / double(hi - lo), 0.0, 1.0) * n;
    const int i = std::min(static_cast<int>(t), n - 1);
    const double f = t - i;
    const QColor &a = stops[i], &b = stops[i + 1];
    return QColor(int(a.red() + (b.red() - a.red()) * f), int(a.green() + (b.green() - a.green()) * f),
                  int(a.blue() + (b.blue() - a.blue()) * f));
}

QColor textOn(const QColor &bg)
{
    const double luminance = 0.2126 * bg.redF() + 0.7152 * bg.greenF() + 0.0722 * bg.blueF();
    return luminance < 0.45 ? QColor(Qt::white) : QColor(Qt::black);
}

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
    keys_ = new CellKeys(*this);
    for (auto it = places_.cbegin(); it != places_.cend(); ++it) {
        it.key()->installEventFilter(this);
        keys_->watch(it.key(), it->table, it->cell);
    }

    heatOn_ = shell_.settings().read().readInt(kViewSection, kHeatKey, 0) != 0;
    heat_->setChecked(heatOn_);
    live_.setCellColours([this](Table t, Cell c) { return cellColour(t, c); });
    retranslate(shell_.language());
}

MapTools::~MapTools()
{
    // The host paints its cells after the tools are gone: with its own colours then.
    live_.setCellColours({});
    for (auto it = places_.cbegin(); it != places_.cend(); ++it)
        it.key()->removeEventFilter(this);
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
        QMetaObject::invokeMethod(view_, "setLanguage", Q_ARG(int, language));
}

QWidget *MapTools::openMapView()
{
    if (view_)
        return view_;
    const QString name = QStringLiteral("vorn4mapview");
    const QString app = QCoreApplication::applicationDirPath();
    const QStringList dirs = {app, app + "/lib/vorn4", app + "/../lib/vorn4", app + "/../lib",
                              QStringLiteral(VORN4_BUILD_MODULE_DIR), QStringLiteral(VORN4_INSTALL_MODULE_DIR)};
    for (const QString &dir : dirs) {
        QLibrary module(dir + QLatin1Char('/') + name);
        if (!module.load())
            continue;
        auto create = reinterpret_cast<Vorn4CreateMapView>(module.resolve(VORN4_MAPVIEW_ENTRY));
        if (!create)
            continue;
        // The module stays loaded for the rest of the run (the window lives as long).
        view_ = create(&editing_.image(), &live_.liveCell(), shell_.dialogParent());
        viewShows_ = editing_.image();
        QMetaObject::invokeMethod(view_, "setLanguage", Q_ARG(int, shell_.language()));
        return view_;
    }
    shell_.message(text4(texts::kNoModule, shell_.language()).arg(name));
    return nullptr;
}

// The view draws nothing while it is closed; it catches up when it shows again.
void MapTools::followLive()
{
    if (view_ && view_->isVisible())
        QMetaObject::invokeMethod(view_, "followLive");
}

void MapTools::afterDisplayStates()
{
    if (heatOn_ || sel_ || decorated_)
        repaint();
    if (view_ && view_->isVisible() && !(viewShows_ == editing_.image())) {
        viewShows_ = editing_.image();
        QMetaObject::invokeMethod(view_, "followEdits");
    }
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

void MapTools::noCells()
{
    shell_.showHint(text4(texts::kNoCells, shell_.language()));
}

void MapTools::ask(Op op)
{
    const auto t = target();
    if (!t)
        return noCells();
    const bool servo = t->table == Table::Servo;
    const int lang = shell_.language();
    const QString title = text4(*stepText(op), lang);
    std::optional<int> v;
    if (op == Op::Set)
        v = shell_.askNumber(title, text4(servo ? texts::kValueMv : texts::kValueDeg, lang),
                             cellValue(editing_.image(), t->table, {t->rect.top, t->rect.left}), 0,
                             servo ? 5000 : kAdvanceMax);
    else if (op == Op::Add)
        v = shell_.askNumber(title, text4(servo ? texts::kValueMv : texts::kValueDeg, lang), 0,
                             servo ? -5000 : -kAdvanceMax, servo ? 5000 : kAdvanceMax);
    else
        v = shell_.askNumber(title, text4(texts::kPercent, lang), 100, -1000, 1000);
    if (v && !shell_.closing())
        run(op, *v);
}

void MapTools::run(Op op, int value)
{
    if (op == Op::SelectAll) {
        if (const auto t = live_.shownTable())
            select(*t, wholeTable(*t));
        return;
    }
    if (op == Op::Copy)
        return copy();
    if (op == Op::Paste)
        return paste();
    const auto t = target();
    if (!t)
        return noCells();
    editing_.commitTyping();   // what was typed into a cell counts first
    ParameterImage im = editing_.image();
    switch (op) {
    case Op::Set: setCells(im, t->table, t->rect, value); break;
    case Op::Add: addToCells(im, t->table, t->rect, value); break;
    case Op::Scale: scaleCells(im, t->table, t->rect, value); break;
    case Op::InterpH: interpolate(im, t->table, t->rect, Direction::Horizontal); break;
    case Op::InterpV: interpolate(im, t->table, t->rect, Direction::Vertical); break;
    case Op::InterpBoth: interpolate(im, t->table, t->rect, Direction::Both); break;
    case Op::Smooth: smooth(im, t->table, t->rect); break;
    default: break;
    }
    editing_.applyEdit(im, StepLabel(stepText(op)));
    emit cellsChanged();
}

void MapTools::copy()
{
    const auto t = target();
    if (!t)
        return noCells();
    editing_.commitTyping();
    const bool whole = t->rect == limitToShown(t->table, wholeTable(t->table))
                       && t->rect.rows() == rowCount(t->table);
    QGuiApplication::clipboard()->setText(formatBlock(editing_.image(), t->table, t->rect, whole));
}

void MapTools::paste()
{
    const auto t = target();
    if (!t)
        return noCells();
    const ParseResult parsed = parseBlock(QGuiApplication::clipboard()->text());
    const int lang = shell_.language();
    if (!parsed.block) {
        const QString text = parsed.ambiguousAt
                                 ? text4(texts::kGrouped, lang)
                                       .arg(parsed.ambiguousAt->row)
                                       .arg(parsed.ambiguousAt->column)
                                       .arg(parsed.offending)
                                 : text4(texts::kNotNumbers, lang).arg(parsed.offending.left(40));
        shell_.message(text, text4(texts::kPasteWhat, lang));
        return;
    }
    editing_.commitTyping();
    ParameterImage im = editing_.image();
    pasteBlock(im, t->table, {t->rect.top, t->rect.left}, *parsed.block);
    editing_.applyEdit(im, StepLabel(stepText(Op::Paste)));
    emit cellsChanged();
}
void MapTools::extendTo(Table t, Cell c)
{
    const Cell from = (sel_ && selTable_ == t) ? anchor_ : (focus_ ? focus_->cell : c);
    if (!(sel_ && selTable_ == t))
        anchor_ = from;
    select(t, Rect::spanning(anchor_, c));
}

bool MapTools::eventFilter(QObject *watched, QEvent *event)
{
    const auto p = placeOf(watched);
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

void MapTools::refreshHeat()
{
    std::array<std::uint8_t, 100> now{};
    std::copy_n(editing_.image().bytes.begin() + Off::Advance, 100, now.begin());
    if (heatValid_ && now == heatOf_)
        return;   // no cell changed: the colours made last time stand
    heatOf_ = now;
    const auto [lo, hi] = std::minmax_element(now.begin(), now.end());
    for (std::size_t i = 0; i < now.size(); ++i)
        heatColour_[i] = heatColour(now[i], *lo, *hi);
    heatValid_ = true;
}

QColor MapTools::cellColour(Table t, Cell c)
{
    if (live_.printing())
        return ui::windowColor();   // the printout shows the page as it always was
    if (sel_ && selTable_ == t && sel_->contains(c))
        return kSelected;
    if (heatOn_ && t == Table::Advance) {
        refreshHeat();
        return heatColour_[static_cast<std::size_t>(10 * c.row + c.column)];
    }
    return ui::windowColor();
}

void MapTools::repaint()
{
    // The host paints the live cell in lime and every other one in cellColour.
    live_.repaintCells();
    decorated_ = (heatOn_ || sel_.has_value()) && !live_.printing();
}

}  // namespace vorn::maps
