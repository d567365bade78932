#include "logview/PullComparisonWindow.h"

#include "datalog/ChartRules.h"
#include "files/ConfigDir.h"
#include "files/SettingsAccess.h"
#include "host/Shell.h"
#include "logview/PullComparisonTexts.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextDocument>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vorn::logview {

namespace t = pulltexts;

namespace {

QString percent(const std::optional<double> &v)
{
    return v ? signedPercent(*v) : QStringLiteral("–");
}

// Every line its own colour, the same on both charts and in the legend.
QColor runColour(int run)
{
    return QColor::fromRgb(static_cast<QRgb>(lineColour(run)));
}

QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

PullComparisonWindow::PullComparisonWindow(host::Shell &shell, ComparePulls compare, QWidget *parent)
    : QWidget(parent, Qt::Window), shell_(shell), compare_(std::move(compare)), language_(shell.language())
{
    setObjectName(QStringLiteral("PullComparison"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    logsLabel_ = new QLabel(this);
    logList_ = new QListWidget(this);
    logList_->setObjectName(QStringLiteral("PullLogs"));
    logsLabel_->setBuddy(logList_);
    add_ = new QPushButton(this);
    add_->setObjectName(QStringLiteral("PullAddLog"));
    remove_ = new QPushButton(this);
    remove_->setObjectName(QStringLiteral("PullRemoveLog"));
    pullsLabel_ = new QLabel(this);
    pullTable_ = new QTableWidget(0, 5, this);
    pullTable_->setObjectName(QStringLiteral("PullTable"));
    pullTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    pullTable_->verticalHeader()->hide();
    pullTable_->horizontalHeader()->setStretchLastSection(true);
    pullsLabel_->setBuddy(pullTable_);
    averageBox_ = new QCheckBox(this);
    averageBox_->setObjectName(QStringLiteral("PullAverage"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("PullSummary"));

    auto *left = new QWidget(this);
    auto *lv = new QVBoxLayout(left);
    lv->setContentsMargins(0, 0, 0, 0);
    lv->addWidget(logsLabel_);
    lv->addWidget(logList_, 1);
    auto *logButtons = new QHBoxLayout;
    logButtons->addWidget(add_);
    logButtons->addWidget(remove_);
    logButtons->addStretch();
    lv->addLayout(logButtons);
    lv->addWidget(pullsLabel_);
    lv->addWidget(pullTable_, 3);
    lv->addWidget(averageBox_);
    lv->addWidget(summary_);

    auto *right = new QSplitter(Qt::Vertical, this);
    auto *chartsBox = new QWidget(right);
    auto *ch = new QHBoxLayout(chartsBox);
    ch->setContentsMargins(0, 0, 0, 0);
    auto *cv = new QVBoxLayout;
    ch->addLayout(cv, 1);
    for (int c = 0; c < 2; ++c) {
        charts_[c] = new QChart;
        charts_[c]->legend()->hide();
        charts_[c]->setMargins(QMargins(4, 2, 4, 2));
        chartViews_[c] = new QChartView(charts_[c], chartsBox);
        chartViews_[c]->setObjectName(c == 0 ? QStringLiteral("PullTorqueChart") : QStringLiteral("PullPowerChart"));
        chartViews_[c]->setRenderHint(QPainter::Antialiasing);
        chartViews_[c]->setMinimumHeight(220);
        cv->addWidget(chartViews_[c], 1);
    }
    // One legend beside both charts, each entry wrapped within its width: a chart's own
    // legend cuts long names short.
    legend_ = new QLabel(chartsBox);
    legend_->setObjectName(QStringLiteral("PullLegend"));
    legend_->setWordWrap(true);
    legend_->setTextFormat(Qt::RichText);
    legend_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    legend_->setFixedWidth(230);
    ch->addWidget(legend_);
    right->addWidget(chartsBox);
    right->setStretchFactor(0, 6);
    tabs_ = new QTabWidget(right);
    auto *bandsPage = new QWidget(tabs_);
    auto *bv = new QVBoxLayout(bandsPage);
    bandsNote_ = new QLabel(bandsPage);
    bandsNote_->setWordWrap(true);
    bandTable_ = new QTableWidget(0, 1, bandsPage);
    bandTable_->setObjectName(QStringLiteral("PullBands"));
    bandTable_->verticalHeader()->hide();
    bv->addWidget(bandsNote_);
    bv->addWidget(bandTable_, 1);
    auto *tunesPage = new QWidget(tabs_);
    auto *tv = new QVBoxLayout(tunesPage);
    tunesNote_ = new QLabel(tunesPage);
    tunesNote_->setWordWrap(true);
    tuneTable_ = new QTableWidget(0, 1, tunesPage);
    tuneTable_->setObjectName(QStringLiteral("PullTuneDifferences"));
    tuneTable_->verticalHeader()->hide();
    tv->addWidget(tunesNote_);
    tv->addWidget(tuneTable_, 1);
    tabs_->addTab(bandsPage, QString());
    tabs_->addTab(tunesPage, QString());
    right->addWidget(tabs_);
    right->setStretchFactor(1, 2);
    right->setSizes({660, 180});   // the charts first: they are what the window is for

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("PullClose"));
    auto *v = new QVBoxLayout(this);
    v->addWidget(split, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close_);
    v->addLayout(bottom);

    connect(add_, &QPushButton::clicked, this, &PullComparisonWindow::chooseAndAdd);
    connect(remove_, &QPushButton::clicked, this, &PullComparisonWindow::removeLog);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    connect(averageBox_, &QCheckBox::toggled, this, &PullComparisonWindow::setAverage);
    connect(pullTable_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (filling_ || item->column() != 0)
            return;
        std::vector<int> ticked;
        for (int r = 0; r < pullTable_->rowCount(); ++r)
            if (pullTable_->item(r, 0)->checkState() == Qt::Checked)
                ticked.push_back(r);
        choosePulls(ticked);
    });
    auto *escape = new QAction(this);
    escape->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)});
    connect(escape, &QAction::triggered, this, &QWidget::close);
    addAction(escape);

    retranslate();
    showReport();
    resize(1200, 820);
}

