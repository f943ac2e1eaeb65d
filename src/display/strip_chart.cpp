#include "display/strip_chart.h"

#include "config/number_text.h"

#include <algorithm>
#include <limits>

namespace telmora {

namespace {

std::int16_t ToInt16(std::int32_t value) {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(
        value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

std::size_t LastIndexFor(float boxWidth) {
    return static_cast<std::size_t>(std::max(0, RoundHalfEven(boxWidth)));
}

} // namespace

std::int16_t ChartYFor(float d, const ChartBox& box, float minRange, float maxRange) {
    const float span = maxRange - minRange;
    // The range entries keep the maximum above the minimum; a box with no span would
    // divide by zero, so it draws on the top edge as the range bar puts such distances
    // on its left edge.
    float y = box.Top;
    if (span > 0) {
        y = box.Top + (d - minRange) * box.Height / span;
    }
    const float bottom = box.Top + box.Height;
    if (y >= bottom) {
        y = bottom;
    }
    if (y <= box.Top) {
        y = box.Top;
    }
    return ToInt16(RoundHalfEven(y));
}

void StripChart::SizeBuffer(float boxWidth) {
    points_.assign(LastIndexFor(boxWidth) + 1, 0.0f);
}

void StripChart::ChartReset(const ChartBox& box, ChartDrawing& drawing) {
    chartX_ = box.Left;
    sweep_.clear();
    drawing.FillBackground(box);
    drawing.Outline(box);
    drawing.DrawPoint(box.Left, box.Top);
}

void StripChart::ChartAddPoint(float d, const ChartBox& box, int speed, float minRange,
                               float maxRange, ChartDrawing& drawing, const LocalDateTime& when) {
    if (!running_) {
        return;
    }
    // The first point after start-up, or after the box moved right of the head, starts
    // from the top-left corner.
    if (chartX_ < box.Left) {
        chartX_ = box.Left;
        drawing.DrawPoint(box.Left, box.Top);
    }
    chartX_ += static_cast<float>(speed);
    if (chartX_ > box.Left + box.Width) {
        ChartReset(box, drawing);
    }
    chartY_ = ChartYFor(d, box, minRange, maxRange);
    if (chartX_ > box.Left) {
        drawing.DrawTo(chartX_, chartY_);
    } else {
        drawing.DrawPoint(chartX_, chartY_);
    }
    const std::size_t index =
        static_cast<std::size_t>(std::max(0, RoundHalfEven(chartX_ - box.Left)));
    if (index >= points_.size()) {
        // The box has grown since the buffer was sized.
        SizeBuffer(box.Width);
    }
    if (index < points_.size()) {
        points_[index] = d;
    }
    sweep_.push_back({static_cast<int>(index), when, d});
}

std::string ChartDataCsv(const std::vector<ChartSample>& sweep) {
    std::string csv = "index,time,inches\r\n";
    for (std::size_t i = 0; i < sweep.size(); ++i) {
        const ChartSample& sample = sweep[i];
        csv += std::to_string(i + 1) + "," + IsoLocalTime(sample.When) + "," +
               (sample.Distance > 0 ? FormatTwoDecimals(sample.Distance) : std::string()) + "\r\n";
    }
    return csv;
}

} // namespace telmora
