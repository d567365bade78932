// Texts of undo, restore points, change tracking and comparison, in the four languages.
#include "HistoryTexts.h"

namespace vorn::htext {

const Text4 MenuEdit{"&Edit", "&Bearbeiten", "Édi&tion", "Úpr&avy"};
const Text4 Undo{"&Undo", "&Rückgängig", "&Annuler", "&Zpět"};
const Text4 UndoStep{"&Undo %1", "&Rückgängig: %1", "&Annuler %1", "&Zpět: %1"};
const Text4 Redo{"&Redo", "&Wiederholen", "&Rétablir", "Znov&u"};
const Text4 RedoStep{"&Redo %1", "&Wiederholen: %1", "&Rétablir %1", "Znov&u: %1"};
const Text4 Compare{"Compare &with", "Gegen&überstellen mit", "Com&parer avec", "&Porovnat s"};
const Text4 RestorePoints{"Restore points...", "Wiederherstellungspunkte...", "Points de restauration...",
                          "Body obnovení..."};

const Count4 StepParameters{{"%1 parameter", "%1 Parameter", "%1 paramètre", "%1 parametr"},
                             {"%1 parameters", "%1 Parameter", "%1 paramètres", "%1 parametry"},
                             {"%1 parameters", "%1 Parameter", "%1 paramètres", "%1 parametrů"}};
const Text4 StepRead{"Read from unit", "Lesen aus der Zündung", "Lecture de l'unité", "Čtení z jednotky"};
const Text4 StepNew{"New (default setting)", "Neu (Grundeinstellung)", "Nouveau (réglage par défaut)",
                    "Nový (výchozí nastavení)"};
const Text4 StepOpen{"Open %1", "Öffnen %1", "Ouvrir %1", "Otevřít %1"};
const Text4 StepModel{"Model change with its preset", "Modellwechsel mit Voreinstellung",
                      "Changement de modèle avec son préréglage", "Změna modelu s předvolbou"};
const Text4 StepRestore{"Restore %1", "Wiederherstellen %1", "Restaurer %1", "Obnovit %1"};
const Text4 StepAdvanceAll{"Advance map %1", "Vorzündung Karte %1", "Carte d'avance %1", "Mapa předstihu %1"};
const Text4 StepServoAll{"Servo voltages %1", "Servo Spannungen %1", "Tensions servo %1", "Napětí serva %1"};
const Text4 StepColumn{"Advance column %1", "Vorzündung Spalte %1", "Colonne d'avance %1", "Sloupec předstihu %1"};
const Text4 StepChange{"Change", "Änderung", "Modification", "Změna"};

const Text4 UnitInSync{"in sync with unit", "gleich wie Zündung", "identique à l'unité", "shodné s jednotkou"};
const Count4 UnitChanges{
    {"%1 change not programmed", "%1 Änderung nicht programmiert", "%1 modification non programmée",
     "%1 změna nenaprogramována"},
    {"%1 changes not programmed", "%1 Änderungen nicht programmiert", "%1 modifications non programmées",
     "%1 změny nenaprogramovány"},
    {"%1 changes not programmed", "%1 Änderungen nicht programmiert", "%1 modifications non programmées",
     "%1 změn nenaprogramováno"}};
const Text4 UnitNotCompared{"unit not compared", "Zündung nicht verglichen", "unité non comparée",
                            "jednotka neporovnána"};
const Text4 UnitChanged{"unit changed", "Zündung verändert", "unité modifiée", "jednotka změněna"};
const Text4 UnitPartial{"unit holds a partial image", "Zündung enthält ein unvollständiges Abbild",
                        "l'unité contient une image partielle", "jednotka obsahuje částečný obraz"};
const Text4 FileSaved{"%1 saved", "%1 gespeichert", "%1 enregistré", "%1 uloženo"};
const Count4 FileChangesSaved{
    {"%1: %2 change since saved", "%1: %2 Änderung seit dem Speichern", "%1: %2 modification depuis l'enregistrement",
     "%1: %2 změna od uložení"},
    {"%1: %2 changes since saved", "%1: %2 Änderungen seit dem Speichern",
     "%1: %2 modifications depuis l'enregistrement", "%1: %2 změny od uložení"},
    {"%1: %2 changes since saved", "%1: %2 Änderungen seit dem Speichern",
     "%1: %2 modifications depuis l'enregistrement", "%1: %2 změn od uložení"}};
const Count4 FileChangesOpened{
    {"%1: %2 change since opened", "%1: %2 Änderung seit dem Öffnen", "%1: %2 modification depuis l'ouverture",
     "%1: %2 změna od otevření"},
    {"%1: %2 changes since opened", "%1: %2 Änderungen seit dem Öffnen", "%1: %2 modifications depuis l'ouverture",
     "%1: %2 změny od otevření"},
    {"%1: %2 changes since opened", "%1: %2 Änderungen seit dem Öffnen", "%1: %2 modifications depuis l'ouverture",
     "%1: %2 změn od otevření"}};
const Text4 FileNone{"not saved to a file", "nicht in Datei gespeichert", "non enregistré dans un fichier",
                     "neuloženo do souboru"};
const Text4 PointFailed{"Restore point not written: %1", "Wiederherstellungspunkt nicht geschrieben: %1",
                        "Point de restauration non écrit : %1", "Bod obnovení nezapsán: %1"};
const Text4 PointFailedShort{"restore point not written (click for why)",
                             "Wiederherstellungspunkt nicht geschrieben (Klick zeigt warum)",
                             "point de restauration non écrit (cliquez pour savoir pourquoi)",
                             "bod obnovení nezapsán (klepněte pro důvod)"};
const Text4 PointCannotCreate{"cannot create the folder %1", "der Ordner %1 kann nicht angelegt werden",
                              "impossible de créer le dossier %1", "nelze vytvořit složku %1"};
const Text4 PointCannotWrite{"cannot write %1", "%1 kann nicht geschrieben werden", "impossible d'écrire %1",
                             "nelze zapsat %1"};

const Text4 EventRead{"read", "gelesen", "lu", "přečteno"};
const Text4 EventProgrammed{"programmed", "programmiert", "programmé", "naprogramováno"};
const Text4 EventBeforeRead{"before read", "vor dem Lesen", "avant lecture", "před čtením"};
const Text4 EventBeforeOpen{"before open", "vor dem Öffnen", "avant ouverture", "před otevřením"};
const Text4 EventBeforeNew{"before new", "vor Neu", "avant nouveau", "před novým"};
const Text4 EventBeforeModel{"before model change", "vor Modellwechsel", "avant changement de modèle",
                             "před změnou modelu"};

const Text4 PointsTitle{"Restore points", "Wiederherstellungspunkte", "Points de restauration", "Body obnovení"};
const Text4 PointsTime{"Time", "Zeit", "Heure", "Čas"};
const Text4 PointsEvent{"Event", "Ereignis", "Événement", "Událost"};
const Text4 PointsUnit{"Unit", "Zündung", "Unité", "Jednotka"};
const Text4 PointsDiffer{"Differences", "Unterschiede", "Différences", "Rozdíly"};
const Text4 PointsShow{"&Differences...", "&Unterschiede...", "&Différences...", "&Rozdíly..."};
const Text4 PointsRestore{"&Restore", "&Wiederherstellen", "&Restaurer", "&Obnovit"};
const Text4 PointsClose{"Close", "Schließen", "Fermer", "Zavřít"};
const Text4 PointsNone{"No restore points yet.", "Noch keine Wiederherstellungspunkte.",
                       "Pas encore de points de restauration.", "Zatím žádné body obnovení."};
const Text4 CompareTitle{"Comparison", "Gegenüberstellung", "Comparaison", "Porovnání"};
const Text4 CompareParameter{"Parameter", "Parameter", "Paramètre", "Parametr"};
const Text4 CompareWindow{"Window", "Fenster", "Fenêtre", "Okno"};
const Text4 CompareOther{"%1", "%1", "%1", "%1"};
const Text4 CompareNoDiff{"No differences.", "Keine Unterschiede.", "Aucune différence.", "Žádné rozdíly."};
const Text4 CompareCopy{"&Copy as text", "Als Text &kopieren", "&Copier en texte", "&Kopírovat jako text"};
const Text4 CompareMapTitle{"Advance map (differing cells marked)", "Vorzündung Karte (Unterschiede markiert)",
                            "Carte d'avance (cellules différentes marquées)",
                            "Mapa předstihu (rozdílné buňky označeny)"};
const Text4 CompareWithUnit{"the unit", "die Zündung", "l'unité", "jednotka"};
const Text4 CompareWithFile{"a file...", "eine Datei...", "un fichier...", "soubor..."};
const Text4 CompareWithPoint{"a restore point...", "einen Wiederherstellungspunkt...",
                             "un point de restauration...", "bod obnovení..."};
const Text4 CompareReading{"Reading the unit for comparison...", "Zündung wird zur Gegenüberstellung gelesen...",
                           "Lecture de l'unité pour comparaison...", "Čtení jednotky pro porovnání..."};
const Text4 CompareReadFailed{"The unit did not answer the comparison read.",
                              "Die Zündung hat auf das Lesen zur Gegenüberstellung nicht geantwortet.",
                              "L'unité n'a pas répondu à la lecture de comparaison.",
                              "Jednotka neodpověděla na čtení pro porovnání."};
const Text4 CompareUnitSent{"blocks the unit sent", "von der Zündung gesendete Blöcke",
                            "blocs envoyés par l'unité", "bloky odeslané jednotkou"};
const Count4 CompareDiffCount{
    {"%1 differing parameter", "%1 unterschiedlicher Parameter", "%1 paramètre différent", "%1 rozdílný parametr"},
    {"%1 differing parameters", "%1 unterschiedliche Parameter", "%1 paramètres différents",
     "%1 rozdílné parametry"},
    {"%1 differing parameters", "%1 unterschiedliche Parameter", "%1 paramètres différents",
     "%1 rozdílných parametrů"}};
const Text4 CompareReplaying{"The unit is not compared during a replay; it can be once the replay has ended.",
                             "Während einer Wiedergabe wird die Zündung nicht verglichen; nach dem Ende der Wiedergabe ist es möglich.",
                             "L'unité n'est pas comparée pendant une relecture ; elle pourra l'être une fois la relecture terminée.",
                             "Během přehrávání se jednotka neporovnává; lze to po skončení přehrávání."};
const Text4 CompareOnlyFileBytes{"Only the parameters a file holds are compared.",
                                 "Nur die Parameter, die eine Datei enthält, werden verglichen.",
                                 "Seuls les paramètres contenus dans un fichier sont comparés.",
                                 "Porovnávají se jen parametry, které soubor obsahuje."};
const Text4 VerifyOffer{"Verify error: click the unit part of the status bar to see how the blocks the unit sent differ from the window.",
                        "Vergleichsfehler: Ein Klick auf den Zündungsteil der Statusleiste zeigt, wie sich die von der Zündung gesendeten Blöcke vom Fenster unterscheiden.",
                        "Erreur de vérification : cliquez sur la partie unité de la barre d'état pour voir en quoi les blocs envoyés par l'unité diffèrent de la fenêtre.",
                        "Chyba verifikace: klepnutím na část jednotky ve stavovém řádku uvidíte, čím se bloky odeslané jednotkou liší od okna."};
const Text4 VerifyOfferShort{"Verify error: click to see what the unit sent",
                             "Vergleichsfehler: Klick zeigt, was die Zündung sandte",
                             "erreur de vérification : cliquez pour voir ce que l'unité a envoyé",
                             "chyba verifikace: klepněte a uvidíte, co jednotka poslala"};
const Text4 VerifyNothingSent{"Verify error: the unit sent no block back, so there is nothing to compare.",
                              "Vergleichsfehler: Die Zündung hat keinen Block zurückgesendet, es gibt nichts zu vergleichen.",
                              "Erreur de vérification : l'unité n'a renvoyé aucun bloc, il n'y a rien à comparer.",
                              "Chyba verifikace: jednotka nevrátila žádný blok, není co porovnat."};
const Text4 VerifyNotSent{"Not sent by the unit, so not compared: %1.",
                          "Von der Zündung nicht gesendet und daher nicht verglichen: %1.",
                          "Non envoyé par l'unité, donc non comparé : %1.",
                          "Jednotka neodeslala, proto neporovnáno: %1."};
const Text4 BlockSettings{"the settings (block 1)", "die Einstellungen (Block 1)", "les réglages (bloc 1)",
                          "nastavení (blok 1)"};
const Text4 BlockMap{"the advance map (block 2)", "die Vorzündung Karte (Block 2)", "la carte d'avance (bloc 2)",
                     "mapa předstihu (blok 2)"};

}  // namespace vorn::htext
