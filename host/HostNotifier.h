// The change notices of the window, from one object: features connect here rather than to
// the window, so they never depend on how the window is built.
#pragma once

#include "history/UndoHistory.h"
#include "lang/Jazyk2.h"
#include "link/Session.h"
#include "params/ParameterImage.h"

#include <QObject>
#include <QString>

namespace vorn::host {

class HostNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    enum class Transfer { Read, Program, Verify, Compare };
    Q_ENUM(Transfer)
    // What is about to replace the window's image as a whole.
    enum class Replacement { New, Open, Model };
    Q_ENUM(Replacement)
    // What became of the parameter file the window shows as its own.
    enum class FileEvent { Saved, Opened, Forgotten };
    Q_ENUM(FileEvent)

signals:
    // The start-up sequence ended: the window's image is the first state of this run.
    void started();
    // A command is about to change the image as one step named `label` (its text is looked
    // up in the language shown); the next imageEdited() is that step.
    void editStepStarted(const vorn::StepLabel &label);
    // End of every after-edit path (typing, a command, an undo itself): the image may differ
    // from what it was before.
    void imageEdited();
    // New, Open or a model change is about to replace the image; `before` is the image
    // as it was.
    void imageReplacing(vorn::host::HostNotifier::Replacement why, const vorn::ParameterImage &before);
    // The window's image was saved to or opened from `path`, or its file was forgotten
    // (New, Read; `path` empty).
    void fileEvent(vorn::host::HostNotifier::FileEvent event, const QString &path);
    // Read, Program or Verify starts, before its first link events (Compare is a feature's).
    void transferStarted(vorn::host::HostNotifier::Transfer kind);
    // After every caption pass (start-up and each language switch).
    void languageChanged(int language);
    // A port was opened or closed (choice of Com, start-up, closing, a lost device).
    void portOpened();
    void portClosed();
    // The unit on the line may be another one than before (another port, a device that
    // came back): nothing known about the unit holds any longer.
    void unitForgotten();
    // After every decoded monitor reply, and after every replayed row.
    void liveValuesDecoded();
    // After every display-state pass of the window (values on screen changed).
    void displayStatesApplied();
    // The no-connection label was shown or hidden.
    void noConnectionChanged(bool shown);
    // After the window applied a tick's or an operation's link events.
    void linkEventsApplied(const vorn::LinkEvents &events);
    // A transfer with the unit ended: Read, Program, Verify, or the read of the unit that
    // Compare makes into a buffer of its own. `ok` when it ended " OK", else `message` says
    // why (in the catalogue). `image` is what the unit was found holding or was given.
    // A transfer cut off by a lost device is not reported: nobody knows what the unit holds.
    void transferFinished(vorn::host::HostNotifier::Transfer kind, bool ok, vorn::Msg message,
                          const vorn::ParameterImage &image);
    // A file opened or a restore point restored replaced the window's image: the tune the
    // edits from now on are made from.
    void tuneLoaded(const vorn::ParameterImage &image);
    // The window is about to close; features finish what must not be lost.
    void closing();
};

}  // namespace vorn::host
