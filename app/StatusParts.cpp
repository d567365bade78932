#include "StatusParts.h"

#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextDocument>
#include <QToolTip>

namespace statusparts {

namespace {

QRect textRoom(const QLabel *part)
{
    const int m = part->margin();
    return part->contentsRect().adjusted(m, m, -m, -m);
}

bool plainText(const QLabel *part)
{
    return part->textFormat() == Qt::PlainText
           || (part->textFormat() == Qt::AutoText && !Qt::mightBeRichText(part->text()));
}

// As QLabel paints itself, with the shortened text.
void paintShortened(QLabel *part)
{
    QPainter painter(part);
    QStyleOptionFrame frame;
    frame.initFrom(part);
    frame.rect = part->frameRect();
    frame.frameShape = part->frameShape();
    frame.lineWidth = part->lineWidth();
    frame.midLineWidth = part->midLineWidth();
    if (part->frameShadow() == QFrame::Sunken)
        frame.state |= QStyle::State_Sunken;
    else if (part->frameShadow() == QFrame::Raised)
        frame.state |= QStyle::State_Raised;
    part->style()->drawControl(QStyle::CE_ShapedFrame, &frame, &painter, part);
    const auto align = QStyle::visualAlignment(part->layoutDirection(), part->alignment());
    part->style()->drawItemText(&painter, textRoom(part), int(align), part->palette(), part->isEnabled(),
                                shownText(part), part->foregroundRole());
}

}  // namespace

void fit(QWidget *part, int widest)
{
    part->setMinimumWidth(1);   // 0 would mean "as wide as its text"
    part->setMaximumWidth(widest);
}

bool cut(const QLabel *part)
{
    return plainText(part) && !part->wordWrap()
           && part->fontMetrics().horizontalAdvance(part->text()) > textRoom(part).width();
}

QString shownText(const QLabel *part)
{
    return cut(part) ? part->fontMetrics().elidedText(part->text(), Qt::ElideRight, textRoom(part).width())
                     : part->text();
}

bool handle(QLabel *part, QEvent *event)
{
    if (!cut(part))
        return false;
    if (event->type() == QEvent::Paint) {
        paintShortened(part);
        return true;
    }
    if (event->type() == QEvent::ToolTip) {
        QString tip = part->text();
        const QString own = part->toolTip();
        if (!own.isEmpty() && !own.contains(tip))
            tip += QLatin1Char('\n') + own;
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), tip, part);
        return true;
    }
    return false;
}

}  // namespace statusparts
