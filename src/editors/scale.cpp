#include "editors/scale.h"

#include <cmath>
#include <limits>

namespace telmora {

float DistanceToX(const BarSpan& bar, float d, float min, float max) {
    if (max - min == 0) {
        return bar.Left;
    }
    const double span = static_cast<double>(max) - static_cast<double>(min);
    float x = ToSingle(bar.Left + bar.Width * (static_cast<double>(d) - min) / span);
    if (std::isnan(x) || x < bar.Left) {
        x = bar.Left;
    }
    if (x > bar.Right()) {
        x = bar.Right();
    }
    return x;
}

float XToDistance(const BarSpan& bar, float x, float min, float max, float origin) {
    if (std::isnan(x) || x < bar.Left) {
        x = bar.Left;
    }
    if (x > bar.Right()) {
        x = bar.Right();
    }
    if (!(bar.Width > 0)) {
        return min;
    }
    const float fraction = (x - origin) / bar.Width;
    return ToSingle(min + (static_cast<double>(max) - min) * fraction);
}

float LimitMaxRange(float entry, float minRange) {
    float v = entry;
    if (!(v > minRange)) { // also catches an entry or a minimum that is not a number
        v = ToSingle(minRange + 0.01);
    }
    if (v > kMaxRangeCeiling) {
        v = kMaxRangeCeiling;
    }
    return std::isnan(v) ? kMaxRangeCeiling : v;
}

float LimitMinRange(float entry, float maxRange) {
    float v = entry;
    if (!(v < maxRange)) {
        v = ToSingle(maxRange - 0.01);
    }
    if (v < kMinRangeFloor) {
        v = kMinRangeFloor;
    }
    return std::isnan(v) ? kMinRangeFloor : v;
}

std::int16_t NumberOfPulsesFor(float minRange, bool familyA, bool familyB) {
    if ((familyA && minRange < 6.5f) || (familyB && minRange < 8.0f)) {
        return 1;
    }
    return 10;
}

} // namespace telmora
