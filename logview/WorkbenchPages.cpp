// The workbench window's menus, pages and their texts.
#include "logview/Workbench.h"

#include "logview/CellViews.h"
#include "logview/PlotArea.h"
#include "logview/WorkbenchTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vorn::logview {

namespace {

void fillChannels(QComboBox *box, int language)
{
    const int keep = box->currentIndex();
    box->clear();
    for (int c = 0; c < kLogChannelCount; ++c)
        box->addItem(text4(texts::kChannelNames[c], language), c);
    box->setCurrentIndex(keep < 0 ? 0 : keep);
}

// A row of choices, each behind the label that names it (the labels are worded with the
// language); the labels are appended to `labels` in the boxes' order.
QHBoxLayout *labelledRow(std::initializer_list<QComboBox *> boxes, QList<QLabel *> &labels)
{
    auto *row = new QHBoxLayout;
    for (QComboBox *box : boxes) {
        auto *label = new QLabel;
        label->setBuddy(box);
        labels << label;
        row->addWidget(label);
        row->addWidget(box);
    }
    row->addStretch(1);
    return row;
}

}  // namespace

void WorkbenchWindow::buildMenus()
{
    auto menu = [&](const Text4 &title) {
        QMenu *m = menuBar()->addMenu(QString());
        menus_ << qMakePair(m, &title);
        return m;
    };
    auto item = [&](QMenu *m, const char *name, const Text4 &text, const QList<QKeySequence> &keys, auto slot) {
        QAction *a = m->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(keys);
        connect(a, &QAction::triggered, this, slot);
        actions_ << qMakePair(a, &text);
        return a;
    };
    using K = QKeySequence;
    QMenu *file = menu(texts::kFileMenu);
    item(file, "LogOpen", texts::kOpen, {K(K::Open)}, [this] { chooseAndOpen(false); });
    item(file, "LogAdd", texts::kAddLog, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_O)}, [this] { chooseAndOpen(true); });
    removeLog_ = item(file, "LogRemove", texts::kRemoveLog, {}, [this] {
        if (model_.logs.size() > 1) {
            model_.logs.pop_back();
            logsChanged();
        }
    });
    file->addSeparator();
    item(file, "LogExportPng", texts::kExportPng, {K(Qt::CTRL | Qt::Key_E)}, [this] { chooseAndExport(true); });
    item(file, "LogExportCsv", texts::kExportCsv, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_E)}, [this] { chooseAndExport(false); });
    file->addSeparator();
    item(file, "LogClose", texts::kClose, {K(K::Close)}, [this] { close(); });

    QMenu *view = menu(texts::kViewMenu);
    item(view, "LogGraphs", texts::kGraphs, {K(Qt::CTRL | Qt::Key_1)}, [this] { showPage(0); });
    item(view, "LogScatter", texts::kScatter, {K(Qt::CTRL | Qt::Key_2)}, [this] { showPage(1); });
    item(view, "LogHistogram", texts::kHistogram, {K(Qt::CTRL | Qt::Key_3)}, [this] { showPage(2); });
    view->addSeparator();
    item(view, "LogChannels", texts::kChooseChannels, {K(Qt::CTRL | Qt::Key_K)}, [this] {
        showPage(0);
        channelList_->setFocus();
    });
    item(view, "LogShift", texts::kChooseLogs, {K(Qt::CTRL | Qt::Key_L)}, [this] {
        showPage(0);
        logTable_->setFocus();
        if (logTable_->rowCount())
            if (QWidget *w = logTable_->cellWidget(std::max(0, logTable_->currentRow()), 1))
                w->setFocus();
    });
    alignPull_ = item(view, "LogAlignPull", texts::kAlignPull, {K(Qt::CTRL | Qt::Key_P)}, [this] { alignByPullStart(); });
    alignPull_->setEnabled(static_cast<bool>(pullStarts_));
    alignPull_->setVisible(static_cast<bool>(pullStarts_));

    QMenu *time = menu(texts::kTimeMenu);
    item(time, "LogZoomIn", texts::kZoomIn, {K(Qt::CTRL | Qt::Key_Plus), K(Qt::CTRL | Qt::Key_Equal)},
         [this] { plot_->zoom(0.5, (model_.from + model_.to) / 2); });
    item(time, "LogZoomOut", texts::kZoomOut, {K(Qt::CTRL | Qt::Key_Minus)}, [this] { plot_->zoom(2, (model_.from + model_.to) / 2); });
    item(time, "LogWhole", texts::kWhole, {K(Qt::CTRL | Qt::Key_0)}, [this] { plot_->showWhole(); });
    item(time, "LogPanLeft", texts::kPanLeft, {K(Qt::CTRL | Qt::Key_Left)}, [this] { plot_->pan(-0.25); });
    item(time, "LogPanRight", texts::kPanRight, {K(Qt::CTRL | Qt::Key_Right)}, [this] { plot_->pan(0.25); });
    time->addSeparator();
    item(time, "LogCursorA", texts::kCursorAHere, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_A)},
         [this] { setCursors((model_.from + model_.to) / 2, model_.cursorB); });
    item(time, "LogCursorB", texts::kCursorBHere, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_B)},
         [this] { setCursors(model_.cursorA, (model_.from + model_.to) / 2); });
    item(time, "LogCursorABack", texts::kCursorABack, {K(Qt::ALT | Qt::Key_Left)}, [this] { plot_->stepCursor(0, -1); });
    item(time, "LogCursorAOn", texts::kCursorAOn, {K(Qt::ALT | Qt::Key_Right)}, [this] { plot_->stepCursor(0, 1); });
    item(time, "LogCursorBBack", texts::kCursorBBack, {K(Qt::CTRL | Qt::ALT | Qt::Key_Left)}, [this] { plot_->stepCursor(1, -1); });
    item(time, "LogCursorBOn", texts::kCursorBOn, {K(Qt::CTRL | Qt::ALT | Qt::Key_Right)}, [this] { plot_->stepCursor(1, 1); });
    item(time, "LogZoomCursors", texts::kZoomCursors, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, [this] { plot_->zoomToCursors(); });
}

