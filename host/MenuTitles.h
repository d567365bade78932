// Titles of the menus the window adds for its features. Their mnemonic letters are chosen
// so that none takes a letter the window's own menus and toolbar buttons use in that
// language (Alt+V stays Verify, Alt+Z the Czech ignition menu, Alt+A the French one).
#pragma once

#include "lang/Texts4.h"
#include "host/Shell.h"

namespace vorn::host {

inline const Text4 kEditMenuTitle{"&Edit", "&Bearbeiten", "É&dition", "Úpr&avy"};
inline const Text4 kViewMenuTitle{"Vie&w", "&Ansicht", "Affic&hage", "Z&obrazit"};
inline const Text4 kLogMenuTitle{"L&og", "Pr&otokoll", "&Journal", "Zázna&m"};

}  // namespace vorn::host
