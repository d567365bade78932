// Texts of the pull comparison window, in the four languages of the program.
#pragma once

#include "lang/Texts4.h"

namespace vorn::logview::pulltexts {

inline const Text4 kTitle{"Compare pulls", "Durchzüge gegenüberstellen", "Comparer les accélérations", "Porovnat zátahy"};
inline const Text4 kLogs{"&Logs:", "&Aufzeichnungen:", "&Enregistrements :", "&Záznamy:"};
inline const Text4 kAddLog{"A&dd log...", "&Hinzufügen...", "&Ajouter...", "&Přidat..."};
inline const Text4 kRemoveLog{"&Remove log", "&Entfernen", "&Retirer", "&Odebrat"};
inline const Text4 kPulls{"&Pulls (ticked ones are charted):", "&Durchzüge (angehakte im Diagramm):",
                          "A&ccélérations (cochées dans le graphique) :", "Zá&tahy (zaškrtnuté v grafu):"};
inline const Text4 kAverage{"A&verage the pulls of each tune", "&Mitteln je Abstimmung", "&Moyenne par réglage",
                            "Zprůměrovat zátahy &každého ladění"};
inline const Text4 kBands{"&Bands", "&Bänder", "&Bandes", "Pás&ma"};
inline const Text4 kTunes{"&Tunes", "Ab&stimmungen", "Ré&glages", "&Ladění"};
inline const Text4 kClose{"&Close", "S&chließen", "&Fermer", "Za&vřít"};

inline const Text4 kColLog{"Log", "Aufzeichnung", "Enregistrement", "Záznam"};
inline const Text4 kColStart{"Start (s)", "Beginn (s)", "Début (s)", "Začátek (s)"};
inline const Text4 kColSpeed{"Speed (rpm)", "Drehzahl (rpm)", "Régime (rpm)", "Otáčky (rpm)"};
inline const Text4 kColTune{"Tune", "Abstimmung", "Réglage", "Ladění"};
inline const Text4 kColTuneFile{"Tune file", "Abstimmungsdatei", "Fichier du réglage", "Soubor ladění"};

inline const Text4 kSpeedAxis{"engine speed (rpm)", "Drehzahl (rpm)", "régime (rpm)", "otáčky (rpm)"};
// The speed gain per second is the torque in one gear; times the speed in thousands of rpm
// it is the power.
inline const Text4 kTorqueAxis{"relative torque (rpm/s)", "relatives Drehmoment (rpm/s)", "couple relatif (rpm/s)",
                               "relativní točivý moment (rpm/s)"};
inline const Text4 kPowerAxis{"relative power (rpm/s × 1000 rpm)", "relative Leistung (rpm/s × 1000 rpm)",
                              "puissance relative (rpm/s × 1000 rpm)", "relativní výkon (rpm/s × 1000 rpm)"};

inline const Text4 kColBand{"Band (rpm)", "Band (rpm)", "Bande (rpm)", "Pásmo (rpm)"};
inline const Text4 kColTorqueOf{"Torque: %1", "Drehmoment: %1", "Couple : %1", "Moment: %1"};
inline const Text4 kColPowerOf{"Power: %1", "Leistung: %1", "Puissance : %1", "Výkon: %1"};
inline const Text4 kBandsNote{"Torque and power of every later line in % of the first: %1",
                              "Drehmoment und Leistung jeder weiteren Linie in % der ersten: %1",
                              "Couple et puissance de chaque courbe suivante en % de la première : %1",
                              "Moment a výkon každé další křivky v % první: %1"};
inline const Text4 kBandsNone{"Chart two or more pulls to see their difference per band.",
                              "Für den Unterschied je Band mindestens zwei Durchzüge ins Diagramm nehmen.",
                              "Tracez au moins deux accélérations pour voir leur écart par bande.",
                              "Pro rozdíl v pásmech zobrazte alespoň dva zátahy."};
inline const Text4 kColParameter{"Parameter", "Parameter", "Paramètre", "Parametr"};
inline const Text4 kTunesOne{"The charted pulls ran on one tune.", "Die Durchzüge im Diagramm liefen mit einer Abstimmung.",
                             "Les accélérations tracées ont roulé avec un seul réglage.",
                             "Zobrazené zátahy proběhly s jedním laděním."};
inline const Text4 kTunesNone{"No tune is kept beside the charted pulls' logs.",
                              "Neben den Aufzeichnungen der Durchzüge ist keine Abstimmung abgelegt.",
                              "Aucun réglage n'est conservé à côté des enregistrements tracés.",
                              "U záznamů zobrazených zátahů není uloženo žádné ladění."};
inline const Text4 kTunesDiffer{"Parameters that differ from %1: %2", "Parameter, die von %1 abweichen: %2",
                                "Paramètres qui diffèrent de %1 : %2", "Parametry odlišné od %1: %2"};
inline const Text4 kSummary{"Pulls found: %1, charted: %2", "Gefundene Durchzüge: %1, im Diagramm: %2",
                            "Accélérations trouvées : %1, tracées : %2", "Nalezené zátahy: %1, v grafu: %2"};

// The bar while several logs are read at once.
inline const Text4 kReading{"Reading log %1 of %2...", "Aufzeichnung %1 von %2 wird gelesen...",
                            "Lecture de l'enregistrement %1 sur %2...", "Čtení záznamu %1 z %2..."};
inline const Text4 kStopReading{"&Stop", "&Anhalten", "&Arrêter", "Za&stavit"};

inline const Text4 kLogFilter{"Logs (*.csv)", "Aufzeichnungen (*.csv)", "Enregistrements (*.csv)", "Záznamy (*.csv)"};

}  // namespace vorn::logview::pulltexts
