#pragma once

#include "config/sensor_config.h"
#include "config/sensor_family.h"
#include "display/chart_drawing.h"
#include "display/statistics.h"
#include "display/strip_chart.h"

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The commissioning report: what a sensor holds, set down once a technician has read,
// edited and written it. One content model serves the window's PDF and kelvo's HTML, so
// both say the same; its drawings are plain vector shapes each writer renders its way.
namespace telmora {

inline constexpr std::string_view kProgramTitle = "Telmora 1.08";
inline constexpr std::string_view kNoReadingsText = "No readings were taken.";

// What the report is made from.
struct ReportSource {
    SensorConfig Record;
    SensorFamily Family = SensorFamily::None;
    std::string DateTime;   // local date and time the report was made
    std::string Port;       // "Port 1", or "" when no port is open
    std::string Device;     // the port's device, when Port does not name it
    std::string ConfigFile; // the last configuration file loaded or saved, if any
    // The statistics boxes' texts; none when no reading was counted.
    std::optional<StatsTexts> Statistics;
    std::vector<float> Trace; // the chart's current sweep, oldest first, inches
};

// One line of a table: a caption and its value, with the unit and a code's meaning.
struct ReportLine {
    std::string Caption;
    std::string Value;
    std::string Unit;
    std::string Meaning;
};

struct FigurePoint {
    double X = 0;
    double Y = 0;
};
// Drawings are laid out in points (1/72 inch) from the top-left corner.
struct FigureRect {
    double X = 0, Y = 0, Width = 0, Height = 0;
    std::string Fill; // "#rrggbb"
};
struct FigureLine {
    std::vector<FigurePoint> Points;
    std::string Stroke;
    double Width = 1;
};
enum class TextAnchor { Start, Middle, End };
struct FigureText {
    double X = 0, Y = 0; // the baseline's anchor point
    std::string Text;
    TextAnchor Anchor = TextAnchor::Start;
};
struct Figure {
    double Width = 0, Height = 0;
    std::vector<FigureRect> Rects;
    std::vector<FigureLine> Lines;
    std::vector<FigureText> Texts;
};
inline constexpr double kFigureFontSize = 8;

struct CommissioningReport {
    std::string Title;
    std::vector<ReportLine> Heading;
    std::vector<ReportLine> Parameters;
    Figure Outputs;                     // switches and analog output on the range's axis
    std::vector<ReportLine> Statistics; // empty: no readings
    std::optional<Figure> Chart;        // none: no readings
};

CommissioningReport BuildCommissioningReport(const ReportSource& source);

// "2026-12-07 09:14:05" in the local time zone.
std::string LocalDateTimeText(std::time_t time);

// The distances of the strip chart's current sweep, oldest first, lost echoes (0 or less)
// left out.
std::vector<float> CurrentSweep(const StripChart& chart);

// The report as one self-contained HTML page: inline style, inline SVG drawings.
std::string CommissioningReportHtml(const CommissioningReport& report);

} // namespace telmora
