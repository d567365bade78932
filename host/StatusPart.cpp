#include "StatusPart.h"

#include "Shell.h"

#include <QMouseEvent>

namespace vorn::host {

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

ClickLabel *addStatusPart(Shell &shell, const StatusPartLook &look)
{
    auto *part = new ClickLabel;
    part->setObjectName(QLatin1String(look.name));
    if (look.framed) {
        part->setFrameShape(QFrame::StyledPanel);
        part->setContentsMargins(4, 0, 4, 0);
    } else {
        part->setContentsMargins(6, 0, 6, 0);
    }
    if (look.onClick) {
        part->setCursor(Qt::PointingHandCursor);
        QObject::connect(part, &ClickLabel::clicked, look.receiver ? look.receiver : part, look.onClick);
    }
    // Hidden before the status bar takes it, so it never shows for a moment.
    if (look.hidden)
        part->hide();
    shell.addStatusPart(part);
    return part;
}

}  // namespace vorn::host
