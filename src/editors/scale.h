#pragma once

#include "config/number_text.h"

#include <cstdint>

// The one horizontal scale every distance on the main window stands on: the range bar,
// whose left edge is the minimum range and whose right edge the maximum range. Positions
// are in twips of the window's current geometry.
namespace telmora {

// Where the range bar stands now (its left edge and width, twips).
struct BarSpan {
    float Left = 0;
    float Width = 0;
    float Right() const { return Left + Width; } // summed in single precision
};

// Position of distance d on the bar, clamped to its edges. Equal bounds put every
// distance on the left edge, as does any result that is not a number.
float DistanceToX(const BarSpan& bar, float d, float min, float max);

// Distance at position x on the bar (clamped to its edges), measured from `origin`, the
// left edge of the dragged element, which the layout keeps on the bar's left edge.
// A bar of no width gives the minimum.
float XToDistance(const BarSpan& bar, float x, float min, float max, float origin);
inline float XToDistance(const BarSpan& bar, float x, float min, float max) {
    return XToDistance(bar, x, min, max, bar.Left);
}

// Limits of the range entries: the maximum stays above the minimum and at most 443.54;
// the minimum stays below the maximum and at least 0.5. The order of the two checks
// matters, as the return values for crossed bounds show.
inline constexpr float kMaxRangeCeiling = 443.54f;
inline constexpr float kMinRangeFloor = 0.5f;
float LimitMaxRange(float entry, float minRange);
float LimitMinRange(float entry, float maxRange);

// Pulses per measurement: near targets need a single pulse, whose ring-down is short
// enough for family A below 6.5 inches and family B below 8 inches.
std::int16_t NumberOfPulsesFor(float minRange, bool familyA, bool familyB);

} // namespace telmora
