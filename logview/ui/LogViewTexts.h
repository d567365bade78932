// Texts of the log workbench's items in the window's Log menu and of its marker box.
#pragma once

#include "lang/Texts4.h"

namespace vorn::logview::texts {

inline const Text4 kAnalyseLog{"Analyse log...", "Aufzeichnung analysieren...", "Analyser un enregistrement...",
                               "Analyzovat záznam..."};
inline const Text4 kAddMarker{"Add marker", "Markierung setzen", "Ajouter un repère", "Přidat značku"};
inline const Text4 kAddMarkerTip{"Marks this moment of the recording, with an optional note",
                                 "Markiert diesen Moment der Aufzeichnung, mit einer Notiz nach Wunsch",
                                 "Marque ce moment de l'enregistrement, avec une note facultative",
                                 "Označí tento okamžik záznamu, s poznámkou podle potřeby"};
inline const Text4 kMarkerTitle{"Marker at %1 s", "Markierung bei %1 s", "Repère à %1 s", "Značka v %1 s"};
inline const Text4 kMarkerNote{"Note (may stay empty):", "Notiz (darf leer bleiben):", "Note (peut rester vide) :",
                               "Poznámka (může zůstat prázdná):"};
inline const Text4 kMarkerFailed{"The marker could not be written to %1.", "Die Markierung konnte nicht in %1 geschrieben werden.",
                                 "Le repère n'a pas pu être écrit dans %1.", "Značku nelze zapsat do %1."};
inline const Text4 kNoModule{"The log workbench (%1) was not found beside the program.",
                             "Die Protokollanalyse (%1) wurde neben dem Programm nicht gefunden.",
                             "L'analyse des enregistrements (%1) est introuvable à côté du programme.",
                             "Analýza záznamů (%1) nebyla u programu nalezena."};

}  // namespace vorn::logview::texts
