// The map tools: cell selection on the Advance Map and Servo pages, the operations on it
// (CellOperations.cpp), spreadsheet copy and paste through the clipboard, heat colours
// (HeatColours.h), and the map view (MapViewLink.h).
#pragma once

#include "host/Roles.h"
#include "maps/MapOperations.h"
#include "maps/ui/HeatColours.h"

#include <QColor>
#include <QHash>
#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QWidget;

namespace vorn::maps {

class CellKeys;
class MapViewLink;

class MapTools : public QObject {
    Q_OBJECT
public:
    MapTools(host::Shell &shell, host::ImageEditing &editing, host::LiveView &live, host::HostNotifier &notifier,
             QObject *parent = nullptr);
    ~MapTools() override;

    enum class Op { Set, Add, Scale, InterpH, InterpV, InterpBoth, Smooth, SelectAll, Copy, Paste };
    // The menu-independent actions of the selection tools, in menu order.
    const std::vector<QAction *> &operationActions() const { return ops_; }
    QAction *heatAction() const { return heat_; }
    QAction *mapViewAction() const { return mapView_; }
    // The map view window, loaded from its module and made on first use; nullptr when
    // the module is missing (then a box says so).
    QWidget *openMapView();
    QWidget *mapViewWindow() const;
    QAction *actionFor(Op op) const;

    // The selection: on the table of the page that is open; nullopt when nothing is selected.
    std::optional<Rect> selection(Table t) const;
    void select(Table t, Rect r);
    void clearSelection();
    // The table and cells an operation acts on: the selection, else the focused cell.
    struct Target {
        Table table;
        Rect rect;
    };
    std::optional<Target> target() const;
    // Whether the control is a map cell or servo voltage the tools select.
    bool isCell(const QObject *o) const { return places_.contains(const_cast<QObject *>(o)); }

    // Runs an operation; value is the answer for Set / Add / Scale (see ask).
    void run(Op op, int value = 0);
    // Set / Add / Scale as the menu runs them: asks for the value, then runs.
    void ask(Op op);

    bool heatColours() const { return heatOn_; }
    void setHeatColours(bool on);   // remembers the choice in the settings file

    // Background of a map cell or servo voltage edit that is not the live one.
    QColor cellColour(Table t, Cell c);

signals:
    // After an operation changed the image, so views follow at once.
    void cellsChanged();

private:
    // Focus and mouse of a cell: the focused cell, click, Shift+click and drag select.
    bool mouseEvent(QObject *cell, QEvent *event);
    struct Place {
        Table table;
        Cell cell;
    };
    std::optional<Place> placeOf(QObject *o) const;
    Rect limitToShown(Table t, Rect r) const;
    void extendTo(Table t, Cell c);
    void copy();
    void paste();
    void repaint();
    void afterDisplayStates();
    void followLive();
    void retranslate(int language);
    void noCells();

    host::Shell &shell_;
    host::ImageEditing &editing_;
    host::LiveView &live_;
    std::vector<QAction *> ops_;
    QAction *heat_ = nullptr;
    QAction *mapView_ = nullptr;
    std::unique_ptr<MapViewLink> view_;   // made on first use
    QHash<QObject *, Place> places_;
    CellKeys *keys_ = nullptr;
    Table selTable_ = Table::Advance;
    std::optional<Rect> sel_;
    std::optional<Place> focus_;   // the cell that had the focus last
    Cell anchor_{};
    bool dragging_ = false;
    bool heatOn_ = false;
    HeatMap heatMap_;
    bool decorated_ = false;   // selection or heat colours are on the cells
};

}  // namespace vorn::maps
