// Answers the window's boxes, questions, file dialogs and document requests in the person's
// place, and remembers what the window asked.
#pragma once

#include "app/UserInteraction.h"

#include <QFileDialog>
#include <QList>
#include <QMessageBox>
#include <QStringList>

#include <functional>

class ScriptedInteraction : public UserInteraction {
public:
    void showMessage(QWidget *parent, const QString &, const QString &text) override
    {
        messages << text;
        messageParents << parent;
        if (onMessage)
            onMessage(text);
    }
    int askQuestion(QWidget *, const QString &, const QString &text) override
    {
        questions << text;
        return answer;
    }
    QString chooseFile(QFileDialog *dialog) override
    {
        shownDialogs << dialog;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    std::optional<int> askNumber(QWidget *, const QString &title, const QString &, int, int, int) override
    {
        numberTitles << title;
        return numberAnswers.isEmpty() ? std::nullopt : numberAnswers.takeFirst();
    }
    bool openDocument(const QString &path) override
    {
        openedDocuments << path;
        return viewerWorks;
    }

    QStringList messages;
    QList<QWidget *> messageParents;   // the window each box was shown over
    QStringList questions;
    int answer = QMessageBox::Yes;
    QStringList fileAnswers;   // what the next file dialogs return; empty = cancel
    QList<QFileDialog *> shownDialogs;
    QStringList openedDocuments;
    QList<std::optional<int>> numberAnswers;   // what the next number boxes return; empty = cancel
    QStringList numberTitles;
    bool viewerWorks = true;
    std::function<void(const QString &)> onMessage;   // runs inside the box, as a nested loop would
};
