// The change-tracking parts of the status bar: the unit and the file.
#include "ChangeTrackingUi.h"

#include "files/IgnFile.h"
#include "history/HistoryTexts.h"
#include "host/ImageEditing.h"
#include "host/Link.h"
#include "host/Shell.h"
#include "host/StatusPart.h"
#include "link/Monitor.h"

#include <QFile>

ChangeTrackingUi::ChangeTrackingUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing,
                                   vorn::host::Link &link, vorn::host::HostNotifier &notifier, QObject *parent)
    : QObject(parent), shell_(shell), editing_(editing), link_(link)
{
    using vorn::host::HostNotifier;
    connect(&notifier, &HostNotifier::started, this, [this] {
        fileAtStart();
        updateStatus();
    });
    connect(&notifier, &HostNotifier::imageEdited, this, &ChangeTrackingUi::updateStatus);
    connect(&notifier, &HostNotifier::fileEvent, this, &ChangeTrackingUi::fileEvent);
    connect(&notifier, &HostNotifier::transferStarted, this, [this](HostNotifier::Transfer kind) {
        if (kind == HostNotifier::Transfer::Read)
            fileEvent(HostNotifier::FileEvent::Forgotten, QString());   // the image is the unit's now
    });
    connect(&notifier, &HostNotifier::linkEventsApplied, this, &ChangeTrackingUi::linkEventsApplied);
    connect(&notifier, &HostNotifier::unitForgotten, this, [this] {
        tracker_.unitForgotten();
        verifyOffer_.reset();
        updateStatus();
    });
    connect(&notifier, &HostNotifier::languageChanged, this, [this](int language) {
        language_ = language;
        updateStatus();
    });

    unitPart_ = vorn::host::addStatusPart(shell, {.name = "StatusUnit", .receiver = this, .onClick = [this] { unitPartClicked(); }});
    filePart_ = vorn::host::addStatusPart(shell, {.name = "StatusFile", .receiver = this, .onClick = [this] {
        if (tracker_.fileOrigin() != vorn::ChangeTracker::FileOrigin::None)
            emit fileComparisonWanted(tracker_.filePath());
    }});
    language_ = shell.language();
    updateStatus();
}

void ChangeTrackingUi::linkEventsApplied(const vorn::LinkEvents &events)
{
    using vorn::LinkEvent;
    const vorn::ParameterImage &image = editing_.image();
    for (const LinkEvent &e : events) {
        if (e.kind == LinkEvent::ShowStatus) {
            if (e.style == LinkEvent::Progress) {
                verifyOffer_.reset();   // the unit is being read or written again
                if (notice_ != Notice::PointFailed)
                    setNotice(Notice::None);
                // Begin Verify of a Read or Program shows "Verify:" too: still that operation.
                if (e.message == vorn::Msg::Read) {
                    op_ = Operation::Read;
                } else if (e.message == vorn::Msg::ProgramDevice) {
                    // From the first block written on, the unit holds neither the old image
                    // nor (until Program ends OK) the new one.
                    if (op_ != Operation::Program)
                        tracker_.programStarted();
                    op_ = Operation::Program;
                } else if (e.message == vorn::Msg::Verify && op_ == Operation::None) {
                    op_ = Operation::Verify;
                }
            } else {
                const bool verifyError = e.style == LinkEvent::Error && e.message == vorn::Msg::VerifyError;
                if (verifyError)
                    offerVerifyReplies();
                operationEnded(e.style == LinkEvent::Success, verifyError);
            }
        } else if (e.kind == LinkEvent::VersionMismatch) {
            op_ = Operation::None;
        } else if (e.kind == LinkEvent::MonitorFrame && vorn::frameIsValid(e.frame)) {
            const auto before = tracker_.unitState(image);
            tracker_.programCountSeen(vorn::parseMonitorFrame(e.frame).programCount);
            if (before != vorn::ChangeTracker::Unit::Changed
                && tracker_.unitState(image) == vorn::ChangeTracker::Unit::Changed)
                verifyOffer_.reset();   // someone else wrote to the unit since
        }
    }
    updateStatus();
}

namespace {
constexpr std::uint8_t kSettingsAndMapBlocks = (1u << 1) | (1u << 2);
}

