#include "editors/handle_layout.h"

#include <algorithm>
#include <cmath>

namespace telmora {

PairLayout PlaceHandlePair(float meet, float firstStart, float scaleEnd, float boxSize) {
    PairLayout layout;
    layout.firstSize = std::max(0.0f, meet - firstStart);
    layout.secondStart = meet;
    layout.secondSize = std::max(0.0f, scaleEnd - meet);
    layout.boxStart = meet - boxSize / 2;
    layout.unitsStart = layout.boxStart + boxSize;
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
    const float a = DragPoint(handleLeft, pointerX, bar.left, bar.right());
    return XToDistance(bar, a, min, max, origin);
}

float OutputToY(const OutputSpan& box, float u, float outMin, float outMax) {
    const double span = static_cast<double>(outMax) - outMin;
    if (!(span != 0)) {
        return box.bottom();
    }
    float y = ToSingle(box.top + box.height * (1.0 - (static_cast<double>(u) - outMin) / span));
    if (std::isnan(y) || y > box.bottom()) {
        y = box.bottom();
    }
    if (y < box.top) {
        y = box.top;
    }
    return y;
}

float DraggedOutput(const OutputSpan& box, float handleTop, float pointerY, float outMin,
                    float outMax) {
    if (!(box.height > 0)) {
        return outMin;
    }
    const float b = DragPoint(handleTop, pointerY, box.top, box.bottom());
    const float fraction = (box.bottom() - b) / box.height;
    return outMin + (outMax - outMin) * fraction;
}

} // namespace telmora
