// What the window offers every feature: boxes and dialogs through its modal guard, the
// dialog parent, status-bar parts, menus placed at named places, the language and the
// settings file. A feature talks to the person at the screen only through this, so a box
// can never outlive a closing window and a test can stand in for the window.
#pragma once

#include "lang/Jazyk2.h"
#include "lang/Texts4.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QAction;
class QDialog;
class QFileDialog;
class QMenu;
class QWidget;

namespace vorn {
class SettingsAccess;
}

namespace vorn::host {

// A named place in the menus: a string id ("file.extras", "edit.history", "log", ...). The
// host keeps a registry of places, each a part of one menu; a feature puts its items at a
// place by name, and may open a place of its own (a new menu) before it puts items there.
// Within a place, items keep the order they were added in; the places of one menu keep the
// order they were declared in, whichever feature fills one first.
class MenuPlace {
public:
    explicit MenuPlace(QString id) : id_(std::move(id)) {}
    const QString &id() const { return id_; }
    bool operator==(const MenuPlace &o) const { return id_ == o.id_; }
    bool operator<(const MenuPlace &o) const { return id_ < o.id_; }

    // The places the window declares itself.
    static const MenuPlace FileExtras;    // File: after Print All, before the separator above Exit
    static const MenuPlace ComExtras;     // Com: after Com 10, behind a separator
    static const MenuPlace EditHistory;   // Edit (a menu of its own after File): undo, redo, compare
    static const MenuPlace EditCells;     // Edit, after a separator: the map tools' operations
    static const MenuPlace View;          // View (after Edit): how the maps are shown
    static const MenuPlace Log;           // Log (after Device): recording, replay, time in cell, analysis
    static const MenuPlace Tools;         // Tools: after the window's own items, behind a separator

private:
    QString id_;
};

inline const MenuPlace MenuPlace::FileExtras{QStringLiteral("file.extras")};
inline const MenuPlace MenuPlace::ComExtras{QStringLiteral("com.extras")};
inline const MenuPlace MenuPlace::EditHistory{QStringLiteral("edit.history")};
inline const MenuPlace MenuPlace::EditCells{QStringLiteral("edit.cells")};
inline const MenuPlace MenuPlace::View{QStringLiteral("view")};
inline const MenuPlace MenuPlace::Log{QStringLiteral("log")};
inline const MenuPlace MenuPlace::Tools{QStringLiteral("tools")};

// A menu of its own that a feature opens in the menu bar: made when the first item arrives
// at one of its places, so an empty menu never shows. Its title follows the language.
struct MenuSpec {
    QString objectName;            // the menu's name, as a test finds it ("MenuTools")
    const Text4 *title = nullptr;  // with its mnemonic letter in each language
    // The menus it stands before, by object name, the first one present winning; at the
    // end of the menu bar when none is.
    QStringList before;
    // Its places, top to bottom; `separated` puts a separator above a place's first item.
    struct Place {
        MenuPlace place;
        bool separated = false;
    };
    std::vector<Place> places;
};

class Shell {
public:
    virtual ~Shell() = default;

    // The window, as the parent of a feature's dialogs and windows.
    virtual QWidget *dialogParent() const = 0;
    // 0 English, 1 German, 2 French, 3 Czech.
    virtual int language() const = 0;
    // A catalogue message in the current language.
    virtual QString messageText(Msg message) const = 0;

    // Every box and dialog below runs through the window's modal guard: a close that
    // arrives meanwhile ends the box and waits until the caller has returned; once the
    // window is closing nothing new is shown and the "closing" answer comes back at once.
    virtual void message(const QString &text, const QString &title = QString()) = 0;
    // The same box over `owner`, a window of the feature: a box about what that window did
    // belongs to it, and raising it must not bring the main window up over it. message()
    // alone goes over the program's window the person worked in last.
    virtual void messageOver(QWidget *owner, const QString &text, const QString &title = QString()) = 0;
    // Yes / No / Cancel (QMessageBox values); Cancel while closing.
    virtual int question(const QString &text, const QString &title = QString()) = 0;
    // Runs a prepared file dialog; the chosen path, empty on cancel or while closing.
    virtual QString chooseFile(QFileDialog *dialog) = 0;
    // Asks for a whole number in min..max; nullopt on cancel or while closing.
    virtual std::optional<int> askNumber(const QString &title, const QString &label, int initial, int min,
                                         int max) = 0;
    // A feature's own modal dialog (exec); QDialog::Rejected while closing.
    virtual int runDialog(QDialog *dialog) = 0;
    // Opens a file with the desktop's viewer; false when that failed.
    virtual bool openDocument(const QString &path) = 0;
    // True from the moment the window starts closing.
    virtual bool closing() const = 0;

    // Puts a new top-level window of a feature (its size set, not yet shown) on the main
    // window's screen, beside the main window where it fits. A window whose parent is
    // dialogParent() is placed so by itself when it is first shown, unless it was moved before.
    virtual void placeWindow(QWidget *window) = 0;

    // A passing hint in the status bar's hint panel.
    virtual void showHint(const QString &text) = 0;
    // A permanent part at the right of the status bar (the hint panel stays the window's).
    // No part widens the window: a label whose text does not fit shows it shortened, ending
    // in "…", and its tooltip holds the whole text.
    virtual void addStatusPart(QWidget *part) = 0;
    // Puts an item, a submenu's action or a separator (nullptr) at a named place. Items
    // with a shortcut work while the menu is closed.
    virtual void placeAction(MenuPlace place, QAction *action) = 0;
    void placeSeparator(MenuPlace place) { placeAction(place, nullptr); }
    void placeMenu(MenuPlace place, QMenu *menu);
    // Opens a menu of the feature's own with its places (see MenuSpec). A host without a
    // menu bar (a test's stand-in) takes items at any place as they come.
    virtual void openMenu(const MenuSpec &menu) { (void)menu; }

    // The one access to the settings file: reads, and writes that never replace a file
    // that could not be read whole.
    virtual SettingsAccess &settings() = 0;
};

}  // namespace vorn::host
