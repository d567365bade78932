// Change tracking in the window: the unit and the file parts of the status bar, what each
// transfer leaves the unit holding, and the offer after "Verify error!" of what the unit did
// send. The unit part also carries the other history parts' messages (a comparison that could
// not run, a restore point not written): the hint panel shows hints only.
#pragma once

#include "host/Roles.h"
#include "history/ChangeTracking.h"
#include "history/Comparison.h"
#include "history/RestorePoints.h"
#include "host/HostNotifier.h"
#include "host/StatusPart.h"

#include <QLabel>
#include <QObject>

#include <optional>

class ChangeTrackingUi : public QObject {
    Q_OBJECT
public:
    // What the unit part says beside the unit's state (its text and tooltip).
    enum class Notice { None, VerifyOffer, VerifyNothingSent, PointFailed, CompareReading, CompareFailed,
                        CompareReplaying };

    ChangeTrackingUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing, vorn::host::Link &link,
                     vorn::host::HostNotifier &notifier, QObject *parent = nullptr);

    void setNotice(Notice notice);
    // A restore point was not written; said on the unit part until clicked.
    void pointFailed(const vorn::RestorePointStore::Result &result);
    // The unit was read by a comparison: what it holds is known.
    void unitRead(const vorn::ParameterImage &unit);
    // After "Verify error!": what the unit did send, offered by the unit part until the
    // image or the unit changes or another operation starts.
    bool verifyRepliesOffered() const;
    const std::optional<vorn::VerifyReplies> &verifyOffer() const { return verifyOffer_; }
    void dropVerifyOffer() { verifyOffer_.reset(); }

    const vorn::ChangeTracker &tracker() const { return tracker_; }
    vorn::host::ClickLabel *unitPart() const { return unitPart_; }
    vorn::host::ClickLabel *filePart() const { return filePart_; }

signals:
    // A Read or Program ended OK: the unit now holds the window's image; `unit` names it.
    void unitStored(vorn::RestoreEvent event, const QString &unit);
    // A click on the unit part asks for the unit's replies after a verify error, or for a
    // comparison with the unit; one on the file part for a comparison with the file.
    void verifyRepliesWanted();
    void unitComparisonWanted();
    void fileComparisonWanted(const QString &path);

private:
    void linkEventsApplied(const vorn::LinkEvents &events);
    void operationEnded(bool ok, bool verifyError);
    void fileEvent(vorn::host::HostNotifier::FileEvent event, const QString &path);
    void fileAtStart();
    void offerVerifyReplies();
    void unitPartClicked();
    void updateStatus();

    vorn::host::Shell &shell_;
    vorn::host::ImageEditing &editing_;
    vorn::host::Link &link_;
    enum class Operation { None, Read, Program, Verify };
    Operation op_ = Operation::None;
    vorn::ChangeTracker tracker_;
    std::optional<vorn::VerifyReplies> verifyOffer_;
    vorn::ParameterImage verifyOfferWindow_;   // the window's image the offer was made for
    Notice notice_ = Notice::None;
    vorn::RestorePointStore::Result pointFailure_;   // the first point not written, said on a click
    vorn::host::ClickLabel *unitPart_ = nullptr;
    vorn::host::ClickLabel *filePart_ = nullptr;
    int language_ = 0;
};
