// Texts of the log workbench window, in the four languages of the program.
#pragma once

#include "datalog/LogAnalysis.h"
#include "lang/Texts4.h"

namespace vorn::logview::texts {

inline const Text4 kTitle{"Log analysis", "Analyse der Aufzeichnung", "Analyse de l'enregistrement", "Analýza záznamu"};
inline const Text4 kTitleWith{"Log analysis: %1", "Analyse der Aufzeichnung: %1", "Analyse de l'enregistrement : %1",
                              "Analýza záznamu: %1"};

// Menus of the window.
inline const Text4 kFileMenu{"&File", "&Datei", "&Fichier", "&Soubor"};
inline const Text4 kOpen{"&Open log...", "Aufzeichnung ö&ffnen...", "&Ouvrir un enregistrement...", "&Otevřít záznam..."};
inline const Text4 kAddLog{"&Add a log to compare...", "Aufzeichnung zur Gegenüberstellung &hinzufügen...",
                           "&Ajouter un enregistrement à comparer...", "&Přidat záznam k porovnání..."};
inline const Text4 kRemoveLog{"&Remove the last log", "Letzte Aufzeichnung &entfernen", "&Retirer le dernier enregistrement",
                              "Odeb&rat poslední záznam"};
inline const Text4 kExportPng{"Export the view as &PNG...", "Ansicht als &PNG exportieren...", "Exporter la vue en &PNG...",
                              "Exportovat pohled jako &PNG..."};
inline const Text4 kExportCsv{"Export the rows between the cursors as &CSV...", "Zeilen zwischen den Cursorn als &CSV exportieren...",
                              "Exporter les lignes entre les curseurs en &CSV...", "Exportovat řádky mezi kurzory jako &CSV..."};
inline const Text4 kClose{"&Close", "&Schließen", "&Fermer", "&Zavřít"};

inline const Text4 kViewMenu{"&View", "&Ansicht", "&Affichage", "&Zobrazení"};
inline const Text4 kGraphs{"&Graphs", "&Diagramme", "&Graphiques", "&Grafy"};
inline const Text4 kScatter{"&Scatter", "&Streudiagramm", "&Nuage de points", "&Bodový graf"};
inline const Text4 kHistogram{"&Histogram", "&Histogramm", "&Histogramme", "&Histogram"};
inline const Text4 kChooseChannels{"Choose &channels", "&Kanäle wählen", "Choisir les &canaux", "Vybrat &kanály"};
inline const Text4 kChooseLogs{"Shift the &logs", "Aufzeichnungen &verschieben", "Décaler les &enregistrements",
                               "Posunout &záznamy"};
inline const Text4 kAlignPull{"Align on the start of a &pull", "Am Beginn eines &Durchzugs ausrichten",
                              "Aligner sur le début d'une &accélération", "Zarovn&at na začátek zátahu"};

inline const Text4 kTimeMenu{"&Time", "&Zeit", "&Temps", "Č&as"};
inline const Text4 kZoomIn{"Zoom &in", "Ver&größern", "Zoom &avant", "Př&iblížit"};
inline const Text4 kZoomOut{"Zoom &out", "Ver&kleinern", "Zoom a&rrière", "&Oddálit"};
inline const Text4 kWhole{"&Whole log", "&Ganze Aufzeichnung", "&Tout l'enregistrement", "&Celý záznam"};
inline const Text4 kPanLeft{"Pan &left", "Nach &links", "Vers la &gauche", "Posunout v&levo"};
inline const Text4 kPanRight{"Pan &right", "Nach &rechts", "Vers la &droite", "Posunout v&pravo"};
inline const Text4 kCursorAHere{"Cursor &A to the middle", "Cursor &A in die Mitte", "Curseur &A au milieu",
                                "Kurzor &A doprostřed"};
inline const Text4 kCursorBHere{"Cursor &B to the middle", "Cursor &B in die Mitte", "Curseur &B au milieu",
                                "Kurzor &B doprostřed"};
inline const Text4 kCursorABack{"Cursor A one row back", "Cursor A eine Zeile zurück", "Curseur A une ligne avant",
                                "Kurzor A o řádek zpět"};
inline const Text4 kCursorAOn{"Cursor A one row on", "Cursor A eine Zeile weiter", "Curseur A une ligne après",
                              "Kurzor A o řádek dál"};
inline const Text4 kCursorBBack{"Cursor B one row back", "Cursor B eine Zeile zurück", "Curseur B une ligne avant",
                                "Kurzor B o řádek zpět"};
inline const Text4 kCursorBOn{"Cursor B one row on", "Cursor B eine Zeile weiter", "Curseur B une ligne après",
                              "Kurzor B o řádek dál"};
inline const Text4 kZoomCursors{"&Zoom to the cursors", "Auf die Cursor &zoomen", "&Zoomer sur les curseurs",
                                "&Zvětšit mezi kurzory"};

// Panels.
inline const Text4 kChannels{"Channels", "Kanäle", "Canaux", "Kanály"};
inline const Text4 kLogs{"Logs", "Aufzeichnungen", "Enregistrements", "Záznamy"};
inline const Text4 kOffset{"Shift [s]", "Versatz [s]", "Décalage [s]", "Posun [s]"};
inline const Text4 kColChannel{"Channel", "Kanal", "Canal", "Kanál"};
inline const Text4 kColAtA{"At A", "Bei A", "En A", "V A"};
inline const Text4 kColAtB{"At B", "Bei B", "En B", "V B"};
inline const Text4 kColMin{"Minimum", "Minimum", "Minimum", "Minimum"};
inline const Text4 kColMax{"Maximum", "Maximum", "Maximum", "Maximum"};
inline const Text4 kColMean{"Mean", "Mittelwert", "Moyenne", "Průměr"};
inline const Text4 kSpan{"A at %1 s, B at %2 s: %3 s between them", "A bei %1 s, B bei %2 s: %3 s dazwischen",
                         "A à %1 s, B à %2 s : %3 s entre eux", "A v %1 s, B v %2 s: mezi nimi %3 s"};
inline const Text4 kEmpty{"Open a log with Ctrl+O.", "Öffnen Sie eine Aufzeichnung mit Strg+O.",
                          "Ouvrez un enregistrement avec Ctrl+O.", "Otevřete záznam klávesami Ctrl+O."};
inline const Text4 kLogChoice{"Log", "Aufzeichnung", "Enregistrement", "Záznam"};
inline const Text4 kX{"X", "X", "X", "X"};
inline const Text4 kY{"Y", "Y", "Y", "Y"};
inline const Text4 kColour{"Colour", "Farbe", "Couleur", "Barva"};
inline const Text4 kShow{"Show", "Zeigen", "Afficher", "Zobrazit"};
inline const Text4 kOf{"of", "von", "de", "z"};
inline const Text4 kOnlyWhere{"Only rows where", "Nur Zeilen mit", "Seulement les lignes où", "Jen řádky, kde"};
inline const Text4 kStatTime{"Time [s]", "Zeit [s]", "Temps [s]", "Čas [s]"};
inline const Text4 kStatSamples{"Samples", "Messwerte", "Échantillons", "Vzorky"};
inline const Text4 kColumnNumber{"column %1", "Spalte %1", "colonne %1", "sloupec %1"};
inline const Text4 kColumnSpeed{"%1 rpm", "%1 rpm", "%1 rpm", "%1 rpm"};
inline const Text4 kCellHint{"Click a cell, or move with the arrows and press Enter, to put the cursors on the time spent there.",
                             "Klicken Sie auf eine Zelle oder wählen Sie sie mit den Pfeilen und Enter, um die Cursor auf die Zeit dort zu setzen.",
                             "Cliquez sur une cellule, ou choisissez-la avec les flèches et Entrée, pour placer les curseurs sur le temps passé là.",
                             "Klepněte na buňku nebo ji vyberte šipkami a Enterem; kurzory se přesunou na čas v ní strávený."};
// Throttle, then the map column: its speed, or "column 4" when the log keeps no tune.
inline const Text4 kCellPeriod{"Throttle %1, %2: stretch %3 of %4, %5 s to %6 s",
                               "Drosselklappe %1, %2: Abschnitt %3 von %4, %5 s bis %6 s",
                               "Papillon %1, %2 : période %3 sur %4, de %5 s à %6 s",
                               "Plyn %1, %2: úsek %3 z %4, %5 s až %6 s"};
inline const Text4 kCellEmpty{"Throttle %1, %2: no time spent here", "Drosselklappe %1, %2: keine Zeit hier",
                              "Papillon %1, %2 : aucun temps passé ici", "Plyn %1, %2: žádný čas"};

// Files and messages.
inline const Text4 kLogFilter{"Logs (*.csv)", "Aufzeichnungen (*.csv)", "Enregistrements (*.csv)", "Záznamy (*.csv)"};
inline const Text4 kPngFilter{"PNG pictures (*.png)", "PNG-Bilder (*.png)", "Images PNG (*.png)", "Obrázky PNG (*.png)"};
inline const Text4 kCsvFilter{"CSV files (*.csv)", "CSV-Dateien (*.csv)", "Fichiers CSV (*.csv)", "Soubory CSV (*.csv)"};
inline const Text4 kCannotRead{"%1 cannot be read:\n%2", "%1 kann nicht gelesen werden:\n%2", "%1 ne peut pas être lu :\n%2",
                               "%1 nelze přečíst:\n%2"};
inline const Text4 kNoRows{"The log %1 holds no readable rows.", "Die Aufzeichnung %1 enthält keine lesbaren Zeilen.",
                           "L'enregistrement %1 ne contient aucune ligne lisible.", "Záznam %1 neobsahuje žádné čitelné řádky."};
inline const Text4 kTooMany{"At most four logs can be shown together.", "Höchstens vier Aufzeichnungen lassen sich zusammen zeigen.",
                            "Quatre enregistrements au plus peuvent être affichés ensemble.", "Společně lze zobrazit nejvýše čtyři záznamy."};
inline const Text4 kNoPull{"No pull was found in %1.", "In %1 wurde kein Durchzug gefunden.", "Aucune accélération trouvée dans %1.",
                           "V %1 nebyl nalezen žádný zátah."};
inline const Text4 kCannotWrite{"%1 could not be written.", "%1 konnte nicht geschrieben werden.", "%1 n'a pas pu être écrit.",
                                "%1 nelze zapsat."};

// The channels, in LogChannel order.
inline const Text4 kChannelNames[kLogChannelCount] = {
    {"Engine speed [rpm]", "Drehzahl [rpm]", "Régime [rpm]", "Otáčky [rpm]"},
    {"Throttle [%]", "Drosselklappe [%]", "Papillon [%]", "Plyn [%]"},
    {"Throttle sensor [mV]", "Drosselklappensensor [mV]", "Capteur de papillon [mV]", "Snímač plynu [mV]"},
    {"Supply [mV]", "Versorgung [mV]", "Alimentation [mV]", "Napájení [mV]"},
    {"Advance 1 [°]", "Zündwinkel 1 [°]", "Avance 1 [°]", "Předstih 1 [°]"},
    {"Advance 2 [°]", "Zündwinkel 2 [°]", "Avance 2 [°]", "Předstih 2 [°]"},
    {"Advance 3 [°]", "Zündwinkel 3 [°]", "Avance 3 [°]", "Předstih 3 [°]"},
    {"Advance 4 [°]", "Zündwinkel 4 [°]", "Avance 4 [°]", "Předstih 4 [°]"},
    {"Servo desired [mV]", "Servo Soll [mV]", "Servo consigne [mV]", "Servo požadované [mV]"},
    {"Servo measured [mV]", "Servo Ist [mV]", "Servo mesuré [mV]", "Servo naměřené [mV]"},
    {"Blocking", "Sperre", "Blocage", "Blokování"},
    {"Shift light", "Schaltblitz", "Témoin de passage", "Řadicí světlo"},
    {"Clutch master", "Kupplungsschalter", "Contacteur d'embrayage", "Spínač spojky"},
    {"Map column", "Kennfeldspalte", "Colonne de la carte", "Sloupec mapy"},
    {"Map row (throttle)", "Kennfeldzeile (Drosselklappe)", "Ligne de la carte (papillon)", "Řádek mapy (plyn)"},
};

}  // namespace vorn::logview::texts
