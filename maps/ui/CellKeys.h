// The keys of the map tools inside a map cell or servo voltage field. A cell is first a
// number field: its own keys (Up and Down, Shift+arrows, Ctrl+A, Ctrl+C, Ctrl+V, typing)
// keep their meaning. The cell selection takes only what a text field does not use
// (Alt+Shift+arrows, Escape while cells are selected), and copy and paste act on cells only
// while more than one cell is selected.
#pragma once

#include "maps/MapOperations.h"

#include <QHash>
#include <QObject>

class QKeyEvent;

namespace vorn::host {
class CellEvents;
}

namespace vorn::maps {

class MapTools;

class CellKeys : public QObject {
    Q_OBJECT
public:
    // Takes the cells' keys at their slot in the host's dispatcher.
    CellKeys(MapTools &tools, host::CellEvents &cells);
    ~CellKeys() override;

    // Takes the keys of one cell's edit control.
    void watch(QObject *edit, Table table, Cell cell);
    // From the first selection on, typing in a cell ends the selection. Until then there is
    // nothing to end, and a connection on each of a hundred fields would only take memory
    // at start-up.
    void followTyping();

protected:
    // Copy and paste by key away from a field (the menu's shortcuts).
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Place {
        Table table;
        Cell cell;
    };
    bool cellsSelected(Table table) const;
    bool key(const Place &p, QKeyEvent *e);

    MapTools &tools_;
    host::CellEvents &cells_;
    QHash<QObject *, Place> places_;
    bool followingTyping_ = false;
};

}  // namespace vorn::maps
