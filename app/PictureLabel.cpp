// A label whose picture is decoded on first paint (see the header).
#include "PictureLabel.h"

#include <QImageReader>
#include <QtDebug>

PictureLabel::PictureLabel(const QString &resource, QWidget *parent)
    : QLabel(parent), resource_(resource), pictureSize_(QImageReader(resource).size())
{
}

QSize PictureLabel::sizeHint() const
{
    if (decoded_)
        return QLabel::sizeHint();
    // What a label with the picture set asks for: the picture, its margin and contents margins.
    const QMargins m = contentsMargins();
    const int extra = 2 * margin();
    return QSize(pictureSize_.width() + extra + m.left() + m.right(),
                 pictureSize_.height() + extra + m.top() + m.bottom())
        .expandedTo(minimumSize());
}

QSize PictureLabel::minimumSizeHint() const
{
    return decoded_ ? QLabel::minimumSizeHint() : sizeHint();
}

void PictureLabel::paintEvent(QPaintEvent *event)
{
    if (!decoded_) {
        decoded_ = true;
        QImageReader reader(resource_);
        const QImage picture = reader.read();
        if (picture.isNull())
            qWarning("picture %s not decoded: %s", qPrintable(resource_), qPrintable(reader.errorString()));
        else
            setPixmap(QPixmap::fromImage(picture));
    }
    QLabel::paintEvent(event);
}
