#include "logview/Workbench.h"

#include "files/SettingsAccess.h"
#include "host/Shell.h"
#include "logview/CellViews.h"
#include "logview/PlotArea.h"
#include "logview/WorkbenchTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSaveFile>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace vorn::logview {

namespace {

const QString kSection = QStringLiteral("LOGVIEW");

QString seconds(double s)
{
    return QString::number(s, 'f', 3);
}

QString value(double v, int channel)
{
    if (std::isnan(v))
        return QStringLiteral("–");
    // Logged values are whole numbers; between rows a tenth shows the interpolation.
    const int decimals = channel == ChRpm || logChannelHolds(channel) ? 0 : 1;
    return QString::number(v, 'f', decimals);
}

void fillChannels(QComboBox *box, int language)
{
    const int keep = box->currentIndex();
    box->clear();
    for (int c = 0; c < kLogChannelCount; ++c)
        box->addItem(text4(texts::kChannelNames[c], language), c);
    box->setCurrentIndex(keep < 0 ? 0 : keep);
}

}  // namespace

WorkbenchWindow::WorkbenchWindow(host::Shell &shell, PullStarts pullStarts, QWidget *parent)
    : QMainWindow(parent, Qt::Window), shell_(shell), pullStarts_(std::move(pullStarts))
{
    setObjectName(QStringLiteral("LogWorkbench"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    model_.language = shell_.language();
    const QStringList saved = shell_.settings().readString(kSection, QStringLiteral("Channels")).split(',', Qt::SkipEmptyParts);
    QList<int> channels;
    for (const QString &key : saved)
        for (int c = 0; c < kLogChannelCount; ++c)
            if (key.trimmed() == QLatin1String(logChannelKey(c)))
                channels << c;
    if (!channels.isEmpty())
        model_.channels = channels;
    lastFolder_ = shell_.settings().readString(kSection, QStringLiteral("Folder"));

    pages_ = new QStackedWidget(this);
    setCentralWidget(pages_);
    buildGraphsPage();
    buildScatterPage();
    buildHistogramPage();
    buildMenus();
    retranslate();
    // Advance over speed, coloured by throttle; cells filtered by throttle.
    scatterY_->setCurrentIndex(ChAdvance1);
    scatterColour_->setCurrentIndex(ChThrottlePercent);
    filterChannel_->setCurrentIndex(ChThrottlePercent);
    resize(1000, 700);
}

// ---- building ----

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
    auto *row = new QHBoxLayout;
    scatterLog_ = new QComboBox;
    scatterX_ = new QComboBox;
    scatterY_ = new QComboBox;
    scatterColour_ = new QComboBox;
    for (QComboBox *box : {scatterLog_, scatterX_, scatterY_, scatterColour_}) {
        auto *label = new QLabel;
        label->setBuddy(box);
        scatterLabels_ << label;
        row->addWidget(label);
        row->addWidget(box);
        connect(box, &QComboBox::currentIndexChanged, this, [this] { refreshScatter(); });
    }
    row->addStretch(1);
    scatter_ = new ScatterView(model_);
    scatter_->setObjectName(QStringLiteral("LogScatter"));
    layout->addLayout(row);
    layout->addWidget(scatter_, 1);
    pages_->addWidget(page);
}

void WorkbenchWindow::buildHistogramPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *row = new QHBoxLayout;
    histLogLabel_ = new QLabel;
    histLog_ = new QComboBox;
    histShowLabel_ = new QLabel;
    histStat_ = new QComboBox;
    histOfLabel_ = new QLabel;
    histChannel_ = new QComboBox;
    histChannel_->setObjectName(QStringLiteral("LogHistogramChannel"));
    histStat_->setObjectName(QStringLiteral("LogHistogramStat"));
    histLogLabel_->setBuddy(histLog_);
    histShowLabel_->setBuddy(histStat_);
    histOfLabel_->setBuddy(histChannel_);
    for (QWidget *w : std::initializer_list<QWidget *>{histLogLabel_, histLog_, histShowLabel_, histStat_, histOfLabel_, histChannel_})
        row->addWidget(w);
    row->addStretch(1);
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

void WorkbenchWindow::setLanguage(int language)
{
    model_.language = language;
    retranslate();
}

// ---- logs ----

std::optional<ShownLog> WorkbenchWindow::readShownLog(const QString &path)
{
    const LogContents contents = readLog(path);
    const int lang = model_.language;
    if (!contents.ok) {
        shell_.message(text4(texts::kCannotRead, lang).arg(QDir::toNativeSeparators(path), contents.error));
        return std::nullopt;
    }
    if (contents.rows.empty()) {
        shell_.message(text4(texts::kNoRows, lang).arg(QDir::toNativeSeparators(path)));
        return std::nullopt;
    }
    ShownLog log;
    log.path = path;
    log.table = logTableOf(contents.rows);
    log.markers = loadMarkers(path);
    log.mapSpeeds = mapSpeedsBesideLog(path, log.table.rows.front().timeMs);
    return log;
}

bool WorkbenchWindow::openLog(const QString &path)
{
    auto log = readShownLog(path);
    if (!log)
        return false;
    model_.logs.clear();
    model_.logs.push_back(std::move(*log));
    periodCell_ = -1;
    const double start = model_.start(), end = model_.end();
    model_.cursorA = start + (end - start) / 3;
    model_.cursorB = start + (end - start) * 2 / 3;
    logsChanged();
    plot_->showWhole();
    setWindowTitle(text4(texts::kTitleWith, model_.language).arg(QFileInfo(path).fileName()));
    return true;
}

bool WorkbenchWindow::addLog(const QString &path)
{
    if (model_.logs.empty())
        return openLog(path);
    if (static_cast<int>(model_.logs.size()) >= kMaxLogs) {
        shell_.message(text4(texts::kTooMany, model_.language));
        return false;
    }
    auto log = readShownLog(path);
    if (!log)
        return false;
    model_.logs.push_back(std::move(*log));
    logsChanged();
    return true;
}

void WorkbenchWindow::setLogOffset(int log, double seconds)
{
    if (log < 0 || log >= logCount())
        return;
    model_.logs[static_cast<std::size_t>(log)].offset = seconds;
    logsChanged();
}

double WorkbenchWindow::logOffset(int log) const
{
    return log >= 0 && log < logCount() ? model_.logs[static_cast<std::size_t>(log)].offset : 0.0;
}

bool WorkbenchWindow::alignByPullStart()
{
    if (!pullStarts_ || model_.logs.size() < 2)
        return false;
    std::vector<double> firsts;
    for (const ShownLog &l : model_.logs) {
        const std::vector<double> starts = pullStarts_(l.table.rows);
        if (starts.empty()) {
            shell_.message(text4(texts::kNoPull, model_.language).arg(QFileInfo(l.path).fileName()));
            return false;
        }
        firsts.push_back(starts.front());
    }
    for (std::size_t i = 1; i < model_.logs.size(); ++i)
        model_.logs[i].offset = firsts.front() + model_.logs.front().offset - firsts[i];
    logsChanged();
    return true;
}

void WorkbenchWindow::reloadMarkers()
{
    for (ShownLog &l : model_.logs)
        l.markers = loadMarkers(l.path);
    plot_->update();
}

void WorkbenchWindow::logsChanged()
{
    removeLog_->setEnabled(model_.logs.size() > 1);
    logTable_->setRowCount(static_cast<int>(model_.logs.size()));
    for (int i = 0; i < logCount(); ++i) {
        const ShownLog &l = model_.logs[static_cast<std::size_t>(i)];
        auto *name = new QTableWidgetItem(QFileInfo(l.path).fileName());
        name->setForeground(logColour(i));
        name->setToolTip(QDir::toNativeSeparators(l.path));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        logTable_->setItem(i, 0, name);
        auto *shift = qobject_cast<QDoubleSpinBox *>(logTable_->cellWidget(i, 1));
        if (!shift) {
            shift = new QDoubleSpinBox;
            shift->setRange(-100000, 100000);
            shift->setDecimals(3);
            shift->setSingleStep(0.1);
            shift->setObjectName(QStringLiteral("LogShift%1").arg(i));
            connect(shift, &QDoubleSpinBox::valueChanged, this, [this, i](double v) {
                if (i < logCount() && model_.logs[static_cast<std::size_t>(i)].offset != v) {
                    model_.logs[static_cast<std::size_t>(i)].offset = v;
                    plot_->update();
                    refreshReadout();
                }
            });
            logTable_->setCellWidget(i, 1, shift);
        }
        const QSignalBlocker block(shift);
        shift->setValue(l.offset);
        shift->setEnabled(i > 0);   // the first log is the reference the others move against
    }
    for (QComboBox *box : {scatterLog_, histLog_}) {
        const QSignalBlocker block(box);
        const int keep = box->currentIndex();
        box->clear();
        for (int i = 0; i < logCount(); ++i)
            box->addItem(QStringLiteral("%1: %2").arg(i + 1).arg(QFileInfo(model_.logs[static_cast<std::size_t>(i)].path).fileName()));
        box->setCurrentIndex(keep >= 0 && keep < logCount() ? keep : (logCount() ? 0 : -1));
    }
    plot_->update();
    refreshReadout();
    refreshScatter();
    refreshHistogram();
}

// ---- channels, view, cursors ----

void WorkbenchWindow::channelsPicked()
{
    QList<int> chosen;
    for (int i = 0; i < channelList_->count(); ++i)
        if (channelList_->item(i)->checkState() == Qt::Checked)
            chosen << channelList_->item(i)->data(Qt::UserRole).toInt();
    model_.channels = chosen;
    saveChannels();
    plot_->update();
    refreshReadout();
}

void WorkbenchWindow::setChannels(const QList<int> &channels)
{
    {
        const QSignalBlocker block(channelList_);
        for (int i = 0; i < channelList_->count(); ++i)
            channelList_->item(i)->setCheckState(channels.contains(i) ? Qt::Checked : Qt::Unchecked);
    }
    model_.channels = channels;
    saveChannels();
    plot_->update();
    refreshReadout();
}

void WorkbenchWindow::saveChannels()
{
    QStringList keys;
    for (int c : std::as_const(model_.channels))
        keys << QLatin1String(logChannelKey(c));
    shell_.settings().writeString(kSection, QStringLiteral("Channels"), keys.join(','));
}

void WorkbenchWindow::setView(double from, double to)
{
    plot_->setView(from, to);
}

void WorkbenchWindow::setCursors(double a, double b)
{
    model_.cursorA = a;
    model_.cursorB = b;
    plot_->update();
    refreshReadout();
}

QString WorkbenchWindow::cursorSpan() const
{
    return text4(texts::kSpan, model_.language)
        .arg(seconds(model_.cursorA), seconds(model_.cursorB), seconds(std::abs(model_.cursorB - model_.cursorA)));
}

QList<QStringList> WorkbenchWindow::readout() const
{
    QList<QStringList> rows;
    for (std::size_t li = 0; li < model_.logs.size(); ++li) {
        const ShownLog &l = model_.logs[li];
        for (int c : model_.channels) {
            QString name = text4(texts::kChannelNames[c], model_.language);
            if (model_.logs.size() > 1)
                name = QStringLiteral("%1: %2").arg(li + 1).arg(name);
            const RangeStats s = rangeStats(l.table, c, model_.cursorA - l.offset, model_.cursorB - l.offset);
            rows << QStringList{name,
                                value(valueAt(l.table, c, model_.cursorA - l.offset), c),
                                value(valueAt(l.table, c, model_.cursorB - l.offset), c),
                                value(s.min, c),
                                value(s.max, c),
                                std::isnan(s.mean) ? QStringLiteral("–") : QString::number(s.mean, 'f', 2)};
        }
    }
    return rows;
}

void WorkbenchWindow::refreshReadout()
{
    span_->setText(model_.logs.empty() ? text4(texts::kEmpty, model_.language) : cursorSpan());
    const QList<QStringList> rows = readout();
    readout_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c) {
            auto *it = readout_->item(r, c);
            if (!it) {
                it = new QTableWidgetItem;
                readout_->setItem(r, c, it);
            }
            it->setText(rows[r][c]);
            it->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
        }
}

