// Texts of the map tools (menus, dialogs, messages) in the four languages.
#pragma once

#include "lang/Texts4.h"

namespace vorn::maps::texts {

inline const Text4 kViewMenu{"Vie&w", "&Ansicht", "Affic&hage", "Z&obrazit"};
inline const Text4 kMapMenu{"&Map cells", "&Kennfeldzellen", "Ce&llules de la carte", "Buňky &mapy"};
inline const Text4 kHeat{"&Heat colours", "&Farbskala", "Couleurs de &chaleur", "&Barevná škála"};
inline const Text4 kMapView{"Map &view...", "Kennfeld&ansicht...", "&Vue de la carte...", "&Pohled na mapu..."};
inline const Text4 kSet{"&Set to value...", "Auf Wert &setzen...", "&Fixer à une valeur...", "&Nastavit hodnotu..."};
inline const Text4 kAdd{"&Add...", "&Addieren...", "A&jouter...", "Př&ičíst..."};
inline const Text4 kScale{"Scale by &%...", "Um &% skalieren...", "Mettre à l'échelle en &%...", "Změnit o &%..."};
inline const Text4 kInterpH{"Interpolate &horizontally", "&Horizontal interpolieren", "Interpoler &horizontalement", "Interpolovat &vodorovně"};
inline const Text4 kInterpV{"Interpolate &vertically", "Ver&tikal interpolieren", "Interpoler &verticalement", "Interpolovat &svisle"};
inline const Text4 kInterpBoth{"Interpolate &both (from corners)", "&Beides interpolieren (aus den Ecken)", "Interpoler les &deux (depuis les coins)", "Interpolovat &obojí (z rohů)"};
inline const Text4 kSmooth{"S&mooth", "&Glätten", "&Lisser", "Vy&hladit"};
inline const Text4 kSelectAll{"Select a&ll cells", "Alle &Zellen auswählen", "&Sélectionner toutes les cellules", "Vybrat všechny &buňky"};
inline const Text4 kCopy{"&Copy cells", "Zellen &kopieren", "&Copier les cellules", "&Kopírovat buňky"};
inline const Text4 kPaste{"&Paste cells", "Zellen &einfügen", "C&oller les cellules", "V&ložit buňky"};
inline const Text4 kValueDeg{"Value [°]:", "Wert [°]:", "Valeur [°] :", "Hodnota [°]:"};
inline const Text4 kValueMv{"Value [mV]:", "Wert [mV]:", "Valeur [mV] :", "Hodnota [mV]:"};
inline const Text4 kPercent{"Percent [%]:", "Prozent [%]:", "Pourcentage [%] :", "Procenta [%]:"};
inline const Text4 kNotNumbers{"The clipboard does not hold a block of numbers: \"%1\"",
                               "Die Zwischenablage enthält keinen Zahlenblock: \"%1\"",
                               "Le presse-papiers ne contient pas un bloc de nombres : \"%1\"",
                               "Schránka neobsahuje blok čísel: \"%1\""};
inline const Text4 kNoCells{"Select cells of the advance map or the servo voltages first",
                            "Zuerst Zellen des Zündkennfelds oder der Servospannungen auswählen",
                            "Sélectionnez d'abord des cellules de la carte d'avance ou des tensions du servo",
                            "Nejdříve vyberte buňky mapy předstihu nebo napětí serva"};
inline const Text4 kNoModule{"The map view cannot be opened: its module %1 was not found or did not load.",
                             "Die Kennfeldansicht lässt sich nicht öffnen: ihr Modul %1 fehlt oder lädt nicht.",
                             "La vue de la carte ne peut pas s'ouvrir : son module %1 est introuvable ou ne se charge pas.",
                             "Pohled na mapu nelze otevřít: jeho modul %1 chybí nebo se nenačetl."};
inline const Text4 kPasteWhat{"Paste cells", "Zellen einfügen", "Coller les cellules", "Vložení buněk"};

}  // namespace vorn::maps::texts
