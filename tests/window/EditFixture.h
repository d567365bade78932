// A started main window for the editing tests: temporary settings, answered boxes, no port.
#pragma once

#include "app/Hlav.h"
#include "app/UpDown.h"
#include "link/Port.h"
#include "support/ScriptedInteraction.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace editfixture {

// The window after its whole start-up, with the main timer stopped so no tick interferes.
class Window {
public:
    explicit Window(bool show = false)
    {
        qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
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
        if (show) {
            form->show();
            form->activateWindow();
            shown = QTest::qWaitForWindowActive(form.get());
        }
    }
    ~Window()
    {
        form.reset();
    }

    TFormHlav &operator*() { return *form; }
    TFormHlav *operator->() { return form.get(); }

    QTemporaryDir dir;
    ScriptedInteraction person;   // answers the boxes and questions in the person's place
    std::unique_ptr<TFormHlav> form;
    QStringList &messages = person.messages;
    QStringList &questions = person.questions;
    int &answer = person.answer;
    bool shown = false;

};

// Lets queued calls (the check boxes' commit after a mouse release) run.
inline void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The text a grouped field shows for a value in the fixed test locale (en_US).
inline QString grouped(int value)
{
    return QLocale().toString(value);
}

}  // namespace editfixture