// ---- scatter and histogram ----

void WorkbenchWindow::refreshScatter()
{
    scatter_->setChoice(scatterLog_->currentIndex(), scatterX_->currentData().toInt(), scatterY_->currentData().toInt(),
                        scatterColour_->currentData().toInt());
}

void WorkbenchWindow::refreshHistogram()
{
    const int log = histLog_->currentIndex();
    RowFilter filter;
    if (filterOn_->isChecked()) {
        filter.channel = filterChannel_->currentData().toInt();
        filter.compare = static_cast<Compare>(std::max(0, filterCompare_->currentIndex()));
        filter.value = filterValue_->value();
    }
    const int channel = histChannel_->currentData().toInt();
    CellHistogram h;
    if (log >= 0 && log < logCount())
        h = cellHistogram(model_.logs[static_cast<std::size_t>(log)].table, channel, filter);
    histogram_->setColumnSpeeds(log >= 0 && log < logCount() ? model_.logs[static_cast<std::size_t>(log)].mapSpeeds
                                                              : std::nullopt);
    histogram_->setHistogram(h, static_cast<HistogramView::Stat>(std::max(0, histStat_->currentIndex())), channel);
    histChannel_->setEnabled(histStat_->currentIndex() >= HistogramView::Minimum);
    periodCell_ = -1;
}

