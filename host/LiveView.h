// What the window offers a feature that follows the engine: the live values, the live
// cell, the map cells on screen, and the replay of a log in the monitor column.
#pragma once

#include "link/LiveValues.h"
#include "link/Monitor.h"
#include "maps/MapOperations.h"

#include <QColor>

#include <functional>
#include <optional>

class QWidget;

namespace vorn::host {

class CellEvents;

class LiveView {
public:
    virtual ~LiveView() = default;

    virtual const LiveValues &live() const = 0;
    virtual const LiveCell &liveCell() const = 0;
    virtual const MonitorFields &liveFields() const = 0;
    // Whether the throttle rows of the map are in use (otherwise one curve, row 0).
    virtual bool throttleMapOn() const = 0;
    // True while a print command draws the window: no decoration belongs on paper.
    virtual bool printing() const = 0;

    // The edit of a map cell (Advance) or servo voltage (Servo, row 0).
    virtual QWidget *cellEdit(maps::Table table, maps::Cell cell) const = 0;
    // The group that holds a table's cells.
    virtual QWidget *cellArea(maps::Table table) const = 0;
    // The table whose page is open; nullopt on the other pages.
    virtual std::optional<maps::Table> shownTable() const = 0;
    // Whether a map row is on screen (with the throttle map off only row 0 is).
    virtual bool rowShown(int row) const = 0;
    // Who gives the cells that are not live their background (heat colours, selection);
    // empty for the window's own colours. The window asks whenever it paints the cells.
    using CellColours = std::function<QColor(maps::Table, maps::Cell)>;
    virtual void setCellColours(CellColours colours) = 0;
    // Paints the cells again (live cell and the colours above).
    virtual void repaintCells() = 0;
    // The one dispatcher of the cells' key, focus and mouse events: a feature that gives a
    // cell's keys or clicks a meaning registers under its slot there.
    virtual CellEvents &cellEvents() = 0;

    // Replay: the monitor column shows logged rows instead of the unit; the session does
    // not run and Read, Verify and Program are off until endReplay gives everything back.
    virtual bool replaying() const = 0;
    virtual void beginReplay() = 0;
    virtual void showReplayed(const MonitorFields &fields, const LiveCell &cell) = 0;
    virtual void endReplay() = 0;
};

}  // namespace vorn::host
