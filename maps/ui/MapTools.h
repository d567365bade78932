// The map tools in the window: cell selection on the Advance Map and Servo pages, the
// operations on it, spreadsheet copy and paste through the clipboard, heat colours.
#pragma once

#include "maps/MapOperations.h"

#include <QColor>
#include <QHash>
#include <QObject>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QWidget;
class TFormHlav;

namespace vorn::maps {

class MapTools : public QObject {
    Q_OBJECT
public:
    explicit MapTools(TFormHlav &form);
    ~MapTools() override;

    enum class Op { Set, Add, Scale, InterpH, InterpV, InterpBoth, Smooth, SelectAll, Copy, Paste };
    // The menu-independent actions of the selection tools, in menu order.
    const std::vector<QAction *> &operationActions() const { return ops_; }
    QAction *heatAction() const { return heat_; }
    QAction *mapViewAction() const { return mapView_; }
    // The map view window, loaded from its module and made on first use; nullptr when
    // the module is missing (then a box says so).
    QWidget *openMapView();
    QWidget *mapViewWindow() const { return view_; }
    // After every display-state pass: repaint what the tools colour, and let an open map
    // view follow a changed image.
    void afterDisplayStates();
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

    // Runs an operation; value is the dialog's answer for Set / Add / Scale.
    void run(Op op, int value = 0);
    // Asks for the value of Set / Add / Scale (a dialog made when asked); tests replace it.
    std::function<std::optional<int>(const QString &label, int initial, int min, int max)> askNumber;

    bool heatColours() const { return heatOn_; }
    void setHeatColours(bool on);   // remembers the choice in the settings file

    // Background of a map cell or servo voltage edit that is not the live one.
    QColor cellColour(Table t, Cell c);
    // Paints every cell (selection, heat colours, print look) around the live cell.
    void paintCells();
    // Whether a display-state pass must repaint: heat colours, a selection, or the
    // remains of either are on the cells.
    bool decorates() const { return heatOn_ || sel_.has_value() || decorated_; }

    // Applied after each caption pass.
    void retranslate(int language);
    int language_ = 0;

signals:
    // After an operation changed the image (cells listed), so views follow at once.
    void cellsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Place {
        Table table;
        Cell cell;
    };
    std::optional<Place> placeOf(QObject *o) const;
    QWidget *editAt(Table t, Cell c) const;
    Rect limitToShown(Table t, Rect r) const;
    std::optional<Table> openTable() const;
    void extendTo(Table t, Cell c);
    void copy();
    QString stepName(Op op) const;
    void paste();
    void refreshHeat();

    TFormHlav &form_;
    std::vector<QAction *> ops_;
    QAction *heat_ = nullptr;
    QAction *mapView_ = nullptr;
    QWidget *view_ = nullptr;
    ParameterImage viewShows_;   // the image the map view last drew
    QHash<QObject *, Place> places_;
    Table selTable_ = Table::Advance;
    std::optional<Rect> sel_;
    std::optional<Place> focus_;   // the cell that had the focus last
    Cell anchor_{};
    bool dragging_ = false;
    bool heatOn_ = false;
    std::array<std::uint8_t, 100> heatOf_{};   // map bytes the heat colours were made for
    std::array<QColor, 100> heatColour_{};
    bool heatValid_ = false;
    bool decorated_ = false;
};

// The heat scale: a colour for v in lo..hi, light to dark blue, pale yellow, to red; never
// the lime of the live cell. textOn gives black or white, whichever reads on it.
QColor heatColour(int v, int lo, int hi);
QColor textOn(const QColor &background);

}  // namespace vorn::maps
