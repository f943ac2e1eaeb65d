#include "editors/option_cycles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace telmora {
namespace {

// Clicks a label `clicks` times from `start` and collects the captions it shows.
template <typename Step> std::vector<std::string> Clicks(std::string start, int clicks, Step step) {
    std::vector<std::string> seen{start};
    for (int i = 0; i < clicks; ++i) {
        seen.emplace_back(Caption(step(seen.back())));
    }
    return seen;
}

using Captions = std::vector<std::string>;

TEST(SwitchLabelClicks, CycleThroughTheirStatesFromAnyCaption) {
    // CycleThroughTheirStates
    EXPECT_EQ(Clicks("Hyst", 2, SwitchModeAfterClick), (Captions{"Hyst", "Wind", "Hyst"}));
    EXPECT_EQ(Clicks("Off", 2, SwitchPowerUpAfterClick), (Captions{"Off", "On", "Off"}));
    EXPECT_EQ(Clicks("NC", 3, SwitchEchoLossAfterClick), (Captions{"NC", "On", "Off", "NC"}));
    // UnexpectedCaptionsStepToTheFirstState
    EXPECT_EQ(SwitchModeAfterClick("hyst"), SwitchMode::Hyst); // comparisons are exact
    EXPECT_EQ(SwitchPowerUpAfterClick("888"), SwitchPowerUp::On);
    EXPECT_EQ(SwitchEchoLossAfterClick(""), SwitchEchoLoss::NC);
}

TEST(SwitchPolarity, ReversingTwiceComesBack) {
    EXPECT_EQ(PolarityAfterReverse("Off"), SwitchPolarity::Reversed);
    EXPECT_EQ(PolarityAfterReverse("On"), SwitchPolarity::Normal);
}

TEST(AnalogLabelClicks, CycleThroughTheirStates) {
    EXPECT_EQ(Clicks("Voltage", 2, AnalogModeAfterClick),
              (Captions{"Voltage", "Current", "Voltage"}));
    EXPECT_EQ(Clicks("NC", 3, AnalogEchoLossAfterClick), (Captions{"NC", "Low", "High", "NC"}));
    // The design caption "Off" is none of the power-up states and becomes "Low".
    EXPECT_EQ(Clicks("Off", 3, AnalogPowerUpAfterClick), (Captions{"Off", "Low", "High", "Low"}));
}

TEST(AnalogModeChange, OutputsMapByAFactorOfTwoAndBack) {
    EXPECT_EQ(AnalogOutputMaxFor(AnalogMode::Voltage), 10.0f);
    EXPECT_EQ(AnalogOutputMaxFor(AnalogMode::Current), 20.0f);
    EXPECT_EQ(OutputAfterModeChange(4.0, AnalogMode::Voltage), 2.0);
    EXPECT_EQ(OutputAfterModeChange(2.0, AnalogMode::Current), 4.0);
}

} // namespace
} // namespace telmora
