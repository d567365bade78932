// The registry of named menu places behind Shell::placeAction: each place is a part of one
// menu, either a menu the window built or one a feature opened (made with its first item).
#pragma once

#include "host/Shell.h"

#include <QList>
#include <QPointer>

#include <functional>
#include <vector>

class QMenuBar;

namespace vorn::host {

class HostNotifier;

class MenuPlaces {
public:
    // `window` holds the menu bar and takes the items' shortcuts, so they work while the
    // menus are closed; `language` is the language menus are made in.
    MenuPlaces(QWidget *window, QMenuBar *bar, HostNotifier &notifier, std::function<int()> language);

    // Places in a menu that exists: items go before `tail` (nullptr: at the menu's end).
    void declare(QMenu *menu, QAction *tail, std::vector<MenuSpec::Place> places);
    // Places in a menu of their own, made when the first item arrives.
    void open(const MenuSpec &menu);
    // Puts an item, or a separator (nullptr), at the end of its place. An unknown place is
    // a programming error: the item is dropped with a warning.
    void add(const MenuPlace &place, QAction *action);

private:
    struct Section {
        MenuPlace place;
        bool separated;
        QList<QAction *> items;
    };
    struct Menu {
        QPointer<QMenu> menu;
        QAction *tail = nullptr;
        MenuSpec spec;   // how to make it, for an opened menu
        std::vector<Section> sections;
    };
    QMenu *make(Menu &m);

    QWidget *window_;
    QMenuBar *bar_;
    HostNotifier &notifier_;
    std::function<int()> language_;
    std::vector<Menu> menus_;
};

}  // namespace vorn::host
