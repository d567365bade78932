#include "ArchiveUiTexts.h"

namespace vorn::atext {

// Mnemonic letters differ within the archive window in each language.
const Text4 MenuArchive{"Archive...", "Archiv...", "Archive...", "Archiv..."};
const Text4 WindowTitle{"Workshop archive", "Werkstattarchiv", "Archive de l'atelier", "Archiv dílny"};
const Text4 Search{"&Search:", "&Suche:", "&Rechercher :", "&Hledat:"};
const Text4 Find{"&Find", "&Finden", "&Trouver", "&Najít"};
const Text4 Events{"E&vents (customer, bike, registration, note, identification or date)",
                   "&Ereignisse (Kunde, Motorrad, Kennzeichen, Notiz, Kennung oder Datum)",
                   "É&vénements (client, moto, immatriculation, note, identification ou date)",
                   "&Události (zákazník, motocykl, SPZ, poznámka, identifikace nebo datum)"};
const Text4 Tree{"Tune &tree", "Abstimmungs&baum", "&Arbre du réglage", "&Strom ladění"};
const Text4 TuneEvents{"events, oldest first", "Ereignisse, älteste zuerst", "événements, du plus ancien",
                       "události, nejstarší první"};
const Text4 MadeFrom{"made from", "entstanden aus", "issu de", "vzniklo z"};
const Text4 MadeInto{"made into", "weiterentwickelt zu", "a donné", "změněno na"};
const Text4 Open{"&Open in window", "In Fenster &laden", "&Ouvrir dans la fenêtre", "&Otevřít v okně"};
const Text4 Compare{"&Compare", "&Gegenüberstellen", "&Comparer", "&Porovnat"};
const Text4 SaveLabels{"Save &labels", "Etiketten s&peichern", "&Enregistrer les étiquettes", "Uložit š&títky"};
const Text4 Close{"Clos&e", "Schl&ießen", "&Fermer", "&Zavřít"};
const Text4 Customer{"C&ustomer:", "&Kunde:", "Cl&ient :", "Zá&kazník:"};
const Text4 Bike{"&Bike:", "&Motorrad:", "&Moto :", "&Motocykl:"};
const Text4 Registration{"&Registration or frame:", "Kenn&zeichen oder Rahmen:", "Immatriculatio&n ou cadre :",
                         "&Registrační značka nebo rám:"};
const Text4 Note{"&Note:", "&Notiz:", "Remar&que :", "Poznámk&a:"};
const Text4 Labels{"Labels of the tune", "Etiketten der Abstimmung", "Étiquettes du réglage", "Štítky ladění"};
const Text4 ColumnTime{"Time", "Zeit", "Heure", "Čas"};
const Text4 ColumnEvent{"Event", "Ereignis", "Événement", "Událost"};
const Text4 ColumnResult{"Result", "Ergebnis", "Résultat", "Výsledek"};
const Text4 ColumnBench{"Bench", "Prüfstand", "Banc", "Pracoviště"};
const Text4 ColumnUser{"User", "Benutzer", "Utilisateur", "Uživatel"};
const Text4 ColumnUnit{"Unit", "Gerät", "Boîtier", "Jednotka"};
const Text4 ColumnTune{"Tune", "Abstimmung", "Réglage", "Ladění"};
const Text4 ColumnLabels{"Labels", "Etiketten", "Étiquettes", "Štítky"};
// The undo step of a tune opened from the archive; %1 its short hash.
const Text4 StepOpen{"Tune %1 from the archive", "Abstimmung %1 aus dem Archiv", "Réglage %1 de l'archive",
                     "Ladění %1 z archivu"};
const Text4 TuneOnly{"(tune)", "(Abstimmung)", "(réglage)", "(ladění)"};
const Text4 NothingFound{"nothing in the archive matches %1", "nichts im Archiv passt zu %1",
                         "rien dans l'archive ne correspond à %1", "nic v archivu neodpovídá %1"};
const Text4 Searching{"searching...", "suche...", "recherche...", "hledám..."};
const Text4 NoTune{"the archive does not hold the bytes of tune %1", "das Archiv enthält die Bytes der Abstimmung %1 nicht",
                   "l'archive ne contient pas les octets du réglage %1", "archiv neobsahuje bajty ladění %1"};
// The comparison's second column when two archived tunes are compared.
const Text4 CompareTwo{"tune %1", "Abstimmung %1", "réglage %1", "ladění %1"};

}  // namespace vorn::atext
