// Undo and redo in the window: the Edit menu's two actions, one step for every change path
// (named by the command that makes it), and the shortcuts that work inside a number field too.
#pragma once

#include "host/Roles.h"
#include "history/UndoHistory.h"
#include "host/HostNotifier.h"

#include <QObject>

class QAction;

class UndoUi : public QObject {
    Q_OBJECT
public:
    UndoUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing, vorn::host::LiveView &live,
           vorn::host::Link &link, vorn::host::HostNotifier &notifier, QObject *parent = nullptr);

    void undo();
    void redo();
    const vorn::UndoHistory &history() const { return history_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Undo and redo by key inside a field of the window.
    bool historyKeys(QObject *watched, QEvent *event);
    void started();
    void imageEdited();
    void record(const vorn::StepLabel &label);
    void linkEventsApplied();
    void step(bool back);
    void updateActions();

    vorn::host::Shell &shell_;
    vorn::host::ImageEditing &editing_;
    vorn::host::LiveView &live_;
    vorn::host::Link &link_;
    vorn::UndoHistory history_;
    vorn::StepLabel pending_;   // the name of the next step, from editStepStarted
    bool started_ = false;
    bool applying_ = false;     // an undo or redo itself goes through the after-edit path
    bool readPending_ = false;
    int language_ = 0;
    QAction *undo_ = nullptr;
    QAction *redo_ = nullptr;
};
