#include "logview/ui/LogViewUi.h"

#include "datalog/Markers.h"
#include "host/HostNotifier.h"
#include "host/Shell.h"
#include "logview/ui/LogViewTexts.h"
#include "logview/ui/PullReport.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QInputDialog>
#include <QLibrary>
#include <QWidget>

#ifndef VORN4_BUILD_MODULE_DIR
#define VORN4_BUILD_MODULE_DIR ""
#endif
#ifndef VORN4_INSTALL_MODULE_DIR
#define VORN4_INSTALL_MODULE_DIR ""
#endif

namespace vorn::logview {

namespace {

const QString kModuleName = QStringLiteral("vorn4logview");
// A single key no menu item or button of the window takes, so a marker is one press away
// while the rider's log runs.
constexpr QKeyCombination kMarkerKey{Qt::Key_F6};

}  // namespace

LogViewUi::LogViewUi(host::Shell &shell, host::HostNotifier &notifier, std::function<QString()> recordingLog,
                     QStringList moduleDirs, PullStarts pullStarts)
    : QObject(&notifier),
      shell_(shell),
      recordingLog_(std::move(recordingLog)),
      moduleDirs_(std::move(moduleDirs)),
      pullStarts_(std::move(pullStarts))
{
    analyse_ = new QAction(this);
    analyse_->setObjectName(QStringLiteral("MenuLogAnalyse"));
    connect(analyse_, &QAction::triggered, this, [this] {
        if (Workbench *w = openWorkbench())
            w->askForLogIfEmpty();
    });
    marker_ = new QAction(this);
    marker_->setObjectName(QStringLiteral("MenuLogMarker"));
    marker_->setShortcut(QKeySequence(kMarkerKey));
    connect(marker_, &QAction::triggered, this, [this] { addMarker(); });
    comparePulls_ = new QAction(this);
    comparePulls_->setObjectName(QStringLiteral("MenuLogComparePulls"));
    connect(comparePulls_, &QAction::triggered, this, [this] {
        if (PullComparison *p = openPullComparison())
            p->askForLogIfEmpty();
    });
    shell_.placeSeparator(host::MenuPlace::Log);
    shell_.placeAction(host::MenuPlace::Log, analyse_);
    shell_.placeAction(host::MenuPlace::Log, comparePulls_);
    shell_.placeAction(host::MenuPlace::Log, marker_);
    connect(&notifier, &host::HostNotifier::languageChanged, this, &LogViewUi::applyTexts);
    // A recording writes a row per decoded reply and starts or stops between them.
    connect(&notifier, &host::HostNotifier::liveValuesDecoded, this, &LogViewUi::updateMarkerAction);
    connect(&notifier, &host::HostNotifier::displayStatesApplied, this, &LogViewUi::updateMarkerAction);
    applyTexts(shell_.language());
    updateMarkerAction();
}

LogViewUi::~LogViewUi()
{
    // The workbench window is the host window's child; it goes first, while its module is
    // still loaded (the module is never unloaded).
    delete window_.data();
    delete pullsWindow_.data();
}

QStringList LogViewUi::defaultModuleDirs()
{
    const QString app = QCoreApplication::applicationDirPath();
    QStringList dirs = {app, app + QStringLiteral("/lib/vorn4"), app + QStringLiteral("/../lib/vorn4"),
                        app + QStringLiteral("/../lib")};
    for (const char *dir : {VORN4_BUILD_MODULE_DIR, VORN4_INSTALL_MODULE_DIR})
        if (*dir)
            dirs << QString::fromUtf8(dir);
    return dirs;
}

void LogViewUi::applyTexts(int language)
{
    language_ = language;
    analyse_->setText(text4(texts::kAnalyseLog, language));
    marker_->setText(text4(texts::kAddMarker, language));
    marker_->setToolTip(text4(texts::kAddMarkerTip, language));
    marker_->setStatusTip(text4(texts::kAddMarkerTip, language));
    comparePulls_->setText(text4(texts::kComparePulls, language));
    if (workbench_)
        workbench_->setLanguage(language);
    if (pulls_)
        pulls_->setLanguage(language);
}

void LogViewUi::updateMarkerAction()
{
    marker_->setEnabled(!recordingLog_().isEmpty());
}

void *logViewModuleEntry(const QStringList &dirs, const char *name)
{
    for (const QString &dir : dirs) {
        QLibrary module(dir + QLatin1Char('/') + kModuleName);
        if (!module.load())
            continue;
        if (QFunctionPointer entry = module.resolve(name))
            return reinterpret_cast<void *>(entry);   // stays loaded for the rest of the run
    }
    return nullptr;
}

void *LogViewUi::moduleEntry(const char *name)
{
    return logViewModuleEntry(moduleDirs_, name);
}

void LogViewUi::showWindow(QWidget *w)
{
    w->show();
    w->raise();
    w->activateWindow();
}

Workbench *LogViewUi::openWorkbench()
{
    if (!workbench_) {
        auto create = reinterpret_cast<Vorn4CreateLogWorkbench>(moduleEntry(VORN4_LOGVIEW_ENTRY));
        if (!create) {
            shell_.message(text4(texts::kNoModule, language_).arg(kModuleName));
            return nullptr;
        }
        workbench_ = create(shell_, pullStarts_, shell_.dialogParent());
        window_ = workbench_->widget();
        workbench_->setLanguage(language_);
    }
    showWindow(workbench_->widget());
    return workbench_;
}

PullComparison *LogViewUi::openPullComparison()
{
    if (!pulls_) {
        auto create = reinterpret_cast<Vorn4CreatePullComparison>(moduleEntry(VORN4_PULLS_ENTRY));
        // The figures are made here, from the program's own pull finder.
        const ComparePulls compare = [](const QStringList &logs, const std::optional<std::vector<int>> &chosen,
                                        bool average, int language) {
            return comparePulls(logs, chosen, average, language);
        };
        if (create)
            pulls_ = create(shell_, compare, shell_.dialogParent());
        if (!pulls_) {
            shell_.message(text4(texts::kNoPullsModule, language_).arg(kModuleName));
            return nullptr;
        }
        pullsWindow_ = pulls_->widget();
        pulls_->setLanguage(language_);
    }
    showWindow(pulls_->widget());
    return pulls_;
}

bool LogViewUi::addMarker()
{
    const QString log = recordingLog_();
    if (log.isEmpty())
        return false;
    // The moment of the key press, not of the end of typing the note.
    const std::optional<double> at = recordingTimeNow(log, QDateTime::currentDateTime());
    if (!at) {
        shell_.message(text4(texts::kMarkerFailed, language_).arg(QDir::toNativeSeparators(log)));
        return false;
    }
    const QString time = QString::number(*at, 'f', 1);
    QInputDialog dialog(shell_.dialogParent());
    dialog.setObjectName(QStringLiteral("MarkerNote"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(text4(texts::kMarkerTitle, language_).arg(time));
    dialog.setLabelText(text4(texts::kMarkerNote, language_));
    if (shell_.runDialog(&dialog) != QDialog::Accepted)
        return false;
    if (!appendMarker(log, LogMarker{*at, dialog.textValue().simplified()})) {
        shell_.message(text4(texts::kMarkerFailed, language_).arg(QDir::toNativeSeparators(log)));
        return false;
    }
    if (workbench_)
        workbench_->reloadMarkers();
    return true;
}

}  // namespace vorn::logview
