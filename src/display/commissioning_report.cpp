#include "display/commissioning_report.h"

#include "config/config_fields.h"
#include "config/number_text.h"
#include "config/option_codes.h"

#include <algorithm>
#include <cmath>

namespace telmora {

namespace {

constexpr double kFigureWidth = 500;
constexpr double kAxisLeft = 110;
constexpr double kAxisRight = 460;
constexpr double kRowHeight = 40;
constexpr double kBarHeight = 12;
constexpr double kChartLeft = 60;
constexpr double kChartTop = 12;
constexpr double kChartHeight = 160;
constexpr const char* kInk = "#000000";

// The range the drawings' distance axis spans: a file may hold the bounds either way
// round, or equal, and the axis still needs a span.
struct Axis {
    double Min = 0;
    double Max = 1;
};

Axis RangeAxis(const SensorConfig& r) {
    const double a = std::isfinite(r.MinRange) ? r.MinRange : 0;
    const double b = std::isfinite(r.MaxRange) ? r.MaxRange : 0;
    Axis axis{std::min(a, b), std::max(a, b)};
    if (!(axis.Max > axis.Min)) // a span the doubles can tell from the bound itself
        axis.Max = axis.Min + std::max(1.0, std::abs(axis.Min));
    return axis;
}

// Where distance d falls between `from` and `to` on the page, held within the axis.
double Place(double d, const Axis& axis, double from, double to) {
    const double t = std::isfinite(d) ? (d - axis.Min) / (axis.Max - axis.Min) : 0;
    return from + std::clamp(t, 0.0, 1.0) * (to - from);
}

// Tick values at a round step, about five across the axis.
std::vector<double> Ticks(const Axis& axis) {
    const double rough = (axis.Max - axis.Min) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (const double factor : {2.0, 5.0, 10.0}) {
        if (step * 1.5 < rough)
            step = power * factor;
    }
    std::vector<double> ticks;
    if (!(step > 0) || !std::isfinite(step))
        return ticks;
    const double first = std::ceil(axis.Min / step);
    for (int i = 0; i <= 10; ++i) {
        const double t = (first + i) * step;
        if (t > axis.Max + step * 1e-6)
            break;
        ticks.push_back(std::abs(t) < step * 1e-6 ? 0 : t);
    }
    return ticks;
}

std::string TickText(double value) {
    return FormatGeneral(value);
}

std::string Inches(float value) {
    return FormatTwoDecimals(value) + " inches";
}

void AddSwitchRow(Figure& figure, const SensorConfig& r, int n, bool holdsWidth, double top,
                  const Axis& axis) {
    const ConstSwitchFields sw = Switch(r, n);
    const double barTop = top + 4;
    figure.Texts.push_back({4, barTop + 10, "Switch " + std::to_string(n), TextAnchor::Start});
    figure.Rects.push_back({kAxisLeft, barTop, kAxisRight - kAxisLeft, kBarHeight, "#e4e4e4"});
    const double setpointX = Place(sw.Setpoint, axis, kAxisLeft, kAxisRight);
    std::string label = "setpoint " + Inches(sw.Setpoint);
    if (holdsWidth) {
        // The width reaches beyond the setpoint, away from the sensor.
        const double endX =
            Place(static_cast<double>(sw.Setpoint) + sw.Hyst, axis, kAxisLeft, kAxisRight);
        figure.Rects.push_back(
            {std::min(setpointX, endX), barTop, std::abs(endX - setpointX), kBarHeight, "#f2b04a"});
        const bool window = kSwitchMode.WithCode(sw.Mode) == SwitchMode::Wind;
        label += (window ? ", window " : ", hysteresis ") + Inches(sw.Hyst);
    }
    figure.Lines.push_back(
        {{{setpointX, barTop - 3}, {setpointX, barTop + kBarHeight + 3}}, "#c00000", 2});
    figure.Texts.push_back({kAxisLeft, top + 30, label, TextAnchor::Start});
}

void AddAnalogRow(Figure& figure, const SensorConfig& r, double top, const Axis& axis) {
    const std::string unit =
        kAnalogMode.WithCode(r.AnalogMode) == AnalogMode::Voltage ? " volts" : " ma";
    const double barTop = top + 4;
    figure.Texts.push_back({4, barTop + 10, "Analog output", TextAnchor::Start});
    figure.Rects.push_back({kAxisLeft, barTop, kAxisRight - kAxisLeft, kBarHeight, "#e4e4e4"});
    const double nearX = Place(r.AnalogNearEndpoint, axis, kAxisLeft, kAxisRight);
    const double farX = Place(r.AnalogFarEndpoint, axis, kAxisLeft, kAxisRight);
    figure.Rects.push_back(
        {std::min(nearX, farX), barTop, std::abs(farX - nearX), kBarHeight, "#7aa6e0"});
    for (const double x : {nearX, farX})
        figure.Lines.push_back({{{x, barTop - 3}, {x, barTop + kBarHeight + 3}}, "#1d4f9a", 2});
    figure.Texts.push_back({kAxisLeft, top + 30,
                            "near endpoint " + Inches(r.AnalogNearEndpoint) + " at " +
                                FormatOneDecimal(r.AnalogNearOutput) + unit + ", far endpoint " +
                                Inches(r.AnalogFarEndpoint) + " at " +
                                FormatOneDecimal(r.AnalogFarOutput) + unit,
                            TextAnchor::Start});
}

Figure OutputsFigure(const SensorConfig& r, SensorFamily family) {
    const Axis axis = RangeAxis(r);
    const int switches = family == SensorFamily::A ? 2 : 4;
    const bool holdsWidth = FamilyHoldsField(family, "Sw1Hyst");
    Figure figure;
    figure.Width = kFigureWidth;
    double top = 0;
    for (int n = 1; n <= switches; ++n, top += kRowHeight)
        AddSwitchRow(figure, r, n, holdsWidth, top, axis);
    AddAnalogRow(figure, r, top, axis);
    top += kRowHeight;
    figure.Lines.push_back({{{kAxisLeft, top}, {kAxisRight, top}}, kInk, 1});
    for (const double tick : Ticks(axis)) {
        const double x = Place(tick, axis, kAxisLeft, kAxisRight);
        figure.Lines.push_back({{{x, top}, {x, top + 4}}, kInk, 1});
        figure.Texts.push_back({x, top + 14, TickText(tick), TextAnchor::Middle});
    }
    figure.Texts.push_back({kAxisRight + 6, top + 14, "inches", TextAnchor::Start});
    figure.Height = top + 20;
    return figure;
}

// The trace as the window draws it: the minimum range at the top, the maximum at the
// bottom, readings from left to right.
Figure ChartFigure(const SensorConfig& r, const std::vector<float>& trace) {
    const Axis axis = RangeAxis(r);
    const double right = kAxisRight;
    const double bottom = kChartTop + kChartHeight;
    Figure figure;
    figure.Width = kFigureWidth;
    figure.Height = bottom + 20;
    figure.Rects.push_back({kChartLeft, kChartTop, right - kChartLeft, kChartHeight, "#ffffff"});
    figure.Lines.push_back({{{kChartLeft, kChartTop},
                             {right, kChartTop},
                             {right, bottom},
                             {kChartLeft, bottom},
                             {kChartLeft, kChartTop}},
                            kInk,
                            1});
    for (const double tick : Ticks(axis)) {
        const double y = Place(tick, axis, kChartTop, bottom);
        figure.Lines.push_back({{{kChartLeft - 4, y}, {kChartLeft, y}}, kInk, 1});
        figure.Texts.push_back({kChartLeft - 6, y + 3, TickText(tick), TextAnchor::End});
    }
    figure.Texts.push_back({4, kChartTop - 2, "inches", TextAnchor::Start});
    figure.Texts.push_back({right, bottom + 14,
                            std::to_string(trace.size()) + " readings, oldest at the left",
                            TextAnchor::End});
    FigureLine line{{}, "#008000", 1};
    const double step =
        trace.size() > 1 ? (right - kChartLeft) / static_cast<double>(trace.size() - 1) : 0;
    for (std::size_t i = 0; i < trace.size(); ++i)
        line.Points.push_back(
            {kChartLeft + step * static_cast<double>(i), Place(trace[i], axis, kChartTop, bottom)});
    if (line.Points.size() == 1) // a single reading still shows, as a short dash
        line.Points.push_back({line.Points[0].X + 2, line.Points[0].Y});
    figure.Lines.push_back(std::move(line));
    return figure;
}

std::vector<ReportLine> StatisticsLines(const StatsTexts& t) {
    return {{"Current", t.CurrDistance, "inches", {}}, {"Average", t.AveDistance, "inches", {}},
            {"Std. Dev.", t.SDDistance, "inches", {}}, {"Maximum", t.MaxDistance, "inches", {}},
            {"Minimum", t.MinDistance, "inches", {}},  {"Samples", t.NumOfSamples, {}, {}}};
}

std::string PortText(const ReportSource& source) {
    if (source.Port.empty())
        return "No port open";
    return source.Device.empty() ? source.Port : source.Port + " (" + source.Device + ")";
}

} // namespace

CommissioningReport BuildCommissioningReport(const ReportSource& source) {
    CommissioningReport report;
    report.Title = "Commissioning Report";
    const bool noFamily = source.Family == SensorFamily::None;
    report.Heading = {
        {"Program", std::string(kProgramTitle), {}, {}},
        {"Date and time", source.DateTime, {}, {}},
        {"Sensor family",
         noFamily ? "none chosen" : std::string(FamilyName(source.Family)),
         {},
         {}},
        {"Port", PortText(source), {}, {}},
        {"Configuration file", source.ConfigFile.empty() ? "none" : source.ConfigFile, {}, {}},
        {"Description", source.Record.Description, {}, {}},
    };
    for (const FieldRow& row : FieldRows(source.Record)) {
        if (FamilyHoldsField(source.Family, row.Name))
            report.Parameters.push_back(
                {std::string(FieldCaption(row.Name)), row.Value, row.Unit, row.Meaning});
    }
    report.Outputs = OutputsFigure(source.Record, source.Family);
    if (source.Statistics)
        report.Statistics = StatisticsLines(*source.Statistics);
    if (!source.Trace.empty())
        report.Chart = ChartFigure(source.Record, source.Trace);
    return report;
}

std::string LocalDateTimeText(std::time_t time) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &time);
#else
    localtime_r(&time, &local);
#endif
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text, length);
}

std::vector<float> CurrentSweep(const StripChart& chart) {
    std::vector<float> sweep;
    for (const ChartSample& sample : chart.Sweep()) {
        if (sample.Distance > 0)
            sweep.push_back(sample.Distance);
    }
    return sweep;
}

} // namespace telmora
