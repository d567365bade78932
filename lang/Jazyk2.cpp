// The message catalogue's texts in English, German, French and Czech, and filling the slots.
#include "Jazyk2.h"

namespace vorn {
namespace {

using Texts = std::array<const char *, kLanguageCount>;

struct MessageRow {
    Msg id;
    Texts text;   // English, German, French, Czech (UTF-8)
};

constexpr int kMessageCount = static_cast<int>(Msg::Count);

// Trailing and doubled spaces, odd spellings and the 40-character padding of the pick-up
// error belong to the texts: the live labels are composed from them by plain appending.
// ManualError holds the lead text only; the manual's file name and " !" follow it.
constexpr std::array<MessageRow, kMessageCount> kMessages = {{
    {Msg::ProgramError,
     {"Program error!", "Programmier Fehler", "Erreur de programmation!", "Chyba programování"}},
    {Msg::VerifyError, {"Verify error!", "Vergleichsfehler", "Verifier erreur!", "Chyba verifikace!"}},
    {Msg::ReadError, {"Read error!", "Lesefehler", "Lire erreur!", "Chyba čtení!"}},
    {Msg::ProgramDevice, {"Program device:", "Programmieren:", "Programmer:", "Programování:"}},
    {Msg::UnmatchedVersion,
     {"Unmatched version of PC and Ignition programs!",
      "PC-Programm ist mit der Zündung nicht kompatiebel!",
      "Programme du boitier d´alumage non compatible avec programme PC!",
      "Neshodné verze proramu v PC a zapalování!"}},
    {Msg::Verify, {"Verify:", "Vergleichen:", "Vérifier", "Verifikace:"}},
    {Msg::Read, {"Read:", "Lesen:", "Lire", "Čtení:"}},
    {Msg::Advance, {"Advance", "Vorzündung", "Avance", "Předstih"}},
    {Msg::NumberOfPrograming,
     {"Number of Programing= ",
      "Programmierungsanzahl= ",
      "Nombre de programmations= ",
      "Počet programování= "}},
    {Msg::Blocking, {"Blocking", "Blockierung", "Blocage - ", "Blokování"}},
    {Msg::Yes, {"YES", "JA", "Oui", "ANO"}},
    {Msg::No, {"NO", "NEIN", "Non", "NE"}},
    {Msg::OpenFileError,
     {"Open file error!",
      "Fehler beim öffnen der Datei!",
      "Erreur ouvertur fichier!",
      "Chyba při otevírání souboru!"}},
    {Msg::DefaultSetting,
     {"Do you want default setting?",
      "Wollen Sie Standardeinstellungen öffnen?",
      "Voulez vous la programation de base?",
      "Chcete nastavit základní hodnoty?"}},
    {Msg::UnmatchedIgnFile,
     {"Unmatched version of *.ign file!",
      "Datendatei *.ign ist nicht kompatiebel!",
      "Programme du fichier non compatible avec programme PC!",
      "Neshodná verze souboru *.ign!"}},
    {Msg::DateTimeOfPrinting,
     {"Date and time of printing:  ",
      "Zeitpunkt des Ausdruckes   ",
      "Date et heur de l´imprimé:   ",
      "Datum a čas tisku:  "}},
    {Msg::PickupSystemError,
     {"Pick up system error                    ",
      "Gebersystemehler                        ",
      "Pick up system error                    ",
      "Chyba v snímacím systému                "}},
    {Msg::PickupCkps, {"Pick-up (CKPS)", "Geber(CKPS)", "Capteur(CKPS)", "Snímač (CKPS)"}},
    {Msg::IsRunning, {"is running", "läuft", " fonctionne", "pracuje"}},
    {Msg::NoSignal, {"no signal", " kein Signal", " pas de signal", "bez signálu"}},
    {Msg::ServoDesired, {"Servo desired=", "Servo Sollspanung=", "Servo desired=", "Servo požadované="}},
    {Msg::ServoMeasured, {"Servo measured=", "Servo gemessene=", "Servo measured=", "Servo měřené="}},
    {Msg::ManualError,
     {"Error by opening file ",
      "Fehler beim öffnen der Datei ",
      "Erreur à l´ouvertur du Fichier ",
      "Chyba při otevírání souboru "}},
    // The pilot-light prefix is written by the caption step, but it is a message slot.
    {Msg::GearShiftLight, {"Gear Shift Light", "Schaltblitz", "Retard à l´allumage", "Kontrolka řazení"}},
}};

constexpr Texts kManualFileNames = {"manual_lumenor_vorn_4_en.pdf", "manual_lumenor_vorn_4_de.pdf",
                                    "manual_lumenor_vorn_4_fr.pdf", "manual_lumenor_vorn_4_cz.pdf"};

// A row left out or put in the wrong place breaks the build rather than a slot.
constexpr bool tableComplete()
{
    for (int i = 0; i < kMessageCount; ++i) {
        if (kMessages[i].id != static_cast<Msg>(i))
            return false;
        for (const char *t : kMessages[i].text)
            if (t == nullptr)
                return false;
    }
    return true;
}
static_assert(tableComplete(), "every message needs its row, in the order of Msg, with four texts");

// The index comes from the settings file and is clamped before use; an index that slipped
// through anyway reads English rather than memory past the tables.
int validLanguage(int language)
{
    return language >= 0 && language < kLanguageCount ? language : 0;
}

}  // namespace

QString manualFileName(int language)
{
    return QString::fromUtf8(kManualFileNames[validLanguage(language)]);
}

QString messageText(Msg m, int language)
{
    const int i = static_cast<int>(m);
    if (i < 0 || i >= kMessageCount)
        return QString();
    language = validLanguage(language);
    QString text = QString::fromUtf8(kMessages[i].text[language]);
    if (m == Msg::ManualError)
        text += manualFileName(language) + QStringLiteral(" !");
    return text;
}

void fillMessageSlots(MessageSlots &out, int language)
{
    out.manualFileName = manualFileName(language);
    for (int i = 0; i < kMessageCount; ++i)
        out.text[i] = messageText(static_cast<Msg>(i), language);
}

}  // namespace vorn
