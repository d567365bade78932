// Restore points and comparisons in the window. The Restore points list and the comparison
// are windows of their own beside the main window (parented to it, so they go with it);
// the feature closes them when the window starts closing.
#include "ChangeHistoryUi.h"

#include "CompareView.h"
#include "RestorePointsDialog.h"
#include "files/ConfigDir.h"
#include "files/IgnFile.h"
#include "history/HistoryTexts.h"
#include "host/ImageEditing.h"
#include "host/Link.h"
#include "host/LiveView.h"
#include "host/Shell.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

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
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, result] {
                if (self)
                    self->pointFailed(result);
            },
            Qt::QueuedConnection);
    });
}

void ChangeHistoryUi::pointFailed(const vorn::RestorePointStore::Result &result)
{
    pointFailure_ = result;
    setNotice(Notice::PointFailed);
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
    closeWindows();
}

void ChangeHistoryUi::closeWindows()
{
    // Nothing of the feature outlives the window's closing, nor calls back into it.
    delete compareView_;
    delete pointsDialog_;
}

CompareView *ChangeHistoryUi::compareView() const
{
    return compareView_;
}

RestorePointsDialog *ChangeHistoryUi::restorePointsDialog() const
{
    return pointsDialog_;
}

void ChangeHistoryUi::openRestorePoints()
{
    if (shell_.closing())
        return;
    if (!pointsDialog_) {
        pointsDialog_ = new RestorePointsDialog(shell_.dialogParent());
        pointsDialog_->onShowDifferences = [this](const QString &path) { showDifferencesTo(path); };
        pointsDialog_->onRestore = [this](const QString &path) { restoreFrom(path); };
    }
    waitForRestorePoints();
    pointsDialog_->fill(restorePointFolder(), image(), language_);
    pointsDialog_->show();
    pointsDialog_->raise();
}

void ChangeHistoryUi::restoreFrom(const QString &path)
{
    vorn::ParameterImage img = image();
    if (!vorn::loadRestorePoint(path, img)) {
        shell_.message(shell_.messageText(vorn::Msg::OpenFileError));
        return;
    }
    editing_.applyEdit(img, {&vorn::htext::StepRestore, QFileInfo(path).completeBaseName()});
    emit restored(image());
    if (pointsDialog_ && pointsDialog_->isVisible())
        pointsDialog_->fill(restorePointFolder(), image(), language_);
}

void ChangeHistoryUi::showComparison(const vorn::ParameterImage &other, const vorn::ByteMask &mask,
                                     const QString &title, const QString &note)
{
    if (shell_.closing())
        return;
    if (!compareView_)
        compareView_ = new CompareView(shell_.dialogParent());
    vorn::Comparison c{image(), other, mask};
    compareView_->showComparison(c, title, language_, note);
    compareView_->show();
    compareView_->raise();
}

void ChangeHistoryUi::showDifferencesTo(const QString &path)
{
    vorn::ParameterImage img = image();
    if (vorn::loadRestorePoint(path, img))
        showComparison(img, vorn::ParameterFileBytes(), QFileInfo(path).completeBaseName());
    else
        shell_.message(shell_.messageText(vorn::Msg::OpenFileError));
}

void ChangeHistoryUi::compareWithFile(const QString &path)
{
    // A file that cannot be read is an open error; one that reads but is not a parameter
    // file of this program is the mismatch.
    QFile file(path);
    QByteArray bytes;
    bool read = file.open(QIODevice::ReadOnly);
    if (read && file.size() <= (1 << 20)) {
        bytes = file.readAll();
        read = file.error() == QFileDevice::NoError;
    }
    if (!read) {
        shell_.message(shell_.messageText(vorn::Msg::OpenFileError));
        return;
    }
    vorn::ParameterImage img = image();
    if (file.size() > (1 << 20) || !vorn::ReadParameterFile(bytes, img)) {
        shell_.message(shell_.messageText(vorn::Msg::UnmatchedIgnFile));
        return;
    }
    showComparison(img, vorn::ParameterFileBytes(), QFileInfo(path).fileName());
}

void ChangeHistoryUi::compareWithFileChosen()
{
    const QString path = editing_.chooseParameterFile();
    if (!path.isEmpty())
        compareWithFile(QFileInfo(path).absoluteFilePath());
}

void ChangeHistoryUi::compareWithUnit()
{
    // A replay holds the line still: the comparison would wait for its end.
    if (live_.replaying()) {
        setNotice(Notice::CompareReplaying);
        return;
    }
    // Only between the window's own operations, over the port the window has open.
    if (compareSession_ || link_.session().mode() != vorn::ModeIdle || !link_.port()) {
        if (!link_.port())
            setNotice(Notice::CompareFailed);
        return;
    }
    verifyOffer_.reset();
    compareImage_ = vorn::ParameterImage{};
    compareSession_ = std::make_unique<vorn::DeviceSession>(compareImage_);
    compareSession_->setPort(link_.port());
    compareSession_->startRead();   // the same frames, repeats and time-outs as Read
    setNotice(Notice::CompareReading);
}

bool ChangeHistoryUi::tickInstead()
{
    if (!compareSession_)
        return false;
    if (compareSession_->port() != link_.port()) {
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
    emit unitCompared(ok, compareImage_);
    if (!ok) {
        setNotice(Notice::CompareFailed);
        return;
    }
    // What the unit holds is now known; the unit part counts against it.
    tracker_.unitMatched(compareImage_);
    setNotice(Notice::None);
    showComparison(compareImage_, vorn::catalogueBytes(), vorn::text4(vorn::htext::CompareWithUnit, language_));
}

void ChangeHistoryUi::offerVerifyReplies()
{
    auto replies = vorn::verifyReplies(image(), link_.session());
    if (!replies.anySent()) {
        verifyOffer_.reset();
        setNotice(Notice::VerifyNothingSent);
        return;
    }
    verifyOffer_ = std::move(replies);
    verifyOfferWindow_ = image();
    setNotice(Notice::VerifyOffer);
}

bool ChangeHistoryUi::verifyRepliesOffered() const
{
    return verifyOffer_ && !vorn::settingsDiffer(verifyOfferWindow_, image());
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
    if (notice_ == Notice::PointFailed) {
        const QString why = vorn::text4(vorn::htext::PointFailed, language_)
                                .arg(vorn::restorePointError(pointFailure_, language_));
        setNotice(Notice::None);
        shell_.message(why);
        return;
    }
    if (verifyRepliesOffered()) {
        showVerifyReplies();
        return;
    }
    verifyOffer_.reset();   // the image changed since: what the unit holds is read anew
    compareWithUnit();
}