void PullComparisonWindow::setLanguage(int language)
{
    language_ = language;
    retranslate();
    refresh();   // the lines and tunes are named in the language
}

void PullComparisonWindow::retranslate()
{
    const int l = language_;
    setWindowTitle(text4(t::kTitle, l));
    logsLabel_->setText(text4(t::kLogs, l));
    add_->setText(text4(t::kAddLog, l));
    remove_->setText(text4(t::kRemoveLog, l));
    pullsLabel_->setText(text4(t::kPulls, l));
    averageBox_->setText(text4(t::kAverage, l));
    tabs_->setTabText(0, text4(t::kBands, l));
    tabs_->setTabText(1, text4(t::kTunes, l));
    close_->setText(text4(t::kClose, l));
    pullTable_->setHorizontalHeaderLabels({text4(t::kColLog, l), text4(t::kColStart, l), text4(t::kColSpeed, l),
                                           text4(t::kColTune, l), text4(t::kColTuneFile, l)});
}

void PullComparisonWindow::askForLogIfEmpty()
{
    if (logs_.isEmpty())
        chooseAndAdd();
}

void PullComparisonWindow::chooseAndAdd()
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("PullLogOpen"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A season's logs at once: the comparison is of many rides.
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({text4(t::kLogFilter, language_)});
    // Where the window records its logs, unless the tuner chose another log here before.
    QString folder = logs_.isEmpty() ? QString() : QFileInfo(logs_.back()).absolutePath();
    if (folder.isEmpty())
        folder = shell_.settings().readString(QStringLiteral("LOG"), QStringLiteral("Folder"));
    dialog.setDirectory(folder.isEmpty() ? configPath(QStringLiteral("logs")) : folder);
    const QString path = shell_.chooseFile(&dialog);
    if (path.isEmpty())
        return;
    QStringList paths = dialog.selectedFiles();
    if (!paths.contains(path))
        paths = QStringList{path};
    for (QString &p : paths)
        p = QFileInfo(p).absoluteFilePath();
    if (paths.size() == 1)
        addLog(paths.front());
    else
        addLogs(paths);
}

