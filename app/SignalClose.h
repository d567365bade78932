// Closes the main window the normal way on SIGTERM, SIGINT and SIGHUP.
#pragma once

class QWidget;

// The handler only writes a byte to a socket pair; the GUI thread reads it through a
// QSocketNotifier and closes the window, so the closing sequence runs and nothing is lost.
void installCloseOnSignals(QWidget *window);
