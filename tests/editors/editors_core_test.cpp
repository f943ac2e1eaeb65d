// The editors' figures at the bar's and box's ends and inside them, as a user types and
// drags, are in the editors' window transcript; here, the cases the window never reaches.
#include "editors/handle_layout.h"
#include "editors/scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace telmora {
namespace {

// The range bar and the analog box at their design places.
constexpr BarSpan kBar{840, 6495};
constexpr OutputSpan kBox{3600, 735};

// Entries reaching these limits through the range boxes are checked on the range editor.
TEST(RangeLimits, EntriesAreHeldBetweenHalfAnInchAndTheCeiling) {
    EXPECT_EQ(LimitMinRange(ReadSingle("0"), 221.72f), 0.5f);
    EXPECT_EQ(LimitMinRange(ReadSingle("-3"), 221.72f), 0.5f);
    EXPECT_EQ(LimitMinRange(221.72f, 221.72f), 221.71f);
    EXPECT_EQ(LimitMinRange(221.7f, 221.72f), 221.7f);
    EXPECT_EQ(LimitMaxRange(6.5f, 6.5f), 6.51f);
    EXPECT_EQ(LimitMaxRange(500, 6.5f), 443.54f);
    EXPECT_EQ(LimitMaxRange(443.54f, 6.5f), 443.54f);
    EXPECT_EQ(LimitMaxRange(221.72f, 6.5f), 221.72f);
    // A minimum beyond the ceiling would push the maximum above it; the ceiling wins.
    EXPECT_EQ(LimitMaxRange(3, 450), 443.54f);
    EXPECT_EQ(LimitMinRange(ReadSingle("-1e999"), 221.72f), 0.5f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(LimitMaxRange(nan, 6.5f), 6.51f);
    EXPECT_EQ(LimitMinRange(3, nan), 0.5f);
    EXPECT_FALSE(std::isnan(LimitMaxRange(3, nan)));
}

TEST(NumberOfPulses, SinglePulseOnlyBelowTheFamilysNearLimit) {
    EXPECT_EQ(NumberOfPulsesFor(7.99f, false, true), 1);
    EXPECT_EQ(NumberOfPulsesFor(7.0f, true, false), 10);
    EXPECT_EQ(NumberOfPulsesFor(0.5f, false, false), 10); // no family selected
}

TEST(DistanceToX, MapsTheRangeOntoTheBarAndEverythingElseToItsEnds) {
    EXPECT_EQ(DistanceToX(kBar, -1e30f, 6.5f, 221.72f), 840.0f);
    EXPECT_EQ(DistanceToX(kBar, 3e38f, -3e38f, 3e38f), 7335.0f);
    for (float d : {0.0f, 12.0f, 50.0f, 1000.0f}) {
        EXPECT_EQ(DistanceToX(kBar, d, 12.0f, 12.0f), 840.0f) << d;
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(DistanceToX(kBar, nan, 6.5f, 221.72f), 840.0f);
    EXPECT_EQ(DistanceToX(kBar, 10, inf, inf), 840.0f);
    EXPECT_EQ(DistanceToX(kBar, 10, nan, 221.72f), 840.0f);
    EXPECT_EQ(DistanceToX({840, 0}, 100, 6.5f, 221.72f), 840.0f);
}

TEST(XToDistance, MapsTheBarOntoTheRangeAndClampsBeyondIt) {
    EXPECT_FLOAT_EQ(XToDistance(kBar, 840 + 6495 / 2.0f, 0, 100), 50.0f);
    for (float d = 6.5f; d <= 221.72f; d += 7.3f) {
        const float x = DistanceToX(kBar, d, 6.5f, 221.72f);
        EXPECT_NEAR(XToDistance(kBar, x, 6.5f, 221.72f), d, 1e-3) << d;
    }
    EXPECT_EQ(XToDistance({840, 0}, 900, 6.5f, 221.72f), 6.5f);
    EXPECT_EQ(XToDistance(kBar, 5000, 12, 12), 12.0f);
    EXPECT_EQ(XToDistance(kBar, std::numeric_limits<float>::quiet_NaN(), 6.5f, 221.72f), 6.5f);
}

// A first handle that starts a little beyond the meeting point gets width 0, not less.
TEST(HandlePair, HandleWidthsAreNeverNegative) {
    EXPECT_EQ(PlaceHandlePair(840, 841, 7335, 615).FirstSize, 0);
}

TEST(SwitchDrag, PointerGivesTheDistanceWithinTheRange) {
    // The pointer's offset is relative to the handle it was pressed on.
    EXPECT_EQ(DraggedDistance(kBar, 3000, -9000, 6.5f, 221.72f, 840), 6.5f);
    const float d = DraggedDistance(kBar, 4087.5f, 0, 0, 100, 840);
    EXPECT_FLOAT_EQ(d, 50.0f);
    EXPECT_EQ(DraggedDistance(kBar, 840, 3000, 12, 12, 840), 12.0f);
    EXPECT_EQ(DraggedDistance({840, 0}, 840, 3000, 6.5f, 221.72f, 840), 6.5f);
}

TEST(AnalogOutput, IsHeldWithinTheScaleAndPlacedInTheBox) {
    EXPECT_FLOAT_EQ(OutputToY(kBox, 10, 0, 20), 3600 + 367.5f);
    EXPECT_EQ(OutputToY(kBox, 30, 0, 20), 3600.0f);
    EXPECT_EQ(OutputToY(kBox, -5, 0, 20), 4335.0f);
    EXPECT_EQ(OutputToY(kBox, 5, 0, 0), 4335.0f);
    EXPECT_EQ(OutputToY(kBox, 5, 7, 7), 4335.0f);
}

TEST(AnalogOutputDrag, HeightGivesTheOutputWithinTheScale) {
    EXPECT_EQ(DraggedOutput(kBox, 3900, -5000, 0, 10), 10.0f);
    EXPECT_FLOAT_EQ(DraggedOutput(kBox, 3600, 367.5f, 0, 20), 10.0f);
    EXPECT_EQ(DraggedOutput({3600, 0}, 3600, 10, 0, 20), 0.0f);
    for (float y = 0; y <= 735; y += 49) {
        const float v = DraggedOutput(kBox, 3600, y, 0, 20);
        EXPECT_NEAR(OutputToY(kBox, v, 0, 20), 3600 + y, 0.01) << y;
    }
}

// Arrow keys on the window step values its boxes show and hold them at the bar's ends; here,
// a value between shown steps, ends in either order, and ends or values that are no number.
TEST(SteppedValue, MovesByTheShownDecimalWithinTheDragLimits) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float Value, End1, End2, Expected;
    } cases[] = {
        {12.004f, 6.5f, 221.72f, 12.01f}, {50, 100, 0, 50.01f}, {0, 100, 0, 0.01f},
        {nan, 6.5f, 221.72f, 6.51f},      {50, nan, 100, 100},  {12, 6.5f, INFINITY, 12.01f},
        {12, nan, nan, 12.01f},           {nan, nan, nan, 0}};
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(SteppedValue(c.Value, 1, 2, c.End1, c.End2), c.Expected)
            << c.Value << " between " << c.End1 << " and " << c.End2;
    }
}

} // namespace
} // namespace telmora
