// The map tools in the window: selection, operations, clipboard, heat colours.
#include "MapTools.h"

#include "MapTexts.h"
#include "MapViewApi.h"
#include "host/Colors.h"
#include "app/ControlTable.h"
#include "app/Hlav.h"
#include "files/ConfigDir.h"
#include "files/ProfileIni.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
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

MapTools::MapTools(TFormHlav &form) : QObject(&form), form_(form)
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
        {O::SelectAll, "MenuMapSelectAll", nullptr, QKeySequence(Qt::CTRL | Qt::Key_A)},
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
            using O = Op;
            if (op != O::Set && op != O::Add && op != O::Scale) {
                run(op);
                return;
            }
            const auto t = target();
            if (!t) {
                form_.ShowHintInStatusBar(text4(texts::kNoCells, form_.LanguageIndex));
                return;
            }
            const bool servo = t->table == Table::Servo;
            const int lang = form_.LanguageIndex;
            std::optional<int> v;
            if (op == O::Set)
                v = askNumber(text4(servo ? texts::kValueMv : texts::kValueDeg, lang),
                              cellValue(form_.Image, t->table, {t->rect.top, t->rect.left}), 0,
                              servo ? 5000 : kAdvanceMax);
            else if (op == O::Add)
                v = askNumber(text4(servo ? texts::kValueMv : texts::kValueDeg, lang), 0,
                              servo ? -5000 : -kAdvanceMax, servo ? 5000 : kAdvanceMax);
            else
                v = askNumber(text4(texts::kPercent, lang), 100, -1000, 1000);
            if (v)
                run(op, *v);
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
    connect(&form_, &TFormHlav::liveValuesDecoded, this, [this] {
        if (view_)
            QMetaObject::invokeMethod(view_, "followLive");
    });

    askNumber = [this](const QString &label, int initial, int min, int max) -> std::optional<int> {
        bool ok = false;
        const int v = QInputDialog::getInt(&form_, QString(), label, initial, min, max, 1, &ok);
        return ok ? std::optional<int>(v) : std::nullopt;
    };

    namespace tb = vorn::table;
    for (int r = 0; r < kMapSize; ++r)
        for (int c = 0; c < kMapSize; ++c)
            places_.insert(form_.ControlTable[tb::mapEdit(r, c)], {Table::Advance, {r, c}});
    for (int k = 0; k < kMapSize; ++k)
        places_.insert(form_.ControlTable[tb::kServoMvEdits + k], {Table::Servo, {0, k}});
    for (auto it = places_.cbegin(); it != places_.cend(); ++it)
        it.key()->installEventFilter(this);

    const ProfileIni ini(configPath(kSettingsFileName));
    heatOn_ = ini.readInt(kViewSection, kHeatKey, 0) != 0;
    heat_->setChecked(heatOn_);
}

MapTools::~MapTools()
{
    // The window's own filters still run while its children go; they must not reach us.
    if (form_.mapTools == this)
        form_.mapTools = nullptr;
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
    language_ = language;
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
        view_ = create(&form_.Image, &form_.LiveCell, &form_);
        viewShows_ = form_.Image;
        QMetaObject::invokeMethod(view_, "setLanguage", Q_ARG(int, language_));
        return view_;
    }
    form_.MessageBox(text4(texts::kNoModule, form_.LanguageIndex).arg(name));
    return nullptr;
}

void MapTools::afterDisplayStates()
{
    if (decorates())
        paintCells();
    if (view_ && !(viewShows_ == form_.Image)) {
        viewShows_ = form_.Image;
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

QWidget *MapTools::editAt(Table t, Cell c) const
{
    namespace tb = vorn::table;
    return form_.ControlTable[t == Table::Advance ? tb::mapEdit(c.row, c.column) : tb::kServoMvEdits + c.column];
}

// While the throttle map is off only the 100 % row is on the page.
Rect MapTools::limitToShown(Table t, Rect r) const
{
    r = *clipped(t, r);
    auto *tps = form_.ctl<QCheckBox>("CheckBoxTpsMapa");
    if (t == Table::Advance && tps && !tps->isChecked())
        r.top = r.bottom = kMapSize - 1;
    return r;
}

std::optional<Table> MapTools::openTable() const
{
    auto *pages = form_.ctl<QTabWidget>("PageControl1");
    const QString page = pages && pages->currentWidget() ? pages->currentWidget()->objectName() : QString();
    if (page == QLatin1String("TabSheetAdvance"))
        return Table::Advance;
    if (page == QLatin1String("TabSheetServo"))
        return Table::Servo;
    return std::nullopt;
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
    paintCells();
}

void MapTools::clearSelection()
{
    if (!sel_)
        return;
    sel_.reset();
    paintCells();
}

std::optional<MapTools::Target> MapTools::target() const
{
    const auto t = openTable();
    if (!t)
        return std::nullopt;
    if (const auto s = selection(*t))
        return Target{*t, limitToShown(*t, *s)};
    if (focus_ && focus_->table == *t)
        return Target{*t, limitToShown(*t, {focus_->cell.row, focus_->cell.column, focus_->cell.row,
                                             focus_->cell.column})};
    return std::nullopt;
}

void MapTools::run(Op op, int value)
{
    if (op == Op::SelectAll) {
        if (const auto t = openTable())
            select(*t, wholeTable(*t));
        return;
    }
    if (op == Op::Copy)
        return copy();
    if (op == Op::Paste)
        return paste();
    const auto t = target();
    if (!t) {
        form_.ShowHintInStatusBar(text4(texts::kNoCells, form_.LanguageIndex));
        return;
    }
    form_.ReadParameters();   // what was typed into a cell counts first
    ParameterImage &im = form_.Image;
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
    form_.AfterEdit();
    form_.noteImageChange(stepName(op));
    emit cellsChanged();
}

// An operation's name in the undo menu: its menu text without mnemonic and dots.
QString MapTools::stepName(Op op) const
{
    QString name = text4(*opText(op), form_.LanguageIndex);
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1String("...")))
        name.chop(3);
    return name;
}

