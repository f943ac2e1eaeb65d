#include "display/print_redraw.h"
#include "display/strip_chart.h"

#include <gtest/gtest.h>

#include <vector>

namespace telmora {

namespace {

// The chart box at its design geometry and the default range of a family B sensor.
constexpr ChartBox kBox{120, 5520, 8172, 1812};
constexpr float kMin = 8.0f;
constexpr float kMax = 221.77f;

DrawOp Line(float x1, float y1, float x2, float y2) {
    return {DrawOp::Kind::Line, x1, y1, x2, y2};
}

std::vector<DrawOp> ResetOps(const ChartBox& box) {
    return {{DrawOp::Kind::FillBackground, box.Left, box.Top, box.Left + box.Width,
             box.Top + box.Height},
            {DrawOp::Kind::Outline, box.Left, box.Top, box.Left + box.Width, box.Top + box.Height},
            Line(box.Left, box.Top, box.Left, box.Top)};
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
    struct Case {
        float d, min, max, y;
    };
    const Case cases[] = {{8.0f, kMin, kMax, 5520},   {221.77f, kMin, kMax, 7332},
                          {500.0f, kMin, kMax, 7332}, {2.0f, kMin, kMax, 5520},
                          {0.0f, kMin, kMax, 5520},   {8.0f, 8.0f, 8.0f, 5520},
                          {50.0f, 8.0f, 8.0f, 5520}};
    for (const Case& c : cases) {
        EXPECT_EQ(ChartYFor(c.d, kBox, c.min, c.max), c.y)
            << c.d << " in " << c.min << "-" << c.max;
    }
}

TEST_F(ChartFixture, FirstPointAfterStartUp_IsALineFromTheTopLeftCorner) {
    Add(114.885f); // mid range
    const std::vector<DrawOp> expected{Line(120, 5520, 120, 5520), Line(120, 5520, 160, 6426)};
    EXPECT_EQ(drawing.PendingOps(), expected);
    EXPECT_EQ(chart.ChartX(), 160);
    EXPECT_EQ(chart.ChartY(), 6426);
    EXPECT_EQ(chart.ChartPoints().at(40), 114.885f);
}

TEST_F(ChartFixture, PointsAreSpacedBySpeedAndStoredByPosition) {
    Add(10.0f);
    Add(20.0f);
    Add(30.0f, 25);
    drawing.TakeOps();
    Add(40.0f, 25);
    ASSERT_EQ(drawing.PendingOps().size(), 1u);
    EXPECT_EQ(drawing.PendingOps()[0].X1, 120 + 40 + 40 + 25);
    EXPECT_EQ(drawing.PendingOps()[0].X2, 120 + 40 + 40 + 25 + 25);
    const std::vector<float>& p = chart.ChartPoints();
    EXPECT_EQ((std::vector<float>{p.at(40), p.at(80), p.at(105), p.at(130), p.at(60)}),
              (std::vector<float>{10, 20, 30, 40, 0}));
}

TEST_F(ChartFixture, AtSpeed80_HeadPassingTheRightEdgeErasesAndStartsWithASinglePoint) {
    const int fit = static_cast<int>(kBox.Width / 80); // 102 steps fit in the box
    for (int i = 0; i < fit; ++i) {
        Add(50.0f, 80);
    }
    EXPECT_EQ(chart.ChartX(), 120 + 80 * fit);
    drawing.TakeOps();
    Add(8.0f, 80);
    std::vector<DrawOp> expected = ResetOps(kBox);
    expected.push_back(Line(120, 5520, 120, 5520));
    EXPECT_EQ(drawing.PendingOps(), expected);
    EXPECT_EQ(chart.ChartX(), 120);
    EXPECT_EQ(chart.ChartPoints().at(0), 8.0f);
    // The previous sweep's points beyond the new head remain in the buffer.
    EXPECT_EQ(chart.ChartPoints().at(80), 50.0f);
    drawing.TakeOps();
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
    EXPECT_EQ(resumed[0].X1, 200);
    EXPECT_EQ(resumed[0].X2, 240);
    chart.SetRunning(false);
    chart.ChartReset(kBox, drawing);
    EXPECT_EQ(drawing.TakeOps(), ResetOps(kBox));
    EXPECT_EQ(chart.ChartX(), 120);
    chart.SetRunning(true);
    Add(8.0f, 30);
    EXPECT_EQ(drawing.PendingOps(), std::vector<DrawOp>{Line(120, 5520, 150, 5520)});
}

TEST_F(ChartFixture, BoxGrownSinceSizing_ReSizesTheBufferToTheNewWidth) {
    const ChartBox wide{180, 8280, 12258, 2718}; // the box at 150 %
    chart.ChartAddPoint(8.0f, wide, 80, kMin, kMax, drawing);
    for (int i = 0; i < 120; ++i) {
        chart.ChartAddPoint(30.0f, wide, 80, kMin, kMax, drawing);
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
    EXPECT_EQ(std::vector<DrawOp>(ops.begin(), ops.begin() + 3), ResetOps(kBox));
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
    EXPECT_EQ(drawing.TakeOps(), ResetOps(kBox));
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
    EXPECT_EQ(drawing.TakeOps(), ResetOps(kBox));
}

} // namespace
} // namespace telmora
