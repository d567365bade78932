// Program entry: creates the main window, then the about box, and runs the message loop.
#include "Hlav.h"
#include "SignalClose.h"
#include "about/About.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName("vorn4");
    // Lets a Wayland desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vorn4.Vorn4"));
    try {
        // Only the first word after the program name is examined (the language word).
        const QStringList arguments = app.arguments().mid(1);
        auto *formHlav = new TFormHlav;
        formHlav->setAttribute(Qt::WA_DeleteOnClose);
        // Before start-up: a box it opens (a port that fails to open) can meet a signal too.
        installCloseOnSignals(formHlav);
        formHlav->FormCreate(arguments);
        FormAbout = new TFormAbout(formHlav);
        formHlav->show();
        app.exec();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, "vorn4", QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
