#include "host/CellEvents.h"

#include <QEvent>

namespace vorn::host {

void CellEvents::handle(Slot slot, Handler handler)
{
    handlers_[static_cast<std::size_t>(slot)] = std::move(handler);
}

void CellEvents::handle(Slot slot, QObject *owner, Handler handler)
{
    handle(slot, std::move(handler));
    connect(owner, &QObject::destroyed, this, [this, slot] { handle(slot, {}); });
}

void CellEvents::watch(QObject *cell)
{
    if (!cell || cells_.contains(cell))
        return;
    cells_.insert(cell);
    cell->installEventFilter(this);
}

bool CellEvents::dispatched(int type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return true;
    default:
        return false;
    }
}

bool CellEvents::routes(const QObject *watched, const QEvent *event) const
{
    return dispatched(event->type()) && isCell(watched);
}

bool CellEvents::dispatch(QObject *cell, QEvent *event)
{
    for (Slot slot : kOrder) {
        const Handler &h = handlers_[static_cast<std::size_t>(slot)];
        if (h && h(cell, event))
            return true;
    }
    return false;
}

bool CellEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (!dispatched(event->type()) || !isCell(watched))
        return false;
    return dispatch(watched, event);
}

}  // namespace vorn::host
