// The four-language text table of the archive.
#include "ArchiveTexts.h"

#include "lang/Texts4.h"

#include <QLocale>

#include <array>
#include <atomic>
#include <iterator>

namespace vorn {

namespace {

std::atomic<int> gLanguage{0};

constexpr Text4 kTexts[] = {
    {"not a server address of the form postgresql://user@host[:port]/database: %1",
     "keine Serveradresse der Form postgresql://benutzer@host[:port]/datenbank: %1",
     "pas une adresse de serveur de la forme postgresql://utilisateur@hôte[:port]/base : %1",
     "není adresa serveru ve tvaru postgresql://uživatel@počítač[:port]/databáze: %1"},
    {"%1: a password does not belong in the address; put it in ~/.pgpass or PGPASSWORD",
     "%1: ein Passwort gehört nicht in die Adresse; es gehört in ~/.pgpass oder PGPASSWORD",
     "%1 : un mot de passe n'a pas sa place dans l'adresse ; mettez-le dans ~/.pgpass ou PGPASSWORD",
     "%1: heslo do adresy nepatří; patří do ~/.pgpass nebo PGPASSWORD"},
    {"cannot open the archive %1: %2", "Archiv %1 lässt sich nicht öffnen: %2",
     "impossible d'ouvrir l'archive %1 : %2", "archiv %1 nelze otevřít: %2"},
    {"the archive %1 was made by a newer version of this program",
     "das Archiv %1 stammt von einer neueren Version dieses Programms",
     "l'archive %1 a été créée par une version plus récente de ce programme",
     "archiv %1 vytvořila novější verze tohoto programu"},
    {"the archive could not record: %1", "das Archiv konnte nicht aufzeichnen: %1",
     "l'archive n'a pas pu enregistrer : %1", "archiv nemohl zaznamenat: %1"},
    {"tune not in archive", "Abstimmung nicht im Archiv", "réglage absent de l'archive", "ladění není v archivu"},
    {"as read %1 on %2", "wie am %1 auf %2 ausgelesen", "tel que lu le %1 sur %2", "jak přečteno %1 na %2"},
    {"as programmed %1 on %2", "wie am %1 auf %2 programmiert", "tel que programmé le %1 sur %2",
     "jak naprogramováno %1 na %2"},
    {"as verified %1 on %2", "wie am %1 auf %2 geprüft", "tel que vérifié le %1 sur %2", "jak ověřeno %1 na %2"},
    {"as compared %1 on %2", "wie am %1 auf %2 gegenübergestellt", "tel que comparé le %1 sur %2", "jak porovnáno %1 na %2"},
    {"changed on %1 on %2, from your tune of %3", "geändert auf %1 am %2, aus Ihrer Abstimmung vom %3",
     "modifié sur %1 le %2, à partir de votre réglage du %3", "změněno na %1 dne %2, z vašeho ladění z %3"},
    {"changed on %1 on %2", "geändert auf %1 am %2", "modifié sur %1 le %2", "změněno na %1 dne %2"},
    {"archive server %1 not reachable: %2", "Archivserver %1 nicht erreichbar: %2",
     "serveur d'archive %1 injoignable : %2", "server archivu %1 není dostupný: %2"},
    {"not an archive database", "keine Archivdatenbank", "pas une base de données d'archive", "není databáze archivu"},
    {"no answer", "keine Antwort", "pas de réponse", "žádná odpověď"},
};
static_assert(std::size(kTexts) == static_cast<std::size_t>(ArchiveText::Count));

constexpr Text4 kKinds[kEventKindCount] = {
    {"read", "Lesen", "lecture", "čtení"},
    {"program", "Programmieren", "programmation", "programování"},
    {"verify", "Prüfen", "vérification", "ověření"},
    {"compare", "Gegenüberstellung", "comparaison", "porovnání"},
};

constexpr Text4 kLabelKeys[kLabelKeyCount] = {
    {"customer", "Kunde", "client", "zákazník"},
    {"bike", "Motorrad", "moto", "motocykl"},
    {"registration", "Kennzeichen", "immatriculation", "SPZ"},
    {"note", "Notiz", "note", "poznámka"},
};

// Day and month as each language writes them in a running sentence; Czech months decline,
// so the date stays in numbers there.
constexpr Text4 kDateWithYear{"d MMM yyyy", "d. MMM yyyy", "d MMM yyyy", "d. M. yyyy"};
constexpr Text4 kDateWithoutYear{"d MMM", "d. MMM", "d MMM", "d. M."};
constexpr std::array<QLocale::Language, 4> kLocales{QLocale::English, QLocale::German, QLocale::French, QLocale::Czech};

}  // namespace

void setArchiveLanguage(int language) { gLanguage = language >= 0 && language < 4 ? language : 0; }

int archiveLanguage() { return gLanguage; }

QString archiveText(ArchiveText t, int language) { return text4(kTexts[static_cast<int>(t)], language); }

QString eventKindText(EventKind kind, int language) { return text4(kKinds[static_cast<int>(kind)], language); }

QString labelKeyText(LabelKey key, int language) { return text4(kLabelKeys[static_cast<int>(key)], language); }

QString archiveDate(const QDateTime &utc, int language, bool withYear)
{
    const int l = language >= 0 && language < 4 ? language : 0;
    return QLocale(kLocales[l]).toString(utc.toLocalTime().date(), text4(withYear ? kDateWithYear : kDateWithoutYear, l));
}

QString tuneStatusText(const TuneStatus &status, int language)
{
    if (!status.known || !status.shown)
        return archiveText(ArchiveText::NotInArchive, language);
    const ArchiveEvent &e = *status.shown;
    static constexpr ArchiveText kAs[kEventKindCount] = {ArchiveText::AsRead, ArchiveText::AsProgrammed,
                                                         ArchiveText::AsVerified, ArchiveText::AsCompared};
    QString line = archiveText(kAs[static_cast<int>(e.kind)], language).arg(archiveDate(e.timeUtc, language), e.bench);
    for (int k = 0; k < kLabelKeyCount; ++k)
        if (!status.labels[k].isEmpty())
            line += QStringLiteral(", ") + labelKeyText(static_cast<LabelKey>(k), language) + QLatin1Char(' ')
                    + status.labels[k];
    return line;
}

QString changedText(const TuneStatus &status, int language)
{
    if (!status.changed)
        return {};
    const TuneStatus::Changed &c = *status.changed;
    const QString when = archiveDate(c.by.timeUtc, language, false);
    if (!c.yours)
        return archiveText(ArchiveText::ChangedNoYours, language).arg(c.by.bench, when);
    return archiveText(ArchiveText::Changed, language)
        .arg(c.by.bench, when, archiveDate(c.yours->timeUtc, language, false));
}

QString waitingText(int events, int language)
{
    static constexpr Count4 kWaiting{
        {"archive server not reachable; kept here, %1 event waiting",
         "Archivserver nicht erreichbar; hier aufbewahrt, %1 Ereignis wartet",
         "serveur d'archive injoignable ; gardé ici, %1 événement en attente",
         "server archivu není dostupný; uloženo zde, čeká %1 událost"},
        {"archive server not reachable; kept here, %1 events waiting",
         "Archivserver nicht erreichbar; hier aufbewahrt, %1 Ereignisse warten",
         "serveur d'archive injoignable ; gardé ici, %1 événements en attente",
         "server archivu není dostupný; uloženo zde, čekají %1 události"},
        {"archive server not reachable; kept here, %1 events waiting",
         "Archivserver nicht erreichbar; hier aufbewahrt, %1 Ereignisse warten",
         "serveur d'archive injoignable ; gardé ici, %1 événements en attente",
         "server archivu není dostupný; uloženo zde, čeká %1 událostí"}};
    return countText(kWaiting, events, language);
}

}  // namespace vorn
