// The words for a failed open, in the four languages of the program.
#include "OpenDiagnosis.h"

#include "lang/Texts4.h"

namespace vorn {

namespace {

// %1 the device, %2 the group, %3 the command, %4 a list, %5 a process.
constexpr Text4 kMissing{
    "%1 does not exist: the adapter is not plugged in, or the system names it differently.",
    "%1 existiert nicht: Der Adapter ist nicht eingesteckt oder das System benennt ihn anders.",
    "%1 n'existe pas : l'adaptateur n'est pas branché ou le système le nomme autrement.",
    "%1 neexistuje: adaptér není připojen, nebo jej systém pojmenoval jinak."};
constexpr Text4 kPresent{
    "Serial devices present:", "Vorhandene serielle Geräte:", "Périphériques série présents :",
    "Přítomná sériová zařízení:"};
constexpr Text4 kNonePresent{
    "The system reports no serial device.", "Das System meldet kein serielles Gerät.",
    "Le système ne signale aucun périphérique série.", "Systém nehlásí žádné sériové zařízení."};
constexpr Text4 kNoPermission{
    "You may not open %1: it belongs to the group \"%2\".",
    "Sie dürfen %1 nicht öffnen: Es gehört der Gruppe \"%2\".",
    "Vous n'avez pas le droit d'ouvrir %1 : il appartient au groupe \"%2\".",
    "Nemáte oprávnění otevřít %1: patří skupině \"%2\"."};
constexpr Text4 kNotInGroup{
    "You are not a member of that group. Add yourself with:",
    "Sie sind nicht Mitglied dieser Gruppe. Fügen Sie sich hinzu mit:",
    "Vous n'êtes pas membre de ce groupe. Ajoutez-vous avec :",
    "Nejste členem této skupiny. Přidejte se příkazem:"};
constexpr Text4 kThenRelogin{
    "then log out and log in again.", "Melden Sie sich dann ab und wieder an.",
    "puis fermez la session et reconnectez-vous.", "Potom se odhlaste a znovu přihlaste."};
constexpr Text4 kListedNotActive{
    "You have been added to that group, but it takes effect only after you log out and log in again.",
    "Sie wurden dieser Gruppe hinzugefügt; das wirkt erst, wenn Sie sich ab- und wieder anmelden.",
    "Vous avez été ajouté à ce groupe, mais cela ne prend effet qu'après une nouvelle connexion.",
    "Do této skupiny jste byli přidáni, projeví se to ale až po odhlášení a novém přihlášení."};
constexpr Text4 kInGroupNoRights{
    "You are in that group, but the device does not let the group read and write.",
    "Sie sind in dieser Gruppe, aber das Gerät erlaubt der Gruppe kein Lesen und Schreiben.",
    "Vous êtes dans ce groupe, mais le périphérique n'autorise pas le groupe à lire et écrire.",
    "Jste v této skupině, ale zařízení skupině nedovoluje číst a zapisovat."};
constexpr Text4 kBusy{
    "%1 is in use by another program:", "%1 wird von einem anderen Programm benutzt:",
    "%1 est utilisé par un autre programme :", "%1 používá jiný program:"};
constexpr Text4 kHolder{
    "%5 (process %6), seen in %7", "%5 (Prozess %6), gesehen in %7",
    "%5 (processus %6), vu dans %7", "%5 (proces %6), zjištěno v %7"};
constexpr Text4 kCloseIt{
    "Close that program and choose the port again.",
    "Beenden Sie dieses Programm und wählen Sie den Port erneut.",
    "Fermez ce programme et choisissez à nouveau le port.",
    "Ukončete ten program a zvolte port znovu."};
constexpr Text4 kUnknownProgram{"unknown program", "unbekanntes Programm", "programme inconnu", "neznámý program"};

}  // namespace

QString describeOpenDiagnosis(const OpenDiagnosis &d, int language)
{
    auto t = [language](const Text4 &text) { return text4(text, language); };
    QStringList lines;
    switch (d.kind) {
    case OpenDiagnosis::Missing:
        lines << t(kMissing).arg(d.device);
        if (d.presentDevices.isEmpty()) {
            lines << t(kNonePresent);
        } else {
            lines << t(kPresent);
            for (const QString &path : d.presentDevices)
                lines << QStringLiteral("    ") + path;
        }
        break;
    case OpenDiagnosis::Permission:
        lines << t(kNoPermission).arg(d.device, d.access.group);
        if (!d.groupCommand().isEmpty())
            lines << t(kNotInGroup) << QStringLiteral("    ") + d.groupCommand() << t(kThenRelogin);
        else if (!d.access.inGroupNow)
            lines << t(kListedNotActive);
        else
            lines << t(kInGroupNoRights);
        break;
    case OpenDiagnosis::Busy:
        lines << t(kBusy).arg(d.device);
        for (const DeviceHolder &h : d.holders) {
            const QString program = h.program.isEmpty() ? t(kUnknownProgram) : h.program;
            lines << QStringLiteral("    ")
                         + t(kHolder)
                               .replace(QLatin1String("%5"), program)
                               .replace(QLatin1String("%6"), QString::number(h.pid))
                               .replace(QLatin1String("%7"), h.where.join(QStringLiteral(", ")));
        }
        lines << t(kCloseIt);
        break;
    case OpenDiagnosis::Other:
        lines << d.device + QStringLiteral(": ") + d.systemReason;
        break;
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace vorn
