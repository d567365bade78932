// The caption catalogue's tables in English, German, French and Czech, expanded to one row per control.
#include "Jazyk1.h"

#include <QStringList>

#include <iterator>

namespace vorn {
namespace {

using Texts = std::array<const char *, kLanguageCount>;

constexpr Texts same(const char *text)
{
    return {text, text, text, text};
}

// Several controls, separated by spaces, may share a row (a toolbar button and its menu
// item show the same text).
struct Row {
    const char *controls;
    Texts text;
};

struct ListRow {
    const char *control;
    int entry;   // position in the list, from 0
    Texts text;
};

// A numbered family of controls: the name pattern takes the number for %1; the text is the
// stem, followed by a space and the number when numbered is set.
struct FamilyRow {
    const char *pattern;
    int first, last;
    bool numbered;
    Texts stem;
};

// The window title and LabelSpojeni lead, as they are written first.
constexpr Row kCaptions[] = {
    {"FormHlav",
     {"Programming of VORN-4 unit",
      "Programmierung der VORN-4 Zündbox",
      "Programation de VORN-4 unité",
      "Programování jednotky VORN-4"}},
    {"LabelSpojeni",
     {"No connection with PC", "Keine Verbindung zum PC", "Pas de connection acec pc", "Není spojení s PC"}},
    {"MenuFile", {"&File", "&Datei", "&Fichier", "&Soubor"}},
    {"MenuNew", {"&New", "&Neu", "&Nouveau", "&Nový"}},
    {"MenuOpen", {"&Open", "&Öffnen", "&Ouvrir", "&Otevřít"}},
    {"MenuSave", {"&Save", "&Speichern", "&Mèmoriser", "&Uložit"}},
    {"MenuPrint", {"&Print", "&Drucken", "&Imprimer", "&Tisk"}},
    {"MenuPrintAll", {"Print all", "Drucken alles", "&Imprimer tout", "Tisk vše"}},
    {"MenuExit", {"E&xit", "&Beenden", "&Sortir", "&Konec"}},
    {"MenuCom", {"&Com", "&COM-Anschluß", "&Connection com", "&Port"}},
    {"MenuDevice", {"&Ignition", "&Zündung", "&Allumage", "&Zapalování"}},
    {"MenuRead ButtonRead", {"&Read", "&Lesen", "&Lire", "Čí&st"}},
    {"MenuVerify BitBtnVerify", {"&Verify", "&Vergleichen", "&Verifier", "&Verifikace"}},
    {"MenuProgram BitBtnProgram", {"&Program", "&Programmieren", "&Programer", "&Programovat"}},
    {"MenuTools", {"Tools", "Werkzeuge", "Outillage", "Pomůcky"}},
    {"MenuLanguage", {"&Language", "&Sprache", "&Langue", "&Jazyk"}},
    {"MenuEnglish", {"&English", "Englisch", "&Englais", "&Anglicky"}},
    {"MenuCzech", {"&Czech", "&Tschechisch", "&Tchèque", "Če&sky"}},
    {"MenuGerman", {"&German", "&Deutsch", "&Allemand", "&Německy"}},
    {"MenuFrench", {"&French", "&Französisch", "&Francais", "Francouzky"}},
    {"MenuHelp", {"&Help", "&Hilfe", "&Aide", "Nápověda"}},
    {"MenuContens", {"&Contents...", "&Inhalt...", "&Contenu", "Obsah"}},
    {"MenuAbout", {"&About...", "&Über Programm...", "&Contenu du programme", "&O programu..."}},
    {"TabSheetRuzne", {"Miscellaneous", "Verschiedene", "&Divergeant", "Různé"}},
    {"TabSheetBike", {"Bike", "Mottorad", "&Motocycle", "Motocykl"}},
    {"TabSheetAdvance", {"Advance Map", "Vorzündung Karte", "&Avance carte", "Mapa předstihu"}},
    {"TabSheetServo", {"Servo", "Servo", "Servo", "Servo"}},
    {"GroupBoxPrivera", {"Servo", "Servo", "Servo", "Servo"}},
    {"GroupBoxSpecial",
     {"Specification of synchronization - Caution - For experienced user only!",
      "Spezifikation der Synchronisierung - Achtung - Nur für Erfahrungsanwender!",
      "Specification of synchronization - Caution - For experienced user only!",
      "Popis synchronizace - Pozor - pouze pro zkušené uživatele!"}},
    {"GroupBoxRpm", {"Tachometer output", "Drehzählerausgang", "Tachometer output", "Výstup pro otáčkoměr"}},
    {"GroupBoxAkt",
     {"Activation by Switch on",
      "Aktivation durch Schaltung",
      "Activation by Switch on",
      "Aktivace sepnutím"}},
    {"LabelBike", {"Motorbike type", "Mottorad Type", "&Motocycle type", "Typ motocyklu"}},
    {"LabelSynchro",
     {"Synchronization method",
      "Synchronisierung Methode",
      "Synchronization method",
      "Způsob synchronizace"}},
    {"LabelPocPalcu", {"Number of lobes", "Leitstücknanzahl", "Number of lobes", "Počet výstupků"}},
    {"LabelPocKanalu",
     {"Number of outputs (coils)",
      "Ausgangsanzahl (Spulen)",
      "Number of outputs (coils)",
      "Počet výstupů (cívek)"}},
    {"LabelLobe", {"Lobe", "Leitstück", "Lobe", "Výstupek"}},
    {"LabelHrana2", {"2nd Edge", "2. Kante", "2nd Edge", "2. Hrana"}},
    {"LabelSnimac2", {"2nd Pick-up", "2. Geber", "2nd Pick-up", "2. Snímač"}},
    {"LabelPocSynchro",
     {"Revolutions without ignition",
      "Umdrehungen ohne Zündung",
      "Revolutions without ignition",
      "Počet otáček bez zápalu"}},
    {"CheckBoxInvInput",
     {"Inverse polarity of pick-up",
      "Umgekehrte Eingang",
      "Inverse polarity of pick-up",
      "Opačná polarita snímače"}},
    {"LabelKompenz1", {"Compensation 1", "Kompensation 1", "Compensation 1", "Kompenzace 1"}},
    {"LabelKompenz2", {"Compensation 2", "Kompensation 2", "Compensation 2", "Kompenzace 2"}},
    {"LabelRpmPulsu",
     {"Pulses per revolution", "Pulse pro Umdrehung", "Pulses per revolution", "Počet pulsů za otáčku"}},
    {"LabelRpmKorekce", {"Correction [%]", "Korrektion [%]", "Correction [%]", "Korekce [%]"}},
    {"CheckBoxAktBlok1", {"Blocking 1", "Blockierung 1", "Blocking 1", "Blokování 1"}},
    {"CheckBoxBuzDlouhe", {"Excitation Long", "Anfachung lange", "Excitation Long", "Buzení dlouhé"}},
    {"LabelServoHyster",
     {"Servo Hysteresis [mV]", "Servo Hysteresis [mV]", "Servo Hysteresis [mV]", "Hystereze serva [mV]"}},
    {"CheckBoxPrivEnable", {"Servo enable", "Servo ein", "Servo enable", "Servo zapnuto"}},
    {"CheckBoxIgnAll CheckBoxServoAll", {"All", "Alles", "Tout", "Vše"}},
    {"CheckBoxProgHned",
     {"Programming after change",
      "Programmierung nach Änderung",
      "Sovegarde après modification",
      "Programování po změně"}},
    {"LabelOmez2", {"Limiter [rpm]", "Begrenzer [rpm]", "Limitateur [rpm]", "Omezovač [rpm]"}},
    {"LabelPilotLight",
     {"Gear Shift Light [rpm]", "Schaltblitz [rpm]", "Retard à l´allumage [rpm]", "Kontrolka řazení [rpm]"}},
    {"LabelClutchTime",
     {"Clutch master time [ms]",
      "Clutch master Zeit [ms]",
      "Clutch master time [ms]",
      "Clutch master čas [ms]"}},
    {"LabelClutchPause",
     {"Clutch master pause [ms]",
      "Clutch master Pause [ms]",
      "Clutch master pause [ms]",
      "Clutch master pauza [ms]"}},
    {"LabelBaseAdv",
     {"Base advance [°]", "Basis Vorzündung [°]", "Avance de base [°]", "Základní předstih [°]"}},
    {"LabelFile1", {"File:", "Datei:", "Fichier:", "Soubor:"}},
    // Live labels while the monitor has not written them.
    {"LabelAdvance1 LabelAdvance2", {"Advance [°]", "Vorzündung [°]", "Avance [°]", "Předstih [°]"}},
};

constexpr FamilyRow kCaptionFamilies[] = {
    {"GroupBoxPalec%1", 1, 4, true, {"Channel", "Kanal", "Channel", "Kanál"}},
    {"LabelPalec%1Zac", 1, 4, false, {"Maximum advance", "Maximal Vorzündung", "Maximum advance", "Maximální předstih"}},
    {"LabelPalec%1End", 1, 4, false, {"Start advance", "Start Vorzündung", "Start advance", "Startovací předstih"}},
};

// Only these entries are translated; the bike models keep their names in every language.
constexpr ListRow kListEntries[] = {
    {"ComboBoxBike", 9,
     {"Classic (1 lobe, 1 or 2 pick-up) ",
      "Klassisch (1 Leitstück, 1 oder 2 Geber)",
      "Classique (1 lobe, 1 or 2 pick-up) ",
      "Klasika (1 výstupek, 1 nebo 2 snimače)"}},
    {"ComboBoxBike", 26, {"Special setting", "Sonderstellung", "Spécial ajustage", "Speciální nastavení"}},
    {"ComboBoxSynchro", 0,
     {"1 lobe, 1 or 2 pick-up",
      "1 Leitstück, 1 oder 2 Geber",
      "1 lobe, 1 or 2 pick-up",
      "1 výstupek, 1 nebo 2 snimače"}},
    {"ComboBoxSynchro", 1,
     {"Short gap between lobes (inserted lobe)",
      "Kurz Abstand zwischen Leitstücken (eingeschiebe Leitstück)",
      "Short gap between lobes (inserted lobe)",
      "Krátká mezera mezi výstupky (vsunutý výstupek)"}},
    {"ComboBoxSynchro", 2, {"Wide lobe", "Längere Leitstück", "Wide lobe", "Široký výstupek"}},
    {"ComboBoxSynchro", 3,
     {"Long gap between lobes (missing lobe)",
      "Lang Abstand zwischen Leitstücken (ausgelassene Leitstück)",
      "Long gap between lobes (missing lobe)",
      "Dlouhá mezera mezi výstupky (vynechaný výstupek)"}},
    {"ComboBoxSynchro", 4,
     {"2 pick-ups, missing lobe",
      "2 Geber, ausgelassene Leitstück",
      "2 pick-ups, missing lobe",
      "2 snímače vynechané výstupky"}},
    {"ComboBoxSynchro", 5,
     {"2 Short gaps between lobes (inserted lobe)",
      "2 Kurze Abstände zwischen Leitstücken (eingeschiebe Leitstück)",
      "2 short gaps between lobes (inserted lobe)",
      "2 krátké mezery mezi výstupky (vsunutý výstupek)"}},
};

constexpr Row kHints[] = {
    {"LabelVerze1",
     {"Version of program in ignition",
      "Programmverion der Zündung",
      "Variantes de courbe d´avance",
      "Verze programu v zapalování"}},
    {"LabelVerze2",
     {"Date of program in ignition",
      "Datum des Programm in der Zündung",
      "Date de programation de la courbe d´avance",
      "Datum zhotovení programu v zapalování"}},
    {"LabelVerze3",
     {"Time of program in ignition",
      "Programmierzeitpunkt der Zündung",
      "Temp de programation de la courbe d´avance",
      "Čas zhotovení programu v zapalování"}},
    {"SpeedButton5 MenuOpen",
     {"Open file with parametrs",
      "Kenndatendatei öffnen",
      "Ouvrir fichier avec paramètres",
      "Otevření souboru s parametry"}},
    {"SpeedButton6",
     {"Set default parametrs",
      "Neue Kenndatendatei erstellen",
      "Reprogramation des paramètres initial Dórigine",
      "Nastavení výchozích parametrů"}},
    {"MenuNew",
     {"Set default parameters ",
      "Neue Kenndatendatei erstellen",
      "Céer nouveaux fichier ",
      "Nastavení výchozích parametrů"}},
    {"SpeedButton7 MenuSave",
     {"Save parametrs to file",
      "Kenndaten in Datei speichern",
      "Sauvegarder les paramètres",
      "Uložení parametrů do souboru"}},
    {"SpeedButtonPrint MenuPrint",
     {"Print parametrs", "Kenndaten Drucken", "Imprimer paramètres", "Tisk parametrů"}},
    {"BitBtnProgram MenuProgram",
     {"Programing  set parametrs to ignition",
      "Kenndaten in die Zündung programmieren",
      "Programer les paramètres dans ECU",
      "Programování nastavených parametrů do zapalování"}},
    {"BitBtnVerify MenuVerify",
     {"Compare set parametrs  with parametrs of ignition",
      "Kenndaten mit Zündungskenndaten vergleichen",
      "Comparer les paramètres de ECU",
      "Ověření zda  nastavené parametry souhlasí s parametry naprogramovanými do zapalování"}},
    {"BitBtnAdvMinus",
     {"Take off 1 degree of Advance",
      "Vorzündung minus 1 Grad",
      "Retarder de 1 degré l´avance a l´allumage",
      "Zmenšení předstihu o 1 stupeň"}},
    {"BitBtnAdvPlus",
     {"Add 1 degree of Advance",
      "Vorzündung plus 1 Grad",
      "Avance accroître l´avance a l´allumage de 1 degré",
      "Zvětšení předstihu o 1 stupeň"}},
    {"ButtonRead MenuRead",
     {"Reading parametrs from ignition",
      "Kenndaten aus Zündung lesen",
      "Lire paramètres ECU",
      "Čtení parametrů ze zapalování"}},
    {"MenuExit", {"End of program", "Programm beenden", "Sortir du programme", "Ukončení programu"}},
    {"MenuLanguage",
     {"Set English or German or French or Czech ",
      "wählen sie Englisch, Deutsch, Französisch oder Tschechisch ",
      "Installer lange; Englais,Allemand , Francais ou Czech",
      "Nastavení jazyka na angličtinu, němčinu, francozštinu nebo češtinu "}},
    {"CheckBoxProgHned",
     {"Programing at once after change",
      "Programmmieren sofort nach dem änderung",
      "Programation instantanée des modifications",
      "Programování ihned po změně"}},
    {"MenuCom",
     {"Set number of com",
      "Com-Anschluß festlegen",
      "Installer nombre de com",
      "Nastavení čísla serivého portu (Com) "}},
    {"LabelRpm1",
     {"Round per Minute|Speed - Round per Minute",
      "Umdrehungen pro Minute",
      "Tours minute",
      "Otáčky za minutu|Rychlost - Otáčky za minutu"}},
    // The language items name their language in that language, whatever is selected.
    {"MenuEnglish", same("Set English menu")},
    {"MenuGerman", same("Deutsches Menü")},
    {"MenuFrench", same("Installer en Francais ")},
    {"MenuCzech", same("Nastavit české menu")},
};

constexpr FamilyRow kHintFamilies[] = {
    {"MenuCom%1", 1, 10, true,
     {"Set com", "Com-Anschluß auswahl", "Installer com", "Nastavení komunikace na port com"}},
};

// A cell left empty in a table would leave a control without text in one language; make
// that a build error instead.
constexpr bool complete(const Texts &t)
{
    for (const char *s : t)
        if (s == nullptr || *s == '\0')
            return false;
    return true;
}

template <class T, std::size_t N>
constexpr bool allComplete(const T (&rows)[N])
{
    for (const T &r : rows) {
        if constexpr (requires { r.stem; }) {
            if (!complete(r.stem))
                return false;
        } else if (!complete(r.text)) {
            return false;
        }
    }
    return true;
}

static_assert(allComplete(kCaptions) && allComplete(kCaptionFamilies) && allComplete(kListEntries)
                  && allComplete(kHints) && allComplete(kHintFamilies),
              "every caption row needs four non-empty texts");

std::array<QString, kLanguageCount> toStrings(const Texts &t, const QString &ending = QString())
{
    std::array<QString, kLanguageCount> out;
    for (int i = 0; i < kLanguageCount; ++i)
        out[i] = QString::fromUtf8(t[i]) + ending;
    return out;
}

void addRows(std::vector<CaptionRow> &out, const Row *rows, std::size_t count, CaptionProperty property)
{
    for (std::size_t i = 0; i < count; ++i) {
        const auto text = toStrings(rows[i].text);
        const auto names = QString::fromLatin1(rows[i].controls).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &name : names)
            out.push_back({name, property, -1, text});
    }
}

void addFamilies(std::vector<CaptionRow> &out, const FamilyRow *rows, std::size_t count,
                 CaptionProperty property)
{
    for (std::size_t i = 0; i < count; ++i) {
        const FamilyRow &f = rows[i];
        for (int n = f.first; n <= f.last; ++n) {
            const QString ending = f.numbered ? QStringLiteral(" %1").arg(n) : QString();
            out.push_back({QString::fromLatin1(f.pattern).arg(n), property, -1, toStrings(f.stem, ending)});
        }
    }
}

std::vector<CaptionRow> buildRows()
{
    std::vector<CaptionRow> rows;
    addRows(rows, kCaptions, std::size(kCaptions), CaptionProperty::Caption);
    addFamilies(rows, kCaptionFamilies, std::size(kCaptionFamilies), CaptionProperty::Caption);
    for (const ListRow &l : kListEntries)
        rows.push_back({QString::fromLatin1(l.control), CaptionProperty::ListEntry, l.entry, toStrings(l.text)});
    addRows(rows, kHints, std::size(kHints), CaptionProperty::Hint);
    addFamilies(rows, kHintFamilies, std::size(kHintFamilies), CaptionProperty::Hint);
    return rows;
}

}  // namespace

const std::vector<CaptionRow> &captionRows()
{
    static const std::vector<CaptionRow> rows = buildRows();
    return rows;
}

QString captionText(const QString &control, CaptionProperty property, int language, int entry)
{
    if (language < 0 || language >= kLanguageCount)
        language = 0;
    for (const CaptionRow &r : captionRows())
        if (r.property == property && r.control == control && r.entry == entry)
            return r.text[language];
    return QString();
}

}  // namespace vorn