void WorkbenchWindow::buildGraphsPage()
{
    auto *page = new QSplitter(Qt::Horizontal);
    auto *side = new QWidget;
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(4, 4, 4, 4);
    channelsLabel_ = new QLabel;
    channelList_ = new QListWidget;
    channelList_->setObjectName(QStringLiteral("LogChannelList"));
    for (int c = 0; c < kLogChannelCount; ++c) {
        auto *it = new QListWidgetItem(channelList_);
        it->setData(Qt::UserRole, c);
        it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        it->setCheckState(model_.channels.contains(c) ? Qt::Checked : Qt::Unchecked);
    }
    connect(channelList_, &QListWidget::itemChanged, this, [this] { channelsPicked(); });
    channelsLabel_->setBuddy(channelList_);
    logsLabel_ = new QLabel;
    logTable_ = new QTableWidget(0, 2);
    logTable_->setObjectName(QStringLiteral("LogShiftTable"));
    logTable_->horizontalHeader()->setStretchLastSection(true);
    logTable_->verticalHeader()->hide();
    logTable_->setMaximumHeight(140);
    logsLabel_->setBuddy(logTable_);
    sideLayout->addWidget(channelsLabel_);
    sideLayout->addWidget(channelList_, 1);
    sideLayout->addWidget(logsLabel_);
    sideLayout->addWidget(logTable_);

    auto *main = new QSplitter(Qt::Vertical);
    plot_ = new PlotArea(model_);
    plot_->setObjectName(QStringLiteral("LogPlots"));
    auto *bottom = new QWidget;
    auto *bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    span_ = new QLabel;
    span_->setObjectName(QStringLiteral("LogCursorSpan"));
    readout_ = new QTableWidget(0, 6);
    readout_->setObjectName(QStringLiteral("LogReadout"));
    readout_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    readout_->verticalHeader()->hide();
    readout_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    bottomLayout->addWidget(span_);
    bottomLayout->addWidget(readout_);
    main->addWidget(plot_);
    main->addWidget(bottom);
    main->setStretchFactor(0, 3);
    main->setStretchFactor(1, 1);
    page->addWidget(side);
    page->addWidget(main);
    page->setStretchFactor(1, 1);
    page->setSizes({220, 780});
    connect(plot_, &PlotArea::cursorsChanged, this, [this] { refreshReadout(); });
    pages_->addWidget(page);
}

void WorkbenchWindow::buildScatterPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    scatterLog_ = new QComboBox;
    scatterX_ = new QComboBox;
    scatterY_ = new QComboBox;
    scatterColour_ = new QComboBox;
    layout->addLayout(labelledRow({scatterLog_, scatterX_, scatterY_, scatterColour_}, scatterLabels_));
    for (QComboBox *box : {scatterLog_, scatterX_, scatterY_, scatterColour_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { refreshScatter(); });
    scatter_ = new ScatterView(model_);
    scatter_->setObjectName(QStringLiteral("LogScatter"));
    layout->addWidget(scatter_, 1);
    pages_->addWidget(page);
}

