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
// The operations' names in the undo menu and on the value box.
inline const Text4 kStepSet{"Set to value", "Auf Wert setzen", "Fixer à une valeur", "Nastavit hodnotu"};
inline const Text4 kStepAdd{"Add", "Addieren", "Ajouter", "Přičíst"};
inline const Text4 kStepScale{"Scale by %", "Um % skalieren", "Mettre à l'échelle en %", "Změnit o %"};
inline const Text4 kStepInterpH{"Interpolate horizontally", "Horizontal interpolieren", "Interpoler horizontalement", "Interpolovat vodorovně"};
inline const Text4 kStepInterpV{"Interpolate vertically", "Vertikal interpolieren", "Interpoler verticalement", "Interpolovat svisle"};
inline const Text4 kStepInterpBoth{"Interpolate both (from corners)", "Beides interpolieren (aus den Ecken)", "Interpoler les deux (depuis les coins)", "Interpolovat obojí (z rohů)"};
inline const Text4 kStepSmooth{"Smooth", "Glätten", "Lisser", "Vyhladit"};
inline const Text4 kStepPaste{"Paste cells", "Zellen einfügen", "Coller les cellules", "Vložit buňky"};
inline const Text4 kGrouped{"Line %1, column %2 of the clipboard holds \"%3\": grouped thousands or a decimal? "
                            "Nothing was pasted. Copy the numbers without thousands separators.",
                            "Zeile %1, Spalte %2 der Zwischenablage enthält \"%3\": Tausendergruppen oder Dezimalzahl? "
                            "Nichts wurde eingefügt. Kopieren Sie die Zahlen ohne Tausendertrennzeichen.",
                            "La ligne %1, colonne %2 du presse-papiers contient « %3 » : milliers groupés ou décimale ? "
                            "Rien n'a été collé. Copiez les nombres sans séparateur de milliers.",
                            "Řádek %1, sloupec %2 schránky obsahuje \"%3\": oddělené tisíce, nebo desetinné číslo? "
                            "Nic nebylo vloženo. Zkopírujte čísla bez oddělovače tisíců."};
inline const Text4 kPasteWhat{"Paste cells", "Zellen einfügen", "Coller les cellules", "Vložení buněk"};

}  // namespace vorn::maps::texts
