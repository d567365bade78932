#include "logview/CellViews.h"

#include "datalog/ChartRules.h"
#include "logview/PlotArea.h"
#include "logview/WorkbenchTexts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace vorn::logview {

namespace {

// The throttle captions of the advance map's rows, as on its page.
const char *const kThrottleRows[kMapSize] = {"0%", "2%", "5%", "10%", "20%", "30%", "40%", "60%", "80%", "100%"};

QString valueText(double v, int decimals)
{
    return std::isnan(v) ? QStringLiteral("–") : QString::number(v, 'f', decimals);
}

}  // namespace

QColor rampColour(double share)
{
    share = std::clamp(std::isnan(share) ? 0.0 : share, 0.0, 1.0);
    static const QColor stops[] = {QColor(40, 70, 200), QColor(30, 170, 90), QColor(235, 200, 30), QColor(215, 40, 30)};
    const double at = share * 3;
    const int i = std::min(2, static_cast<int>(at));
    const double f = at - i;
    const QColor &a = stops[i], &b = stops[i + 1];
    return QColor(static_cast<int>(a.red() + (b.red() - a.red()) * f), static_cast<int>(a.green() + (b.green() - a.green()) * f),
                  static_cast<int>(a.blue() + (b.blue() - a.blue()) * f));
}

// ---- scatter ----

ScatterView::ScatterView(const Model &model, QWidget *parent) : QWidget(parent), model_(model)
{
    setMinimumSize(320, 240);
    setFocusPolicy(Qt::StrongFocus);
}

void ScatterView::setChoice(int log, int x, int y, int colour)
{
    log_ = log;
    x_ = x;
    y_ = y;
    colour_ = colour;
    update();
}

void ScatterView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    render(p, size());
}

void ScatterView::render(QPainter &p, const QSize &size) const
{
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    if (log_ < 0 || log_ >= static_cast<int>(model_.logs.size())) {
        p.setPen(Qt::darkGray);
        p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, text4(texts::kEmpty, model_.language));
        return;
    }
    const LogTable &t = model_.logs[static_cast<std::size_t>(log_)].table;
    const int lang = model_.language;
    const QRectF area(64, 10, size.width() - 64 - 90, size.height() - 10 - 44);
    auto range = [&](int c) {
        double lo = t.low[static_cast<std::size_t>(c)], hi = t.high[static_cast<std::size_t>(c)];
        if (hi - lo < 1e-9) {
            lo -= 1;
            hi += 1;
        }
        return std::pair{lo, hi};
    };
    const auto [xlo, xhi] = range(x_);
    const auto [ylo, yhi] = range(y_);
    const auto [clo, chi] = range(colour_);
    // Ticks and a light grid on round values of each scale.
    const double xStep = roundStep(xhi - xlo, area.width(), 70), yStep = roundStep(yhi - ylo, area.height(), 40);
    for (double xv : ticksBetween(xlo, xhi, xStep)) {
        const double x = area.left() + (xv - xlo) / (xhi - xlo) * area.width();
        p.setPen(QColor(230, 230, 230));
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.setPen(Qt::black);
        p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 3));
        p.drawText(QRectF(x - 40, area.bottom() + 3, 80, 16), Qt::AlignHCenter, tickLabel(xv, xStep));
    }
    for (double yv : ticksBetween(ylo, yhi, yStep)) {
        const double y = area.bottom() - (yv - ylo) / (yhi - ylo) * area.height();
        p.setPen(QColor(230, 230, 230));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        p.setPen(Qt::black);
        p.drawLine(QPointF(area.left() - 3, y), QPointF(area.left(), y));
        p.drawText(QRectF(0, y - 8, area.left() - 5, 16), Qt::AlignRight | Qt::AlignVCenter, tickLabel(yv, yStep));
    }
    p.setPen(QColor(150, 150, 150));
    p.drawRect(area);
    p.setPen(Qt::black);
    p.drawText(QRectF(area.left(), area.bottom() + 20, area.width(), 18), Qt::AlignHCenter,
               text4(texts::kChannelNames[x_], lang));
    p.save();
    p.translate(12, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-area.height() / 2, -10, area.height(), 18), Qt::AlignHCenter, text4(texts::kChannelNames[y_], lang));
    p.restore();
    const auto &xs = t.v[static_cast<std::size_t>(x_)], &ys = t.v[static_cast<std::size_t>(y_)],
               &cs = t.v[static_cast<std::size_t>(colour_)];
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (std::isnan(xs[i]) || std::isnan(ys[i]))
            continue;
        const double x = area.left() + (xs[i] - xlo) / (xhi - xlo) * area.width();
        const double y = area.bottom() - (ys[i] - ylo) / (yhi - ylo) * area.height();
        p.fillRect(QRectF(x - 1.5, y - 1.5, 3, 3), rampColour((cs[i] - clo) / (chi - clo)));
    }
    // The colour scale.
    const QRectF bar(area.right() + 14, area.top(), 14, area.height());
    for (int k = 0; k < static_cast<int>(bar.height()); ++k)
        p.fillRect(QRectF(bar.left(), bar.bottom() - k - 1, bar.width(), 1), rampColour(k / bar.height()));
    p.setPen(Qt::black);
    p.drawText(QRectF(bar.right() + 3, bar.top(), 60, 16), Qt::AlignLeft, QString::number(chi, 'f', 0));
    p.drawText(QRectF(bar.right() + 3, bar.bottom() - 16, 60, 16), Qt::AlignLeft, QString::number(clo, 'f', 0));
    p.save();
    p.translate(bar.right() + 30, area.center().y());
    p.rotate(90);
    p.drawText(QRectF(-area.height() / 2, -8, area.height(), 18), Qt::AlignHCenter, text4(texts::kChannelNames[colour_], lang));
    p.restore();
}

