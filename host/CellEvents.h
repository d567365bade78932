// The one owner of the key, focus and mouse events of the map cells (the Advance Map's and
// the servo voltages' edits). Several parts of the program give a cell's keys a meaning: the
// field itself (Enter commits, Up and Down work its spinner), the undo history (Ctrl+Z inside
// a field undoes the image), the cell selection's keys and its mouse. Which of them sees a
// key first decides what the key does, so that order is written once, in kOrder, and every
// part registers its handler under its slot there.
#pragma once

#include <QSet>
#include <QObject>

#include <array>
#include <functional>

class QEvent;

namespace vorn::host {

class CellEvents : public QObject {
    Q_OBJECT
public:
    enum class Slot {
        FieldKeys,       // the window: Enter commits and moves on, Up/Down work the spinner,
                         // leaving the field commits
        HistoryKeys,     // the undo history: Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z inside a field
        SelectionKeys,   // the map tools: Alt+Shift+arrows, Escape, Ctrl+C/V on a selection
        SelectionMouse,  // the map tools: click, Shift+click and drag select; the focused cell
    };
    // The order the handlers are asked in; the first that takes an event ends it.
    static constexpr std::array<Slot, 4> kOrder{Slot::FieldKeys, Slot::HistoryKeys, Slot::SelectionKeys,
                                                Slot::SelectionMouse};

    // True when the handler took the event: nobody after it, the cell included, sees it.
    using Handler = std::function<bool(QObject *cell, QEvent *event)>;

    using QObject::QObject;

    // Gives a slot its handler (an empty one frees the slot).
    void handle(Slot slot, Handler handler);
    // The same, the slot freed when `owner` goes.
    void handle(Slot slot, QObject *owner, Handler handler);
    // Starts dispatching the events of a cell's edit.
    void watch(QObject *cell);
    bool isCell(const QObject *o) const { return cells_.contains(const_cast<QObject *>(o)); }
    // The event types that reach the cells through here only; a program-wide filter of a
    // part above leaves these to the dispatcher when they are a cell's.
    static bool dispatched(int eventType);
    bool routes(const QObject *watched, const QEvent *event) const;

    // Asks the handlers in kOrder; true when one took the event.
    bool dispatch(QObject *cell, QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::array<Handler, kOrder.size()> handlers_;
    // The cells live as long as the host's window, which owns this.
    QSet<QObject *> cells_;
};

}  // namespace vorn::host
