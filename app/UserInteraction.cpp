#include "UserInteraction.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>

void UserInteraction::showMessage(QWidget *parent, const QString &title, const QString &text)
{
    // On the heap: a closing signal may delete the parent (and so the box) while it is open.
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box->exec();
    delete box.data();
}

int UserInteraction::askQuestion(QWidget *parent, const QString &title, const QString &text)
{
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Question, title, text,
                                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                                parent);
    box->setDefaultButton(QMessageBox::Yes);
    const int answer = box->exec();
    delete box.data();
    return answer == QMessageBox::Yes || answer == QMessageBox::No ? answer : int(QMessageBox::Cancel);
}

QString UserInteraction::chooseFile(QFileDialog *dialog)
{
    // The dialog belongs to its parent and goes with it, should the parent die meanwhile.
    QPointer<QFileDialog> guard(dialog);
    if (dialog->exec() != QDialog::Accepted || !guard)
        return QString();
    return dialog->selectedFiles().value(0);
}

bool UserInteraction::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

std::optional<int> UserInteraction::askNumber(QWidget *parent, const QString &title, const QString &label,
                                              int initial, int min, int max)
{
    QPointer<QInputDialog> box = new QInputDialog(parent);
    box->setWindowTitle(title);
    box->setLabelText(label);
    box->setInputMode(QInputDialog::IntInput);
    box->setIntRange(min, max);
    box->setIntValue(initial);
    const bool ok = box->exec() == QDialog::Accepted && box;
    const int value = ok ? box->intValue() : 0;
    delete box.data();
    return ok ? std::optional<int>(value) : std::nullopt;
}

int UserInteraction::runDialog(QDialog *dialog)
{
    QPointer<QDialog> guard(dialog);
    const int result = dialog->exec();
    return guard ? result : int(QDialog::Rejected);
}
