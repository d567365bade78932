// TFormAbout, the about box: program title line, logo, maker's contact block, build stamp.
#pragma once

#include <QDialog>

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget *parent = nullptr);
};

extern TFormAbout *FormAbout;
