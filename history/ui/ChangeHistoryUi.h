// The window side of undo and redo: the Edit menu, the steps of every change path, the
// shortcuts that work inside a number field too.
#pragma once

#include "history/ChangeTracking.h"
#include "history/Comparison.h"
#include "history/UndoHistory.h"
#include "link/Session.h"

#include "history/RestorePoints.h"

#include <QLabel>
#include <QObject>
#include <QThreadPool>

#include <memory>

class QAction;
class QMenu;
class TFormHlav;
class CompareView;
class RestorePointsDialog;

// A permanent part of the status bar that opens something when clicked.
class StatusPart : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

class ChangeHistoryUi : public QObject {
    Q_OBJECT
public:
    // Builds the Edit menu between File and Com.
    explicit ChangeHistoryUi(TFormHlav &form);
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
    // After the window applied the session's events (ticks and starts of operations).
    void linkEventsApplied(const vorn::LinkEvents &events);

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
    CompareView *compareView() const { return compareView_; }
    RestorePointsDialog *restorePointsDialog() const { return pointsDialog_; }

    void undo();
    void redo();
    const vorn::UndoHistory &history() const { return history_; }
    const vorn::ChangeTracker &tracker() const { return tracker_; }
    StatusPart *unitPart() const { return unitPart_; }
    StatusPart *filePart() const { return filePart_; }
    QMenu *editMenu() const { return edit_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void record(const vorn::StepLabel &label);
    void step(bool back);
    void updateActions();
    void retranslate(int language);
    void updateStatus();
    void operationEnded(bool ok);
    void fileAtStart();

    void writePoint(vorn::RestoreEvent event, const vorn::ParameterImage &image, const QString &unit = QString());
    void pointFailed(const QString &error);
    void showComparison(const vorn::ParameterImage &other, const vorn::ByteMask &mask, const QString &title,
                        const QString &note = QString());
    void offerVerifyReplies();
    void unitPartClicked();
    void compareDone(bool ok);

    QThreadPool pool_;
    std::shared_ptr<vorn::RestorePointStore> store_;
    RestorePointsDialog *pointsDialog_ = nullptr;
    CompareView *compareView_ = nullptr;
    QAction *restorePoints_ = nullptr;
    QMenu *compare_ = nullptr;
    QAction *compareUnit_ = nullptr, *compareFile_ = nullptr, *comparePoint_ = nullptr;
    vorn::ParameterImage compareImage_;
    std::unique_ptr<vorn::DeviceSession> compareSession_;
    std::optional<vorn::VerifyReplies> verifyOffer_;
    vorn::ParameterImage verifyOfferWindow_;   // the window's image the offer was made for

    enum class Operation { None, Read, Program, Verify };
    Operation op_ = Operation::None;
    vorn::ChangeTracker tracker_;
    StatusPart *unitPart_ = nullptr;
    StatusPart *filePart_ = nullptr;

    TFormHlav &form_;
    vorn::UndoHistory history_;
    vorn::StepLabel pending_;
    bool started_ = false;
    bool applying_ = false;
    bool readPending_ = false;
    bool newestUnlabelled_ = false;   // the newest step was recorded without a name this turn
    int language_ = 0;
    QMenu *edit_ = nullptr;
    QAction *undo_ = nullptr;
    QAction *redo_ = nullptr;
};
