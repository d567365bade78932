// TFormAbout, the about box: program title line, logo, maker's contact block, build stamp.
#include "About.h"

TFormAbout *FormAbout = nullptr;

TFormAbout::TFormAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName("FormAbout");
}
