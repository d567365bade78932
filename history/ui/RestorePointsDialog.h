// File, "Restore points...": the points newest first, their differences, and Restore.
#pragma once

#include "history/RestorePoints.h"

#include <QDialog>

#include <functional>
#include <vector>

class QPushButton;
class QTreeWidget;

class RestorePointsDialog : public QDialog {
    Q_OBJECT
public:
    explicit RestorePointsDialog(QWidget *parent);
    // Lists the folder against the window's image now.
    void fill(const QString &folder, const vorn::ParameterImage &window, int language);
    QTreeWidget *tree() const { return tree_; }
    QString selectedPath() const;

    std::function<void(const QString &path)> onShowDifferences;
    std::function<void(const QString &path)> onRestore;

private:
    QTreeWidget *tree_;
    QPushButton *show_;
    QPushButton *restore_;
    QPushButton *close_;
    QString folder_;
};

// The name of a point's event in a language.
QString restoreEventText(vorn::RestoreEvent event, int language);
