#include "display/print_redraw.h"

#include "config/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace telmora {

bool RedrawChartForPrint(StripChart& chart, const ChartBox& box, int speed,
                         std::string_view maxRangeText, ChartDrawing& drawing) {
    // The scale divides by the maximum range; without a positive one the trace on the
    // window is left as it is rather than erased or drawn at nonsense positions.
    const double maxRange = ReadNumber(maxRangeText);
    if (!(maxRange > 0) || !std::isfinite(maxRange)) {
        return false;
    }
    drawing.FillBackground(box);
    drawing.Outline(box);
    drawing.DrawPoint(box.Left, box.Top);
    const int step = std::max(speed, kChartSpeedMin);
    const int last = RoundHalfEven(chart.ChartX() - box.Left - static_cast<float>(step));
    const auto& points = chart.ChartPoints();
    for (int i = 0; i <= last; i += step) {
        // A box that shrank since the sweep began holds fewer points than the head passed.
        if (static_cast<std::size_t>(i) >= points.size()) {
            break;
        }
        const double y =
            box.Height * static_cast<double>(points[static_cast<std::size_t>(i)]) / maxRange +
            box.Top;
        // Points are not limited to the box (the window clips the drawing to it), but they
        // must stay within the vertical position's 16-bit range.
        const auto rounded = static_cast<std::int16_t>(
            std::clamp<std::int32_t>(RoundHalfEven(y), std::numeric_limits<std::int16_t>::min(),
                                     std::numeric_limits<std::int16_t>::max()));
        chart.SetChartY(rounded);
        drawing.DrawTo(box.Left + static_cast<float>(i), rounded);
    }
    return true;
}

} // namespace telmora
