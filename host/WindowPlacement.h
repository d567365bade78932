// Where a new window of the program opens: on the screen, beside the main window where it
// fits. Plain geometry (QtCore only), so the rule is tested with a table of screens.
#pragma once

#include <QRect>
#include <QSize>

namespace vorn::host {

// Space left between the main window and a window placed beside it.
constexpr int kWindowGap = 8;

// The frame rectangle for a new window of frame size `size` on a screen whose free area (the
// desktop less its panels) is `available`, the main window's frame being `main`. The window
// is made no larger than the free area. It goes to the right of the main window, else to the
// left, else below, else above, wherever it lies wholly in the free area and covers none of
// the main window; where none has room, it goes to the side with more room, against the
// screen's edge, so it covers as little of the main window as it can. Beside the main window
// it starts level with its top, moved up or down only as far as the screen needs.
QRect placeBeside(const QRect &available, const QRect &main, QSize size);

}  // namespace vorn::host
