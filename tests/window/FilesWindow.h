// A started main window for the file tests: settings in a given folder, answered boxes and
// dialogs, no port, no desktop viewer.
#pragma once

#include "app/Hlav.h"
#include "link/Port.h"

#include <QFileDialog>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace fileswindow {

class Window {
public:
    explicit Window(const QString &configDir)
    {
        qputenv("VORN4_CONFIG_DIR", configDir.toLocal8Bit());
        TFormHlav::messageHook = [this](const QString &text) { messages << text; };
        TFormHlav::questionHook = [](const QString &) { return int(QMessageBox::Yes); };
        TFormHlav::fileDialogHook = [this](QFileDialog *dialog) {
            shownDialogs << dialog;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        TFormHlav::openDocumentHook = [this](const QString &path) {
            openedDocuments << path;
            return viewerWorks;
        };
        savedOpener_ = TFormHlav::portOpener;
        TFormHlav::portOpener = [](const QString &, QString *error) -> std::unique_ptr<vorn::PortIo> {
            if (error)
                *error = QStringLiteral("no port in tests");
            return nullptr;
        };
        form = std::make_unique<TFormHlav>();
        form->FormCreate({});
        form->Timer1->stop();
        messages.clear();   // the port's complaint at start-up
    }
    ~Window()
    {
        form.reset();
        TFormHlav::messageHook = nullptr;
        TFormHlav::questionHook = nullptr;
        TFormHlav::fileDialogHook = nullptr;
        TFormHlav::openDocumentHook = nullptr;
        TFormHlav::portOpener = savedOpener_;
    }

    TFormHlav *operator->() { return form.get(); }

    std::unique_ptr<TFormHlav> form;
    QStringList messages;
    QStringList answers;               // what the next file dialogs return; empty = cancel
    QList<QFileDialog *> shownDialogs;
    QStringList openedDocuments;
    bool viewerWorks = true;

private:
    decltype(TFormHlav::portOpener) savedOpener_;
};

}  // namespace fileswindow
