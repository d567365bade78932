#include "WindowPlacement.h"

#include <algorithm>

namespace vorn::host {

namespace {

// `from` moved into [low, high - length]; to `low` when it cannot fit at all.
int clampInto(int from, int length, int low, int high)
{
    return std::max(low, std::min(from, high - length));
}

}  // namespace

QRect placeBeside(const QRect &available, const QRect &main, QSize size)
{
    size = size.boundedTo(available.size());
    const int w = size.width(), h = size.height();
    // Exclusive right and bottom edges keep the arithmetic free of QRect's off-by-one.
    const int left = available.left(), top = available.top();
    const int right = left + available.width(), bottom = top + available.height();
    const int mainRight = main.left() + main.width(), mainBottom = main.top() + main.height();

    const int besideY = clampInto(main.top(), h, top, bottom);
    const int stackedX = clampInto(main.left(), w, left, right);
    const QRect candidates[] = {
        {mainRight + kWindowGap, besideY, w, h},      // right
        {main.left() - kWindowGap - w, besideY, w, h},   // left
        {stackedX, mainBottom + kWindowGap, w, h},    // below
        {stackedX, main.top() - kWindowGap - h, w, h},   // above
    };
    for (const QRect &c : candidates)
        if (available.contains(c) && !c.intersects(main))
            return c;

    // No room anywhere: against the edge of the wider side, overlapping the main window.
    const int roomRight = right - mainRight, roomLeft = main.left() - left;
    const int x = roomRight >= roomLeft ? right - w : left;
    return {x, besideY, w, h};
}

}  // namespace vorn::host