// ---- histogram ----

HistogramView::HistogramView(const Model &model, QWidget *parent) : QWidget(parent), model_(model)
{
    setMinimumSize(420, 300);
    setFocusPolicy(Qt::StrongFocus);
}

void HistogramView::setHistogram(const CellHistogram &h, Stat stat, int channel)
{
    histogram_ = h;
    stat_ = stat;
    channel_ = channel;
    update();
}

QRect HistogramView::cellRect(int mapRow, int mapColumn) const
{
    return cellRect(mapRow, mapColumn, size());
}

QRect HistogramView::cellRect(int mapRow, int mapColumn, const QSize &size) const
{
    const int left = 74, top = 44;   // room for the axis titles and the row and column captions
    const int w = std::max(10, (size.width() - left - 8) / kMapSize), h = std::max(10, (size.height() - top - 8) / kMapSize);
    return QRect(left + mapColumn * w, top + mapRow * h, w, h);
}

QString HistogramView::rowCaption(int mapRow)
{
    return mapRow >= 0 && mapRow < kMapSize ? QString::fromLatin1(kThrottleRows[mapRow]) : QString();
}

void HistogramView::setColumnSpeeds(const std::optional<MapSpeeds> &speeds)
{
    speeds_ = speeds;
    update();
}

QString HistogramView::columnCaption(int mapColumn) const
{
    if (mapColumn < 0 || mapColumn >= kMapSize)
        return QString();
    return speeds_ ? QString::number((*speeds_)[static_cast<std::size_t>(mapColumn)]) : QString::number(mapColumn + 1);
}

QString HistogramView::columnText(int mapColumn) const
{
    return speeds_ ? text4(texts::kColumnSpeed, model_.language).arg(columnCaption(mapColumn))
                   : text4(texts::kColumnNumber, model_.language).arg(mapColumn + 1);
}

double HistogramView::valueOf(const CellStats &c) const
{
    switch (stat_) {
    case Seconds: return c.samples ? c.seconds : kNoValue;
    case Samples: return c.samples ? c.samples : kNoValue;
    case Minimum: return c.min;
    case Maximum: return c.max;
    case Mean: return c.mean();
    }
    return kNoValue;
}

