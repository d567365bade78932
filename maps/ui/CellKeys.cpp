// Keys of the map tools inside a cell: the field's own meaning first.
#include "CellKeys.h"

#include "MapTools.h"
#include "host/CellEvents.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

namespace vorn::maps {

CellKeys::CellKeys(MapTools &tools, host::CellEvents &cells) : QObject(&tools), tools_(tools), cells_(cells)
{
    setObjectName(QStringLiteral("CellKeys"));
    // Away from a field (a check box or the page tabs has the focus) the menu's Ctrl+C and
    // Ctrl+V reach the items; they too act only on a selection of several cells. Inside a
    // field the field takes these keys first and this filter below decides.
    for (MapTools::Op op : {MapTools::Op::Copy, MapTools::Op::Paste})
        tools_.actionFor(op)->installEventFilter(this);
    cells_.handle(host::CellEvents::Slot::SelectionKeys, [this](QObject *cell, QEvent *event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto it = places_.constFind(cell);
        return it != places_.cend() && key(*it, static_cast<QKeyEvent *>(event));
    });
}

CellKeys::~CellKeys()
{
    cells_.handle(host::CellEvents::Slot::SelectionKeys, {});
}

void CellKeys::watch(QObject *edit, Table table, Cell cell)
{
    places_.insert(edit, {table, cell});
}

void CellKeys::followTyping()
{
    if (followingTyping_)
        return;
    followingTyping_ = true;
    // Typing, pasting text or deleting in a cell ends the selection: the person is
    // editing that one field now.
    for (auto it = places_.cbegin(); it != places_.cend(); ++it)
        if (auto *line = qobject_cast<QLineEdit *>(it.key()))
            connect(line, &QLineEdit::textEdited, &tools_, &MapTools::clearSelection);
}

bool CellKeys::cellsSelected(Table table) const
{
    const auto s = tools_.selection(table);
    return s && (s->rows() > 1 || s->columns() > 1);
}

bool CellKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Shortcut)
        return false;
    // Copy or paste cells by key: only a selection of several cells on the open page.
    const bool several = cellsSelected(Table::Advance) || cellsSelected(Table::Servo);
    return !several && qobject_cast<QAction *>(watched);
}

bool CellKeys::key(const Place &p, QKeyEvent *e)
{
    const auto mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool several = cellsSelected(p.table);

    if (mods == Qt::ControlModifier && (e->key() == Qt::Key_C || e->key() == Qt::Key_V)) {
        if (!several)
            return false;   // the field copies or pastes its text
        tools_.run(e->key() == Qt::Key_C ? MapTools::Op::Copy : MapTools::Op::Paste);
        return true;
    }
    if (mods == Qt::NoModifier && e->key() == Qt::Key_Escape) {
        if (!tools_.selection(p.table))
            return false;
        tools_.clearSelection();
        return true;
    }
    if (mods != (Qt::AltModifier | Qt::ShiftModifier))
        return false;

    // Alt+Shift+arrow: the focused cell is the anchor; the opposite corner of the
    // selection moves, or a new selection starts from the focused cell.
    Cell moving = p.cell;
    if (const auto s = tools_.selection(p.table)) {
        const bool rowEnd = p.cell.row == s->top || p.cell.row == s->bottom;
        const bool columnEnd = p.cell.column == s->left || p.cell.column == s->right;
        if (rowEnd && columnEnd) {
            moving.row = p.cell.row == s->top ? s->bottom : s->top;
            moving.column = p.cell.column == s->left ? s->right : s->left;
        }
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
    tools_.select(p.table, Rect::spanning(p.cell, moving));
    return true;
}

}  // namespace vorn::maps
