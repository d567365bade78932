// The four-language text table of vorn4-cli.
#include "CliTexts.h"

#include "lang/Texts4.h"

#include <iterator>

namespace vorn::cli {

namespace {

int gLanguage = 0;

constexpr Text4 kTexts[] = {
    {"Reads, programs and checks a VORN-4 ignition unit and its *.ign files.",
     "Liest, programmiert und prüft ein VORN-4-Zündgerät und seine *.ign-Dateien.",
     "Lit, programme et contrôle un boîtier d'allumage VORN-4 et ses fichiers *.ign.",
     "Čte, programuje a kontroluje zapalovací jednotku VORN-4 a její soubory *.ign."},
    {"serial devices of this machine", "serielle Geräte dieses Rechners",
     "périphériques série de cette machine", "sériová zařízení tohoto počítače"},
    {"read the unit, write FILE", "Gerät auslesen, FILE schreiben", "lire le boîtier, écrire FILE",
     "přečíst jednotku, zapsat FILE"},
    {"program FILE into the unit and verify it", "FILE ins Gerät programmieren und prüfen",
     "programmer FILE dans le boîtier et le vérifier", "naprogramovat FILE do jednotky a ověřit"},
    {"compare the unit with FILE", "Gerät mit FILE vergleichen", "comparer le boîtier avec FILE",
     "ověřit jednotku proti souboru FILE"},
    {"every parameter of FILE by name", "jeder Parameter von FILE mit Namen",
     "chaque paramètre de FILE par son nom", "každý parametr souboru FILE podle jména"},
    {"the parameters that differ", "die abweichenden Parameter", "les paramètres qui diffèrent",
     "parametry, které se liší"},
    {"record live values into a CSV file", "Live-Werte in eine CSV-Datei aufzeichnen",
     "enregistrer les valeurs en direct dans un fichier CSV", "zaznamenat živé hodnoty do souboru CSV"},
    {"Options:\n"
     "  --port DEV     device path, or COMn as the window resolves it\n"
     "  --json         one JSON document on stdout instead of text\n"
     "  --lang LANG    en, de, fr or cz (default: from LANG, else en)\n"
     "Exit status: 0 success or equal, 1 differ or transfer error, 2 usage, file, version or port error.",
     "Optionen:\n"
     "  --port DEV     Gerätepfad, oder COMn wie im Fenster aufgelöst\n"
     "  --json         ein JSON-Dokument auf stdout statt Text\n"
     "  --lang LANG    en, de, fr oder cz (Vorgabe: aus LANG, sonst en)\n"
     "Rückgabewert: 0 Erfolg oder gleich, 1 verschieden oder Übertragungsfehler, 2 Aufruf-, Datei-, Versions- oder Portfehler.",
     "Options :\n"
     "  --port DEV     chemin du périphérique, ou COMn résolu comme dans la fenêtre\n"
     "  --json         un document JSON sur stdout au lieu du texte\n"
     "  --lang LANG    en, de, fr ou cz (par défaut : d'après LANG, sinon en)\n"
     "Code de sortie : 0 succès ou égal, 1 différent ou erreur de transfert, 2 erreur d'appel, de fichier, de version ou de port.",
     "Volby:\n"
     "  --port DEV     cesta k zařízení, nebo COMn přeložené jako v okně\n"
     "  --json         místo textu jeden dokument JSON na stdout\n"
     "  --lang LANG    en, de, fr nebo cz (výchozí: podle LANG, jinak en)\n"
     "Návratový kód: 0 úspěch nebo shoda, 1 rozdíl nebo chyba přenosu, 2 chyba volání, souboru, verze nebo portu."},
    {"  --seconds N    stop after N seconds (else on Ctrl+C)\n"
     "  --map FILE     find the active map cell in the map of FILE,\n"
     "                 and keep the tune of FILE beside the log",
     "  --seconds N    nach N Sekunden enden (sonst mit Strg+C)\n"
     "  --map FILE     aktive Kennfeldzelle im Kennfeld von FILE suchen\n"
     "                 und die Abstimmung von FILE neben dem Log ablegen",
     "  --seconds N    s'arrêter après N secondes (sinon par Ctrl+C)\n"
     "  --map FILE     chercher la case active dans la cartographie de FILE\n"
     "                 et garder le réglage de FILE à côté du journal",
     "  --seconds N    skončit po N sekundách (jinak Ctrl+C)\n"
     "  --map FILE     hledat aktivní buňku v mapě souboru FILE\n"
     "                 a uložit ladění ze souboru FILE vedle záznamu"},
    {"unknown command: %1", "unbekannter Befehl: %1", "commande inconnue : %1", "neznámý příkaz: %1"},
    {"unknown option: %1", "unbekannte Option: %1", "option inconnue : %1", "neznámá volba: %1"},
    {"%1 needs a value", "%1 braucht einen Wert", "%1 demande une valeur", "%1 potřebuje hodnotu"},
    {"%1: not a number: %2", "%1: keine Zahl: %2", "%1 : pas un nombre : %2", "%1: není číslo: %2"},
    {"wrong arguments for %1 (see vorn4-cli %1 --help)", "falsche Argumente für %1 (siehe vorn4-cli %1 --help)",
     "arguments incorrects pour %1 (voir vorn4-cli %1 --help)", "chybné argumenty pro %1 (viz vorn4-cli %1 --help)"},
    {"--port DEV is needed", "--port DEV wird benötigt", "--port DEV est nécessaire", "je třeba --port DEV"},
    {"cannot open the port: %1", "Port lässt sich nicht öffnen: %1", "impossible d'ouvrir le port : %1",
     "port nelze otevřít: %1"},
    {"cannot read %1: %2", "%1 nicht lesbar: %2", "impossible de lire %1 : %2", "nelze číst %1: %2"},
    {"cannot write %1", "%1 nicht schreibbar", "impossible d'écrire %1", "nelze zapsat %1"},
    {"%1: no key line: %2", "%1: keine Schlüsselzeile: %2", "%1 : pas de ligne clé : %2", "%1: chybí klíčový řádek: %2"},
    {"%1 written", "%1 geschrieben", "%1 écrit", "%1 zapsán"},
    {"the unit holds every parameter of %1", "das Gerät enthält jeden Parameter von %1",
     "le boîtier contient chaque paramètre de %1", "jednotka obsahuje každý parametr souboru %1"},
    {"the unit", "das Gerät", "le boîtier", "jednotka"},
    {"%1 and %2 hold the same parameters", "%1 und %2 enthalten dieselben Parameter",
     "%1 et %2 contiennent les mêmes paramètres", "%1 a %2 obsahují stejné parametry"},
    {"no serial devices", "keine seriellen Geräte", "aucun périphérique série", "žádná sériová zařízení"},
    {"you may open it", "Sie dürfen es öffnen", "vous pouvez l'ouvrir", "smíte ho otevřít"},
    {"you may not open it: it belongs to group %1", "Sie dürfen es nicht öffnen: es gehört der Gruppe %1",
     "vous ne pouvez pas l'ouvrir : il appartient au groupe %1", "nesmíte ho otevřít: patří skupině %1"},
    {"you are in group %1 from your next login", "Sie sind ab der nächsten Anmeldung in der Gruppe %1",
     "vous serez dans le groupe %1 à la prochaine connexion", "ve skupině %1 budete od příštího přihlášení"},
    {"interrupted; no file was changed", "abgebrochen; keine Datei wurde geändert",
     "interrompu ; aucun fichier n'a été modifié", "přerušeno; žádný soubor nebyl změněn"},
    {"the device is gone", "das Gerät ist weg", "le périphérique a disparu", "zařízení zmizelo"},
    {"no reply from the unit", "keine Antwort vom Gerät", "aucune réponse du boîtier", "žádná odpověď jednotky"},
    {"find the full-throttle pulls in logs and compare their torque per speed band",
     "Volllast-Durchzüge in Aufzeichnungen finden und ihr Drehmoment je Drehzahlband gegenüberstellen",
     "trouver les accélérations à pleins gaz dans des enregistrements et comparer leur couple par bande de régime",
     "najít v záznamech zátahy na plný plyn a porovnat jejich točivý moment po pásmech otáček"},
    {"  --band RPM           width of a speed band (default 1000)\n"
     "  --threshold PERCENT  full throttle from this throttle (default 90)\n"
     "  --average            one column per tune: the pulls of each tune averaged\n"
     "  --each               one column per pull (the text averages per tune beyond 8 pulls)\n"
     "Exit status: 0 pulls found, 1 none, 2 a log that cannot be read.",
     "  --band RPM           Breite eines Drehzahlbands (Vorgabe 1000)\n"
     "  --threshold PERCENT  Volllast ab dieser Drosselklappenstellung (Vorgabe 90)\n"
     "  --average            eine Spalte je Abstimmung: ihre Durchzüge gemittelt\n"
     "  --each               eine Spalte je Durchzug (der Text mittelt ab 9 Durchzügen je Abstimmung)\n"
     "Rückgabewert: 0 Durchzüge gefunden, 1 keine, 2 eine Aufzeichnung ist nicht lesbar.",
     "  --band RPM           largeur d'une bande de régime (par défaut 1000)\n"
     "  --threshold PERCENT  pleins gaz à partir de cette ouverture (par défaut 90)\n"
     "  --average            une colonne par réglage : ses accélérations en moyenne\n"
     "  --each               une colonne par accélération (au-delà de 8, le texte fait la moyenne par réglage)\n"
     "Code de sortie : 0 accélérations trouvées, 1 aucune, 2 un enregistrement illisible.",
     "  --band RPM           šířka pásma otáček (výchozí 1000)\n"
     "  --threshold PERCENT  plný plyn od tohoto otevření (výchozí 90)\n"
     "  --average            jeden sloupec za ladění: jeho zátahy zprůměrované\n"
     "  --each               jeden sloupec za zátah (nad 8 zátahů text průměruje po laděních)\n"
     "Návratový kód: 0 zátahy nalezeny, 1 žádný, 2 záznam nelze číst."},
    {"(out of range: the unit holds byte %1, the file byte %2)",
     "(außerhalb des Bereichs: das Gerät enthält Byte %1, die Datei Byte %2)",
     "(hors plage : le boîtier contient l'octet %1, le fichier l'octet %2)",
     "(mimo rozsah: jednotka obsahuje bajt %1, soubor bajt %2)"},
    {"no full-throttle pulls (throttle at or above %1 %, speed rising for 1.5 s)",
     "keine Volllast-Durchzüge (Drosselklappe ab %1 %, Drehzahl 1,5 s steigend)",
     "aucune accélération à pleins gaz (ouverture d'au moins %1 %, régime en hausse pendant 1,5 s)",
     "žádné zátahy na plný plyn (plyn alespoň %1 %, otáčky rostou 1,5 s)"},
    {"Pulls found: %1", "Gefundene Durchzüge: %1", "Accélérations trouvées : %1", "Nalezené zátahy: %1"},
    {"pull|log|start (s)|end (s)|speed (rpm)|tune|tune file",
     "Durchzug|Aufzeichnung|Beginn (s)|Ende (s)|Drehzahl (rpm)|Abstimmung|Abstimmungsdatei",
     "accélération|enregistrement|début (s)|fin (s)|régime (rpm)|réglage|fichier du réglage",
     "zátah|záznam|začátek (s)|konec (s)|otáčky (rpm)|ladění|soubor ladění"},
    {"no tune kept", "keine Abstimmung abgelegt", "aucun réglage conservé", "ladění neuloženo"},
    {"pull %1", "Durchzug %1", "accélération %1", "zátah %1"},
    {"The pulls of each tune averaged:", "Die Durchzüge jeder Abstimmung gemittelt:",
     "Les accélérations de chaque réglage en moyenne :", "Zátahy každého ladění zprůměrované:"},
    {"More than %1 pulls: the pulls of each tune averaged (--each shows every pull):",
     "Mehr als %1 Durchzüge: die Durchzüge jeder Abstimmung gemittelt (--each zeigt jeden Durchzug):",
     "Plus de %1 accélérations : celles de chaque réglage en moyenne (--each les montre toutes) :",
     "Více než %1 zátahů: zátahy každého ladění zprůměrované (--each ukáže každý zátah):"},
    {"tune|pulls", "Abstimmung|Durchzüge", "réglage|accélérations", "ladění|zátahy"},
    {"Relative torque (rpm/s) per speed band:", "Relatives Drehmoment (rpm/s) je Drehzahlband:",
     "Couple relatif (rpm/s) par bande de régime :", "Relativní točivý moment (rpm/s) po pásmech otáček:"},
    {"band (rpm)", "Band (rpm)", "bande (rpm)", "pásmo (rpm)"},
    {"Torque in % of %1:", "Drehmoment in % von %1:", "Couple en % de %1 :", "Točivý moment v % z %1:"},
    {"tunes and events of the archive whose labels, identification or free text contain TEXT\n"
     "      (case and accents aside), or a tune whose hash starts with TEXT (4 digits or more)",
     "Abstimmungen und Ereignisse des Archivs, deren Etiketten, Kennung oder freier Text TEXT enthalten\n"
     "      (Groß-/Kleinschreibung und Akzente zählen nicht), oder deren Hash mit TEXT beginnt (ab 4 Zeichen)",
     "réglages et événements de l'archive dont les étiquettes, l'identification ou le texte libre contiennent TEXT\n"
     "      (sans égard aux majuscules ni aux accents), ou dont le hachage commence par TEXT (4 caractères ou plus)",
     "ladění a události archivu, jejichž štítky, identifikace nebo volný text obsahují TEXT\n"
     "      (bez ohledu na velikost písmen a diakritiku), nebo jejichž hash začíná TEXT (alespoň 4 znaky)"},
    {"the events of a tune (or of what TEXT finds), oldest first, and the tunes it was made from",
     "die Ereignisse einer Abstimmung (oder dessen, was TEXT findet), älteste zuerst, und woraus sie entstand",
     "les événements d'un réglage (ou de ce que TEXT trouve), les plus anciens d'abord, et ses origines",
     "události ladění (nebo toho, co najde TEXT), nejstarší první, a z čeho vzniklo"},
    {"write a tune of the archive as FILE.ign", "eine Abstimmung des Archivs als FILE.ign schreiben",
     "écrire un réglage de l'archive dans FILE.ign", "zapsat ladění z archivu jako FILE.ign"},
    {"send the server what it has not seen (0: nothing left waiting, 1: server not reachable)",
     "dem Server senden, was er noch nicht hat (0: nichts wartet mehr, 1: Server nicht erreichbar)",
     "envoyer au serveur ce qu'il n'a pas vu (0 : plus rien en attente, 1 : serveur injoignable)",
     "poslat serveru, co ještě nemá (0: nic nečeká, 1: server nedostupný)"},
    {"  --archive URL|FILE  the archive: postgresql://user@host[:port]/database or an SQLite file\n"
     "                      (default: [ARCHIVE] Server of vorn4.ini, else archive.sqlite in the settings folder)",
     "  --archive URL|FILE  das Archiv: postgresql://benutzer@host[:port]/datenbank oder eine SQLite-Datei\n"
     "                      (Vorgabe: [ARCHIVE] Server in vorn4.ini, sonst archive.sqlite im Einstellungsordner)",
     "  --archive URL|FILE  l'archive : postgresql://utilisateur@hôte[:port]/base ou un fichier SQLite\n"
     "                      (par défaut : [ARCHIVE] Server de vorn4.ini, sinon archive.sqlite du dossier des réglages)",
     "  --archive URL|FILE  archiv: postgresql://uživatel@počítač[:port]/databáze nebo soubor SQLite\n"
     "                      (výchozí: [ARCHIVE] Server ve vorn4.ini, jinak archive.sqlite ve složce nastavení)"},
    {"nothing in the archive matches %1", "nichts im Archiv passt zu %1", "rien dans l'archive ne correspond à %1",
     "v archivu nic neodpovídá %1"},
    {"%1: no such tune in the archive", "%1: keine solche Abstimmung im Archiv", "%1 : aucun réglage de ce nom dans l'archive",
     "%1: takové ladění v archivu není"},
    {"%1: several tunes start with this; give more of the hash",
     "%1: mehrere Abstimmungen beginnen so; mehr vom Hash angeben",
     "%1 : plusieurs réglages commencent ainsi ; donnez davantage du hachage",
     "%1: takto začíná více ladění; zadejte delší část hashe"},
    {"no archive server is set (--archive postgresql://... or [ARCHIVE] Server in vorn4.ini)",
     "kein Archivserver eingestellt (--archive postgresql://... oder [ARCHIVE] Server in vorn4.ini)",
     "aucun serveur d'archive n'est réglé (--archive postgresql://... ou [ARCHIVE] Server dans vorn4.ini)",
     "není nastaven server archivu (--archive postgresql://... nebo [ARCHIVE] Server ve vorn4.ini)"},
    {"sent %1, received %2, waiting %3", "gesendet %1, empfangen %2, wartend %3", "envoyés %1, reçus %2, en attente %3",
     "odesláno %1, přijato %2, čeká %3"},
    {"events, oldest first:", "Ereignisse, älteste zuerst:", "événements, les plus anciens d'abord :",
     "události, nejstarší první:"},
    {"made from:", "entstanden aus:", "fait à partir de :", "vzniklo z:"},
    {"made into:", "daraus entstanden:", "a donné :", "vzniklo z něj:"},
    {"tunes:", "Abstimmungen:", "réglages :", "ladění:"},
    {"events, newest first:", "Ereignisse, neueste zuerst:", "événements, les plus récents d'abord :",
     "události, nejnovější první:"},
    {"(only the newest %1 shown)", "(nur die neuesten %1 gezeigt)", "(seuls les %1 plus récents sont affichés)",
     "(zobrazeno jen nejnovějších %1)"},
    {"the unit's answers disagree; nothing was written",
     "die Antworten des Geräts stimmen nicht überein; nichts wurde geschrieben",
     "les réponses du boîtier ne concordent pas ; rien n'a été écrit",
     "odpovědi jednotky se neshodují; nic nebylo zapsáno"},
    {"the unit's answers disagree; nothing was compared",
     "die Antworten des Geräts stimmen nicht überein; nichts wurde verglichen",
     "les réponses du boîtier ne concordent pas ; rien n'a été comparé",
     "odpovědi jednotky se neshodují; nic nebylo ověřeno"},
    {"the unit is unchanged", "das Gerät ist unverändert", "le boîtier est inchangé", "jednotka je beze změny"},
    {"attach labels to a tune (an empty T removes one; exit status 2 for a tune that is not there)",
     "einer Abstimmung Etiketten geben (ein leeres T entfernt eines; Rückgabewert 2 für eine Abstimmung, die es nicht gibt)",
     "attacher des étiquettes à un réglage (un T vide en retire une ; code de sortie 2 pour un réglage absent)",
     "připojit k ladění štítky (prázdné T štítek odebere; návratový kód 2 pro ladění, které v archivu není)"},
    {"labels of tune %1: %2", "Etiketten der Abstimmung %1: %2", "étiquettes du réglage %1 : %2", "štítky ladění %1: %2"},
    {"none", "keine", "aucune", "žádné"},
    {"archive server not reachable; answered from this bench's archive",
     "Archivserver nicht erreichbar; Antwort aus dem Archiv dieses Prüfstands",
     "serveur d'archive injoignable ; réponse tirée de l'archive de ce banc",
     "server archivu není dostupný; odpověď z archivu tohoto pracoviště"},
    {"write the variants of one map row for the advance finder",
     "die Varianten einer Kennfeldzeile für die Zündwinkelsuche schreiben",
     "écrire les variantes d'une ligne de la cartographie pour la recherche d'avance",
     "zapsat varianty jednoho řádku mapy pro hledání předstihu"},
    {"program each variant when the throttle is shut, record N pulls on each, put the base back, analyse",
     "jede Variante bei geschlossenem Gas programmieren, je N Durchzüge aufzeichnen, die Basis zurückspielen, auswerten",
     "programmer chaque variante gaz fermés, enregistrer N accélérations sur chacune, remettre la base, analyser",
     "naprogramovat každou variantu při zavřeném plynu, zaznamenat na každé N zátahů, vrátit základ, vyhodnotit"},
    {"the best advance of each cell of a row from the pulls in logs, and a proposal",
     "den besten Zündwinkel jeder Zelle einer Zeile aus den Durchzügen in Logs, und einen Vorschlag",
     "la meilleure avance de chaque case d'une ligne d'après les accélérations des journaux, et une proposition",
     "nejlepší předstih každé buňky řádku ze zátahů v záznamech, a návrh"},
    {"  --row PERCENT          the throttle row (default 100)\n"
     "  --step DEG             degrees between variants (default 5)\n"
     "  --variants 3|5         variants per round (default 3)\n"
     "  --pulls N              pulls recorded on each variant (default 3)\n"
     "  --rounds 1|2           a second round lies around the first one's answer (default 1)\n"
     "  --ceiling FILE.ign     the highest advance allowed: the same row of FILE\n"
     "  --ceiling-offset DEG   or the base map plus DEG (default 4)\n"
     "  --propose BASE OUT     write BASE with only the row's decided cells changed to OUT\n"
     "The unit cannot sense knock: set the ceiling below the engine's knock limit. Nothing is planned\n"
     "or proposed above it, and only you program a proposal.\n"
     "Exit status: 0 a cell decided, 1 none, 2 bad input.",
     "  --row PROZENT          die Gaszeile (Vorgabe 100)\n"
     "  --step GRAD            Grad zwischen den Varianten (Vorgabe 5)\n"
     "  --variants 3|5         Varianten je Runde (Vorgabe 3)\n"
     "  --pulls N              aufgezeichnete Durchzüge je Variante (Vorgabe 3)\n"
     "  --rounds 1|2           eine zweite Runde liegt um die Antwort der ersten (Vorgabe 1)\n"
     "  --ceiling DATEI.ign    der höchste erlaubte Zündwinkel: dieselbe Zeile von DATEI\n"
     "  --ceiling-offset GRAD  oder das Basiskennfeld plus GRAD (Vorgabe 4)\n"
     "  --propose BASIS AUS    BASIS mit nur den entschiedenen Zellen der Zeile geändert nach AUS schreiben\n"
     "Das Gerät erkennt kein Klopfen: legen Sie die Obergrenze unter die Klopfgrenze des Motors. Darüber wird\n"
     "nichts geplant oder vorgeschlagen, und einen Vorschlag programmieren nur Sie.\n"
     "Rückgabewert: 0 eine Zelle entschieden, 1 keine, 2 fehlerhafte Eingabe.",
     "  --row POURCENT         la ligne des gaz (par défaut 100)\n"
     "  --step DEG             degrés entre les variantes (par défaut 5)\n"
     "  --variants 3|5         variantes par tour (par défaut 3)\n"
     "  --pulls N              accélérations enregistrées sur chaque variante (par défaut 3)\n"
     "  --rounds 1|2           un second tour se place autour de la réponse du premier (par défaut 1)\n"
     "  --ceiling FICHIER.ign  l'avance la plus haute permise : la même ligne de FICHIER\n"
     "  --ceiling-offset DEG   ou la cartographie de base plus DEG (par défaut 4)\n"
     "  --propose BASE SORTIE  écrire BASE avec seulement les cases décidées de la ligne changées dans SORTIE\n"
     "Le boîtier ne détecte pas le cliquetis : placez le plafond sous la limite de cliquetis du moteur. Rien\n"
     "n'est prévu ni proposé au-dessus, et vous seul programmez une proposition.\n"
     "Code de sortie : 0 une case décidée, 1 aucune, 2 entrée incorrecte.",
     "  --row PROCENTA         řádek plynu (výchozí 100)\n"
     "  --step STUPNĚ          stupně mezi variantami (výchozí 5)\n"
     "  --variants 3|5         variant v kole (výchozí 3)\n"
     "  --pulls N              zaznamenaných zátahů na každé variantě (výchozí 3)\n"
     "  --rounds 1|2           druhé kolo leží kolem odpovědi prvního (výchozí 1)\n"
     "  --ceiling SOUBOR.ign   nejvyšší povolený předstih: tentýž řádek souboru SOUBOR\n"
     "  --ceiling-offset STUPNĚ nebo základní mapa plus STUPNĚ (výchozí 4)\n"
     "  --propose ZÁKLAD VÝSTUP zapsat ZÁKLAD jen se změněnými rozhodnutými buňkami řádku do VÝSTUP\n"
     "Jednotka nepozná klepání: nastavte strop pod mez klepání motoru. Nad ním se nic neplánuje ani\n"
     "nenavrhuje a návrh programujete jen vy.\n"
     "Návratový kód: 0 rozhodnuta některá buňka, 1 žádná, 2 chybný vstup."},
    {"%1 variants of the %2 % row written to %3:", "%1 Varianten der %2-%-Zeile nach %3 geschrieben:",
     "%1 variantes de la ligne %2 % écrites dans %3 :", "%1 varianty řádku %2 % zapsány do %3:"},
    {"  %1  %2°", "  %1  %2°", "  %1  %2°", "  %1  %2°"},
    {"column|rpm|tried: advance torque (pulls)|best|interval|bracketed|proposed",
     "Spalte|U/min|versucht: Zündwinkel Drehmoment (Durchzüge)|bester|Intervall|eingeschlossen|Vorschlag",
     "colonne|tr/min|essayé : avance couple (accélérations)|meilleure|intervalle|encadrée|proposée",
     "sloupec|ot/min|zkoušeno: předstih moment (zátahy)|nejlepší|interval|obklopen|návrh"},
    {"Best advance per cell of the %1 % row, from %2 pulls:", "Bester Zündwinkel je Zelle der %1-%-Zeile, aus %2 Durchzügen:",
     "Meilleure avance par case de la ligne %1 %, d'après %2 accélérations :",
     "Nejlepší předstih po buňkách řádku %1 %, z %2 zátahů:"},
    {"no pull reached it", "kein Durchzug erreichte sie", "aucune accélération ne l'atteint", "nedosáhl jí žádný zátah"},
    {"fewer than three advances tried", "weniger als drei Zündwinkel versucht", "moins de trois avances essayées",
     "zkoušeny méně než tři předstihy"},
    {"too few pulls", "zu wenige Durchzüge", "trop peu d'accélérations", "příliš málo zátahů"},
    {"the torque does not fall off on either side", "das Drehmoment fällt auf keiner Seite ab",
     "le couple ne baisse d'aucun côté", "moment neklesá na žádné straně"},
    {"the pulls began in it: start them below it", "die Durchzüge begannen in ihr: darunter beginnen",
     "les accélérations y commencent : partez plus bas", "zátahy v ní začínaly: začněte pod ní"},
    {"at the ceiling", "an der Obergrenze", "au plafond", "na stropu"},
    {"one step beyond the tried", "einen Schritt über den versuchten", "un pas au-delà des essayées",
     "o krok za zkoušenými"},
    {"yes", "ja", "oui", "ano"},
    {"no", "nein", "non", "ne"},
    {"no cell decided: %1", "keine Zelle entschieden: %1", "aucune case décidée : %1", "žádná buňka nerozhodnuta: %1"},
    {"the ceiling's offset counts over a base map: give --propose BASE.ign OUT.ign or keep the tune beside the log",
     "der Abstand der Obergrenze zählt über einem Basiskennfeld: --propose BASIS.ign AUS.ign angeben oder die Abstimmung neben dem Log ablegen",
     "l'écart du plafond compte au-dessus d'une cartographie de base : donnez --propose BASE.ign SORTIE.ign ou gardez le réglage à côté du journal",
     "odstup stropu se počítá nad základní mapou: zadejte --propose ZÁKLAD.ign VÝSTUP.ign nebo nechte ladění vedle záznamu"},
    {"--row: not a throttle row of the map: %1", "--row: keine Gaszeile des Kennfelds: %1",
     "--row : pas une ligne de gaz de la cartographie : %1", "--row: není řádek plynu mapy: %1"},
    {"round %1 of %2, variant %3 of %4: shut the throttle to program it",
     "Runde %1 von %2, Variante %3 von %4: zum Programmieren Gas schließen",
     "tour %1 sur %2, variante %3 sur %4 : fermez les gaz pour la programmer",
     "kolo %1 z %2, varianta %3 z %4: pro naprogramování zavřete plyn"},
    {"round %1 of %2, variant %3 of %4, pull %5 of %6", "Runde %1 von %2, Variante %3 von %4, Durchzug %5 von %6",
     "tour %1 sur %2, variante %3 sur %4, accélération %5 sur %6", "kolo %1 z %2, varianta %3 z %4, zátah %5 z %6"},
    {"programming the base map back", "das Basiskennfeld wird zurückprogrammiert", "reprogrammation de la cartographie de base",
     "programuje se zpět základní mapa"},
    {"programming failed: %1", "Programmieren fehlgeschlagen: %1", "échec de la programmation : %1", "programování selhalo: %1"},
    {"interrupted; the unit may still hold a variant: program %1 back",
     "abgebrochen; das Gerät enthält womöglich noch eine Variante: %1 zurückprogrammieren",
     "interrompu ; le boîtier contient peut-être encore une variante : reprogrammez %1",
     "přerušeno; jednotka může stále obsahovat variantu: naprogramujte zpět %1"},
};

constexpr Count4 kCounted[] = {
    {{"%1 parameter differs (%2 → %3):", "%1 Parameter weicht ab (%2 → %3):", "%1 paramètre diffère (%2 → %3) :",
      "liší se %1 parametr (%2 → %3):"},
     {"%1 parameters differ (%2 → %3):", "%1 Parameter weichen ab (%2 → %3):", "%1 paramètres diffèrent (%2 → %3) :",
      "liší se %1 parametry (%2 → %3):"},
     {"%1 parameters differ (%2 → %3):", "%1 Parameter weichen ab (%2 → %3):", "%1 paramètres diffèrent (%2 → %3) :",
      "liší se %1 parametrů (%2 → %3):"}},
    {{"%1 row written to %2", "%1 Zeile in %2 geschrieben", "%1 ligne écrite dans %2", "%1 řádek zapsán do %2"},
     {"%1 rows written to %2", "%1 Zeilen in %2 geschrieben", "%1 lignes écrites dans %2", "%1 řádky zapsány do %2"},
     {"%1 rows written to %2", "%1 Zeilen in %2 geschrieben", "%1 lignes écrites dans %2", "%1 řádků zapsáno do %2"}},
    {{"cannot write %2 (%3); the log ends here and keeps its %1 row",
      "%2 nicht schreibbar (%3); das Log endet hier und behält seine %1 Zeile",
      "impossible d'écrire %2 (%3) ; le journal s'arrête ici et garde sa %1 ligne",
      "nelze zapsat %2 (%3); záznam zde končí a ponechává si %1 řádek"},
     {"cannot write %2 (%3); the log ends here and keeps its %1 rows",
      "%2 nicht schreibbar (%3); das Log endet hier und behält seine %1 Zeilen",
      "impossible d'écrire %2 (%3) ; le journal s'arrête ici et garde ses %1 lignes",
      "nelze zapsat %2 (%3); záznam zde končí a ponechává si %1 řádky"},
     {"cannot write %2 (%3); the log ends here and keeps its %1 rows",
      "%2 nicht schreibbar (%3); das Log endet hier und behält seine %1 Zeilen",
      "impossible d'écrire %2 (%3) ; le journal s'arrête ici et garde ses %1 lignes",
      "nelze zapsat %2 (%3); záznam zde končí a ponechává si %1 řádků"}},
    {{"the unit may hold a partial image: block %1 written",
      "das Gerät enthält womöglich ein unvollständiges Abbild: Block %1 geschrieben",
      "le boîtier contient peut-être une image partielle : bloc %1 écrit",
      "jednotka může obsahovat částečný obraz: zapsán blok %1"},
     {"the unit may hold a partial image: blocks %1 written",
      "das Gerät enthält womöglich ein unvollständiges Abbild: Blöcke %1 geschrieben",
      "le boîtier contient peut-être une image partielle : blocs %1 écrits",
      "jednotka může obsahovat částečný obraz: zapsány bloky %1"},
     {"the unit may hold a partial image: blocks %1 written",
      "das Gerät enthält womöglich ein unvollständiges Abbild: Blöcke %1 geschrieben",
      "le boîtier contient peut-être une image partielle : blocs %1 écrits",
      "jednotka může obsahovat částečný obraz: zapsáno bloků %1"}},
};
static_assert(std::size(kCounted) == static_cast<std::size_t>(N::Count));
// One entry per text, in the order of T; a missing one would shift every later text.
static_assert(std::size(kTexts) == static_cast<std::size_t>(T::Count));

}  // namespace

void setLanguage(int language) { gLanguage = language >= 0 && language < kLanguageCount ? language : 0; }

int language() { return gLanguage; }

int languageFromOption(const QString &value)
{
    static const char *const kCodes[] = {"en", "de", "fr", "cz"};
    for (int i = 0; i < kLanguageCount; ++i)
        if (value.compare(QLatin1String(kCodes[i]), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int languageFromEnvironment()
{
    const QByteArray lang = qgetenv("LANG").toLower();
    if (lang.startsWith("de"))
        return 1;
    if (lang.startsWith("fr"))
        return 2;
    if (lang.startsWith("cs") || lang.startsWith("cz"))
        return 3;
    return 0;
}

QString text(T t) { return text4(kTexts[static_cast<int>(t)], gLanguage); }

QString counted(N t, long long n) { return countText(kCounted[static_cast<int>(t)], n, gLanguage); }

QString countedForm(N t, long long n) { return text4(countForm(kCounted[static_cast<int>(t)], n, gLanguage), gLanguage); }

QString message(Msg m) { return messageText(m, gLanguage); }

}  // namespace vorn::cli
