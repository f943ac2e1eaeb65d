#pragma once

#include "editors/scale.h"

// Arithmetic of the editors' drag handles. A handle pair is two coloured strips that meet
// at a value: the first runs from its own start to the meeting point, the second from the
// meeting point to the end of the scale. A text box centred on the meeting point shows the
// value, and its unit label follows the box. The same arithmetic serves the horizontal
// pairs (switch rows, analog endpoints) and the vertical ones (analog outputs).
namespace telmora {

struct PairLayout {
    float FirstSize = 0;   // width (or height) of the first handle; its start stays put
    float SecondStart = 0; // the second handle starts at the meeting point
    float SecondSize = 0;  // and reaches the end of the scale
    float BoxStart = 0;    // the value box is centred on the meeting point
    float UnitsStart = 0;  // the unit label follows the box
};

// `meet` lies within [scaleStart, scaleEnd]; sizes never come out negative, even when the
// first handle starts beyond the meeting point after a rescale rounded it.
PairLayout PlaceHandlePair(float meet, float firstStart, float scaleEnd, float boxSize);

// Where a drag points on the window: the handle's own start plus the pointer's offset
// inside it, held within [lo, hi].
float DragPoint(float handleStart, float pointer, float lo, float hi);

// The distance a horizontal drag sets: the pointer on the window, clamped to the bar,
// converted with the element's origin (XToDistance).
float DraggedDistance(const BarSpan& bar, float handleLeft, float pointerX, float min, float max,
                      float origin);

// The analog output scale runs upwards: its bottom edge stands for outMin, its top edge for
// outMax.
struct OutputSpan {
    float Top = 0;
    float Height = 0;
    float Bottom() const { return Top + Height; } // summed in single precision
};

// Height of output u on the scale, clamped to its edges. Equal ends of the scale put every
// output on the bottom edge, like the minimum.
float OutputToY(const OutputSpan& box, float u, float outMin, float outMax);

// The output a vertical drag sets: the pointer on the window, clamped to the box, read on the
// scale. A box of no height gives outMin.
float DraggedOutput(const OutputSpan& box, float handleTop, float pointerY, float outMin,
                    float outMax);

// The value an arrow key moves a handle to: `steps` units of the last decimal its box shows
// (0.01 for two decimals), counted from the value rounded to those units, then held between
// the two ends of its scale (in either order) as a drag is. A value that is not a number
// starts from the first end; an end that is not a number gives way to the other.
float SteppedValue(float value, int steps, int decimals, float end1, float end2);

} // namespace telmora
