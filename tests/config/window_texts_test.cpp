// The window's round trip: a record shown as texts and captions, and read back from them.
#include "codec_test_support.h"
#include "config/option_codes.h"
#include "config/window_texts.h"

#include <limits>

using namespace telmora;
using namespace telmora::testing;
using Texts = std::vector<std::string>;

namespace {

// A family B record unlike the factory one in every field the window shows.
// clang-format off
const Fields kDistinctive = {
    {"MinRange", 10.5f}, {"MaxRange", 1234.5f}, {"Sw1Setpoint", 20.5f}, {"Sw3Hyst", 2.25f},
    {"Sw1Mode", 32}, {"Sw2Mode", 0}, {"Sw1PowerUp", 1}, {"Sw2PowerUp", 0}, {"Sw1EchoLoss", 8},
    {"Sw2EchoLoss", 4}, {"Sw3EchoLoss", 0}, {"Sw1Polarity", 0}, {"Sw2Polarity", 2},
    {"Sw1SetAllowed", 0}, {"Sw2SetAllowed", 16}, {"AnalogNearEndpoint", 15.25f},
    {"AnalogMode", 128}, {"AnalogOutputMax", 10}, {"AnalogNearOutput", 4},
    {"AnalogFarOutput", 7.5f},
    {"AnalogSlope", 1}, {"AnalogPowerUp", 2}, {"AnalogEchoLoss", 4}, {"AnalogSetAllowed", 0}};
// clang-format on

SensorConfig Record(const Fields& fields) {
    return With(DefaultsB(), fields);
}

WindowTexts Shown(const Fields& fields, WindowTexts w = DesignWindow()) {
    ShowRecordB(Record(fields), w);
    return w;
}

} // namespace

// clang-format off
TEST(WindowTexts, FamilyBShowsTextsCaptionsAndChecksAndReadsBack) {
    const WindowTexts w = Shown(kDistinctive);
    const WindowSwitch &s1 = w.Switch(1), &s2 = w.Switch(2);
    EXPECT_EQ((Texts{w.MinRange, w.MaxRange, s1.Setpoint, w.Switch(3).Hyst, s1.Mode, s2.Mode,
                     s1.PowerUp, s2.PowerUp, s1.EchoLoss, s2.EchoLoss, w.Switch(3).EchoLoss,
                     s1.Left, s1.Right, s2.Left, s2.Right, std::to_string(s1.SetAllowed),
                     std::to_string(s2.SetAllowed), w.AnalogNearEndpoint, w.AnalogPowerUp,
                     w.AnalogEchoLoss, w.AnalogMode, std::to_string(w.AnalogSetAllowed),
                     w.AnalogNearOutput, w.AnalogFarOutput}),
              (Texts{"10.50", "1234.50", "20.50", "2.25", "Wind", "Hyst", "On", "Off", "On", "Off",
                     "NC", "Off", "On", "On", "Off", "0", "1", "15.25", "High", "Low",
                     "Voltage", "0", "4.0", "7.5"}));
    SensorConfig got;
    ReadWindowB(w, got);
    EXPECT_TRUE(HasFields(got, kDistinctive));
}

TEST(WindowTexts, FamilyALeavesWhatOnlyFamilyBShowsAsItWas) {
    WindowTexts w = DesignWindow();
    ShowRecordA(Record(kDistinctive), w);
    const WindowSwitch& s1 = w.Switch(1);
    EXPECT_EQ((Texts{s1.Setpoint, s1.Hyst, s1.Mode, w.Switch(3).Setpoint}),
              (Texts{"20.50", "888.88", "Hyst", "888.88"}));
    SensorConfig got = Record({{"Sw1Hyst", 1.5f}, {"Sw1Mode", 32}, {"Sw3Setpoint", 60.25f}});
    ReadWindowA(w, got);
    EXPECT_TRUE(HasFields(got, {{"Sw1Setpoint", 20.5f}, {"Sw1Hyst", 1.5f}, {"Sw1Mode", 32},
                                {"Sw3Setpoint", 60.25f}}));
}

