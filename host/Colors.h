// Background colours of labels, edits and check boxes, and the system colours they use.
#pragma once

#include <QColor>
#include <QWidget>

namespace vorn::ui {

// The surface colour of dialogs and buttons (normal label background).
QColor buttonFace();
// The normal background of an edit field.
QColor windowColor();

inline const QColor kRed{255, 0, 0};
inline const QColor kYellow{255, 255, 0};
inline const QColor kLime{0, 255, 0};
inline const QColor kWhite{255, 255, 255};

// Paints the widget's background (labels, check boxes, the window) in the given colour.
void setBackground(QWidget *w, const QColor &c);
// Paints an edit field's text area in the given colour.
void setEditBackground(QWidget *edit, const QColor &c);
// Paints an edit field's text area and its text.
void setEditColours(QWidget *edit, const QColor &background, const QColor &text);
// The colour last set by setBackground / setEditBackground.
QColor background(const QWidget *w);
QColor editBackground(const QWidget *edit);

}  // namespace vorn::ui