void WorkbenchWindow::cellChosen(int mapRow, int mapColumn)
{
    const int log = histLog_->currentIndex();
    if (log < 0 || log >= logCount())
        return;
    RowFilter filter;
    if (filterOn_->isChecked()) {
        filter.channel = filterChannel_->currentData().toInt();
        filter.compare = static_cast<Compare>(std::max(0, filterCompare_->currentIndex()));
        filter.value = filterValue_->value();
    }
    const ShownLog &l = model_.logs[static_cast<std::size_t>(log)];
    const std::vector<Period> periods = cellPeriods(l.table, mapRow, mapColumn, filter);
    const int lang = model_.language;
    const QString throttle = histogram_->rowCaption(mapRow);
    if (periods.empty()) {
        periodCell_ = -1;
        cellInfo_->setText(text4(texts::kCellEmpty, lang).arg(throttle, histogram_->columnText(mapColumn)));
        return;
    }
    // A further choice of the same cell steps on to its next stretch.
    const int cell = mapRow * kMapSize + mapColumn;
    periodIndex_ = cell == periodCell_ ? (periodIndex_ + 1) % static_cast<int>(periods.size()) : 0;
    periodCell_ = cell;
    const Period &p = periods[static_cast<std::size_t>(periodIndex_)];
    setCursors(p.from + l.offset, p.to + l.offset);
    plot_->zoomToCursors();
    cellInfo_->setText(text4(texts::kCellPeriod, lang)
                           .arg(throttle, histogram_->columnText(mapColumn))
                           .arg(periodIndex_ + 1)
                           .arg(periods.size())
                           .arg(seconds(p.from + l.offset), seconds(p.to + l.offset)));
}

