// Small helpers the window composition uses to create named controls and size edit fields.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWidget>

namespace vorn::ui {

template <class T>
T *named(T *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

inline QLabel *label(const QString &name, const QString &text, QWidget *parent)
{
    return named(new QLabel(text, parent), name);
}

inline QCheckBox *checkBox(const QString &name, const QString &text, QWidget *parent)
{
    return named(new QCheckBox(text, parent), name);
}

// Map cells keep their place when hidden, so the map does not jump when the throttle
// rows come and go; row 9 then takes the place of row 0 explicitly.
inline void keepPlace(QWidget *w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

// The width an edit needs to show the sample text whole, in its own font and style
// (the frame and the edit's inner margins of 2 pixels on either side included).
inline int editWidthFor(const QLineEdit *edit, const QString &sample)
{
    QStyleOptionFrame opt;
    opt.initFrom(edit);
    opt.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit);
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    const int text = edit->fontMetrics().horizontalAdvance(sample) + 2 * 2;
    return edit->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &opt, QSize(text, edit->fontMetrics().height()), edit)
        .width();
}

}  // namespace vorn::ui
