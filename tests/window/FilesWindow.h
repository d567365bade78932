// A started main window for the file tests: settings in a given folder, answered boxes and
// dialogs, no port, no desktop viewer.
#pragma once

#include "app/Hlav.h"
#include "link/Port.h"
#include "support/ScriptedInteraction.h"

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
        const TFormHlav::PortOpener noPort = [](const QString &, QString *error) -> std::unique_ptr<vorn::PortIo> {
            if (error)
                *error = QStringLiteral("no port in tests");
            return nullptr;
        };
        form = std::make_unique<TFormHlav>();
        form->setUserInteraction(&person);
        form->setPortOpener(noPort);
        form->FormCreate({});
        form->Timer1->stop();
        person.messages.clear();   // the port's complaint at start-up
    }
    ~Window()
    {
        form.reset();
    }

    TFormHlav *operator->() { return form.get(); }

    // Answers in the person's place: boxes seen, file dialog answers, documents opened.
    ScriptedInteraction person;
    std::unique_ptr<TFormHlav> form;
    QStringList &messages = person.messages;
    QStringList &answers = person.fileAnswers;   // what the next file dialogs return; empty = cancel
    QList<QFileDialog *> &shownDialogs = person.shownDialogs;
    QStringList &openedDocuments = person.openedDocuments;
    bool &viewerWorks = person.viewerWorks;

};

}  // namespace fileswindow