void HistogramView::paintEvent(QPaintEvent *)
{
    paintRendered(*this, [this](QPainter &p, const QSize &size) { render(p, size); });
}

void HistogramView::render(QPainter &p, const QSize &size) const
{
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    double lo = kNoValue, hi = kNoValue;
    for (const auto &row : histogram_.cells)
        for (const CellStats &c : row) {
            const double v = valueOf(c);
            if (std::isnan(v))
                continue;
            lo = std::isnan(lo) ? v : std::min(lo, v);
            hi = std::isnan(hi) ? v : std::max(hi, v);
        }
    const int decimals = stat_ == Samples ? 0 : (stat_ == Seconds ? 1 : (channel_ == ChRpm ? 0 : 1));
    p.setPen(Qt::black);
    // The columns are the map's speeds (its column numbers when the log keeps no tune), the
    // rows its throttle openings, each axis with its title.
    const QRect first = cellRect(0, 0, size), last = cellRect(kMapSize - 1, kMapSize - 1, size);
    QFont bold = p.font();
    bold.setBold(true);
    p.save();
    p.setFont(bold);
    p.drawText(QRect(first.left(), 2, last.right() - first.left(), 18), Qt::AlignCenter,
               text4(texts::kChannelNames[speeds_ ? ChRpm : ChMapColumn], model_.language));
    p.translate(10, (first.top() + last.bottom()) / 2.0);
    p.rotate(-90);
    p.drawText(QRectF(-(last.bottom() - first.top()) / 2.0, -9, last.bottom() - first.top(), 18), Qt::AlignCenter,
               text4(texts::kChannelNames[ChThrottlePercent], model_.language));
    p.restore();
    for (int c = 0; c < kMapSize; ++c) {
        const QRect r = cellRect(0, c, size);
        p.drawText(QRect(r.left(), r.top() - 22, r.width(), 20), Qt::AlignCenter, columnCaption(c));
    }
    for (int r = 0; r < kMapSize; ++r) {
        const QRect row = cellRect(r, 0, size);
        p.drawText(QRect(20, row.top(), row.left() - 26, row.height()), Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromLatin1(kThrottleRows[r]));
        for (int c = 0; c < kMapSize; ++c) {
            const QRect cell = cellRect(r, c, size);
            const double v = valueOf(histogram_.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
            QColor fill(246, 246, 246);
            if (!std::isnan(v)) {
                const double share = hi > lo ? (v - lo) / (hi - lo) : 1.0;
                const QColor warm = rampColour(0.35 + 0.65 * share);
                fill = QColor::fromRgbF(1 - (1 - warm.redF()) * 0.55, 1 - (1 - warm.greenF()) * 0.55,
                                        1 - (1 - warm.blueF()) * 0.55);
            }
            p.fillRect(cell, fill);
            p.setPen(QColor(200, 200, 200));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            p.setPen(Qt::black);
            p.drawText(cell, Qt::AlignCenter, valueText(v, decimals));
        }
    }
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(cellRect(row_, column_, size).adjusted(1, 1, -2, -2));
}

void HistogramView::mousePressEvent(QMouseEvent *e)
{
    for (int r = 0; r < kMapSize; ++r)
        for (int c = 0; c < kMapSize; ++c)
            if (cellRect(r, c).contains(e->position().toPoint())) {
                row_ = r;
                column_ = c;
                update();
                emit cellChosen(r, c);
                return;
            }
}

void HistogramView::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Left: column_ = std::max(0, column_ - 1); break;
    case Qt::Key_Right: column_ = std::min(kMapSize - 1, column_ + 1); break;
    case Qt::Key_Up: row_ = std::max(0, row_ - 1); break;
    case Qt::Key_Down: row_ = std::min(kMapSize - 1, row_ + 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: emit cellChosen(row_, column_); return;
    default: QWidget::keyPressEvent(e); return;
    }
    update();
}

}  // namespace vorn::logview