bool PullComparisonWindow::takeLog(const QString &path, QStringList &unreadable)
{
    if (logs_.contains(path))
        return true;
    const PullReport alone = compare_({path}, std::vector<int>{}, false, language_);
    if (!alone.unreadable.isEmpty()) {
        unreadable << alone.unreadable;
        return false;
    }
    // The new log's pulls come after those shown and are charted with them.
    if (chosen_) {
        const int before = pullCount_;
        for (int i = 0; i < static_cast<int>(alone.pulls.size()); ++i)
            chosen_->push_back(before + i);
    }
    pullCount_ += static_cast<int>(alone.pulls.size());
    logs_ << path;
    logList_->addItem(QFileInfo(path).fileName());
    logList_->item(logList_->count() - 1)->setToolTip(QDir::toNativeSeparators(path));
    return true;
}

bool PullComparisonWindow::addLog(const QString &path)
{
    QStringList unreadable;
    if (!takeLog(path, unreadable)) {
        shell_.message(unreadable.join('\n'));
        return false;
    }
    refresh();
    return true;
}

int PullComparisonWindow::addLogs(const QStringList &paths)
{
    // The logs are read one by one between the bar's steps, so the window stays live and
    // the tuner can stop; what was read until then is shown.
    QProgressDialog progress(QString(), text4(t::kStopReading, language_), 0, static_cast<int>(paths.size()), this);
    progress.setObjectName(QStringLiteral("PullReading"));
    progress.setWindowTitle(text4(t::kTitle, language_));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    progress.setAutoReset(false);
    int added = 0;
    QStringList unreadable;
    // A few logs at a time, which the comparison reads side by side on the machine's cores.
    constexpr int kStep = 4;
    for (int i = 0; i < paths.size(); i += kStep) {
        progress.setLabelText(text4(t::kReading, language_).arg(i + 1).arg(paths.size()));
        progress.setValue(i);
        if (progress.wasCanceled())
            break;
        const QStringList some = paths.mid(i, kStep);
        compare_(some, std::vector<int>{}, false, language_);
        for (const QString &path : some)
            if (takeLog(path, unreadable))
                ++added;
    }
    progress.setValue(static_cast<int>(paths.size()));
    refresh();
    if (!unreadable.isEmpty())
        shell_.message(unreadable.join('\n'));
    return added;
}

void PullComparisonWindow::removeLog()
{
    const int row = logList_->currentRow();
    if (row < 0 || row >= logs_.size())
        return;
    logs_.removeAt(row);
    delete logList_->takeItem(row);
    chosen_.reset();   // the pulls are counted anew
    refresh();
}

void PullComparisonWindow::choosePulls(const std::vector<int> &pulls)
{
    chosen_ = pulls;
    refresh();
}

void PullComparisonWindow::setAverage(bool average)
{
    average_ = average;
    if (averageBox_->isChecked() != average)
        averageBox_->setChecked(average);   // comes back here once
    else
        refresh();
}

void PullComparisonWindow::refresh()
{
    report_ = logs_.isEmpty() ? PullReport{} : compare_(logs_, chosen_, average_, language_);
    pullCount_ = static_cast<int>(report_.pulls.size());
    showReport();
}