void MapTools::copy()
{
    const auto t = target();
    if (!t) {
        form_.ShowHintInStatusBar(text4(texts::kNoCells, form_.LanguageIndex));
        return;
    }
    form_.ReadParameters();
    const bool whole = t->rect == limitToShown(t->table, wholeTable(t->table))
                       && t->rect.rows() == rowCount(t->table);
    QGuiApplication::clipboard()->setText(formatBlock(form_.Image, t->table, t->rect, whole));
}

void MapTools::paste()
{
    const auto t = target();
    if (!t) {
        form_.ShowHintInStatusBar(text4(texts::kNoCells, form_.LanguageIndex));
        return;
    }
    const ParseResult parsed = parseBlock(QGuiApplication::clipboard()->text());
    if (!parsed.block) {
        form_.MessageBox(text4(texts::kNotNumbers, form_.LanguageIndex).arg(parsed.offending.left(40)),
                         text4(texts::kPasteWhat, form_.LanguageIndex));
        return;
    }
    form_.ReadParameters();
    pasteBlock(form_.Image, t->table, {t->rect.top, t->rect.left}, *parsed.block);
    form_.AfterEdit();
    form_.noteImageChange(stepName(Op::Paste));
    emit cellsChanged();
}

void MapTools::extendTo(Table t, Cell c)
{
    const Cell from = (sel_ && selTable_ == t) ? anchor_ : (focus_ ? focus_->cell : c);
    if (!(sel_ && selTable_ == t))
        anchor_ = from;
    select(t, Rect::spanning(anchor_, c));
}

bool MapTools::handleKey(QWidget *edit, const Place &p, QKeyEvent *e)
{
    const auto mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    auto *line = qobject_cast<QLineEdit *>(edit);
    // A multi-cell selection makes copy and paste act on cells; otherwise selected text in
    // the field keeps the usual text meaning.
    const bool cells = sel_ && selTable_ == p.table && (sel_->rows() > 1 || sel_->columns() > 1);
    const bool textMeaning = line && line->hasSelectedText() && !cells;
    if (mods == Qt::ControlModifier && (e->key() == Qt::Key_C || e->key() == Qt::Key_V)) {
        if (textMeaning)
            return false;
        focus_ = p;
        run(e->key() == Qt::Key_C ? Op::Copy : Op::Paste);
        return true;
    }
    if (mods == Qt::ControlModifier && e->key() == Qt::Key_A) {
        focus_ = p;
        run(Op::SelectAll);
        return false;   // the field selects its text as well, ready to be typed over
    }
    if (mods == Qt::ShiftModifier) {
        Cell moving = (sel_ && selTable_ == p.table) ? Cell{} : p.cell;
        if (sel_ && selTable_ == p.table) {
            // The end of the selection away from the anchor moves.
            moving.row = sel_->top == anchor_.row ? sel_->bottom : sel_->top;
            moving.column = sel_->left == anchor_.column ? sel_->right : sel_->left;
        } else {
            anchor_ = p.cell;
        }
        switch (e->key()) {
        case Qt::Key_Left: --moving.column; break;
        case Qt::Key_Right: ++moving.column; break;
        case Qt::Key_Up: --moving.row; break;
        case Qt::Key_Down: ++moving.row; break;
        default: return false;
        }
        moving.row = std::clamp(moving.row, 0, rowCount(p.table) - 1);
        moving.column = std::clamp(moving.column, 0, columnCount(p.table) - 1);
        selTable_ = p.table;
        select(p.table, Rect::spanning(anchor_, moving));
        return true;
    }
    return false;
}

bool MapTools::eventFilter(QObject *watched, QEvent *event)
{
    const auto p = placeOf(watched);
    if (!p)
        return false;
    auto *edit = static_cast<QWidget *>(watched);
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
    case QEvent::KeyPress:
        return handleKey(edit, *p, static_cast<QKeyEvent *>(event));
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
    ProfileIni ini(configPath(kSettingsFileName));
    ini.writeInt(kViewSection, kHeatKey, on ? 1 : 0);
    if (!ini.save())
        qWarning("vorn4: could not save the settings to %s", qPrintable(ini.path()));
    paintCells();
}

void MapTools::refreshHeat()
{
    std::array<std::uint8_t, 100> now{};
    std::copy_n(form_.Image.bytes.begin() + Off::Advance, 100, now.begin());
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
    if (form_.Printing)
        return ui::windowColor();   // the printout shows the page as it always was
    if (sel_ && selTable_ == t && sel_->contains(c))
        return kSelected;
    if (heatOn_ && t == Table::Advance) {
        refreshHeat();
        return heatColour_[static_cast<std::size_t>(10 * c.row + c.column)];
    }
    return ui::windowColor();
}

void MapTools::paintCells()
{
    // The highlight paints the live cell in lime and every other one in cellColour.
    form_.HighlightActiveCell();
    decorated_ = (heatOn_ || sel_.has_value()) && !form_.Printing;
}

}  // namespace vorn::maps