void WorkbenchWindow::showPage(int page)
{
    pages_->setCurrentIndex(std::clamp(page, 0, pages_->count() - 1));
    QWidget *focus = page == 0 ? static_cast<QWidget *>(plot_) : page == 1 ? static_cast<QWidget *>(scatter_) : histogram_;
    focus->setFocus();
}

QWidget *WorkbenchWindow::plotView()
{
    return plot_;
}

int WorkbenchWindow::plotX(double time) const
{
    return static_cast<int>(std::lround(plot_->xAtTime(time)));
}

QWidget *WorkbenchWindow::histogramView()
{
    return histogram_;
}

QRect WorkbenchWindow::histogramCell(int mapRow, int mapColumn) const
{
    return histogram_->cellRect(mapRow, mapColumn);
}

QStringList WorkbenchWindow::histogramColumns() const
{
    QStringList captions;
    for (int c = 0; c < kMapSize; ++c)
        captions << histogram_->columnCaption(c);
    return captions;
}

// ---- files ----

QString WorkbenchWindow::startFolder() const
{
    if (!lastFolder_.isEmpty() && QDir(lastFolder_).exists())
        return lastFolder_;
    // The recordings' folder, as the Log menu keeps it.
    const QString logs = shell_.settings().readString(QStringLiteral("LOG"), QStringLiteral("Folder"));
    if (!logs.isEmpty())
        return logs;
    return QFileInfo(shell_.settings().path()).absolutePath() + QStringLiteral("/logs");
}

void WorkbenchWindow::askForLogIfEmpty()
{
    if (model_.logs.empty())
        chooseAndOpen(false);
}

void WorkbenchWindow::chooseAndOpen(bool add)
{
    const int lang = model_.language;
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("LogWorkbenchOpen"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({text4(texts::kLogFilter, lang)});
    dialog.setDirectory(startFolder());
    const QString path = shell_.chooseFile(&dialog);
    if (path.isEmpty())
        return;
    lastFolder_ = QFileInfo(path).absolutePath();
    shell_.settings().writeString(kSection, QStringLiteral("Folder"), lastFolder_);
    if (add)
        addLog(path);
    else
        openLog(path);
}

void WorkbenchWindow::chooseAndExport(bool png)
{
    if (model_.logs.empty())
        return;
    const int lang = model_.language;
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("LogWorkbenchExport"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({text4(png ? texts::kPngFilter : texts::kCsvFilter, lang)});
    dialog.setDefaultSuffix(png ? QStringLiteral("png") : QStringLiteral("csv"));
    dialog.setDirectory(startFolder());
    const QString path = shell_.chooseFile(&dialog);
    if (path.isEmpty())
        return;
    if (!(png ? exportPng(path) : exportCsv(path)))
        shell_.message(text4(texts::kCannotWrite, lang).arg(QDir::toNativeSeparators(path)));
}

bool WorkbenchWindow::exportPng(const QString &path)
{
    QWidget *shown = pages_->currentIndex() == 0 ? static_cast<QWidget *>(plot_)
                     : pages_->currentIndex() == 1 ? static_cast<QWidget *>(scatter_)
                                                   : histogram_;
    const QSize size = shown->size().expandedTo(QSize(640, 400));
    QImage image(size, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setFont(shown->font());
        if (shown == plot_)
            plot_->render(p, size);
        else if (shown == scatter_)
            scatter_->render(p, size);
        else
            histogram_->render(p, size);
    }
    return image.save(path, "PNG");
}

bool WorkbenchWindow::exportCsv(const QString &path)
{
    if (model_.logs.empty())
        return false;
    // The rows of the reference log, on its own time axis as it was written.
    const ShownLog &l = model_.logs.front();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(logRowsCsv(l.table, model_.cursorA - l.offset, model_.cursorB - l.offset));
    return file.commit();
}

}  // namespace vorn::logview
