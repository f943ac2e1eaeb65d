#include "editors/option_cycles.h"

#include <gtest/gtest.h>

namespace telmora {
namespace {

// The cycles themselves are clicked through on the editors; here, captions no state has.
TEST(OptionLabelClicks, UnexpectedCaptionsStepToTheFirstState) {
    EXPECT_EQ(SwitchModeAfterClick("hyst"), SwitchMode::Hyst); // comparisons are exact
    EXPECT_EQ(SwitchPowerUpAfterClick("888"), SwitchPowerUp::On);
    EXPECT_EQ(SwitchEchoLossAfterClick(""), SwitchEchoLoss::NC);
}

} // namespace
} // namespace telmora
