#include "logview/Workbench.h"

#include "files/SettingsAccess.h"
#include "host/Shell.h"
#include "logview/CellViews.h"
#include "logview/PlotArea.h"
#include "logview/WorkbenchTexts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStackedWidget>
#include <QTableWidget>

#include <cmath>

namespace vorn::logview {

namespace {

const QString kSection = QStringLiteral("LOGVIEW");

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

void WorkbenchWindow::setLanguage(int language)
{
    model_.language = language;
    retranslate();
}

// ---- logs ----

std::optional<ShownLog> WorkbenchWindow::readShownLog(const QString &path)
{
    QString failure;
    auto log = LogSet::read(path, model_.language, failure);
    if (!log)
        shell_.message(failure);
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
    QString failure;
    if (!model_.alignByPullStart(pullStarts_, model_.language, failure)) {
        if (!failure.isEmpty())
            shell_.message(failure);
        return false;
    }
    logsChanged();
    return true;
}

void WorkbenchWindow::reloadMarkers()
{
    model_.reloadMarkers();
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
    return cursorSpanText(model_.cursorA, model_.cursorB, model_.language);
}

QList<QStringList> WorkbenchWindow::readout() const
{
    return model_.readout(model_.channels, model_.cursorA, model_.cursorB, model_.language);
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

RowFilter WorkbenchWindow::rowFilter() const
{
    RowFilter filter;
    if (filterOn_->isChecked()) {
        filter.channel = filterChannel_->currentData().toInt();
        filter.compare = static_cast<Compare>(std::max(0, filterCompare_->currentIndex()));
        filter.value = filterValue_->value();
    }
    return filter;
}

void WorkbenchWindow::refreshHistogram()
{
    const int log = histLog_->currentIndex();
    const RowFilter filter = rowFilter();
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
    const RowFilter filter = rowFilter();
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
                           .arg(secondsText(p.from + l.offset), secondsText(p.to + l.offset)));
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
    return model_.exportCsv(path, model_.cursorA, model_.cursorB);
}

}  // namespace vorn::logview
