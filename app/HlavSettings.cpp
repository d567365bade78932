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
    // Read again so that what others wrote into the file meanwhile ([PORTS] above all)
    // survives; only our keys change.
    vorn::ProfileIni ini(vorn::configPath(vorn::kSettingsFileName));
    ini.writeInt(kSection, kLeft, x());
    ini.writeInt(kSection, kTop, y());
    ini.writeInt(kSection, kComPort, ComPort);
    ini.writeInt(kSection, kLanguage, LanguageIndex);
    ini.writeString(kSection, kFile, ctl<QLabel>("LabelFile2")->text());
    ini.writeString(kSection, kIniDir, LastFilePath);
    ini.writeInt(kSection, kActivePage, ctl<QTabWidget>("PageControl1")->currentIndex());
    // The window is closing: nobody to tell but the terminal. The previous files stay.
    if (!settingsReadWhole_ || !ini.readWhole()) {
        // Replacing a file we could not read would lose [PORTS] and every other section.
        const QString beside = ini.path() + QStringLiteral(".new");
        if (vorn::writeFileAtomically(beside, ini.content()))
            qWarning("vorn4: %s could not be read whole and was left as it is; the settings went to %s",
                     qPrintable(ini.path()), qPrintable(beside));
        else
            qWarning("vorn4: could not save the settings to %s", qPrintable(beside));
    } else if (!ini.save()) {
        qWarning("vorn4: could not save the settings to %s", qPrintable(ini.path()));
    }
    const QString dumpPath = vorn::configPath(vorn::kDumpFileName);
    if (!vorn::writeFileAtomically(dumpPath, vorn::WriteImageDump(Image)))
        qWarning("vorn4: could not save the parameter image to %s", qPrintable(dumpPath));
}
