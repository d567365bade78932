// Texts of the advance finder's window, in the four languages of the program.
#pragma once

#include "lang/Texts4.h"

namespace vorn::logview::findertexts {

inline const Text4 kTitle{"Advance finder", "Vorzündungssuche", "Recherche de l'avance", "Hledání předstihu"};
inline const Text4 kPlan{"Plan", "Plan", "Plan", "Plán"};
inline const Text4 kRow{"&Row:", "&Zeile:", "&Ligne :", "Řá&dek:"};
inline const Text4 kRowItem{"%1 % throttle", "%1 % Drosselklappe", "%1 % de papillon", "%1 % plynu"};
inline const Text4 kStep{"S&tep:", "&Schritt:", "&Pas :", "&Krok:"};
inline const Text4 kVariants{"&Variants:", "&Varianten:", "&Variantes :", "&Varianty:"};
inline const Text4 kPulls{"&Pulls per variant:", "&Durchzüge je Variante:", "A&ccélérations par variante :",
                          "&Zátahů na variantu:"};
inline const Text4 kRounds{"Ro&unds:", "&Runden:", "&Tours :", "K&ola:"};
inline const Text4 kCeiling{"Ceiling:", "Obergrenze:", "Plafond :", "Strop:"};
inline const Text4 kCeilingOffset{"&Offset over the base map:", "&Aufschlag auf die Grundkarte:",
                                  "&Décalage sur la carte de base :", "&Přídavek k základní mapě:"};
inline const Text4 kCeilingMap{"&Map file:", "&Kartendatei:", "Fichier de &carte :", "Soubor &mapy:"};
inline const Text4 kChoose{"C&hoose...", "A&uswählen...", "C&hoisir...", "&Vybrat..."};
inline const Text4 kNoFile{"(none chosen)", "(keine gewählt)", "(aucun choisi)", "(nevybrán)"};
// Beside the ceiling: the one thing a tuner must know before riding a variant.
inline const Text4 kSafety{
    "The unit cannot sense knock: the finder never goes above this ceiling, and only you program its proposal.",
    "Das Gerät kann kein Klopfen erkennen: Die Suche geht nie über diese Obergrenze, und ihren Vorschlag "
    "programmieren nur Sie.",
    "Le boîtier ne peut pas détecter le cliquetis : la recherche ne dépasse jamais ce plafond, et vous seul "
    "programmez sa proposition.",
    "Jednotka nepozná klepání: hledání nikdy nepřekročí tento strop a jeho návrh naprogramujete jen vy."};
inline const Text4 kStart{"&Start", "&Starten", "&Démarrer", "&Spustit"};
inline const Text4 kStop{"St&op", "A&bbrechen", "&Arrêter", "Za&stavit"};
inline const Text4 kApply{"&Apply proposal", "Vorschlag ü&bernehmen", "&Appliquer la proposition", "&Použít návrh"};
inline const Text4 kClose{"&Close", "S&chließen", "&Fermer", "Za&vřít"};

// The large line a rider glances at.
inline const Text4 kProgress{"variant %1 of %2, pull %3 of %4", "Variante %1 von %2, Durchzug %3 von %4",
                             "variante %1 sur %2, accélération %3 sur %4", "varianta %1 z %2, zátah %3 z %4"};
inline const Text4 kRound{"round %1 of %2: ", "Runde %1 von %2: ", "tour %1 sur %2 : ", "kolo %1 z %2: "};
inline const Text4 kIdle{"Not running", "Läuft nicht", "À l'arrêt", "Neběží"};
inline const Text4 kWaitShut{"Close the throttle: the next map is programmed at a shut throttle.",
                             "Gas schließen: Die nächste Karte wird bei geschlossener Drosselklappe programmiert.",
                             "Fermez les gaz : la carte suivante se programme papillon fermé.",
                             "Uberte plyn: další mapa se programuje při zavřeném plynu."};
inline const Text4 kProgramming{"Programming variant %1...", "Variante %1 wird programmiert...",
                                "Programmation de la variante %1...", "Programuje se varianta %1..."};
inline const Text4 kProgrammingBase{"Programming the base map back...", "Die Grundkarte wird zurückprogrammiert...",
                                    "Reprogrammation de la carte de base...", "Zpět se programuje základní mapa..."};
inline const Text4 kRide{"Ride a full-throttle pull in one gear.", "Einen Vollgas-Durchzug in einem Gang fahren.",
                         "Faites une accélération à pleins gaz sur un rapport.",
                         "Jeďte zátah na plný plyn na jeden převodový stupeň."};
inline const Text4 kDone{"Done: the base map is back in the unit. Check the proposal below.",
                         "Fertig: Die Grundkarte ist wieder im Gerät. Den Vorschlag unten prüfen.",
                         "Terminé : la carte de base est de nouveau dans le boîtier. Vérifiez la proposition ci-dessous.",
                         "Hotovo: základní mapa je zpět v jednotce. Zkontrolujte návrh níže."};
inline const Text4 kFailed{"A Program failed: the unit may still hold a variant. Program the base map back.",
                           "Ein Programmieren schlug fehl: Das Gerät kann noch eine Variante enthalten. Die Grundkarte "
                           "zurückprogrammieren.",
                           "Une programmation a échoué : le boîtier peut encore contenir une variante. Reprogrammez la "
                           "carte de base.",
                           "Programování selhalo: jednotka může stále obsahovat variantu. Naprogramujte zpět základní "
                           "mapu."};
inline const Text4 kFailedBaseIn{"A Program failed; the unit holds the base map. The run has ended.",
                                 "Ein Programmieren schlug fehl; das Gerät enthält die Grundkarte. Die Suche ist beendet.",
                                 "Une programmation a échoué ; le boîtier contient la carte de base. La recherche est "
                                 "terminée.",
                                 "Programování selhalo; jednotka obsahuje základní mapu. Hledání skončilo."};
inline const Text4 kNoProposal{"No cell is decided: the table says why for each.",
                               "Keine Zelle ist entschieden: Die Tabelle nennt für jede den Grund.",
                               "Aucune cellule n'est décidée : le tableau en donne la raison pour chacune.",
                               "Žádná buňka není rozhodnuta: tabulka u každé uvádí proč."};
inline const Text4 kProposalSummary{"Cells decided: %1 of %2; full-throttle pulls: %3",
                                    "Entschiedene Zellen: %1 von %2; Vollgas-Durchzüge: %3",
                                    "Cellules décidées : %1 sur %2 ; accélérations à pleins gaz : %3",
                                    "Rozhodnuté buňky: %1 z %2; zátahy na plný plyn: %3"};
inline const Text4 kBadCeilingFile{"%1 cannot be read as a parameter file.",
                                   "%1 lässt sich nicht als Parameterdatei lesen.",
                                   "%1 ne peut pas être lu comme fichier de paramètres.",
                                   "%1 nelze načíst jako soubor parametrů."};
inline const Text4 kApplied{"The proposal is the window's map now (one undo step); program it when you are sure.",
                            "Der Vorschlag ist jetzt die Karte im Fenster (ein Rückgängig-Schritt); programmieren Sie "
                            "ihn, wenn Sie sicher sind.",
                            "La proposition est maintenant la carte de la fenêtre (une étape d'annulation) ; "
                            "programmez-la quand vous êtes sûr.",
                            "Návrh je nyní mapou v okně (jeden krok zpět); naprogramujte jej, až si budete jisti."};

// Why a cell has no proposal.
inline const Text4 kWhyNotInLogs{"no pull reached it", "kein Durchzug erreichte sie", "aucune accélération ne l'atteint",
                                 "žádný zátah ji nezasáhl"};
inline const Text4 kWhyFewAdvances{"fewer than three advances tried", "weniger als drei Vorzündungen probiert",
                                   "moins de trois avances essayées", "vyzkoušeny méně než tři předstihy"};
inline const Text4 kWhyFewPulls{"too few pulls", "zu wenige Durchzüge", "trop peu d'accélérations", "příliš málo zátahů"};
inline const Text4 kWhyPullsBeganThere{"the pulls began in it: start them below it",
                                      "die Durchzüge begannen in ihr: darunter beginnen",
                                      "les accélérations y commencent : partez plus bas",
                                      "zátahy v ní začínaly: začněte pod ní"};
inline const Text4 kWhyNoPeak{"no best within the advances tried", "kein Bestwert bei den probierten Vorzündungen",
                              "pas de meilleure valeur parmi les avances essayées",
                              "žádné maximum mezi vyzkoušenými předstihy"};
inline const Text4 kHeldAtCeiling{"held at the ceiling", "an der Obergrenze gehalten", "limitée au plafond",
                                  "omezeno stropem"};
inline const Text4 kHeldToStep{"one step beyond the advances tried", "einen Schritt über den probierten",
                               "un pas au-delà des avances essayées", "o krok za vyzkoušenými předstihy"};

// The comparison of the proposal with the base map.
inline const Text4 kColSpeed{"Speed (rpm)", "Drehzahl (rpm)", "Régime (rpm)", "Otáčky (rpm)"};
inline const Text4 kColBase{"Base (°)", "Grundkarte (°)", "Base (°)", "Základ (°)"};
inline const Text4 kColTried{"Tried (°)", "Probiert (°)", "Essayées (°)", "Vyzkoušeno (°)"};
inline const Text4 kColBest{"Best (°)", "Bestwert (°)", "Meilleure (°)", "Nejlepší (°)"};
inline const Text4 kColCeiling{"Ceiling (°)", "Obergrenze (°)", "Plafond (°)", "Strop (°)"};
inline const Text4 kColProposal{"Proposal (°)", "Vorschlag (°)", "Proposition (°)", "Návrh (°)"};
inline const Text4 kColNote{"Note", "Hinweis", "Remarque", "Poznámka"};
inline const Text4 kNotBracketed{"best outside the advances tried", "Bestwert außerhalb der probierten",
                                 "meilleure hors des avances essayées", "maximum mimo vyzkoušené předstihy"};

// The charts: torque against advance per cell.
inline const Text4 kChartTitle{"%1 rpm", "%1 rpm", "%1 rpm", "%1 rpm"};
inline const Text4 kAdvanceAxis{"advance (°)", "Vorzündung (°)", "avance (°)", "předstih (°)"};
inline const Text4 kTorqueAxis{"relative torque", "Moment (rel.)", "couple relatif", "moment (rel.)"};
inline const Text4 kSeriesTried{"pulls", "Durchzüge", "accélérations", "zátahy"};
inline const Text4 kSeriesFit{"fit", "Anpassung", "ajustement", "proložení"};
inline const Text4 kSeriesProposal{"proposal", "Vorschlag", "proposition", "návrh"};
inline const Text4 kSeriesBase{"base map", "Grundkarte", "carte de base", "základní mapa"};
inline const Text4 kLegend{"Points: pulls at each advance tried; line: the fit; green: the proposal; grey: the base map.",
                           "Punkte: Durchzüge je probierter Vorzündung; Linie: die Anpassung; grün: der Vorschlag; "
                           "grau: die Grundkarte.",
                           "Points : accélérations à chaque avance essayée ; courbe : l'ajustement ; vert : la "
                           "proposition ; gris : la carte de base.",
                           "Body: zátahy při každém vyzkoušeném předstihu; křivka: proložení; zelená: návrh; šedá: "
                           "základní mapa."};
inline const Text4 kCharts{"&Charts", "&Diagramme", "&Graphiques", "&Grafy"};
inline const Text4 kComparison{"Proposal and &base map", "Vorschlag und &Grundkarte", "Proposition et carte de &base",
                               "Návrh a &základní mapa"};

}  // namespace vorn::logview::findertexts
