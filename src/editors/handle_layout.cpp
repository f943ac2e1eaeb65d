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

} // namespace telmora
