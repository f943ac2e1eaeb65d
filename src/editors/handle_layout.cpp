#include "editors/handle_layout.h"

#include <algorithm>
#include <cmath>

namespace telmora {

PairLayout PlaceHandlePair(float meet, float firstStart, float scaleEnd, float boxSize) {
    PairLayout layout;
    layout.FirstSize = std::max(0.0f, meet - firstStart);
    layout.SecondStart = meet;
    layout.SecondSize = std::max(0.0f, scaleEnd - meet);
    layout.BoxStart = meet - boxSize / 2;
    layout.UnitsStart = layout.BoxStart + boxSize;
    return layout;
}

float DragPoint(float handleStart, float pointer, float lo, float hi) {
    float a = handleStart + pointer;
    if (std::isnan(a) || a < lo) {
        a = lo;
    }
    if (a > hi) {
        a = hi;
    }
    return a;
}

float DraggedDistance(const BarSpan& bar, float handleLeft, float pointerX, float min, float max,
                      float origin) {
    const float a = DragPoint(handleLeft, pointerX, bar.Left, bar.Right());
    return XToDistance(bar, a, min, max, origin);
}

float OutputToY(const OutputSpan& box, float u, float outMin, float outMax) {
    const double span = static_cast<double>(outMax) - outMin;
    if (!(span != 0)) {
        return box.Bottom();
    }
    float y = ToSingle(box.Top + box.Height * (1.0 - (static_cast<double>(u) - outMin) / span));
    if (std::isnan(y) || y > box.Bottom()) {
        y = box.Bottom();
    }
    if (y < box.Top) {
        y = box.Top;
    }
    return y;
}

float DraggedOutput(const OutputSpan& box, float handleTop, float pointerY, float outMin,
                    float outMax) {
    if (!(box.Height > 0)) {
        return outMin;
    }
    const float b = DragPoint(handleTop, pointerY, box.Top, box.Bottom());
    const float fraction = (box.Bottom() - b) / box.Height;
    return outMin + (outMax - outMin) * fraction;
}

float SteppedValue(float value, int steps, int decimals, float end1, float end2) {
    // An end that is not a number gives way to the other one.
    if (std::isnan(end1)) {
        end1 = end2;
    }
    if (std::isnan(end2)) {
        end2 = end1;
    }
    const double unit = std::pow(10.0, decimals);
    double moved =
        (std::round(static_cast<double>(std::isnan(value) ? end1 : value) * unit) + steps) / unit;
    moved = std::max(moved, static_cast<double>(std::min(end1, end2)));
    moved = std::min(moved, static_cast<double>(std::max(end1, end2)));
    return std::isnan(moved) ? 0.0f : ToSingle(moved);
}

} // namespace telmora
