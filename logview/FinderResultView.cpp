#include "logview/FinderResultView.h"

#include "logview/FinderTexts.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vorn::logview {

namespace t = findertexts;

namespace {

const QColor kProposalColour(0x1b, 0x9e, 0x3e);
const QColor kBaseColour(0x80, 0x80, 0x80);
const QColor kFitColour(0x1f, 0x5f, 0xbf);
const QColor kTriedColour(0x6a, 0x3d, 0x9a);
constexpr int kFitPoints = 40;

QTableWidgetItem *item(const QString &text)
{
    auto *i = new QTableWidgetItem(text);
    i->setFlags(i->flags() & ~Qt::ItemIsEditable);
    return i;
}

QString degrees(double v)
{
    return QLocale().toString(v, 'f', 1);
}

// A vertical line at an advance across the chart's torque range.
QLineSeries *marker(double advance, double low, double high, const QColor &colour, Qt::PenStyle style)
{
    auto *s = new QLineSeries;
    s->append(advance, low);
    s->append(advance, high);
    QPen pen(colour);
    pen.setWidth(2);
    pen.setStyle(style);
    s->setPen(pen);
    return s;
}

}  // namespace

FinderResultView::FinderResultView(QWidget *parent) : QWidget(parent)
{
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("FinderSummary"));
    summary_->setWordWrap(true);
    v->addWidget(summary_);
    tabs_ = new QTabWidget(this);
    auto *scroll = new QScrollArea(tabs_);
    scroll->setWidgetResizable(true);
    chartPage_ = new QWidget(scroll);
    chartPage_->setObjectName(QStringLiteral("FinderCharts"));
    chartGrid_ = new QGridLayout(chartPage_);
    scroll->setWidget(chartPage_);
    auto *chartsTab = new QWidget(tabs_);
    auto *cv = new QVBoxLayout(chartsTab);
    cv->addWidget(scroll, 1);
    legend_ = new QLabel(chartsTab);
    legend_->setWordWrap(true);
    cv->addWidget(legend_);
    tabs_->addTab(chartsTab, QString());
    table_ = new QTableWidget(0, 7, tabs_);
    table_->setObjectName(QStringLiteral("FinderProposal"));
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    tabs_->addTab(table_, QString());
    v->addWidget(tabs_, 1);
    clear();
}

void FinderResultView::showAnalysis(const finder::Analysis &analysis, int language)
{
    analysis_ = analysis;
    language_ = language;
    fill();
}

void FinderResultView::clear()
{
    analysis_.reset();
    fill();
}

void FinderResultView::setLanguage(int language)
{
    language_ = language;
    fill();
}

QString FinderResultView::noteOf(const finder::CellResult &c) const
{
    switch (c.why) {
    case finder::Undecided::NotInLogs: return text4(t::kWhyNotInLogs, language_);
    case finder::Undecided::FewAdvances: return text4(t::kWhyFewAdvances, language_);
    case finder::Undecided::FewPulls: return text4(t::kWhyFewPulls, language_);
    case finder::Undecided::NoPeak: return text4(t::kWhyNoPeak, language_);
    case finder::Undecided::PullsBeganThere: return text4(t::kWhyPullsBeganThere, language_);
    case finder::Undecided::None: break;
    }
    QStringList notes;
    if (c.heldAtCeiling)
        notes << text4(t::kHeldAtCeiling, language_);
    if (c.heldToStep)
        notes << text4(t::kHeldToStep, language_);
    if (!c.bracketed)
        notes << text4(t::kNotBracketed, language_);
    return notes.join(QStringLiteral("; "));
}