// Codes a decoded image may carry that no caption names, and captions no code has (the
// analog power-up label is designed with "Off").
TEST(WindowTexts, CodesAndCaptionsNoStateHas) {
    const WindowTexts w = Shown({{"Sw1Mode", 64}, {"Sw1EchoLoss", 12}, {"Sw1PowerUp", 5},
        {"Sw1Polarity", 7}, {"Sw1SetAllowed", 17}, {"AnalogEchoLoss", 12}, {"AnalogPowerUp", 1},
        {"AnalogMode", 1}}, Shown(kDistinctive));
    const WindowSwitch& s1 = w.Switch(1);
    EXPECT_EQ((Texts{s1.Mode, s1.EchoLoss, s1.PowerUp, s1.Left, s1.Right,
                     std::to_string(s1.SetAllowed), w.AnalogEchoLoss, w.AnalogPowerUp,
                     w.AnalogMode}),
              (Texts{"Wind", "NC", "Off", "Off", "On", "0", "Low", "High", "Current"}));

    WindowTexts odd = DesignWindow();
    WindowSwitch& sw = odd.Switch(1);
    for (std::string* caption :
         {&sw.Mode, &sw.PowerUp, &sw.EchoLoss, &sw.Left, &odd.AnalogEchoLoss, &odd.AnalogMode}) {
        *caption = "on"; // comparisons are exact
    }
    SensorConfig got;
    ReadWindowB(odd, got);
    EXPECT_TRUE(HasFields(got, {{"Sw1Mode", 32}, {"Sw1PowerUp", 1}, {"Sw1EchoLoss", 0},
                                {"Sw1Polarity", 2}, {"AnalogPowerUp", 2}, {"AnalogEchoLoss", 0},
                                {"AnalogMode", 128}}));
}

TEST(WindowTexts, OutputsGoInRisingOrderWithTheSlope_TextsReadAsTheirLeadingNumber) {
    const float kMax = std::numeric_limits<float>::max();
    for (const auto& [nearText, farText, nearOut, farOut, slope] :
         {std::tuple{"20.0", "4.0", 4.0f, 20.0f, 0}, {"4.0", "20.0", 4, 20, 1},
          {"7.5", "7.5", 7.5f, 7.5f, 1}}) {
        WindowTexts w = DesignWindow();
        w.AnalogNearOutput = nearText, w.AnalogFarOutput = farText;
        w.Switch(2).Setpoint = "", w.Switch(1).Setpoint = "12.5 inches", w.Switch(3).Hyst = "wide";
        w.MaxRange = "1e999", w.AnalogFarEndpoint = " -3e1x";
        SensorConfig got;
        ReadWindowB(w, got);
        EXPECT_TRUE(HasFields(got, {{"AnalogNearOutput", nearOut}, {"AnalogFarOutput", farOut},
                                    {"AnalogSlope", slope}, {"Sw2Setpoint", 0},
                                    {"Sw1Setpoint", 12.5f}, {"Sw3Hyst", 0}, {"MaxRange", kMax},
                                    {"AnalogFarEndpoint", -30}}));
    }
}

// Placements rewrite a box from its single-precision number: "1.115" is the single
// 1.11500001 and shows as 1.12 (its double would give 1.11).
TEST(WindowTexts, PlacementsRewriteBoxesInSinglePrecision_OutputsWithinTheScale) {
    EXPECT_EQ((Texts{PlacedSetpointText("1.115"), PlacedSetpointText("12.5 in"),
                     PlacedSetpointText(""),
                     PlacedEndpointText("1.115"), PlacedEndpointText("12.5 in"),
                     PlacedOutputText("-1", 4, 20), PlacedOutputText("4.04", 0, 20),
                     PlacedOutputText("x", 1, 20),
                     Shown({{"Sw1Setpoint", 1.115f}}).Switch(1).Setpoint,
                     Shown({{"AnalogOutputMax", 10}, {"AnalogFarOutput", 15}}).AnalogFarOutput}),
              (Texts{"1.12", "12.50", "0.00", "1.12", "12.5 in", "4.0", "4.0", "1.0", "1.12",
                     "10.0"}));
    EXPECT_EQ(LimitOutput(std::numeric_limits<float>::quiet_NaN(), 0, 20), 0.0f);
}
// clang-format on

// The click cycles are clicked through on the editors; here, what the table adds.
TEST(OptionCodes, UnknownCaptionsStepToTheFirstState_UnknownCodesHaveNoCaption) {
    EXPECT_EQ(kSwitchMode.AfterClick("hyst"), SwitchMode::Hyst); // comparisons are exact
    EXPECT_EQ(kSwitchPowerUp.AfterClick("888"), SwitchPowerUp::On);
    EXPECT_EQ(kSwitchEchoLoss.AfterClick(""), SwitchEchoLoss::NC);
    // The captions the dialogs take from the table are in the golden file.
    EXPECT_EQ(std::string(kAnalogEchoLoss.CaptionOfCode(12)), "");
}
