#include "host/MenuPlaces.h"

#include "host/HostNotifier.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vorn::host {

MenuPlaces::MenuPlaces(QWidget *window, QMenuBar *bar, HostNotifier &notifier, std::function<int()> language)
    : window_(window), bar_(bar), notifier_(notifier), language_(std::move(language))
{
}

void MenuPlaces::declare(QMenu *menu, QAction *tail, std::vector<MenuSpec::Place> places)
{
    Menu m;
    m.menu = menu;
    m.tail = tail;
    for (const auto &p : places)
        m.sections.push_back({p.place, p.separated, {}});
    menus_.push_back(std::move(m));
}

void MenuPlaces::open(const MenuSpec &spec)
{
    Menu m;
    m.spec = spec;
    for (const auto &p : spec.places)
        m.sections.push_back({p.place, p.separated, {}});
    menus_.push_back(std::move(m));
}

QMenu *MenuPlaces::make(Menu &m)
{
    if (m.menu)
        return m.menu;
    // A menu of that name made elsewhere before is taken over rather than made twice.
    if ((m.menu = window_->findChild<QMenu *>(m.spec.objectName)))
        return m.menu;
    QAction *before = nullptr;
    for (const QString &name : std::as_const(m.spec.before))
        if (auto *other = window_->findChild<QMenu *>(name)) {
            before = other->menuAction();
            break;
        }
    const Text4 *title = m.spec.title;
    auto *menu = new QMenu(text4(*title, language_()), bar_);
    menu->setObjectName(m.spec.objectName);
    menu->menuAction()->setObjectName(m.spec.objectName);
    bar_->insertMenu(before, menu);
    QObject::connect(&notifier_, &HostNotifier::languageChanged, menu,
                     [menu, title](int language) { menu->setTitle(text4(*title, language)); });
    m.menu = menu;
    return menu;
}

void MenuPlaces::add(const MenuPlace &place, QAction *action)
{
    for (Menu &m : menus_) {
        for (std::size_t i = 0; i < m.sections.size(); ++i) {
            Section &s = m.sections[i];
            if (!(s.place == place))
                continue;
            QMenu *menu = make(m);
            // The end of this place: the first item of a later place that holds one, else
            // the menu's own tail.
            QAction *before = m.tail;
            for (std::size_t j = i + 1; j < m.sections.size(); ++j)
                if (!m.sections[j].items.isEmpty()) {
                    before = m.sections[j].items.front();
                    break;
                }
            auto separator = [menu] {
                auto *a = new QAction(menu);
                a->setSeparator(true);
                return a;
            };
            if (s.separated && s.items.isEmpty()) {
                QAction *line = separator();
                menu->insertAction(before, line);
                s.items << line;
            }
            if (!action)
                action = separator();
            menu->insertAction(before, action);
            s.items << action;
            // Shortcuts work while the menu is closed.
            if (!action->shortcut().isEmpty())
                window_->addAction(action);
            return;
        }
    }
    qWarning("vorn4: no menu place \"%s\"", qPrintable(place.id()));
}

}  // namespace vorn::host