QWidget *FinderResultView::chartOf(const finder::CellResult &c)
{
    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    // Speeds as the window's own fields write them, without a thousands separator (the
    // machine's locale would put an English comma into a Czech chart).
    chart->setTitle(text4(t::kChartTitle, language_).arg(QString::number(c.rpm)));
    double lowA = c.tried.front().advance, highA = c.tried.back().advance;
    double lowT = 1, highT = 1;
    auto *tried = new QScatterSeries;
    tried->setName(text4(t::kSeriesTried, language_));
    tried->setMarkerSize(9);
    tried->setColor(kTriedColour);
    tried->setBorderColor(kTriedColour);
    for (const finder::Tried &p : c.tried) {
        tried->append(p.advance, p.torqueRel);
        lowT = std::min(lowT, p.torqueRel - p.torqueSd);
        highT = std::max(highT, p.torqueRel + p.torqueSd);
    }
    lowA = std::min({lowA, double(c.baseAdvance), c.decided() ? double(c.proposed) : lowA}) - 1;
    highA = std::max({highA, double(c.baseAdvance), c.decided() ? double(c.proposed) : highA}) + 1;
    QList<QAbstractSeries *> series;
    if (c.decided()) {
        auto *fit = new QLineSeries;
        fit->setName(text4(t::kSeriesFit, language_));
        fit->setPen(QPen(kFitColour, 2));
        for (int i = 0; i <= kFitPoints; ++i) {
            const double a = lowA + (highA - lowA) * i / kFitPoints;
            const double y = c.fittedTorque(a);
            fit->append(a, y);
            lowT = std::min(lowT, y);
            highT = std::max(highT, y);
        }
        series << fit;
    }
    const double pad = std::max(0.002, (highT - lowT) * 0.08);
    auto *y = new QValueAxis;
    y->setRange(lowT - pad, highT + pad);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%.2f"));
    y->setTitleText(text4(t::kTorqueAxis, language_));
    lowT = y->min();
    highT = y->max();
    series << marker(c.baseAdvance, lowT, highT, kBaseColour, Qt::DashLine);
    if (c.decided())
        series << marker(c.proposed, lowT, highT, kProposalColour, Qt::SolidLine);
    series << tried;
    // Whole degrees on the advance axis, as the map holds them.
    auto *x = new QValueAxis;
    x->setRange(std::floor(lowA), std::ceil(highA));
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(highA - lowA > 12 ? 4 : 2);
    x->setLabelFormat(QStringLiteral("%.0f"));
    x->setTitleText(text4(t::kAdvanceAxis, language_));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *s : series) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
    auto *view = new QChartView(chart, chartPage_);
    view->setObjectName(QStringLiteral("FinderChart%1").arg(c.column));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(260, 220);
    return view;
}

void FinderResultView::fill()
{
    tabs_->setTabText(0, text4(t::kCharts, language_));
    tabs_->setTabText(1, text4(t::kComparison, language_));
    legend_->setText(text4(t::kLegend, language_));
    table_->setHorizontalHeaderLabels({text4(t::kColSpeed, language_), text4(t::kColBase, language_),
                                       text4(t::kColTried, language_), text4(t::kColBest, language_),
                                       text4(t::kColCeiling, language_), text4(t::kColProposal, language_),
                                       text4(t::kColNote, language_)});
    while (QLayoutItem *old = chartGrid_->takeAt(0)) {
        delete old->widget();
        delete old;
    }
    table_->setRowCount(0);
    if (!analysis_) {
        summary_->clear();
        return;
    }
    const finder::Analysis &a = *analysis_;
    summary_->setText(text4(t::kProposalSummary, language_)
                          .arg(a.decidedCount())
                          .arg(a.cells.size())
                          .arg(a.pulls));
    int shown = 0;
    table_->setRowCount(int(a.cells.size()));
    for (int r = 0; r < int(a.cells.size()); ++r) {
        const finder::CellResult &c = a.cells[r];
        QStringList tried;
        for (const finder::Tried &p : c.tried)
            tried << QString::number(p.advance);
        const bool decided = c.decided();
        table_->setItem(r, 0, item(QString::number(c.rpm)));
        table_->setItem(r, 1, item(QString::number(c.baseAdvance)));
        table_->setItem(r, 2, item(tried.join(QStringLiteral(", "))));
        table_->setItem(r, 3, item(decided ? QStringLiteral("%1 (%2 … %3)")
                                                 .arg(degrees(c.bestAdvance), degrees(c.intervalLow),
                                                      degrees(c.intervalHigh))
                                           : QStringLiteral("–")));
        table_->setItem(r, 4, item(QString::number(c.ceiling)));
        auto *proposal = item(decided ? QString::number(c.proposed) : QStringLiteral("–"));
        if (decided && c.proposed != c.baseAdvance)
            proposal->setForeground(kProposalColour);
        table_->setItem(r, 5, proposal);
        table_->setItem(r, 6, item(noteOf(c)));
        if (!c.tried.empty()) {
            chartGrid_->addWidget(chartOf(c), shown / 3, shown % 3);
            ++shown;
        }
    }
    table_->resizeColumnsToContents();
}

}  // namespace vorn::logview
