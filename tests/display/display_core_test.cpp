// The display's core: statistics, the meter and echo of the live gauges, the strip chart's
// trace and its print redraw.
#include "config/number_text.h"
#include "display/live_gauges.h"
#include "display/print_redraw.h"
#include "display/statistics.h"
#include "display/strip_chart.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace telmora {
namespace {

using Texts = std::vector<std::string>;

TEST(Statistics, ReadingsGiveMeanExtremesPopulationDeviationAndCount) {
    std::vector<float> longRun(1'000'000, 10.0f);
    for (std::size_t i = 1; i < longRun.size(); i += 2) {
        longRun[i] = 20.0f;
    }
    const std::pair<std::vector<float>, Texts> cases[] = {
        {{12.5f}, {"12.50", "0.00", "12.50", "12.50", "1"}},
        {{10.0f, 12.0f}, {"11.00", "1.00", "12.00", "10.00", "2"}}, // not 1.41, the sample SD
        // Lost echoes between readings are left out of every figure.
        {{10.0f, 0.0f, -1.0f, 12.0f, 0.0f}, {"11.00", "1.00", "12.00", "10.00", "2"}},
        {longRun, {"15.00", "5.00", "20.00", "10.00", "1000000"}}, // no drift over a long run
    };
    for (const auto& [readings, shown] : cases) {
        Statistics stats;
        InitStats(stats);
        for (float d : readings) {
            DoStats(stats, d);
        }
        const StatsTexts t = FormatStats(stats, readings.back());
        EXPECT_EQ(
            Texts({t.AveDistance, t.SDDistance, t.MaxDistance, t.MinDistance, t.NumOfSamples}),
            shown);
    }
}

TEST(Statistics, NegativeRoundingResidue_KeepsThePreviousDeviation) {
    // Sums whose rounding leaves the variance below zero keep the last deviation, not NaN.
    Statistics stats;
    InitStats(stats);
    stats.SDDistance = 7.0f;
    stats.NumOfSamples = 2;
    stats.SumDistance = 0.2;
    stats.SumSquares = 0.02 - 1e-12;
    ASSERT_TRUE(DoStats(stats, 0.1f));
    EXPECT_EQ(stats.SDDistance, 7.0f);
}

TEST(Meter, FollowsTheCharacteristicAndTheEchoLossLevel) {
    const AnalogCharacteristic rising{12.0, 100.0, 4.0, 20.0};
    const AnalogCharacteristic falling{12.0, 100.0, 10.0, 0.0};
    const AnalogCharacteristic swapped{100.0, 12.0, 4.0, 20.0};
    const AnalogCharacteristic flat{50.0, 50.0, 4.0, 20.0};
    // Distance, characteristic, echo loss level, the meter's text.
    const std::tuple<float, AnalogCharacteristic, const char*, const char*> cases[] = {
        {56.0f, rising, "NC", "12.0"},
        {5.0f, rising, "NC", "4.0"},
        {150.0f, rising, "NC", "20.0"},
        {12.0f, rising, "NC", "4.0"},   // on the near endpoint: the near output
        {100.0f, rising, "NC", "20.0"}, // on the far endpoint: the far output
        {34.0f, falling, "NC", "7.5"},
        // A lost echo shows the output at the larger (High) or smaller (Low) endpoint.
        {0.0f, falling, "High", "0.0"},
        {0.0f, falling, "Low", "10.0"},
        {0.0f, falling, "NC", "(kept)"},
        {0.0f, rising, "High", "20.0"},
        {0.0f, rising, "Low", "4.0"},
        {0.0f, swapped, "High", "4.0"},
        {0.0f, swapped, "Low", "20.0"},
        {50.0f, swapped, "NC", "20.0"}, // both sides at once: the far output wins
        // Equal endpoints never divide by zero.
        {50.0f, flat, "NC", "20.0"},
        {20.0f, flat, "NC", "4.0"},
        {80.0f, flat, "NC", "20.0"},
    };
    for (const auto& [d, analog, echoLoss, shown] : cases) {
        const std::optional<double> value = MeterValue(d, analog, echoLoss);
        EXPECT_EQ(value ? FormatOneDecimal(*value) : "(kept)", shown)
            << d << " " << echoLoss << " near " << analog.NearEndpoint;
    }
}

TEST(GaugeTimer, EchoLeavesTheSensorGrowingAndTurnsAtTheTarget) {
    GaugeTimer timer;
    // The window's sensor symbol at the left end of the marker's row, the target at 1000.
    const auto tick = [&timer](double echoHeight) {
        return timer.Tick({240, 2700, 360, 300, echoHeight, 1000, 7335});
    };
    TickResult step = tick(250);
    // First tick: the echo starts at the sensor symbol's right edge, centred on it.
    EXPECT_EQ(std::vector<double>({step.EchoLeft, step.EchoTop, step.EchoHeight}),
              std::vector<double>({600, 2700 + 150 - 125, 255}));
    EXPECT_TRUE(timer.EchoOutbound());
    std::vector<double> lefts;
    for (int i = 0; i < 10; ++i) {
        step = tick(step.EchoHeight);
        lefts.push_back(step.EchoLeft);
        if (i == 5) {
            EXPECT_FALSE(timer.EchoOutbound());
            EXPECT_EQ(step.EchoHeight, 250 + 7 * 5);
        }
    }
    // Back past the sensor it starts again from its edge at the first height.
    EXPECT_EQ(lefts, (std::vector<double>{700, 800, 900, 1000, 1000, 900, 800, 700, 600, 600}));
    EXPECT_TRUE(timer.EchoOutbound());
    EXPECT_EQ(step.EchoHeight, 255);
}

// The chart box at its design geometry and the default range of a family B sensor.
constexpr ChartBox kBox{120, 5520, 8172, 1812};
constexpr float kMin = 8.0f;
constexpr float kMax = 221.77f;

DrawOp Line(float x1, float y1, float x2, float y2) {
    return {DrawOp::Kind::Line, x1, y1, x2, y2};
}

std::vector<DrawOp> ResetOps() {
    return {{DrawOp::Kind::FillBackground, 120, 5520, 8292, 7332},
            {DrawOp::Kind::Outline, 120, 5520, 8292, 7332},
            Line(120, 5520, 120, 5520)};
}

struct ChartFixture : ::testing::Test {
    StripChart chart;
    ChartDrawing drawing;
    void SetUp() override { chart.SizeBuffer(kBox.Width); }
    void Add(float d, int speed = kChartSpeedDefault) {
        chart.ChartAddPoint(d, kBox, speed, kMin, kMax, drawing);
    }
};

TEST(ChartScale, MinimumOnTopMaximumOrBeyondOnBottomEqualBoundsOnTop) {
    const float cases[][4] = {{8.0f, kMin, kMax, 5520},   {221.77f, kMin, kMax, 7332},
                              {500.0f, kMin, kMax, 7332}, {2.0f, kMin, kMax, 5520},
                              {0.0f, kMin, kMax, 5520},   {8.0f, 8.0f, 8.0f, 5520},
                              {50.0f, 8.0f, 8.0f, 5520}};
    for (const auto& [d, min, max, y] : cases) {
        EXPECT_EQ(ChartYFor(d, kBox, min, max), y) << d << " in " << min << "-" << max;
    }
}

TEST_F(ChartFixture, FirstPointFromTheTopLeftCorner_ThenSpacedBySpeedAndStoredByPosition) {
    Add(114.885f); // mid range
    EXPECT_EQ(drawing.TakeOps(),
              (std::vector<DrawOp>{Line(120, 5520, 120, 5520), Line(120, 5520, 160, 6426)}));
    EXPECT_EQ(std::pair(chart.ChartX(), int(chart.ChartY())), std::pair(160.0f, 6426));
    Add(20.0f);
    Add(30.0f, 25);
    drawing.TakeOps();
    Add(40.0f, 25);
    ASSERT_EQ(drawing.PendingOps().size(), 1u);
    EXPECT_EQ(drawing.PendingOps()[0].X1, 120 + 40 + 40 + 25);
    EXPECT_EQ(drawing.PendingOps()[0].X2, 120 + 40 + 40 + 25 + 25);
    const std::vector<float>& p = chart.ChartPoints();
    EXPECT_EQ((std::vector<float>{p.at(40), p.at(80), p.at(105), p.at(130), p.at(60)}),
              (std::vector<float>{114.885f, 20, 30, 40, 0}));
}

TEST_F(ChartFixture, AtSpeed80_HeadPassingTheRightEdgeErasesAndStartsWithASinglePoint) {
    const int fit = static_cast<int>(kBox.Width / 80); // 102 steps fit in the box
    for (int i = 0; i < fit; ++i) {
        Add(50.0f, 80);
    }
    EXPECT_EQ(chart.ChartX(), 120 + 80 * fit);
    drawing.TakeOps();
    Add(8.0f, 80);
    std::vector<DrawOp> expected = ResetOps();
    expected.push_back(Line(120, 5520, 120, 5520));
    EXPECT_EQ(drawing.TakeOps(), expected);
    EXPECT_EQ(chart.ChartX(), 120);
    // The previous sweep's points beyond the new head remain in the buffer.
    EXPECT_EQ(std::pair(chart.ChartPoints().at(0), chart.ChartPoints().at(80)),
              std::pair(8.0f, 50.0f));
    Add(221.77f, 80);
    EXPECT_EQ(drawing.PendingOps(), std::vector<DrawOp>{Line(120, 5520, 200, 7332)});
}

TEST_F(ChartFixture, Stopped_IgnoresReadingsAndResetsAtOnceThenStartsFromTheTopLeft) {
    Add(10.0f);
    Add(20.0f);
    const std::vector<float> points = chart.ChartPoints();
    drawing.TakeOps();
    chart.SetRunning(false);
    for (int i = 0; i < 50; ++i) {
        Add(100.0f);
    }
    EXPECT_TRUE(drawing.PendingOps().empty());
    EXPECT_EQ(chart.ChartX(), 200);
    EXPECT_EQ(chart.ChartPoints(), points);
    chart.SetRunning(true);
    Add(8.0f);
    const std::vector<DrawOp> resumed = drawing.TakeOps(); // from the same head
    ASSERT_EQ(resumed.size(), 1u);
    EXPECT_EQ(std::pair(resumed[0].X1, resumed[0].X2), std::pair(200.0f, 240.0f));
    chart.SetRunning(false);
    chart.ChartReset(kBox, drawing);
    EXPECT_EQ(drawing.TakeOps(), ResetOps());
    EXPECT_EQ(chart.ChartX(), 120);
    chart.SetRunning(true);
    Add(8.0f, 30);
    EXPECT_EQ(drawing.PendingOps(), std::vector<DrawOp>{Line(120, 5520, 150, 5520)});
}

TEST_F(ChartFixture, BoxGrownSinceSizing_ReSizesTheBufferToTheNewWidth) {
    const ChartBox wide{180, 8280, 12258, 2718}; // the box at 150 %
    for (int i = 0; i <= 120; ++i) {
        chart.ChartAddPoint(i == 0 ? 8.0f : 30.0f, wide, 80, kMin, kMax, drawing);
    }
    EXPECT_EQ(chart.ChartPoints().size(), 12259u);
    EXPECT_EQ(chart.ChartPoints().at(121 * 80), 30.0f);
}

TEST_F(ChartFixture, PrintRedraw_SamplesUpToThePointBeforeTheHeadFromZeroToTheMaximum) {
    for (int i = 1; i <= 10; ++i) {
        Add(i == 3 ? 110.885f : i == 4 ? 500.0f : 10.0f * i); // the head ends at L + 400
    }
    drawing.TakeOps();
    ASSERT_TRUE(RedrawChartForPrint(chart, kBox, 40, "221.77", drawing));
    const std::vector<DrawOp> ops = drawing.TakeOps();
    ASSERT_EQ(ops.size(), 3u + 10u);
    EXPECT_EQ(std::vector<DrawOp>(ops.begin(), ops.begin() + 3), ResetOps());
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(ops[3 + k].X2, 120 + 40 * k) << k; // elements 0, 40, ..., 360
    }
    EXPECT_EQ(ops[3].Y2, 5520);        // element 0 was never written: top edge
    EXPECT_EQ(ops[6].Y2, 5520 + 906);  // 110.885 at mid-height whatever the minimum
    EXPECT_GT(ops[7].Y2, 5520 + 1812); // beyond the maximum: below the box, not limited
    // The head and the pen stay as the redraw left them: the live chart goes on from here.
    EXPECT_EQ(chart.ChartX(), 520);
    EXPECT_EQ(drawing.PenX(), 480);
    EXPECT_EQ(chart.ChartY(), static_cast<int>(drawing.PenY()));
}

