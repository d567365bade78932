#include "Shell.h"

#include <QMenu>

namespace vorn::host {

void Shell::placeMenu(MenuPlace place, QMenu *menu)
{
    placeAction(place, menu->menuAction());
}

}  // namespace vorn::host
