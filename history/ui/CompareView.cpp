// The comparison view.
#include "CompareView.h"

#include "history/HistoryTexts.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QColor kMarked(255, 220, 80);
}

CompareView::CompareView(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CompareView"));
    auto *v = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("CompareSummary"));
    v->addWidget(summary_);
    list_ = new QTableWidget(0, 3, this);
    list_->setObjectName(QStringLiteral("CompareList"));
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    v->addWidget(list_, 1);
    gridTitle_ = new QLabel(this);
    v->addWidget(gridTitle_);
    grid_ = new QTableWidget(vorn::kMapSize, vorn::kMapSize, this);
    grid_->setObjectName(QStringLiteral("CompareGrid"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    v->addWidget(grid_, 3);
    auto *buttons = new QHBoxLayout;
    copy_ = new QPushButton(this);
    copy_->setObjectName(QStringLiteral("CompareCopy"));
    close_ = new QPushButton(this);
    buttons->addWidget(copy_);
    buttons->addStretch();
    buttons->addWidget(close_);
    v->addLayout(buttons);
    connect(copy_, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(text_); });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    resize(760, 760);
}

void CompareView::showComparison(const vorn::Comparison &c, const QString &otherTitle, int language,
                                 const QString &note, const QString &firstTitle)
{
    using namespace vorn;
    setWindowTitle(text4(htext::CompareTitle, language) + QStringLiteral(": ") + otherTitle);
    copy_->setText(text4(htext::CompareCopy, language));
    close_->setText(text4(htext::PointsClose, language));
    gridTitle_->setText(text4(htext::CompareMapTitle, language));

    const auto diffs = c.differences();
    QString summary = diffs.empty() ? text4(htext::CompareNoDiff, language)
                                    : text4(countForm(htext::CompareDiffCount, static_cast<long long>(diffs.size()), language), language).arg(diffs.size());
    if (!note.isEmpty())
        summary += '\n' + note;
    else if (c.mask != catalogueBytes())
        summary += '\n' + text4(htext::CompareOnlyFileBytes, language);
    summary_->setText(summary);

    list_->setHorizontalHeaderLabels({text4(htext::CompareParameter, language),
                                      firstTitle.isEmpty() ? text4(htext::CompareWindow, language) : firstTitle,
                                      otherTitle});
    list_->setRowCount(static_cast<int>(diffs.size()));
    for (int i = 0; i < static_cast<int>(diffs.size()); ++i) {
        const ParameterDifference &d = diffs[static_cast<std::size_t>(i)];
        list_->setItem(i, 0, new QTableWidgetItem(parameterName(*d.parameter, language, c.window)));
        list_->setItem(i, 1, new QTableWidgetItem(valueWithUnit(*d.parameter, d.before, language)));
        list_->setItem(i, 2, new QTableWidgetItem(valueWithUnit(*d.parameter, d.after, language)));
    }
    list_->resizeColumnsToContents();
    list_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    const bool mapCompared = c.mask.test(Off::Advance);
    gridTitle_->setVisible(mapCompared);
    grid_->setVisible(mapCompared);
    // The rows as the Advance Map page shows them: 0 % throttle (map row 0) at the top.
    QStringList columns, rows;
    for (int k = 0; k < kMapSize; ++k)
        columns << valueText(*findParameter("advance_rpm[" + std::to_string(k) + "]"), c.window[Off::RpmAdv + k],
                             language);
    for (int r = 0; r < kMapSize; ++r)
        rows << QString::number(throttleRowPercent(r)) + QStringLiteral(" %");
    grid_->setHorizontalHeaderLabels(columns);
    grid_->setVerticalHeaderLabels(rows);
    for (int r = 0; r < kMapSize; ++r)
        for (int k = 0; k < kMapSize; ++k) {
            const int o = Off::Advance + 10 * r + k;
            auto *item = new QTableWidgetItem(QString::number(c.window[o]));
            item->setTextAlignment(Qt::AlignCenter);
            if (c.cellDiffers(r, k)) {
                item->setText(QString::number(c.window[o]) + QStringLiteral(" / ") + QString::number(c.other[o]));
                item->setBackground(kMarked);
                item->setData(Qt::UserRole, true);
            }
            grid_->setItem(r, k, item);
        }
    text_ = comparisonText(c, otherTitle, language, QLocale(), firstTitle);
    if (!note.isEmpty())
        text_.prepend(note + '\n');
}
