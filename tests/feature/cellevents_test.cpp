// The map cells' one dispatcher: the order its slots are asked in, that an event taken stops
// there (the cell never sees it), and which feature holds which slot.
#include "history/ui/ChangeHistoryUi.h"
#include "host/CellEvents.h"
#include "maps/ui/MapTools.h"
#include "support/FakeHost.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>

using vorn::host::CellEvents;
using vorn::maps::MapTools;
using vorn::maps::Rect;
using vorn::maps::Table;
using Slot = CellEvents::Slot;

class CellEventsTest : public QObject {
    Q_OBJECT
private slots:
    void orderAndStop();
    void featuresInTheirSlots();
};

// Every slot holds a handler that notes it was asked and takes the event when the row says.
void CellEventsTest::orderAndStop()
{
    struct Row {
        const char *name;
        std::vector<Slot> taking;
        std::vector<Slot> asked;   // in this order
        bool cellSees;
    };
    const Row rows[] = {
        {"nobody takes it: all asked, the cell sees it", {},
         {Slot::FieldKeys, Slot::HistoryKeys, Slot::SelectionKeys, Slot::SelectionMouse}, true},
        {"the field takes it first", {Slot::FieldKeys, Slot::SelectionKeys}, {Slot::FieldKeys}, false},
        {"the history before the selection", {Slot::HistoryKeys, Slot::SelectionKeys},
         {Slot::FieldKeys, Slot::HistoryKeys}, false},
        {"the selection's keys before its mouse", {Slot::SelectionKeys, Slot::SelectionMouse},
         {Slot::FieldKeys, Slot::HistoryKeys, Slot::SelectionKeys}, false},
        {"the mouse last", {Slot::SelectionMouse},
         {Slot::FieldKeys, Slot::HistoryKeys, Slot::SelectionKeys, Slot::SelectionMouse}, false},
    };
    for (const Row &row : rows) {
        CellEvents cells;
        QLineEdit cell;
        cells.watch(&cell);
        std::vector<Slot> asked;
        for (Slot s : {Slot::SelectionMouse, Slot::FieldKeys, Slot::SelectionKeys, Slot::HistoryKeys})
            cells.handle(s, [&asked, &row, s](QObject *, QEvent *e) {
                if (e->type() != QEvent::KeyPress)
                    return false;   // the shortcut check Qt makes before a key press
                asked.push_back(s);
                return std::find(row.taking.begin(), row.taking.end(), s) != row.taking.end();
            });
        QKeyEvent key(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        QApplication::sendEvent(&cell, &key);
        QVERIFY2(asked == row.asked, row.name);
        QVERIFY2((cell.text() == QLatin1String("5")) == row.cellSees, row.name);
        // A freed slot is passed over; an object that is no cell is never dispatched.
        cells.handle(Slot::FieldKeys, {});
        asked.clear();
        QLineEdit other;
        QApplication::sendEvent(&other, &key);
        QVERIFY2(asked.empty(), row.name);
    }
}

// The real features in their slots, the window's field keys stood in for by a handler that
// takes Enter as the window does. Taken means the cell itself never sees the event.
void CellEventsTest::featuresInTheirSlots()
{
    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    FakeHost host(dir.filePath("vorn4.ini"));
    ChangeHistoryUi history(host, host, host, host, host.notifier);
    MapTools tools(host, host, host, host.notifier);
    int enters = 0;
    host.cells.handle(Slot::FieldKeys, [&enters](QObject *, QEvent *e) {
        const bool enter = e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Return;
        enters += enter;
        return enter;
    });
    QLineEdit *cell = host.mapEdits[4][4];
    const auto key = [](QEvent::Type type, int k, Qt::KeyboardModifiers m) {
        return std::make_unique<QKeyEvent>(type, k, m);
    };
    struct Row {
        const char *name;
        std::optional<Rect> selectedBefore;
        std::function<std::unique_ptr<QEvent>()> event;
        bool taken;
        int enters;
        std::optional<Rect> selectedAfter;
    };
    const QPointF at(3, 3);
    const Row rows[] = {
        {"Enter: the field's, never the selection's", Rect{4, 4, 5, 5},
         [&] { return key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier); }, true, 1, Rect{4, 4, 5, 5}},
        {"Ctrl+Z asked for as a shortcut: the history's", std::nullopt,
         [&] { return key(QEvent::ShortcutOverride, Qt::Key_Z, Qt::ControlModifier); }, true, 0, std::nullopt},
        {"Alt+Shift+Right: the selection's keys", std::nullopt,
         [&] { return key(QEvent::KeyPress, Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier); }, true, 0,
         Rect{4, 4, 4, 5}},
        {"Escape with cells selected: ends the selection", Rect{1, 1, 2, 2},
         [&] { return key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier); }, true, 0, std::nullopt},
        {"Escape with none: the field's own", std::nullopt,
         [&] { return key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier); }, false, 0, std::nullopt},
        {"Ctrl+C in one cell: the field copies its text", std::nullopt,
         [&] { return key(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier); }, false, 0, std::nullopt},
        {"Shift+click: the selection's mouse", std::nullopt,
         [&] {
             return std::make_unique<QMouseEvent>(QEvent::MouseButtonPress, at, cell->mapToGlobal(at), Qt::LeftButton,
                                                  Qt::LeftButton, Qt::ShiftModifier);
         },
         true, 0, Rect{4, 4, 4, 4}},
    };
    for (const Row &row : rows) {
        tools.clearSelection();
        if (row.selectedBefore)
            tools.select(Table::Advance, *row.selectedBefore);
        enters = 0;
        auto event = row.event();
        const bool taken = host.cells.dispatch(cell, event.get());
        QVERIFY2(taken == row.taken, row.name);
        QVERIFY2(enters == row.enters, row.name);
        QVERIFY2(tools.selection(Table::Advance) == row.selectedAfter, row.name);
    }
}

QTEST_MAIN(CellEventsTest)
#include "cellevents_test.moc"
