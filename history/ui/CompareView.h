// The comparison view: every differing parameter with both values, the advance map as a
// 10 x 10 grid with differing cells marked, and a copy of it all as text.
#pragma once

#include "history/Comparison.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

class CompareView : public QDialog {
    Q_OBJECT
public:
    explicit CompareView(QWidget *parent);
    // `note` says what the comparison leaves out; without one, a comparison on fewer bytes
    // than the unit holds says that only a file's parameters are compared. The first side is
    // the window's image unless `firstTitle` names it (two tunes of the archive).
    void showComparison(const vorn::Comparison &c, const QString &otherTitle, int language,
                        const QString &note = QString(), const QString &firstTitle = QString());
    QString text() const { return text_; }
    QTableWidget *list() const { return list_; }
    QTableWidget *grid() const { return grid_; }

private:
    QLabel *summary_;
    QTableWidget *list_;
    QTableWidget *grid_;
    QLabel *gridTitle_;
    QPushButton *copy_;
    QPushButton *close_;
    QString text_;
};
