// The map tools' place in the main window: the View menu and the operations' menu items.
#include "MapTexts.h"
#include "MapTools.h"
#include "app/Hlav.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void TFormHlav::createMapTools()
{
    using namespace vorn::maps;
    mapTools = new MapTools(*this);

    // View comes after Edit where there is one, else right after File.
    QMenuBar *bar = menuBar();
    QAction *after = nullptr;
    if (auto *edit = findChild<QMenu *>("MenuEdit"))
        after = edit->menuAction();
    else if (auto *file = findChild<QMenu *>("MenuFile"))
        after = file->menuAction();
    const QList<QAction *> top = bar->actions();
    const int at = after ? static_cast<int>(top.indexOf(after)) : -1;
    QAction *before = at >= 0 && at + 1 < top.size() ? top[at + 1] : nullptr;
    auto *view = new QMenu(QString::fromUtf8(texts::kViewMenu.en), bar);
    view->setObjectName("MenuView");
    view->menuAction()->setObjectName("MenuView");
    bar->insertMenu(before, view);
    view->addAction(mapTools->heatAction());
    view->addAction(mapTools->mapViewAction());

    // The operations follow the Edit menu's own items; without an Edit menu they get a
    // submenu of View.
    QMenu *cells = findChild<QMenu *>("MenuEdit");
    QMenu *submenu = nullptr;
    if (cells) {
        cells->addSeparator();
    } else {
        cells = submenu = new QMenu(QString::fromUtf8(texts::kMapMenu.en), view);
        submenu->setObjectName("MenuMapCells");
        view->addSeparator();
        view->addMenu(submenu);
    }
    for (QAction *a : mapTools->operationActions()) {
        const auto op = static_cast<MapTools::Op>(a->data().toInt());
        if (op == MapTools::Op::SelectAll)
            cells->addSeparator();
        cells->addAction(a);
        addAction(a);   // shortcuts work while the menu is closed
    }

    connect(this, &TFormHlav::languageChanged, mapTools, [view, submenu, this](int language) {
        view->setTitle(vorn::text4(vorn::maps::texts::kViewMenu, language));
        if (submenu)
            submenu->setTitle(vorn::text4(vorn::maps::texts::kMapMenu, language));
        mapTools->retranslate(language);
    });
}