// Before any reading or after a reset only the empty box is drawn; samples follow the
// current spacing; a maximum that is no positive number skips the redraw.
TEST_F(ChartFixture, PrintRedraw_EmptyChartCurrentSpacingAndNoMaximum) {
    ASSERT_TRUE(RedrawChartForPrint(chart, kBox, 40, "221.77", drawing));
    EXPECT_EQ(drawing.TakeOps(), ResetOps());
    for (int i = 0; i < 6; ++i) {
        Add(20.0f); // elements 40, 80, ..., 240
    }
    drawing.TakeOps();
    for (const char* text : {"0", "-5", "abc", "", "-0.0"}) {
        EXPECT_FALSE(RedrawChartForPrint(chart, kBox, 40, text, drawing)) << text;
        EXPECT_TRUE(drawing.PendingOps().empty()) << text;
        EXPECT_EQ(chart.ChartX(), 360) << text;
    }
    RedrawChartForPrint(chart, kBox, 80, "221.77", drawing);
    std::vector<float> xs;
    for (const DrawOp& op : drawing.TakeOps()) {
        xs.push_back(op.X2 - 120);
    }
    EXPECT_EQ(xs, (std::vector<float>{8172, 8172, 0, 0, 80, 160}));
    chart.ChartReset(kBox, drawing);
    drawing.TakeOps();
    ASSERT_TRUE(RedrawChartForPrint(chart, kBox, 40, "221.77", drawing));
    EXPECT_EQ(drawing.TakeOps(), ResetOps());
}

} // namespace
} // namespace telmora
