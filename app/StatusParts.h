// The status bar's parts as the window keeps them: no part widens the window, and a label
// with more text than room shows it shortened, ending in "…", the whole text in its tooltip.
// The features' parts are plain labels of theirs, so this works from the window's event
// filter rather than from a label class of its own.
#pragma once

class QEvent;
class QLabel;
class QString;
class QWidget;

namespace statusparts {

// Lets a part shrink to almost nothing and ask for no more than `widest` pixels.
void fit(QWidget *part, int widest);
// True when the label's text is wider than its room (plain text only).
bool cut(const QLabel *part);
// What the label shows in its room: the whole text, or its beginning and "…".
QString shownText(const QLabel *part);
// A part's paint or tooltip event: paints the shortened text, or shows the whole text as
// tooltip (with the part's own tooltip after it). False when the label itself should handle it.
bool handle(QLabel *part, QEvent *event);

}  // namespace statusparts
