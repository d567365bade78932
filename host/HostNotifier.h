// The change notices of the window, from one object: features connect here rather than to
// the window, so they never depend on how the window is built.
#pragma once

#include "link/Session.h"

#include <QObject>
#include <QString>

namespace vorn::host {

class HostNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
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
    // A Read, Verify or Program of the window ended (`kind` a SessionMode: ModeRead,
    // ModeVerify or ModeProgram), `ok` when it ended " OK". Read and Program both end with
    // the Verify that follows them, so the text alone does not say which one finished.
    void transferFinished(int kind, bool ok);
    // The window is about to close; features finish what must not be lost.
    void closing();
};

}  // namespace vorn::host
