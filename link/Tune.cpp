// The active-cell search over the speed points and the throttle axis.
#include "ActiveCell.h"

namespace vorn {

namespace {

// First index whose point exceeds `value`, searching from `from`; kMapSize if none.
template <class Points>
int firstAbove(const Points &points, int value, int from = 0)
{
    for (int i = from; i < kMapSize; ++i)
        if (points[i] > value)
            return i;
    return kMapSize;
}

// Between two points the lower one wins up to and including the midpoint.
template <class Points>
int nearer(const Points &points, int i, int value)
{
    return points[i - 1] + points[i] >= 2 * value ? i - 1 : i;
}

}  // namespace

LiveCell findActiveCell(const ParameterImage &image, const LiveValues &live, bool tpsMapOn)
{
    LiveCell cell;
    // The speed points are stored in hundreds of rpm; the comparison is done on 8 bits.
    const int r = static_cast<std::uint8_t>(live.speed / 100);

    std::array<int, kMapSize> advancePoints, servoPoints;
    for (int k = 0; k < kMapSize; ++k) {
        advancePoints[k] = image[Off::RpmAdv + k];
        servoPoints[k] = image[Off::ServoRpm + k];
    }

    const int a = firstAbove(advancePoints, r);
    cell.belowMap = a == 0;
    cell.advanceColumn = a == 0 ? 0 : a == kMapSize ? kMapSize - 1 : nearer(advancePoints, a, r);

    const int s = firstAbove(servoPoints, r);
    cell.servoColumn = s == 0 ? 0 : s == kMapSize ? kMapSize - 1 : nearer(servoPoints, s, r);

    if (tpsMapOn) {
        const int t = firstAbove(kThrottleAxis, live.tpsPercent, 1);
        cell.throttleRow = t == kMapSize ? kMapSize - 1 : nearer(kThrottleAxis, t, live.tpsPercent);
    } else {
        cell.throttleRow = kMapSize - 1;
    }
    return cell;
}

}  // namespace vorn
