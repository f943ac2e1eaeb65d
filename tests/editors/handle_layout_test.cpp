#include "editors/handle_layout.h"

#include <gtest/gtest.h>

#include <limits>

namespace telmora {
namespace {

constexpr BarSpan kBar{840, 6495};
constexpr OutputSpan kBox{3600, 735}; // the analog box at its design place

// Placement inside the bar is checked on the switch rows; here, the widths at its ends.
TEST(HandlePair, HandleWidthsAreNeverNegative) {
    EXPECT_EQ(PlaceHandlePair(7335, 840, 7335, 615).SecondSize, 0);
    EXPECT_EQ(PlaceHandlePair(840, 840, 7335, 615).FirstSize, 0);
    // A first handle that starts a little beyond the meeting point gets width 0.
    EXPECT_EQ(PlaceHandlePair(840, 841, 7335, 615).FirstSize, 0);
}

TEST(SwitchDrag, PointerGivesTheDistanceWithinTheRange) {
    // The pointer's offset is relative to the handle it was pressed on.
    EXPECT_EQ(DraggedDistance(kBar, 840, -2000, 6.5f, 221.72f, 840), 6.5f);
    EXPECT_EQ(DraggedDistance(kBar, 3000, 9000, 6.5f, 221.72f, 840), 221.72f);
    EXPECT_EQ(DraggedDistance(kBar, 3000, -9000, 6.5f, 221.72f, 840), 6.5f);
    const float d = DraggedDistance(kBar, 4087.5f, 0, 0, 100, 840);
    EXPECT_FLOAT_EQ(d, 50.0f);
    EXPECT_EQ(DraggedDistance(kBar, 840, 3000, 12, 12, 840), 12.0f);
    EXPECT_EQ(DraggedDistance({840, 0}, 840, 3000, 6.5f, 221.72f, 840), 6.5f);
}

TEST(AnalogOutput, IsHeldWithinTheScaleAndPlacedInTheBox) {
    EXPECT_EQ(OutputToY(kBox, 0, 0, 20), 4335.0f);
    EXPECT_EQ(OutputToY(kBox, 20, 0, 20), 3600.0f);
    EXPECT_FLOAT_EQ(OutputToY(kBox, 10, 0, 20), 3600 + 367.5f);
    EXPECT_EQ(OutputToY(kBox, 30, 0, 20), 3600.0f);
    EXPECT_EQ(OutputToY(kBox, -5, 0, 20), 4335.0f);
    EXPECT_EQ(OutputToY(kBox, 5, 0, 0), 4335.0f);
    EXPECT_EQ(OutputToY(kBox, 5, 7, 7), 4335.0f);
}

TEST(AnalogOutputDrag, HeightGivesTheOutputWithinTheScale) {
    EXPECT_EQ(DraggedOutput(kBox, 3600, 5000, 0, 20), 0.0f);
    EXPECT_EQ(DraggedOutput(kBox, 3900, -5000, 0, 10), 10.0f);
    EXPECT_FLOAT_EQ(DraggedOutput(kBox, 3600, 367.5f, 0, 20), 10.0f);
    EXPECT_EQ(DraggedOutput({3600, 0}, 3600, 10, 0, 20), 0.0f);
    for (float y = 0; y <= 735; y += 49) {
        const float v = DraggedOutput(kBox, 3600, y, 0, 20);
        EXPECT_NEAR(OutputToY(kBox, v, 0, 20), 3600 + y, 0.01) << y;
    }
}

} // namespace
} // namespace telmora
