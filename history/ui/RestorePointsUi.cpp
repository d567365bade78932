// Restore points and comparisons in the window.
#include "ChangeHistoryUi.h"

#include "CompareView.h"
#include "RestorePointsDialog.h"
#include "app/Hlav.h"
#include "files/ConfigDir.h"
#include "files/IgnFile.h"
#include "history/HistoryTexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QStatusBar>

QString ChangeHistoryUi::restorePointFolder() const
{
    return vorn::configPath(QStringLiteral("history"));
}

void ChangeHistoryUi::writePoint(vorn::RestoreEvent event, const vorn::ParameterImage &image, const QString &unit)
{
    if (!started_)
        return;
    if (!store_ || store_->folder() != restorePointFolder())
        store_ = std::make_shared<vorn::RestorePointStore>(restorePointFolder());
    // The file work runs on the pool's one thread, so the window's tick never waits for a disk.
    const QDateTime time = QDateTime::currentDateTime();
    QPointer<ChangeHistoryUi> self(this);
    auto store = store_;
    pool_.start([store, image, event, time, unit, self] {
        const auto result = store->write(image, event, time, unit);
        if (!result.reportFailure)
            return;
        // The result comes back to the window's thread; the window may be gone by then.
        const QString error = result.error;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, error] {
                if (self)
                    self->pointFailed(error);
            },
            Qt::QueuedConnection);
    });
}

void ChangeHistoryUi::pointFailed(const QString &error)
{
    form_.statusBar()->showMessage(vorn::text4(vorn::htext::PointFailed, language_).arg(error));
}

void ChangeHistoryUi::beforeReplace(vorn::RestoreEvent event, const vorn::ParameterImage &image)
{
    writePoint(event, image);
}

void ChangeHistoryUi::waitForRestorePoints()
{
    pool_.waitForDone();
    QCoreApplication::sendPostedEvents();
}

void ChangeHistoryUi::finishRestorePoints()
{
    pool_.waitForDone();
}

ChangeHistoryUi::~ChangeHistoryUi()
{
    // No point taken is lost: the queued ones are written before the window goes.
    pool_.waitForDone();
}

void ChangeHistoryUi::openRestorePoints()
{
    if (!pointsDialog_) {
        pointsDialog_ = new RestorePointsDialog(&form_);
        pointsDialog_->onShowDifferences = [this](const QString &path) { showDifferencesTo(path); };
        pointsDialog_->onRestore = [this](const QString &path) { restoreFrom(path); };
    }
    waitForRestorePoints();
    pointsDialog_->fill(restorePointFolder(), form_.Image, language_);
    pointsDialog_->show();
    pointsDialog_->raise();
}

void ChangeHistoryUi::restoreFrom(const QString &path)
{
    vorn::ParameterImage img = form_.Image;
    if (!vorn::loadRestorePoint(path, img)) {
        form_.MessageBox(form_.Messages[vorn::Msg::OpenFileError]);
        return;
    }
    form_.Image = img;
    nextStep({&vorn::htext::StepRestore, QFileInfo(path).completeBaseName()});
    form_.AfterEdit();
    if (pointsDialog_ && pointsDialog_->isVisible())
        pointsDialog_->fill(restorePointFolder(), form_.Image, language_);
}

void ChangeHistoryUi::showComparison(const vorn::ParameterImage &other, const vorn::ByteMask &mask,
                                     const QString &title, const QString &note)
{
    if (!compareView_)
        compareView_ = new CompareView(&form_);
    vorn::Comparison c{form_.Image, other, mask};
    compareView_->showComparison(c, title, language_, note);
    compareView_->show();
    compareView_->raise();
}

void ChangeHistoryUi::showDifferencesTo(const QString &path)
{
    vorn::ParameterImage img = form_.Image;
    if (vorn::loadRestorePoint(path, img))
        showComparison(img, vorn::ParameterFileBytes(), QFileInfo(path).completeBaseName());
}

