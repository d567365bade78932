// The change-tracking parts of the status bar: the unit and the file.
#include "ChangeHistoryUi.h"

#include "app/Hlav.h"
#include "files/IgnFile.h"

#include <QFile>
#include <QLabel>
#include <QMouseEvent>

void StatusPart::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ChangeHistoryUi::fileSaved(const QString &path)
{
    tracker_.fileSaved(path, form_.Image);
    updateStatus();
}

void ChangeHistoryUi::fileOpened(const QString &path)
{
    tracker_.fileOpened(path, form_.Image);
    updateStatus();
}

void ChangeHistoryUi::fileForgotten()
{
    tracker_.fileForgotten();
    updateStatus();
}

// The settings bring back the file name of the last run but not the file itself; what it
// holds now tells whether the window still matches it.
void ChangeHistoryUi::fileAtStart()
{
    const QString path = form_.ctl<QLabel>("LabelFile2")->text();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > (1 << 20))
        return;
    vorn::ParameterImage fromFile = form_.Image;
    if (vorn::ReadParameterFile(file.readAll(), fromFile))
        tracker_.fileSaved(path, fromFile);
}

void ChangeHistoryUi::updateStatus()
{
    if (!unitPart_)
        return;
    unitPart_->setText(tracker_.unitText(form_.Image, language_));
    filePart_->setText(tracker_.fileText(form_.Image, language_));
}
