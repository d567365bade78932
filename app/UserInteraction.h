// The window's conversations with the person at the screen: message boxes, questions,
// choosing a file and opening a document with the desktop's viewer. The window talks to
// the person only through this, so a test can answer in the person's place.
#pragma once

#include <QString>

#include <optional>

class QDialog;
class QFileDialog;
class QWidget;

class UserInteraction {
public:
    virtual ~UserInteraction() = default;
    // A modal box with an OK button.
    virtual void showMessage(QWidget *parent, const QString &title, const QString &text);
    // A modal Yes / No / Cancel question; returns QMessageBox::Yes, No or Cancel.
    virtual int askQuestion(QWidget *parent, const QString &title, const QString &text);
    // Runs a prepared file dialog; the chosen path, or empty on cancel.
    virtual QString chooseFile(QFileDialog *dialog);
    // Opens a local file with the desktop's viewer; true on success.
    virtual bool openDocument(const QString &path);
    // Asks for a whole number in min..max; nullopt on cancel.
    virtual std::optional<int> askNumber(QWidget *parent, const QString &title, const QString &label, int initial,
                                         int min, int max);
    // Runs a feature's own modal dialog; its result code.
    virtual int runDialog(QDialog *dialog);
};
