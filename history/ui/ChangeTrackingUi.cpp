// The change-tracking parts of the status bar: the unit and the file. The unit part also
// carries the feature's own messages (the offer after "Verify error!", a comparison that
// could not run, a restore point not written): the hint panel shows hints only.
#include "ChangeHistoryUi.h"

#include "files/IgnFile.h"
#include "history/HistoryTexts.h"
#include "host/ImageEditing.h"

#include <QFile>
#include <QLabel>

void ChangeHistoryUi::fileSaved(const QString &path)
{
    tracker_.fileSaved(path, image());
    updateStatus();
}

void ChangeHistoryUi::fileOpened(const QString &path)
{
    tracker_.fileOpened(path, image());
    updateStatus();
}

void ChangeHistoryUi::fileForgotten()
{
    tracker_.fileForgotten();
    updateStatus();
}

// The settings bring back the file name of the last run but not the file itself; what it
// holds now tells whether the window still matches it.
void ChangeHistoryUi::fileAtStart()
{
    const QString path = editing_.currentFile();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > (1 << 20))
        return;
    vorn::ParameterImage fromFile = image();
    if (vorn::ReadParameterFile(file.readAll(), fromFile))
        tracker_.fileSaved(path, fromFile);
}

void ChangeHistoryUi::setNotice(Notice notice)
{
    notice_ = notice;
    updateStatus();
}

void ChangeHistoryUi::updateStatus()
{
    if (!unitPart_)
        return;
    using namespace vorn;
    if (notice_ == Notice::VerifyOffer && !verifyRepliesOffered())
        notice_ = Notice::None;   // the image or the unit changed since: nothing to offer
    QString text = tracker_.unitText(image(), language_);
    QString tip;
    switch (notice_) {
    case Notice::None:
        break;
    case Notice::VerifyOffer:
        text += QStringLiteral(" | ") + text4(htext::VerifyOfferShort, language_);
        tip = text4(htext::VerifyOffer, language_);
        break;
    case Notice::VerifyNothingSent:
        tip = text4(htext::VerifyNothingSent, language_);
        break;
    case Notice::PointFailed:
        text += QStringLiteral(" | ") + text4(htext::PointFailedShort, language_);
        tip = text4(htext::PointFailed, language_).arg(restorePointError(pointFailure_, language_));
        break;
    case Notice::CompareReading:
        tip = text4(htext::CompareReading, language_);
        break;
    case Notice::CompareFailed:
        tip = text4(htext::CompareReadFailed, language_);
        break;
    case Notice::CompareReplaying:
        tip = text4(htext::CompareReplaying, language_);
        break;
    }
    if (!tip.isEmpty() && text == tracker_.unitText(image(), language_))
        text += QStringLiteral(" | ") + tip;
    unitPart_->setText(text);
    unitPart_->setToolTip(tip);
    filePart_->setText(tracker_.fileText(image(), language_));
}
