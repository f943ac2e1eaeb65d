#pragma once

#include "display/chart_drawing.h"
#include "display/data_log.h"

#include <cstdint>
#include <string>
#include <vector>

// The strip chart: distance over time in a box of the main window, one step of the chart
// speed per reading, near distances at the top. When the head passes the right edge the
// box is erased and the trace starts again at the left edge. The distances of the current
// sweep are kept by position, so the print command can draw the trace again.
namespace telmora {

// Limits of the speed scroll bar, twips per reading.
inline constexpr int kChartSpeedMin = 1;
inline constexpr int kChartSpeedMax = 80;
inline constexpr int kChartSpeedDefault = 40;
inline constexpr int kChartSpeedLargeStep = 10;

// One reading of the current sweep: where the head put it (twips right of the box's left
// edge), when it came and its distance in inches (0 or less: a lost echo).
struct ChartSample {
    int Position = 0;
    LocalDateTime When;
    float Distance = 0;
};

class StripChart {
  public:
    // Sizes the point buffer to the chart's width (last index = width rounded).
    void SizeBuffer(float boxWidth);

    bool ChartRunning() const { return running_; }
    void SetRunning(bool running) { running_ = running; }

    // Adds one reading d (inches) at the next step, scaled between the two range bounds.
    // `box` is where the chart stands now.
    void ChartAddPoint(float d, const ChartBox& box, int speed, float minRange, float maxRange,
                       ChartDrawing& drawing, const LocalDateTime& when = {});

    // Erases the box and puts the head at its left edge.
    void ChartReset(const ChartBox& box, ChartDrawing& drawing);

    float ChartX() const { return chartX_; }
    std::int16_t ChartY() const { return chartY_; }
    void SetChartY(std::int16_t y) { chartY_ = y; }
    const std::vector<float>& ChartPoints() const { return points_; }
    // The readings on the chart now, oldest first: the sweep since the box was last erased.
    const std::vector<ChartSample>& Sweep() const { return sweep_; }

  private:
    bool running_ = true;
    float chartX_ = 0; // 0 until the first point: left of any box, so the head is unset
    std::int16_t chartY_ = 0;
    std::vector<float> points_ = std::vector<float>(1, 0.0f);
    std::vector<ChartSample> sweep_;
};

// The sweep as a spreadsheet reads it: "index,time,inches", then one line a reading
// ("1,2026-12-07T14:02:31.250,12.35"), a lost echo with no distance.
std::string ChartDataCsv(const std::vector<ChartSample>& sweep);

// Vertical position of distance d in the box: the minimum range on the top edge, the
// maximum on the bottom edge, anything outside on the nearer edge. Whole twips.
std::int16_t ChartYFor(float d, const ChartBox& box, float minRange, float maxRange);

} // namespace telmora
