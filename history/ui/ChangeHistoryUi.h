// The window side of undo and redo: the Edit menu, the steps of every change path, the
// shortcuts that work inside a number field too.
#pragma once

#include "history/UndoHistory.h"
#include "link/Session.h"

#include <QObject>

class QAction;
class QMenu;
class TFormHlav;

class ChangeHistoryUi : public QObject {
    Q_OBJECT
public:
    // Builds the Edit menu between File and Com.
    explicit ChangeHistoryUi(TFormHlav &form);

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

    void undo();
    void redo();
    const vorn::UndoHistory &history() const { return history_; }
    QMenu *editMenu() const { return edit_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void record(const vorn::StepLabel &label);
    void step(bool back);
    void updateActions();
    void retranslate(int language);

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
