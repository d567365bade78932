// Painting the time-in-cell layer.
#include "TimeInCellOverlay.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace {

const QColor kInk(0, 60, 190);

}  // namespace

TimeInCellOverlay::TimeInCellOverlay(QWidget *host, std::function<std::vector<Cell>()> cells)
    : QWidget(host), cells_(std::move(cells))
{
    setObjectName("TimeInCellOverlay");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(host->rect());
    host->installEventFilter(this);
    raise();
}

bool TimeInCellOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void TimeInCellOverlay::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QFont small = font();
    small.setPointSizeF(std::max(5.0, small.pointSizeF() * 0.62));
    p.setFont(small);
    for (const Cell &c : cells_()) {
        if (!c.edit || !c.edit->isVisible() || c.share <= 0)
            continue;
        const QRect r(c.edit->mapTo(parentWidget(), QPoint(0, 0)), c.edit->size());
        const int barWidth = std::max(1, static_cast<int>(std::lround((r.width() - 4) * c.relative)));
        p.fillRect(QRect(r.left() + 2, r.bottom() - 3, barWidth, 2), kInk);
        const double percent = c.share * 100.0;
        const QString text = percent < 1 ? QStringLiteral("<1") : QString::number(std::lround(percent));
        p.setPen(kInk);
        p.drawText(r.adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
    }
}
