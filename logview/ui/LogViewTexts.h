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


// The pull comparison: its item in the Log menu and the names of what it charts.
inline const Text4 kComparePulls{"Compare pulls...", "Durchzüge gegenüberstellen...", "Comparer les accélérations...",
                                 "Porovnat zátahy..."};
inline const Text4 kTune{"tune %1", "Abstimmung %1", "réglage %1", "ladění %1"};
inline const Text4 kNoTune{"no tune kept", "keine Abstimmung abgelegt", "aucun réglage conservé", "ladění neuloženo"};
// Log, start of the pull in seconds, tune.
inline const Text4 kPullName{"%1 at %2 s, %3", "%1 bei %2 s, %3", "%1 à %2 s, %3", "%1 v %2 s, %3"};
// Tune, number of pulls averaged.
inline const Text4 kAverageName{"%1, average, pulls: %2", "%1, Mittel, Durchzüge: %2", "%1, moyenne, accélérations : %2",
                                "%1, průměr, zátahů: %2"};
inline const Text4 kUnreadable{"%1 cannot be read as a log.", "%1 lässt sich nicht als Aufzeichnung lesen.",
                               "%1 ne peut pas être lu comme enregistrement.", "%1 nelze načíst jako záznam."};
inline const Text4 kNoPullsModule{"The pull comparison (%1) was not found beside the program.",
                                  "Die Gegenüberstellung der Durchzüge (%1) wurde neben dem Programm nicht gefunden.",
                                  "La comparaison des accélérations (%1) est introuvable à côté du programme.",
                                  "Porovnání zátahů (%1) nebylo u programu nalezeno."};

// The advance finder: its item in the Tools menu and the name of the undo step its Apply makes.
inline const Text4 kAdvanceFinder{"Advance finder...", "Vorzündung finden...", "Recherche de l'avance...",
                                  "Hledání předstihu..."};
inline const Text4 kFinderStep{"Advance finder proposal", "Vorschlag der Vorzündungssuche",
                               "Proposition de la recherche d'avance", "Návrh hledání předstihu"};
inline const Text4 kNoFinderModule{"The advance finder (%1) was not found beside the program.",
                                   "Die Vorzündungssuche (%1) wurde neben dem Programm nicht gefunden.",
                                   "La recherche de l'avance (%1) est introuvable à côté du programme.",
                                   "Hledání předstihu (%1) nebylo u programu nalezeno."};

}  // namespace vorn::logview::texts
