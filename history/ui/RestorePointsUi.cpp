// Restore points in the window.
#include "RestorePointsUi.h"

#include "ChangeTrackingUi.h"
#include "CompareUi.h"
#include "RestorePointsDialog.h"
#include "files/ConfigDir.h"
#include "files/IgnFile.h"
#include "history/HistoryTexts.h"
#include "host/ImageEditing.h"
#include "host/Shell.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>

RestorePointsUi::RestorePointsUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing,
                                 vorn::host::HostNotifier &notifier, ChangeTrackingUi &tracking, CompareUi &compare,
                                 QObject *parent)
    : QObject(parent), shell_(shell), editing_(editing), notifier_(notifier), tracking_(tracking), compare_(compare)
{
    using vorn::host::HostNotifier;
    open_ = new QAction(this);
    open_->setObjectName(QStringLiteral("MenuRestorePoints"));
    connect(open_, &QAction::triggered, this, &RestorePointsUi::openRestorePoints);
    connect(compare.pointAction(), &QAction::triggered, this, &RestorePointsUi::openRestorePoints);
    shell.placeAction(vorn::host::MenuPlace::FileExtras, open_);
    pool_.setMaxThreadCount(1);   // points are written in the order they were taken

    connect(&notifier, &HostNotifier::started, this, [this] { started_ = true; });
    connect(&notifier, &HostNotifier::imageReplacing, this,
            [this](HostNotifier::Replacement why, const vorn::ParameterImage &before) {
                write(why == HostNotifier::Replacement::New    ? vorn::RestoreEvent::BeforeNew
                      : why == HostNotifier::Replacement::Open ? vorn::RestoreEvent::BeforeOpen
                                                               : vorn::RestoreEvent::BeforeModel,
                      before);
            });
    connect(&notifier, &HostNotifier::transferStarted, this, [this](HostNotifier::Transfer kind) {
        if (kind == HostNotifier::Transfer::Read)
            write(vorn::RestoreEvent::BeforeRead, editing_.image());
    });
    connect(&tracking, &ChangeTrackingUi::unitStored, this,
            [this](vorn::RestoreEvent event, const QString &unit) { write(event, editing_.image(), unit); });
    connect(&notifier, &HostNotifier::languageChanged, this, [this](int language) {
        language_ = language;
        open_->setText(vorn::text4(vorn::htext::RestorePoints, language));
        if (dialog_ && dialog_->isVisible())
            dialog_->fill(restorePointFolder(), editing_.image(), language);
    });
    // Closing: the queued points are written, nothing else runs meanwhile, and the list goes.
    connect(&notifier, &HostNotifier::closing, this, [this] {
        pool_.waitForDone();
        delete dialog_;
    });
    language_ = shell.language();
    open_->setText(vorn::text4(vorn::htext::RestorePoints, language_));
}

RestorePointsUi::~RestorePointsUi()
{
    // No point taken is lost: the queued ones are written before the window goes.
    pool_.waitForDone();
    delete dialog_;
}

RestorePointsDialog *RestorePointsUi::restorePointsDialog() const
{
    return dialog_;
}

QString RestorePointsUi::restorePointFolder() const
{
    return vorn::configPath(QStringLiteral("history"));
}

void RestorePointsUi::write(vorn::RestoreEvent event, const vorn::ParameterImage &image, const QString &unit)
{
    if (!started_)
        return;
    if (!store_ || store_->folder() != restorePointFolder())
        store_ = std::make_shared<vorn::RestorePointStore>(restorePointFolder());
    // The file work runs on the pool's one thread, so the window's tick never waits for a disk.
    const QDateTime time = QDateTime::currentDateTime();
    QPointer<RestorePointsUi> self(this);
    auto store = store_;
    pool_.start([store, image, event, time, unit, self] {
        const auto result = store->write(image, event, time, unit);
        if (!result.reportFailure)
            return;
        // The result comes back to the window's thread; the window may be gone by then.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, result] {
                if (self)
                    self->tracking_.pointFailed(result);
            },
            Qt::QueuedConnection);
    });
}

void RestorePointsUi::waitForRestorePoints()
{
    pool_.waitForDone();
    QCoreApplication::sendPostedEvents();
}

void RestorePointsUi::openRestorePoints()
{
    if (shell_.closing())
        return;
    if (!dialog_) {
        dialog_ = new RestorePointsDialog(shell_.dialogParent());
        dialog_->onShowDifferences = [this](const QString &path) { showDifferencesTo(path); };
        dialog_->onRestore = [this](const QString &path) { restoreFrom(path); };
    }
    waitForRestorePoints();
    dialog_->fill(restorePointFolder(), editing_.image(), language_);
    dialog_->show();
    dialog_->raise();
}

void RestorePointsUi::restoreFrom(const QString &path)
{
    vorn::ParameterImage img = editing_.image();
    if (!vorn::loadRestorePoint(path, img)) {
        shell_.message(shell_.messageText(vorn::Msg::OpenFileError));
        return;
    }
    editing_.applyEdit(img, {&vorn::htext::StepRestore, QFileInfo(path).completeBaseName()});
    emit notifier_.tuneLoaded(editing_.image());
    if (dialog_ && dialog_->isVisible())
        dialog_->fill(restorePointFolder(), editing_.image(), language_);
}

void RestorePointsUi::showDifferencesTo(const QString &path)
{
    vorn::ParameterImage img = editing_.image();
    if (vorn::loadRestorePoint(path, img))
        compare_.showComparison(img, vorn::ParameterFileBytes(), QFileInfo(path).completeBaseName());
    else
        shell_.message(shell_.messageText(vorn::Msg::OpenFileError));
}