void WorkbenchWindow::buildHistogramPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    histLog_ = new QComboBox;
    histStat_ = new QComboBox;
    histChannel_ = new QComboBox;
    histChannel_->setObjectName(QStringLiteral("LogHistogramChannel"));
    histStat_->setObjectName(QStringLiteral("LogHistogramStat"));
    QList<QLabel *> labels;
    QHBoxLayout *row = labelledRow({histLog_, histStat_, histChannel_}, labels);
    histLogLabel_ = labels[0];
    histShowLabel_ = labels[1];
    histOfLabel_ = labels[2];
    auto *filterRow = new QHBoxLayout;
    filterOn_ = new QCheckBox;
    filterOn_->setObjectName(QStringLiteral("LogFilterOn"));
    filterChannel_ = new QComboBox;
    filterChannel_->setObjectName(QStringLiteral("LogFilterChannel"));
    filterCompare_ = new QComboBox;
    filterCompare_->setObjectName(QStringLiteral("LogFilterCompare"));
    for (const char *op : {"≥", "≤", ">", "<", "="})
        filterCompare_->addItem(QString::fromUtf8(op));
    filterValue_ = new QDoubleSpinBox;
    filterValue_->setObjectName(QStringLiteral("LogFilterValue"));
    filterValue_->setRange(-100000, 100000);
    filterValue_->setDecimals(1);
    filterValue_->setValue(90);
    for (QWidget *w : std::initializer_list<QWidget *>{filterOn_, filterChannel_, filterCompare_, filterValue_})
        filterRow->addWidget(w);
    filterRow->addStretch(1);
    histogram_ = new HistogramView(model_);
    histogram_->setObjectName(QStringLiteral("LogHistogram"));
    cellInfo_ = new QLabel;
    cellInfo_->setObjectName(QStringLiteral("LogCellInfo"));
    cellInfo_->setWordWrap(true);
    layout->addLayout(row);
    layout->addLayout(filterRow);
    layout->addWidget(histogram_, 1);
    layout->addWidget(cellInfo_);
    for (QComboBox *box : {histLog_, histStat_, histChannel_, filterChannel_, filterCompare_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { refreshHistogram(); });
    connect(filterOn_, &QCheckBox::toggled, this, [this] { refreshHistogram(); });
    connect(filterValue_, &QDoubleSpinBox::valueChanged, this, [this] { refreshHistogram(); });
    connect(histogram_, &HistogramView::cellChosen, this, &WorkbenchWindow::cellChosen);
    pages_->addWidget(page);
}

void WorkbenchWindow::retranslate()
{
    const int lang = model_.language;
    for (const auto &[m, t] : std::as_const(menus_))
        m->setTitle(text4(*t, lang));
    for (const auto &[a, t] : std::as_const(actions_))
        a->setText(text4(*t, lang));
    channelsLabel_->setText(text4(texts::kChannels, lang));
    logsLabel_->setText(text4(texts::kLogs, lang));
    {
        // A new caption is no new choice of channels (which would write the settings).
        const QSignalBlocker block(channelList_);
        for (int i = 0; i < channelList_->count(); ++i)
            channelList_->item(i)->setText(text4(texts::kChannelNames[i], lang));
    }
    logTable_->setHorizontalHeaderLabels({text4(texts::kLogs, lang), text4(texts::kOffset, lang)});
    readout_->setHorizontalHeaderLabels({text4(texts::kColChannel, lang), text4(texts::kColAtA, lang),
                                         text4(texts::kColAtB, lang), text4(texts::kColMin, lang),
                                         text4(texts::kColMax, lang), text4(texts::kColMean, lang)});
    const Text4 *scatterTexts[] = {&texts::kLogChoice, &texts::kX, &texts::kY, &texts::kColour};
    for (int i = 0; i < scatterLabels_.size(); ++i)
        scatterLabels_[i]->setText(text4(*scatterTexts[i], lang));
    for (QComboBox *box : {scatterX_, scatterY_, scatterColour_, histChannel_, filterChannel_}) {
        const QSignalBlocker block(box);
        fillChannels(box, lang);
    }
    {
        const QSignalBlocker block(histStat_);
        const int keep = std::max(0, histStat_->currentIndex());
        histStat_->clear();
        histStat_->addItems({text4(texts::kStatTime, lang), text4(texts::kStatSamples, lang), text4(texts::kColMin, lang),
                             text4(texts::kColMax, lang), text4(texts::kColMean, lang)});
        histStat_->setCurrentIndex(keep);
    }
    histLogLabel_->setText(text4(texts::kLogChoice, lang));
    histShowLabel_->setText(text4(texts::kShow, lang));
    histOfLabel_->setText(text4(texts::kOf, lang));
    filterOn_->setText(text4(texts::kOnlyWhere, lang));
    histogram_->setToolTip(text4(texts::kCellHint, lang));
    if (cellInfo_->text().isEmpty() || periodCell_ < 0)
        cellInfo_->setText(text4(texts::kCellHint, lang));
    setWindowTitle(model_.logs.empty() ? text4(texts::kTitle, lang)
                                       : text4(texts::kTitleWith, lang).arg(QFileInfo(model_.logs.front().path).fileName()));
    logsChanged();
}

}  // namespace vorn::logview