void PullComparisonWindow::showReport()
{
    const int l = language_;
    filling_ = true;
    std::vector<bool> charted(report_.pulls.size(), false);
    for (const PullRun &run : report_.runs)
        for (int i : run.pulls)
            charted[static_cast<std::size_t>(i)] = true;
    pullTable_->setRowCount(static_cast<int>(report_.pulls.size()));
    for (int r = 0; r < pullTable_->rowCount(); ++r) {
        const FoundPull &p = report_.pulls[static_cast<std::size_t>(r)];
        auto *log = cell(QFileInfo(p.log).fileName());
        log->setFlags(log->flags() | Qt::ItemIsUserCheckable);
        log->setCheckState(charted[static_cast<std::size_t>(r)] ? Qt::Checked : Qt::Unchecked);
        pullTable_->setItem(r, 0, log);
        pullTable_->setItem(r, 1, cell(QString::number(p.startS, 'f', 1)));
        pullTable_->setItem(r, 2, cell(QStringLiteral("%1 – %2").arg(p.rpmFrom).arg(p.rpmTo)));
        pullTable_->setItem(r, 3, cell(p.tuneHash.left(8)));
        auto *file = cell(QFileInfo(p.tuneFile).fileName());
        file->setToolTip(QDir::toNativeSeparators(p.tuneFile));
        pullTable_->setItem(r, 4, file);
    }
    pullTable_->resizeColumnsToContents();
    filling_ = false;
    summary_->setText(text4(t::kSummary, l).arg(report_.pulls.size()).arg(std::count(charted.begin(), charted.end(), true)));

    // One line per run on each chart, at the middle of every band.
    for (int c = 0; c < 2; ++c) {
        QChart *chart = charts_[c];
        chart->removeAllSeries();
        for (QAbstractAxis *a : chart->axes())
            chart->removeAxis(a);
        auto *x = new QValueAxis;
        x->setTitleText(text4(t::kSpeedAxis, l));
        x->setLabelFormat(QStringLiteral("%.0f"));
        auto *y = new QValueAxis;
        // The unit on a line of its own, so that the title fits a chart of little height.
        y->setTitleText(text4(c == 0 ? t::kTorqueAxis : t::kPowerAxis, l)
                            .toHtmlEscaped()
                            .replace(QStringLiteral(" ("), QStringLiteral("<br>(")));
        y->setLabelFormat(QStringLiteral("%.0f"));
        // The y axis's title names the chart, in regular weight.
        QFont axisTitle = y->titleFont();
        axisTitle.setBold(false);
        x->setTitleFont(axisTitle);
        y->setTitleFont(axisTitle);
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        double xMin = 1e9, xMax = -1e9, yMin = 1e18, yMax = -1e18;
        for (std::size_t r = 0; r < report_.runs.size(); ++r) {
            const PullRun &run = report_.runs[r];
            auto *line = new QLineSeries;
            line->setName(run.name);
            line->setPen(QPen(runColour(static_cast<int>(r)), 2));
            line->setPointsVisible(true);
            for (const PullBand &b : run.bands) {
                const double speed = 0.5 * (b.rpmFrom + b.rpmTo);
                const double value = c == 0 ? b.torqueRel : b.powerRel;
                line->append(speed, value);
                xMin = std::min(xMin, double(b.rpmFrom));
                xMax = std::max(xMax, double(b.rpmTo));
                yMin = std::min(yMin, value);
                yMax = std::max(yMax, value);
            }
            chart->addSeries(line);
            line->attachAxis(x);
            line->attachAxis(y);
        }
        if (xMin < xMax) {
            x->setRange(xMin, xMax);
            // A tick on every band boundary of the usual width, as the band table reads.
            x->setTickType(QValueAxis::TicksDynamic);
            x->setTickAnchor(0);
            x->setTickInterval(xMax - xMin > 12000 ? 2000 : 1000);
            // Differences of a few per cent must show: the axis spans the values, not zero.
            const double pad = std::max(1.0, 0.08 * (yMax - yMin));
            y->setRange(yMin - pad, yMax + pad);
            y->applyNiceNumbers();
        }
    }

    // The legend: every line's colour and its name in full, wrapped rather than cut.
    QString entries;
    for (std::size_t r = 0; r < report_.runs.size(); ++r)
        entries += QStringLiteral("<p style=\"margin-bottom:6px\"><span style=\"color:%1\">&#9644;&#9644;</span>&nbsp;%2</p>")
                       .arg(runColour(static_cast<int>(r)).name(), report_.runs[r].name.toHtmlEscaped());
    legend_->setText(entries);
    legend_->setVisible(!entries.isEmpty());

    // Every later run against the first, per band.
    const std::size_t later = report_.runs.size() > 1 ? report_.runs.size() - 1 : 0;
    bandsNote_->setText(later ? text4(t::kBandsNote, l).arg(report_.runs.front().name) : text4(t::kBandsNone, l));
    QStringList heads{text4(t::kColBand, l)};
    for (std::size_t r = 1; r <= later; ++r)
        heads << text4(t::kColTorqueOf, l).arg(report_.runs[r].name) << text4(t::kColPowerOf, l).arg(report_.runs[r].name);
    bandTable_->clear();
    bandTable_->setColumnCount(static_cast<int>(heads.size()));
    bandTable_->setHorizontalHeaderLabels(heads);
    bandTable_->setRowCount(later ? static_cast<int>(report_.comparison.size()) : 0);
    for (int r = 0; r < bandTable_->rowCount(); ++r) {
        const BandComparison &b = report_.comparison[static_cast<std::size_t>(r)];
        bandTable_->setItem(r, 0, cell(QStringLiteral("%1 – %2").arg(b.rpmFrom).arg(b.rpmTo)));
        for (std::size_t k = 0; k < later; ++k) {
            bandTable_->setItem(r, int(1 + 2 * k), cell(percent(b.torqueDiffPercent[k])));
            bandTable_->setItem(r, int(2 + 2 * k), cell(percent(b.powerDiffPercent[k])));
        }
    }
    bandTable_->resizeColumnsToContents();

    // The parameters that differ between the charted pulls' tunes, by name.
    QString note;
    if (report_.tunes.isEmpty())
        note = report_.runs.empty() ? QString() : text4(t::kTunesNone, l);
    else if (report_.tunes.size() == 1)
        note = text4(t::kTunesOne, l);
    else
        note = text4(t::kTunesDiffer, l).arg(report_.tunes.front()).arg(report_.differences.size());
    tunesNote_->setText(note);
    tuneTable_->clear();
    tuneTable_->setColumnCount(static_cast<int>(report_.tunes.size()) + 1);
    tuneTable_->setHorizontalHeaderLabels(QStringList{text4(t::kColParameter, l)} + report_.tunes);
    tuneTable_->setRowCount(static_cast<int>(report_.differences.size()));
    for (int r = 0; r < tuneTable_->rowCount(); ++r)
        for (int c = 0; c < report_.differences[r].size(); ++c)
            tuneTable_->setItem(r, c, cell(report_.differences[r][c]));
    tuneTable_->resizeColumnsToContents();
    remove_->setEnabled(!logs_.isEmpty());
}

QStringList PullComparisonWindow::legend() const
{
    QTextDocument shown;
    shown.setHtml(legend_->text());
    return shown.toPlainText().replace(QChar(0x00A0), QLatin1Char(' ')).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<QColor> PullComparisonWindow::lineColours(int chart) const
{
    QList<QColor> colours;
    for (QAbstractSeries *s : charts_[chart == 0 ? 0 : 1]->series())
        if (auto *line = qobject_cast<QLineSeries *>(s))
            colours << line->pen().color();
    return colours;
}

QList<QPair<QString, QList<QPointF>>> PullComparisonWindow::chartLines(int chart) const
{
    QList<QPair<QString, QList<QPointF>>> lines;
    for (QAbstractSeries *s : charts_[chart == 0 ? 0 : 1]->series())
        if (auto *line = qobject_cast<QLineSeries *>(s))
            lines.append({line->name(), line->points()});
    return lines;
}

}  // namespace vorn::logview
