// Undo and redo, change tracking, restore points and comparisons as the window offers them:
// the Edit menu, the steps of every change path, the shortcuts that work inside a number
// field too, and the unit and file parts of the status bar. It sees the window only through
// the host roles it is given.
#pragma once

#include "history/ChangeTracking.h"
#include "history/Comparison.h"
#include "history/RestorePoints.h"
#include "history/UndoHistory.h"
#include "host/StatusPart.h"
#include "link/Session.h"

#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <memory>

class QAction;
class QMenu;
class CompareView;
class RestorePointsDialog;

namespace vorn::host {
class HostNotifier;
class ImageEditing;
class Link;
class LiveView;
class Shell;
}  // namespace vorn::host

class ChangeHistoryUi : public QObject {
    Q_OBJECT
public:
    ChangeHistoryUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing, vorn::host::LiveView &live,
                    vorn::host::Link &link, vorn::host::HostNotifier &notifier, QObject *parent = nullptr);
    ~ChangeHistoryUi() override;

    // The start-up state is the first recorded one; nothing before it can be undone.
    void started();
    // The name the next recorded step gets when it changes several parameters.
    void nextStep(const vorn::StepLabel &label) { pending_ = label; }
    // End of every after-edit hook: records the change as one step.
    void afterEdit();
    // The window's public noteImageChange.
    void noteImageChange(const QString &what);
    // A Read starts: the image as it is now is the state before the unit's blocks.
    void readStarted();

    // The file the window's image was saved to or opened from; forgotten by New and Read.
    void fileSaved(const QString &path);
    void fileOpened(const QString &path);
    void fileForgotten();

    // The window's image just before New, Open or a model change replaces it.
    void beforeReplace(vorn::RestoreEvent event, const vorn::ParameterImage &image);
    // Restore points are written off the window's thread; this waits for those under way.
    void waitForRestorePoints();
    // Closing: the queued points are written, nothing else runs meanwhile.
    void finishRestorePoints();
    QString restorePointFolder() const;
    void openRestorePoints();
    void restoreFrom(const QString &path);
    void showDifferencesTo(const QString &path);

    // Compare: the window's image with the unit (read into a buffer of its own), a file,
    // or a restore point.
    void compareWithUnit();
    void compareWithFile(const QString &path);
    void compareWithFileChosen();
    // While the unit is read for a comparison, the window's tick runs that read instead of
    // the window's session; true when it did.
    bool tickInstead();
    bool comparingWithUnit() const { return compareSession_ != nullptr; }
    // After "Verify error!": what the unit did send, offered by the unit part of the status
    // bar until the image or the unit changes or another operation starts.
    bool verifyRepliesOffered() const;
    void showVerifyReplies();
    CompareView *compareView() const;
    RestorePointsDialog *restorePointsDialog() const;

    void undo();
    void redo();
    const vorn::UndoHistory &history() const { return history_; }
    const vorn::ChangeTracker &tracker() const { return tracker_; }
    vorn::host::ClickLabel *unitPart() const { return unitPart_; }
    vorn::host::ClickLabel *filePart() const { return filePart_; }

signals:
    // The unit was read for a comparison; `unit` is what it holds when `ok`.
    void unitCompared(bool ok, const vorn::ParameterImage &unit);
    // A restore point became the window's image.
    void restored(const vorn::ParameterImage &image);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What the unit part says beside the unit's state (its text and tooltip).
    enum class Notice { None, VerifyOffer, VerifyNothingSent, PointFailed, CompareReading, CompareFailed,
                        CompareReplaying };

    const vorn::ParameterImage &image() const;
    void record(const vorn::StepLabel &label);
    void step(bool back);
    void updateActions();
    void retranslate(int language);
    void updateStatus();
    void linkEventsApplied(const vorn::LinkEvents &events);
    void unitForgotten();
    void operationEnded(bool ok, bool verifyError);
    void fileAtStart();
    void setNotice(Notice notice);
    void closeWindows();

    void writePoint(vorn::RestoreEvent event, const vorn::ParameterImage &image, const QString &unit = QString());
    void pointFailed(const vorn::RestorePointStore::Result &result);
    void showComparison(const vorn::ParameterImage &other, const vorn::ByteMask &mask, const QString &title,
                        const QString &note = QString());
    void offerVerifyReplies();
    void unitPartClicked();
    void compareDone(bool ok);

    vorn::host::Shell &shell_;
    vorn::host::ImageEditing &editing_;
    vorn::host::LiveView &live_;
    vorn::host::Link &link_;

    QThreadPool pool_;
    std::shared_ptr<vorn::RestorePointStore> store_;
    QPointer<RestorePointsDialog> pointsDialog_;
    QPointer<CompareView> compareView_;
    QAction *restorePoints_ = nullptr;
    QMenu *compare_ = nullptr;
    QAction *compareUnit_ = nullptr, *compareFile_ = nullptr, *comparePoint_ = nullptr;
    vorn::ParameterImage compareImage_;
    std::unique_ptr<vorn::DeviceSession> compareSession_;
    std::optional<vorn::VerifyReplies> verifyOffer_;
    vorn::ParameterImage verifyOfferWindow_;   // the window's image the offer was made for
    Notice notice_ = Notice::None;
    vorn::RestorePointStore::Result pointFailure_;   // the first point not written, said on a click

    enum class Operation { None, Read, Program, Verify };
    Operation op_ = Operation::None;
    vorn::ChangeTracker tracker_;
    vorn::host::ClickLabel *unitPart_ = nullptr;
    vorn::host::ClickLabel *filePart_ = nullptr;

    vorn::UndoHistory history_;
    vorn::StepLabel pending_;
    bool started_ = false;
    bool applying_ = false;
    bool readPending_ = false;
    bool newestUnlabelled_ = false;   // the newest step was recorded without a name this turn
    int language_ = 0;
    QAction *undo_ = nullptr;
    QAction *redo_ = nullptr;
};
