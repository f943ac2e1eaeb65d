// The display's core: statistics, the meter and echo of the live gauges, the strip chart's
// trace and its print redraw. Each scenario writes its figures, draw operations and chart
// head, compared once with display_core_test.golden.
#include "../support/golden.h"
#include "config/number_text.h"
#include "display/commissioning_report.h"
#include "display/live_gauges.h"
#include "display/print_redraw.h"
#include "display/statistics.h"
#include "display/strip_chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace telmora {
namespace {

// The chart box at its design geometry and the default range of a family B sensor.
constexpr ChartBox kBox{120, 5520, 8172, 1812};
constexpr float kMin = 8.0f;
constexpr float kMax = 221.77f;

struct Transcript {
    std::ostringstream out;
    StripChart chart;
    ChartDrawing drawing;

    Transcript() { chart.SizeBuffer(kBox.Width); }
    // The operations drawn since the last call (or only their count), and the chart's head.
    void Ops(const std::string& what, bool each = true) {
        out << what << ":";
        const std::vector<DrawOp> ops = drawing.TakeOps();
        out << (each ? "" : " " + std::to_string(ops.size()) + " operations");
        for (const DrawOp& op : each ? ops : std::vector<DrawOp>()) {
            const char* kind[] = {"fill", "outline", "line"};
            out << " " << kind[int(op.Kind)] << " " << op.X1 << "," << op.Y1 << "-" << op.X2 << ","
                << op.Y2;
        }
        out << " | head " << chart.ChartX() << "," << chart.ChartY() << "\n";
    }
    void Add(float d, int speed = kChartSpeedDefault) {
        chart.ChartAddPoint(d, kBox, speed, kMin, kMax, drawing);
        std::ostringstream what;
        what << "add " << d << " at " << speed;
        Ops(what.str());
    }
    void Points(std::initializer_list<int> at) {
        out << "points";
        for (int i : at) {
            out << " " << i << ":" << chart.ChartPoints().at(i);
        }
        out << "\n";
    }
    void Redraw(int speed, const char* maxRange) {
        const bool drawn = RedrawChartForPrint(chart, kBox, speed, maxRange, drawing);
        Ops("print redraw at " + std::to_string(speed) + " to '" + maxRange + "' " +
            (drawn ? "drawn" : "skipped"));
    }
};

void Stats(Transcript& t) {
    // Lost echoes between readings are left out of every figure; no drift over a long run.
    std::vector<float> longRun(1'000'000, 10.0f);
    for (std::size_t i = 1; i < longRun.size(); i += 2) {
        longRun[i] = 20.0f;
    }
    const std::vector<float> cases[] = {{12.5f}, {10, 12}, {10, 0, -1, 12, 0}, longRun};
    for (const auto& readings : cases) {
        Statistics stats;
        InitStats(stats);
        for (float d : readings) {
            DoStats(stats, d);
        }
        const StatsTexts s = FormatStats(stats, readings.back());
        t.out << readings.size() << " readings from " << readings[0] << ": ave " << s.AveDistance
              << " sd " << s.SDDistance << " max " << s.MaxDistance << " min " << s.MinDistance
              << " n " << s.NumOfSamples << "\n";
    }
    // Sums whose rounding leaves the variance below zero keep the last deviation, not NaN.
    Statistics stats;
    InitStats(stats);
    stats.SDDistance = 7.0f;
    stats.NumOfSamples = 2;
    stats.SumDistance = 0.2;
    stats.SumSquares = 0.02 - 1e-12;
    t.out << "rounding residue: counted " << DoStats(stats, 0.1f) << ", sd " << stats.SDDistance
          << "\n";
}

void Meter(Transcript& t) {
    // Each distance on each characteristic; a lost echo (0) at each echo loss level.
    const std::pair<const char*, AnalogCharacteristic> lines[] = {{"rising", {12, 100, 4, 20}},
                                                                  {"falling", {12, 100, 10, 0}},
                                                                  {"swapped", {100, 12, 4, 20}},
                                                                  {"flat", {50, 50, 4, 20}}};
    for (const auto& [name, analog] : lines) {
        t.out << name << ":";
        for (float d : {0.0f, 5.0f, 12.0f, 20.0f, 34.0f, 50.0f, 56.0f, 80.0f, 100.0f, 150.0f}) {
            for (const char* level : {"NC", "High", "Low"}) {
                if (d > 0 && level != std::string("NC")) {
                    continue;
                }
                const std::optional<double> value = MeterValue(d, analog, level);
                t.out << " " << d << (d > 0 ? "" : level) << "="
                      << (value ? FormatOneDecimal(*value) : "kept");
            }
        }
        t.out << "\n";
    }
}

void Echo(Transcript& t) {
    // The window's sensor symbol at the left end of the marker's row, the target at 1000:
    // the echo leaves its right edge centred on it, grows, turns at the target and starts
    // again from the edge at the first height.
    GaugeTimer timer;
    double height = 250;
    for (int i = 1; i <= 12; ++i) {
        const TickResult step = timer.Tick({240, 2700, 360, 300, height, 1000, 7335});
        height = step.EchoHeight;
        t.out << "tick " << i << ": " << step.EchoLeft << "," << step.EchoTop << " height "
              << step.EchoHeight << (timer.EchoOutbound() ? " out" : " back") << "\n";
    }
}

void ChartScale(Transcript& t) {
    const float cases[][3] = {{8, kMin, kMax}, {221.77f, kMin, kMax}, {500, kMin, kMax},
                              {2, kMin, kMax}, {0, kMin, kMax},       {8, 8, 8},
                              {50, 8, 8}};
    for (const auto& [d, min, max] : cases) {
        t.out << d << " in " << min << "-" << max << ": y " << ChartYFor(d, kBox, min, max) << "\n";
    }
}

void FirstPoints(Transcript& t) {
    // The first from the top left corner, then spaced by the speed and stored by position.
    t.Add(114.885f);
    t.Add(20);
    t.Add(30, 25);
    t.Add(40, 25);
    t.Points({40, 80, 105, 130, 60});
}

void Wrap(Transcript& t) {
    // At speed 80 the head passing the right edge erases and starts with a single point; the
    // previous sweep's points beyond the new head remain.
    for (int i = 0; i < static_cast<int>(kBox.Width / 80); ++i) {
        t.chart.ChartAddPoint(50, kBox, 80, kMin, kMax, t.drawing);
    }
    t.Ops("102 readings of 50 at 80", false);
    t.Add(8, 80);
    t.Points({0, 80});
    t.Add(221.77f, 80);
    // A box grown since the buffer was sized (the box at 150 %) re-sizes it to the new width.
    Transcript grown;
    const ChartBox wide{180, 8280, 12258, 2718};
    for (int i = 0; i <= 120; ++i) {
        grown.chart.ChartAddPoint(i == 0 ? 8.0f : 30.0f, wide, 80, kMin, kMax, grown.drawing);
    }
    t.out << "grown box: buffer " << grown.chart.ChartPoints().size() << ", point 9680 "
          << grown.chart.ChartPoints().at(121 * 80) << "\n";
}

void Stopped(Transcript& t) {
    // Stopped, readings are ignored and a reset is at once; started again it goes on from
    // the same head, or after a reset from the top left.
    t.Add(10);
    t.Add(20);
    t.chart.SetRunning(false);
    for (int i = 0; i < 50; ++i) {
        t.chart.ChartAddPoint(100, kBox, kChartSpeedDefault, kMin, kMax, t.drawing);
    }
    t.Ops("50 readings while stopped");
    t.Points({40, 80, 240});
    t.chart.SetRunning(true);
    t.Add(8);
    t.chart.SetRunning(false);
    t.chart.ChartReset(kBox, t.drawing);
    t.Ops("reset while stopped");
    t.chart.SetRunning(true);
    t.Add(8, 30);
}

void PrintRedraw(Transcript& t) {
    // Samples up to the point before the head from zero to the maximum, beyond it below the
    // box; the head and pen stay where the redraw left them. Before any reading or after a
    // reset only the empty box; a maximum that is no positive number skips the redraw.
    t.Redraw(40, "221.77");
    for (int i = 1; i <= 10; ++i) {
        t.chart.ChartAddPoint(i == 3   ? 110.885f
                              : i == 4 ? 500.0f
                                       : 10.0f * i,
                              kBox, 40, kMin, kMax, t.drawing);
    }
    t.Ops("10 readings");
    t.Redraw(40, "221.77");
    t.out << "pen " << t.drawing.PenX() << "," << t.drawing.PenY() << "\n";
    for (const char* text : {"0", "-5", "abc", "", "-0.0"}) {
        t.Redraw(40, text);
    }
    t.Redraw(80, "221.77");
    t.chart.ChartReset(kBox, t.drawing);
    t.Ops("reset");
    t.Redraw(40, "221.77");
}

void ChartData(Transcript& t) {
    // The readings on the chart with their times, a lost echo without a distance; the erase
    // at the right edge starts the list again with the reading that caused it.
    const auto at = [](int second, int ms) {
        return LocalDateTime{2026, 12, 7, {14, 2, second}, ms};
    };
    t.chart.ChartAddPoint(12.345f, kBox, 40, kMin, kMax, t.drawing, at(31, 250));
    t.chart.ChartAddPoint(0, kBox, 40, kMin, kMax, t.drawing, at(31, 256));
    t.chart.ChartAddPoint(100, kBox, 40, kMin, kMax, t.drawing, at(32, 0));
    std::string csv = ChartDataCsv(t.chart.Sweep());
    t.out << std::regex_replace(csv, std::regex("\r\n"), " | ") << "\n";
    t.out << "the report's trace: " << CurrentSweep(t.chart).size() << " distances\n";
    for (int i = 0; i < 203; ++i) {
        t.chart.ChartAddPoint(50, kBox, 40, kMin, kMax, t.drawing, at(40, i));
    }
    t.out << "after the erase: " << t.chart.Sweep().size() << " readings, the first at "
          << t.chart.Sweep().front().Position << ", " << IsoLocalTime(t.chart.Sweep().front().When)
          << "\n";
}

TEST(DisplayCore, Scenarios_MatchTheGoldenTranscript) {
    std::ostringstream out;
    const std::pair<const char*, void (*)(Transcript&)> scenarios[] = {
        {"statistics", Stats},
        {"meter", Meter},
        {"echo", Echo},
        {"chart scale", ChartScale},
        {"first points", FirstPoints},
        {"wrap", Wrap},
        {"stopped", Stopped},
        {"print redraw", PrintRedraw},
        {"chart data", ChartData}};
    for (const auto& [name, run] : scenarios) {
        Transcript t;
        run(t);
        out << "== " << name << "\n" << t.out.str();
    }
    const std::string diff = test::GoldenDiff(out.str(), TELMORA_GOLDEN);
    EXPECT_TRUE(diff.empty()) << diff;
}

// Whatever a record holds, the report's drawings stay inside their figures with every
// coordinate finite, and the page escapes what the description carries.
TEST(DisplayCore, Report_AnyRecordDrawsInsideItsFigures_TheDescriptionEscaped) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = std::numeric_limits<float>::max();
    const struct {
        const char* name;
        float min, max, setpoint, hyst;
        double markAt = -1; // where switch 1's marker stands along its bar, when checked
    } cases[] = {
        {"usual", 8, 221.77f, 24, 2},         {"bounds swapped", 300, 20, 24, -5},
        {"no span", 50, 50, 50, 0, 0},        {"beyond the range", 8, 100, 1e6f, 1e6f, 1},
        {"not numbers", nan, nan, nan, nan},  {"the largest single", huge, huge, -huge, huge, 0},
        {"at the near end", 8, 100, 8, 0, 0}, {"half way", 20, 100, 60, 0, 0.5},
    };
    for (const auto& c : cases) {
        ReportSource source;
        source.Family = SensorFamily::B;
        source.Record.MinRange = c.min;
        source.Record.MaxRange = c.max;
        source.Record.Sw1Setpoint = c.setpoint;
        source.Record.Sw1Hyst = c.hyst;
        source.Record.AnalogFarEndpoint = c.setpoint;
        source.Record.Description = "<b>&\x01\xff caf\xC3\xA9 \xC3(";
        source.Trace = {c.setpoint, 10, c.hyst};
        const CommissioningReport report = BuildCommissioningReport(source);
        ASSERT_TRUE(report.Chart.has_value()) << c.name;
        for (const Figure* figure : {&report.Outputs, &*report.Chart}) {
            const auto inside = [&](double x, double y) {
                return std::isfinite(x) && std::isfinite(y) && x >= 0 && x <= figure->Width &&
                       y >= 0 && y <= figure->Height;
            };
            for (const FigureRect& r : figure->Rects)
                EXPECT_TRUE(inside(r.X, r.Y) && inside(r.X + r.Width, r.Y + r.Height) &&
                            r.Width >= 0)
                    << c.name;
            for (const FigureLine& l : figure->Lines)
                for (const FigurePoint& p : l.Points)
                    EXPECT_TRUE(inside(p.X, p.Y)) << c.name;
            EXPECT_FALSE(figure->Texts.empty()) << c.name;
        }
        if (c.markAt >= 0) {
            const FigureRect& bar = report.Outputs.Rects.front(); // switch 1's bar
            EXPECT_DOUBLE_EQ(report.Outputs.Lines.front().Points.front().X,
                             bar.X + c.markAt * bar.Width)
                << c.name;
        }
        // The axis's ticks: round values within the range, evenly spaced.
        std::vector<double> ticks;
        for (const FigureText& t : report.Outputs.Texts) {
            if (t.Anchor == TextAnchor::Middle)
                ticks.push_back(std::stod(t.Text));
        }
        const double low = std::isfinite(c.min) ? std::min(c.min, c.max) : 0;
        const double high = std::isfinite(c.max) ? std::max(c.min, c.max) : 0;
        ASSERT_GE(ticks.size(), 2u) << c.name;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_TRUE(ticks[i] >= low && (ticks[i] <= high || high == low)) << c.name;
            if (i >= 2) {
                EXPECT_NEAR(ticks[i] - ticks[i - 1], ticks[1] - ticks[0], 1e-9 * std::abs(ticks[i]))
                    << c.name;
            }
        }
        const std::string html = CommissioningReportHtml(report);
        EXPECT_NE(
            html.find("<td>&lt;b&gt;&amp;\xEF\xBF\xBD\xEF\xBF\xBD caf\xC3\xA9 \xEF\xBF\xBD(</td>"),
            std::string::npos)
            << c.name;
        EXPECT_EQ(html.find("<b>"), std::string::npos) << c.name;
    }
}

} // namespace
} // namespace telmora