void ChangeTrackingUi::operationEnded(bool ok, bool verifyError)
{
    if (op_ == Operation::None)
        return;
    if (ok) {
        tracker_.unitMatched(editing_.image());
        if (op_ != Operation::Verify) {
            const auto &id = link_.identification();
            const QString unit = QStringList{id.version, id.date.trimmed(), id.time}.join(' ').trimmed();
            emit unitStored(op_ == Operation::Read ? vorn::RestoreEvent::Read : vorn::RestoreEvent::Programmed, unit);
        }
    } else if (verifyError && verifyOffer_ && verifyOffer_->missingBlocks.empty()) {
        // The unit sent both blocks back: that is what it holds, whatever the window shows.
        tracker_.unitMatched(verifyOffer_->unit);
    } else if (op_ == Operation::Program && (link_.session().blocksWritten() & kSettingsAndMapBlocks)) {
        // The unit keeps its own identification in block 0; the other two may be new or old.
        tracker_.programLeftPartialImage();
    } else {
        // A transfer that failed leaves the unit unknown: part of it may be written or read.
        tracker_.unitUnknown();
    }
    op_ = Operation::None;
}

void ChangeTrackingUi::fileEvent(vorn::host::HostNotifier::FileEvent event, const QString &path)
{
    using FileEvent = vorn::host::HostNotifier::FileEvent;
    if (event == FileEvent::Saved)
        tracker_.fileSaved(path, editing_.image());
    else if (event == FileEvent::Opened)
        tracker_.fileOpened(path, editing_.image());
    else
        tracker_.fileForgotten();
    updateStatus();
}

// The settings bring back the file name of the last run but not the file itself; what it
// holds now tells whether the window still matches it.
void ChangeTrackingUi::fileAtStart()
{
    const QString path = editing_.currentFile();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > (1 << 20))
        return;
    vorn::ParameterImage fromFile = editing_.image();
    if (vorn::ReadParameterFile(file.readAll(), fromFile))
        tracker_.fileSaved(path, fromFile);
}

void ChangeTrackingUi::unitRead(const vorn::ParameterImage &unit)
{
    tracker_.unitMatched(unit);
    setNotice(Notice::None);
}

void ChangeTrackingUi::pointFailed(const vorn::RestorePointStore::Result &result)
{
    pointFailure_ = result;
    setNotice(Notice::PointFailed);
}

void ChangeTrackingUi::offerVerifyReplies()
{
    auto replies = vorn::verifyReplies(editing_.image(), link_.session());
    if (!replies.anySent()) {
        verifyOffer_.reset();
        setNotice(Notice::VerifyNothingSent);
        return;
    }
    verifyOffer_ = std::move(replies);
    verifyOfferWindow_ = editing_.image();
    setNotice(Notice::VerifyOffer);
}

bool ChangeTrackingUi::verifyRepliesOffered() const
{
    return verifyOffer_ && !vorn::settingsDiffer(verifyOfferWindow_, editing_.image());
}

void ChangeTrackingUi::unitPartClicked()
{
    if (notice_ == Notice::PointFailed) {
        const QString why = vorn::text4(vorn::htext::PointFailed, language_)
                                .arg(vorn::restorePointError(pointFailure_, language_));
        setNotice(Notice::None);
        shell_.message(why);
        return;
    }
    if (verifyRepliesOffered()) {
        emit verifyRepliesWanted();
        return;
    }
    verifyOffer_.reset();   // the image changed since: what the unit holds is read anew
    emit unitComparisonWanted();
}

void ChangeTrackingUi::setNotice(Notice notice)
{
    notice_ = notice;
    updateStatus();
}

void ChangeTrackingUi::updateStatus()
{
    using namespace vorn;
    const ParameterImage &image = editing_.image();
    if (notice_ == Notice::VerifyOffer && !verifyRepliesOffered())
        notice_ = Notice::None;   // the image or the unit changed since: nothing to offer
    QString text = tracker_.unitText(image, language_);
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
    if (!tip.isEmpty() && text == tracker_.unitText(image, language_))
        text += QStringLiteral(" | ") + tip;
    unitPart_->setText(text);
    unitPart_->setToolTip(tip);
    filePart_->setText(tracker_.fileText(image, language_));
}
