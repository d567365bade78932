// Texts of the datalog menu, status part, messages and replay panel.
#include "DatalogTexts.h"

namespace vorn::datalogtext {

const Text4 StartRecording{"Start recording", "Aufzeichnung starten", "Démarrer l'enregistrement",
                           "Spustit záznam"};
const Text4 StopRecording{"Stop recording", "Aufzeichnung beenden", "Arrêter l'enregistrement",
                          "Zastavit záznam"};
const Text4 ReplayLog{"Replay log...", "Aufzeichnung abspielen...", "Rejouer un enregistrement...",
                      "Přehrát záznam..."};
const Text4 TimeInCell{"Time in cell", "Verweildauer je Zelle", "Temps par cellule", "Čas v buňkách"};
const Text4 ResetTimeInCell{"Reset time in cell", "Verweildauer zurücksetzen", "Remettre à zéro le temps par cellule",
                            "Vynulovat čas v buňkách"};
const Text4 LoadTimeInCell{"Load time in cell of a log...", "Verweildauer einer Aufzeichnung laden...",
                           "Charger le temps par cellule d'un enregistrement...", "Načíst čas v buňkách ze záznamu..."};
const Text4 LogFolder{"Log folder...", "Ordner der Aufzeichnungen...", "Dossier des enregistrements...",
                      "Složka záznamů..."};

const Text4 Rec{"REC %1", "REC %1", "REC %1", "REC %1"};
const Text4 Replay{"REPLAY", "WIEDERGABE", "RELECTURE", "PŘEHRÁVÁNÍ"};

const Text4 LogFilter{"Logs (*.csv)", "Aufzeichnungen (*.csv)", "Enregistrements (*.csv)", "Záznamy (*.csv)"};
const Text4 AllFilter{"All files (*)", "Alle Dateien (*)", "Tous les fichiers (*)", "Všechny soubory (*)"};

const Text4 CannotCreate{"The log %1 cannot be created:\n%2", "Die Aufzeichnung %1 kann nicht angelegt werden:\n%2",
                         "L'enregistrement %1 ne peut pas être créé :\n%2", "Záznam %1 nelze vytvořit:\n%2"};
const Text4 WriteFailed{"Recording stopped: the log could not be written (%1).\nThe rows recorded so far are kept in %2.",
                        "Aufzeichnung beendet: die Datei konnte nicht geschrieben werden (%1).\n"
                        "Die bisher aufgezeichneten Zeilen bleiben in %2.",
                        "Enregistrement arrêté : le fichier n'a pas pu être écrit (%1).\n"
                        "Les lignes déjà enregistrées restent dans %2.",
                        "Záznam zastaven: soubor nelze zapsat (%1).\nDosud zaznamenané řádky zůstávají v %2."};
const Text4 NotALog{"%1 cannot be replayed:\n%2", "%1 kann nicht abgespielt werden:\n%2",
                    "%1 ne peut pas être rejoué :\n%2", "%1 nelze přehrát:\n%2"};
const Text4 NoRows{"The log %1 holds no readable rows.", "Die Aufzeichnung %1 enthält keine lesbaren Zeilen.",
                   "L'enregistrement %1 ne contient aucune ligne lisible.", "Záznam %1 neobsahuje žádné čitelné řádky."};
const Text4 NoCounts{"No time in cell could be read for %1.", "Für %1 ließ sich keine Verweildauer lesen.",
                     "Aucun temps par cellule n'a pu être lu pour %1.", "Pro %1 nelze načíst čas v buňkách."};
const Text4 ReplaceCounts{
    "The time in cell of this run (%1 counted) will be replaced by the one of %2.\nReplace it?",
    "Die Verweildauer dieser Sitzung (%1 gezählt) wird durch die von %2 ersetzt.\nErsetzen?",
    "Le temps par cellule de cette session (%1 comptés) sera remplacé par celui de %2.\nLe remplacer ?",
    "Čas v buňkách této relace (napočítáno %1) bude nahrazen časem ze záznamu %2.\nNahradit?"};

const Text4 ReasonCannotOpen{"the file cannot be opened", "die Datei lässt sich nicht öffnen",
                             "le fichier ne peut pas être ouvert", "soubor nelze otevřít"};
const Text4 ReasonEmpty{"the file is empty", "die Datei ist leer", "le fichier est vide", "soubor je prázdný"};
const Text4 ReasonNotALog{"it is no log (its first line is not the header of a log)",
                          "es ist keine Aufzeichnung (die erste Zeile ist nicht der Kopf einer Aufzeichnung)",
                          "ce n'est pas un enregistrement (la première ligne n'en est pas l'en-tête)",
                          "nejde o záznam (první řádek není hlavička záznamu)"};
const Text4 ReasonNoFolder{"its folder cannot be created", "der Ordner lässt sich nicht anlegen",
                           "son dossier ne peut pas être créé", "jeho složku nelze vytvořit"};
const Text4 ReasonNoPermission{"no permission to write there", "keine Schreibberechtigung dort",
                               "pas de droit d'écriture à cet endroit", "chybí oprávnění k zápisu"};
const Text4 ReasonDiskFull{"the disk is full", "der Datenträger ist voll", "le disque est plein", "disk je plný"};
const Text4 ReasonWriteFailed{"writing failed", "Schreiben fehlgeschlagen", "l'écriture a échoué", "zápis selhal"};

const Text4 PanelTitle{"Replay: %1", "Wiedergabe: %1", "Relecture : %1", "Přehrávání: %1"};
const Text4 Play{"Play", "Abspielen", "Lecture", "Přehrát"};
const Text4 Pause{"Pause", "Pause", "Pause", "Pozastavit"};
const Text4 Leave{"Leave replay", "Wiedergabe beenden", "Quitter la relecture", "Ukončit přehrávání"};
const Text4 Speed{"Speed", "Tempo", "Vitesse", "Rychlost"};
const Count4 Skipped{{"%1 unreadable row skipped", "%1 unlesbare Zeile übersprungen", "%1 ligne illisible ignorée",
                      "%1 nečitelný řádek přeskočen"},
                     {"%1 unreadable rows skipped", "%1 unlesbare Zeilen übersprungen", "%1 lignes illisibles ignorées",
                      "%1 nečitelné řádky přeskočeny"},
                     {"%1 unreadable rows skipped", "%1 unlesbare Zeilen übersprungen", "%1 lignes illisibles ignorées",
                      "%1 nečitelných řádků přeskočeno"}};
const Text4 Truncated{"the last line was cut off", "die letzte Zeile ist abgeschnitten", "la dernière ligne est tronquée",
                      "poslední řádek je useknutý"};
const Text4 Capped{"only the first %1 rows are played", "nur die ersten %1 Zeilen werden abgespielt",
                   "seules les %1 premières lignes sont rejouées", "přehrává se jen prvních %1 řádků"};

}  // namespace vorn::datalogtext
