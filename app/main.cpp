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
        formHlav->FormCreate(arguments);
        FormAbout = new TFormAbout(formHlav);
        installCloseOnSignals(formHlav);
        formHlav->show();
        app.exec();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, "vorn4", QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
