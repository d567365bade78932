// Background colours of labels, edits and check boxes, and the system colours they use.
#include "Colors.h"

#include <QApplication>
#include <QPalette>

namespace vorn::ui {

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

QColor windowColor()
{
    return QApplication::palette().color(QPalette::Base);
}

void setBackground(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    // Only a colour of the widget's own counts: an inherited one follows the parent (the
    // window turns white while printing).
    if (p.color(QPalette::Window) == c && p.isBrushSet(QPalette::Active, QPalette::Window)
        && w->autoFillBackground())
        return;
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setEditBackground(QWidget *edit, const QColor &c)
{
    QPalette p = edit->palette();
    if (p.color(QPalette::Base) == c)
        return;   // the highlight runs every tick; avoid needless repaints
    p.setColor(QPalette::Base, c);
    edit->setPalette(p);
}

void setEditColours(QWidget *edit, const QColor &c, const QColor &text)
{
    QPalette p = edit->palette();
    if (p.color(QPalette::Base) == c && p.color(QPalette::Text) == text)
        return;
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Text, text);
    edit->setPalette(p);
}

QColor background(const QWidget *w)
{
    return w->palette().color(QPalette::Window);
}

QColor editBackground(const QWidget *edit)
{
    return edit->palette().color(QPalette::Base);
}

}  // namespace vorn::ui
