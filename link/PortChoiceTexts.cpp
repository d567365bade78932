// Texts of the port chooser in the four languages.
#include "PortChoiceTexts.h"

namespace vorn::porttext {

const Text4 MenuPortSettings{"Port settings...", "Porteinstellungen...", "Réglages des ports...", "Nastavení portů..."};
const Text4 DialogTitle{"Port settings", "Porteinstellungen", "Réglages des ports", "Nastavení portů"};
const Text4 Intro{"Choose a Com number, then the device it shall use, and press the button below. "
                  "The stable name under /dev/serial/by-id stays the same each time the adapter is plugged in.",
                  "Wählen Sie eine Com-Nummer, dann das Gerät dafür, und drücken Sie die Schaltfläche unten. "
                  "Der feste Name unter /dev/serial/by-id bleibt bei jedem Einstecken des Adapters gleich.",
                  "Choisissez un numéro Com, puis le périphérique qu'il doit utiliser, et appuyez sur le bouton "
                  "ci-dessous. Le nom stable sous /dev/serial/by-id reste le même à chaque branchement de l'adaptateur.",
                  "Vyberte číslo Com, potom zařízení, které má používat, a stiskněte tlačítko dole. "
                  "Stálé jméno v /dev/serial/by-id zůstává stejné při každém připojení převodníku."};
const Text4 PortsTitle{"Com numbers", "Com-Nummern", "Numéros Com", "Čísla Com"};
const Text4 DevicesTitle{"Serial devices of this computer", "Serielle Geräte dieses Rechners",
                         "Périphériques série de cet ordinateur", "Sériová zařízení tohoto počítače"};
const Text4 DeviceLabel{"Device:", "Gerät:", "Périphérique :", "Zařízení:"};
const Text4 UseFor{"Use for Com %1", "Für Com %1 verwenden", "Utiliser pour Com %1", "Použít pro Com %1"};
const Text4 UseForNone{"Use for Com ...", "Für Com ... verwenden", "Utiliser pour Com ...", "Použít pro Com ..."};
const Text4 Close{"Close", "Schließen", "Fermer", "Zavřít"};

const Text4 HeaderPort{"Port", "Anschluss", "Port", "Port"};
const Text4 HeaderSetTo{"Set to", "Eingestellt", "Réglé sur", "Nastaveno"};
const Text4 HeaderLeadsTo{"Device now", "Gerät jetzt", "Périphérique actuel", "Zařízení nyní"};
const Text4 Default{"%1 (default)", "%1 (Vorgabe)", "%1 (par défaut)", "%1 (výchozí)"};
const Text4 NoSuchDevice{"no such device", "kein solches Gerät", "aucun périphérique", "žádné takové zařízení"};
const Text4 NoPortThere{"the system reports no port there", "das System meldet dort keinen Anschluss",
                        "le système n'y signale aucun port", "systém tam nehlásí žádný port"};

const Text4 HeaderDevice{"Device", "Gerät", "Périphérique", "Zařízení"};
const Text4 HeaderStableName{"Stable name", "Fester Name", "Nom stable", "Stálé jméno"};
const Text4 HeaderUsb{"USB", "USB", "USB", "USB"};
const Text4 HeaderSerial{"Serial number", "Seriennummer", "Numéro de série", "Sériové číslo"};
const Text4 HeaderDescription{"Description", "Beschreibung", "Description", "Popis"};
const Text4 HeaderAccess{"May open", "Zugriff", "Accès", "Přístup"};
const Text4 HeaderUsedBy{"Used by", "Verwendet von", "Utilisé par", "Používá"};
const Text4 AccessYes{"yes", "ja", "oui", "ano"};
const Text4 AccessNotInGroup{"no: group %1, you are not in it", "nein: Gruppe %1, Sie sind nicht Mitglied",
                             "non : groupe %1, vous n'en êtes pas membre", "ne: skupina %1, nejste v ní"};
const Text4 AccessNextLogin{"no: group %1, yours from the next login", "nein: Gruppe %1, gilt ab der nächsten Anmeldung",
                            "non : groupe %1, effectif à la prochaine connexion",
                            "ne: skupina %1, platí od příštího přihlášení"};
const Text4 AccessDenied{"no (group %1)", "nein (Gruppe %1)", "non (groupe %1)", "ne (skupina %1)"};
const Text4 AccessMissing{"not there", "nicht vorhanden", "absent", "není připojeno"};

const Text4 NoComNumber{"There is no Com port of that number.", "Einen Com-Anschluss dieser Nummer gibt es nicht.",
                        "Il n'y a pas de port Com de ce numéro.", "Port Com s tímto číslem neexistuje."};
const Text4 NoDevicePath{"Choose a device first.", "Wählen Sie zuerst ein Gerät.", "Choisissez d'abord un périphérique.",
                         "Nejprve vyberte zařízení."};
const Text4 NotReadWhole{"The settings file %1 could not be read whole; it is left as it is.",
                         "Die Einstellungsdatei %1 ließ sich nicht ganz lesen; sie bleibt unverändert.",
                         "Le fichier de réglages %1 n'a pas pu être lu en entier ; il reste tel quel.",
                         "Soubor nastavení %1 nelze přečíst celý; zůstává beze změny."};
const Text4 NotWritten{"The settings file %1 could not be written.",
                       "Die Einstellungsdatei %1 ließ sich nicht schreiben.",
                       "Le fichier de réglages %1 n'a pas pu être écrit.", "Soubor nastavení %1 nelze zapsat."};

// The way out comes first: the status bar cuts a long hint off at its right end.
const Text4 Hint{"Com %3 leads to no device. Choose the USB adapter with Com, Port settings...: %1 (%2)",
                 "Com %3 führt zu keinem Gerät. Wählen Sie den USB-Adapter unter COM-Anschluß, "
                 "Porteinstellungen...: %1 (%2)",
                 "Com %3 ne mène à aucun périphérique. Choisissez l'adaptateur USB dans Connection com, "
                 "Réglages des ports... : %1 (%2)",
                 "Com %3 nevede k žádnému zařízení. Převodník USB vyberte v menu Port, Nastavení portů...: %1 (%2)"};

const Text4 HintPart{"Com %1: no device, an adapter is plugged in", "Com %1: kein Gerät, ein Adapter steckt",
                     "Com %1 : aucun périphérique, un adaptateur est branché",
                     "Com %1: žádné zařízení, převodník je připojen"};

}  // namespace vorn::porttext
