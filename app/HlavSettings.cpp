// Loading and saving the main window's settings and the parameter image between runs.
#include "Hlav.h"

#include "files/AtomicFile.h"
#include "files/ConfigDir.h"
#include "files/ImageDump.h"
#include "files/ProfileIni.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QTabWidget>

namespace {

const QString kSection = QStringLiteral("FORM_HLAV");
const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");
const QString kComPort = QStringLiteral("ComPort");
const QString kLanguage = QStringLiteral("Language");
const QString kFile = QStringLiteral("File");
const QString kIniDir = QStringLiteral("IniDir");   // holds the last file's full path
const QString kActivePage = QStringLiteral("PageControl1->ActivePageIndex");

// The dump is 300 numbers in under 2 KB; this is far more than any dump needs.
constexpr qint64 kMaxDumpSize = 1 << 20;

}  // namespace

void TFormHlav::LoadSettings()
{
    const vorn::ProfileIni ini(vorn::configPath(vorn::kSettingsFileName));
    settingsReadWhole_ = ini.readWhole();

    // Each key defaults to what start-up has set so far; a position off the current
    // screen is restored as saved.
    move(ini.readInt(kSection, kLeft, x()), y());
    move(x(), ini.readInt(kSection, kTop, y()));
    ComPort = static_cast<std::uint8_t>(ini.readInt(kSection, kComPort, ComPort));
    LanguageIndex = static_cast<std::uint8_t>(ini.readInt(kSection, kLanguage, LanguageIndex));
    ctl<QLabel>("LabelFile2")->setText(ini.readString(kSection, kFile, QString()));
    // The file dialogs take this as their preselected name when first made: two file
    // dialogs cost start-up time and memory that a session without Open or Save never needs.
    LastFilePath = ini.readString(kSection, kIniDir, QString());
    auto *pages = ctl<QTabWidget>("PageControl1");
    const int page = ini.readInt(kSection, kActivePage, pages->currentIndex());
    if (page >= 0 && page < pages->count())
        pages->setCurrentIndex(page);

    QFile dump(vorn::configPath(vorn::kDumpFileName));
    if (dump.open(QIODevice::ReadOnly))
        vorn::ReadImageDump(dump.read(kMaxDumpSize), Image);
}

void TFormHlav::SaveSettings()
{
    // Written through the one settings access, which reads the file again so that what
    // others wrote into it meanwhile ([PORTS] above all) survives; only our keys change.
    // A file that could not be read whole is left as it is and the keys go beside it.
    if (!settingsReadWhole_)
        Settings->keepFileAsItIs();
    QString error;
    const bool saved = Settings->write([this](vorn::ProfileIni &ini) {
        ini.writeInt(kSection, kLeft, x());
        ini.writeInt(kSection, kTop, y());
        ini.writeInt(kSection, kComPort, ComPort);
        ini.writeInt(kSection, kLanguage, LanguageIndex);
        ini.writeString(kSection, kFile, ctl<QLabel>("LabelFile2")->text());
        ini.writeString(kSection, kIniDir, LastFilePath);
        ini.writeInt(kSection, kActivePage, ctl<QTabWidget>("PageControl1")->currentIndex());
    }, &error);
    // The window is closing: nobody to tell but the terminal. The previous files stay.
    if (!saved)
        qWarning("vorn4: could not save the settings: %s", qPrintable(error));
    else if (Settings->wroteBeside())
        qWarning("vorn4: %s could not be read whole and was left as it is; the settings went to %s",
                 qPrintable(Settings->path()), qPrintable(Settings->besidePath()));
    const QString dumpPath = vorn::configPath(vorn::kDumpFileName);
    if (!vorn::writeFileAtomically(dumpPath, vorn::WriteImageDump(Image)))
        qWarning("vorn4: could not save the parameter image to %s", qPrintable(dumpPath));
}
