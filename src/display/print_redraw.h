#pragma once

#include "display/chart_drawing.h"
#include "display/strip_chart.h"

#include <string_view>

// Before the window is printed, the current sweep of the strip chart is drawn again from
// its point buffer, on the print scale: 0 at the box's top edge, the maximum range shown
// in its box at the bottom edge.
namespace telmora {

// Erases the box and draws the points of the current sweep at the chart speed's spacing,
// up to the point before the head. The head (ChartX) is left where it is; ChartY and the
// pen end at the last point drawn. `maxRangeText` is the text of the maximum range box;
// when it does not hold a positive number, nothing is drawn, since the scale would divide
// by it. Returns false in that case.
bool RedrawChartForPrint(StripChart& chart, const ChartBox& box, int speed,
                         std::string_view maxRangeText, ChartDrawing& drawing);

} // namespace telmora
