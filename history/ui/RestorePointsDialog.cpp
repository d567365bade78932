// File, "Restore points...".
#include "RestorePointsDialog.h"

#include "files/IgnFile.h"
#include "history/HistoryTexts.h"
#include "params/ParameterCatalogue.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

QString restoreEventText(vorn::RestoreEvent event, int language)
{
    using namespace vorn;
    static const Text4 *const kTexts[] = {&htext::EventRead,       &htext::EventProgrammed, &htext::EventBeforeRead,
                                          &htext::EventBeforeOpen, &htext::EventBeforeNew,  &htext::EventBeforeModel};
    return text4(*kTexts[static_cast<int>(event)], language);
}

RestorePointsDialog::RestorePointsDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RestorePointsDialog"));
    auto *v = new QVBoxLayout(this);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("RestorePointList"));
    tree_->setRootIsDecorated(false);
    tree_->setColumnCount(4);
    v->addWidget(tree_);
    auto *buttons = new QHBoxLayout;
    show_ = new QPushButton(this);
    show_->setObjectName(QStringLiteral("RestorePointShow"));
    restore_ = new QPushButton(this);
    restore_->setObjectName(QStringLiteral("RestorePointRestore"));
    close_ = new QPushButton(this);
    buttons->addWidget(show_);
    buttons->addWidget(restore_);
    buttons->addStretch();
    buttons->addWidget(close_);
    v->addLayout(buttons);
    connect(show_, &QPushButton::clicked, this, [this] {
        if (onShowDifferences && !selectedPath().isEmpty())
            onShowDifferences(selectedPath());
    });
    connect(tree_, &QTreeWidget::itemDoubleClicked, show_, &QPushButton::click);
    connect(restore_, &QPushButton::clicked, this, [this] {
        if (onRestore && !selectedPath().isEmpty())
            onRestore(selectedPath());
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    resize(720, 460);
}

QString RestorePointsDialog::selectedPath() const
{
    const QTreeWidgetItem *item = tree_->currentItem();
    return item ? QDir(folder_).filePath(item->data(0, Qt::UserRole).toString()) : QString();
}

void RestorePointsDialog::fill(const QString &folder, const vorn::ParameterImage &window, int language)
{
    using namespace vorn;
    folder_ = folder;
    setWindowTitle(text4(htext::PointsTitle, language));
    show_->setText(text4(htext::PointsShow, language));
    restore_->setText(text4(htext::PointsRestore, language));
    close_->setText(text4(htext::PointsClose, language));
    tree_->setHeaderLabels({text4(htext::PointsTime, language), text4(htext::PointsEvent, language),
                            text4(htext::PointsUnit, language), text4(htext::PointsDiffer, language)});
    tree_->clear();
    static const ByteMask fileBytes = ParameterFileBytes();
    const QLocale locale;
    for (const RestorePoint &p : listRestorePoints(folder)) {
        ParameterImage img = window;
        if (!loadRestorePoint(QDir(folder).filePath(p.fileName), img))
            continue;
        auto *item = new QTreeWidgetItem(tree_);
        item->setText(0, locale.toString(p.time, QLocale::ShortFormat)
                             + (p.suffix > 1 ? QStringLiteral(" (%1)").arg(p.suffix) : QString()));
        item->setText(1, restoreEventText(p.event, language));
        item->setText(2, p.unit);
        item->setText(3, QString::number(differenceCount(window, img, fileBytes)));
        item->setData(0, Qt::UserRole, p.fileName);
    }
    if (tree_->topLevelItemCount() == 0) {
        auto *item = new QTreeWidgetItem(tree_);
        item->setText(0, text4(htext::PointsNone, language));
        item->setFlags(Qt::NoItemFlags);
    } else {
        tree_->setCurrentItem(tree_->topLevelItem(0));
    }
    for (int c = 0; c < 4; ++c)
        tree_->resizeColumnToContents(c);
    show_->setEnabled(tree_->topLevelItem(0)->flags() != Qt::NoItemFlags);
    restore_->setEnabled(show_->isEnabled());
}
