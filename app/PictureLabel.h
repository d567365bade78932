// A label showing a picture from the program's resources, decoded when the label is first
// painted: a picture on a page or in a box not yet opened costs the few bytes of its file,
// not its decoded pixels.
#pragma once

#include <QLabel>

class PictureLabel : public QLabel {
public:
    PictureLabel(const QString &resource, QWidget *parent);
    // Before the picture is decoded the label takes the place the picture will take, read
    // from the file's header.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString resource_;
    QSize pictureSize_;
    bool decoded_ = false;
};