void ChangeHistoryUi::compareWithFile(const QString &path)
{
    QFile file(path);
    vorn::ParameterImage img = form_.Image;
    if (!file.open(QIODevice::ReadOnly) || file.size() > (1 << 20) || !vorn::ReadParameterFile(file.readAll(), img)) {
        form_.MessageBox(form_.Messages[vorn::Msg::UnmatchedIgnFile]);
        return;
    }
    showComparison(img, vorn::ParameterFileBytes(), QFileInfo(path).fileName());
}

void ChangeHistoryUi::compareWithFileChosen()
{
    form_.createFileDialogs();
    const QString path = form_.execFileDialog(form_.OpenDialog1);
    if (!path.isEmpty())
        compareWithFile(QFileInfo(path).absoluteFilePath());
}

void ChangeHistoryUi::compareWithUnit()
{
    // Only between the window's own operations, over the port the window has open.
    if (compareSession_ || form_.Session.mode() != vorn::ModeIdle || !form_.Port) {
        if (!form_.Port)
            form_.statusBar()->showMessage(vorn::text4(vorn::htext::CompareReadFailed, language_));
        return;
    }
    verifyOffer_.reset();
    compareImage_ = vorn::ParameterImage{};
    compareSession_ = std::make_unique<vorn::DeviceSession>(compareImage_);
    compareSession_->setPort(form_.Port.get());
    compareSession_->startRead();   // the same frames, repeats and time-outs as Read
    form_.statusBar()->showMessage(vorn::text4(vorn::htext::CompareReading, language_));
}

bool ChangeHistoryUi::tickInstead()
{
    if (!compareSession_)
        return false;
    if (compareSession_->port() != form_.Port.get()) {
        compareDone(false);
        return false;
    }
    for (const vorn::LinkEvent &e : compareSession_->tick()) {
        if (e.kind == vorn::LinkEvent::VersionMismatch
            || (e.kind == vorn::LinkEvent::ShowStatus && e.style == vorn::LinkEvent::Error)) {
            compareDone(false);
            return true;
        }
        if (e.kind == vorn::LinkEvent::ShowStatus && e.style == vorn::LinkEvent::Success) {
            compareDone(true);
            return true;
        }
    }
    return true;
}

void ChangeHistoryUi::compareDone(bool ok)
{
    compareSession_.reset();
    if (!ok) {
        form_.statusBar()->showMessage(vorn::text4(vorn::htext::CompareReadFailed, language_));
        return;
    }
    form_.statusBar()->clearMessage();
    // What the unit holds is now known; the unit part counts against it.
    tracker_.unitMatched(compareImage_);
    updateStatus();
    showComparison(compareImage_, vorn::catalogueBytes(), vorn::text4(vorn::htext::CompareWithUnit, language_));
}

void ChangeHistoryUi::offerVerifyReplies()
{
    auto replies = vorn::verifyReplies(form_.Image, form_.Session);
    if (!replies.anySent()) {
        form_.statusBar()->showMessage(vorn::text4(vorn::htext::VerifyNothingSent, language_));
        return;
    }
    verifyOffer_ = std::move(replies);
    verifyOfferWindow_ = form_.Image;
    form_.statusBar()->showMessage(vorn::text4(vorn::htext::VerifyOffer, language_));
}

bool ChangeHistoryUi::verifyRepliesOffered() const
{
    return verifyOffer_ && !vorn::settingsDiffer(verifyOfferWindow_, form_.Image);
}

void ChangeHistoryUi::showVerifyReplies()
{
    if (!verifyRepliesOffered())
        return;
    showComparison(verifyOffer_->unit, verifyOffer_->mask, vorn::text4(vorn::htext::CompareUnitSent, language_),
                   vorn::verifyRepliesNote(*verifyOffer_, language_));
}

void ChangeHistoryUi::unitPartClicked()
{
    if (verifyRepliesOffered()) {
        showVerifyReplies();
        return;
    }
    verifyOffer_.reset();   // the image changed since: what the unit holds is read anew
    compareWithUnit();
}
