// File menu handlers of the main window: saving and opening *.ign files, and the manual.
#include "Hlav.h"
#include "UserInteraction.h"

#include "files/AtomicFile.h"
#include "files/IgnFile.h"
#include "files/ManualLocation.h"
#include "history/HistoryTexts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QUrl>


namespace {

const QString kIgnSuffix = QStringLiteral("ign");
const QString kIgnFilter = QStringLiteral("Ignition Parametrs(*.ign)");
// "*" and not "*.*": on Linux "*.*" leaves out every name without a dot.
const QString kAllFilter = QStringLiteral("All Files (*)");

// A parameter file is under 2 KB; anything far bigger is not one and is not read whole.
constexpr qint64 kMaxParameterFileSize = 16 << 20;

// A typed name without extension means a *.ign file. On open, the name as typed wins
// when such a file exists.
QString withDefaultSuffix(const QString &path, bool mustExist)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    if (mustExist && QFileInfo::exists(path))
        return path;
    return path + QLatin1Char('.') + kIgnSuffix;
}

}  // namespace

void TFormHlav::createFileDialogs()
{
    if (OpenDialog1)
        return;
    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setDefaultSuffix(kIgnSuffix);
    OpenDialog1->setNameFilters({kIgnFilter, kAllFilter});

    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    SaveDialog1->setDefaultSuffix(kIgnSuffix);
    SaveDialog1->setNameFilters({kIgnFilter});
    SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite, false);
    SaveDialog1->setSizeGripEnabled(true);

    // Made on first use, they start with the last file preselected, as they would had
    // they been made at start-up when the settings were read.
    OpenDialog1->selectFile(LastFilePath);
    SaveDialog1->selectFile(LastFilePath);

    byName_.insert(OpenDialog1->objectName(), OpenDialog1);
    byName_.insert(SaveDialog1->objectName(), SaveDialog1);
}

QString TFormHlav::execFileDialog(QFileDialog *dialog)
{
    return runModal([&] { return userInteraction().chooseFile(dialog); }, QString());
}

void TFormHlav::MenuSaveClick()
{
    createFileDialogs();
    SaveDialog1->selectNameFilter(SaveDialog1->nameFilters().value(0));
    const QString chosen = withDefaultSuffix(execFileDialog(SaveDialog1), false);
    if (chosen.isEmpty())
        return;
    const QString path = QFileInfo(chosen).absoluteFilePath();

    // The old file stays until the new one is complete; a failed write or close (full disk,
    // lost share) is reported, never shown as saved.
    vorn::AtomicFileWriter writer(path, vorn::AtomicFileWriter::Folder::MustExist);
    if (!writer.open()) {
        MessageBox(Messages[vorn::Msg::OpenFileError]);
        return;
    }
    ReadParameters();
    vorn::ClampParameters(Image, LanguageIndex, ComPort);
    ShowParameters();
    if (!writer.commit(vorn::WriteParameterFile(Image))) {
        MessageBox(Messages[vorn::Msg::OpenFileError]);
        return;
    }
    ctl<QLabel>("LabelFile2")->setText(path);
    LastFilePath = path;
    OpenDialog1->selectFile(path);
    emit Notifier->fileEvent(vorn::host::HostNotifier::FileEvent::Saved, path);
}

void TFormHlav::MenuOpenClick()
{
    createFileDialogs();
    const QString chosen = withDefaultSuffix(execFileDialog(OpenDialog1), true);
    if (!chosen.isEmpty())
        openParameterFile(QFileInfo(chosen).absoluteFilePath());
    ctl<QWidget>("LabelHlaseni")->hide();
    ctl<QWidget>("CGauge")->hide();
}

void TFormHlav::openParameterFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        MessageBox(Messages[vorn::Msg::OpenFileError]);
        return;
    }
    const QByteArray content = file.read(kMaxParameterFileSize);
    const bool whole = file.atEnd() && file.error() == QFileDevice::NoError;
    file.close();

    // A file that could not be read whole (a read error, far too big) is a failure to open
    // it, not a file of another version; nothing changes.
    if (!whole) {
        MessageBox(Messages[vorn::Msg::OpenFileError]);
        return;
    }
    const vorn::ParameterImage before = Image;
    FileKeyFound = vorn::ReadParameterFile(content, Image);
    if (!FileKeyFound) {
        MessageBox(Messages[vorn::Msg::UnmatchedIgnFile]);
        return;
    }
    emit Notifier->imageReplacing(vorn::host::HostNotifier::Replacement::Open, before);
    emit Notifier->editStepStarted({&vorn::htext::StepOpen, QFileInfo(path).fileName()});
    AfterEdit();
    emit Notifier->fileEvent(vorn::host::HostNotifier::FileEvent::Opened, path);
    emit Notifier->tuneLoaded(Image);
    ctl<QLabel>("LabelFile2")->setText(path);
    LastFilePath = path;
    SaveDialog1->selectFile(path);
}

void TFormHlav::MenuContensClick()
{
    QString name = Messages.manualFileName;
    if (name.isEmpty())
        name = vorn::manualFileName(LanguageIndex < vorn::kLanguageCount ? LanguageIndex : 0);
    // The desktop may hand a missing file to a viewer that then complains on its own;
    // a missing manual is our failure to report.
    const QString path = vorn::findManual(
        name, vorn::manualFolders(QDir::currentPath(), QCoreApplication::applicationDirPath()));
    const bool opened = !path.isEmpty() && userInteraction().openDocument(path);
    if (!opened)
        MessageBox(Messages[vorn::Msg::ManualError]);
}
