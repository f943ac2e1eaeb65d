// The window's round trip: a record shown as texts and captions, and read back from them.
#include "codec_test_support.h"
#include "config/option_codes.h"
#include "config/window_texts.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace telmora;
using namespace telmora::testing;

namespace {

// The controls by their object names, as "name=text" ("checked" for a check mark).
std::vector<std::string> Controls(const WindowTexts& w, const std::vector<std::string>& names) {
    auto text = [&](const std::string& name) -> std::string {
        // lblSw3Mode: switch 3's lblMode.
        const bool row = name.compare(3, 2, "Sw") == 0;
        const WindowSwitch& sw = w.Switch(row ? name[5] - '0' : 1);
        const std::string field = row ? name.substr(0, 3) + name.substr(6) : name;
        const std::pair<const char*, std::string> all[] = {
            {"txtMinRange", w.MinRange},
            {"txtMaxRange", w.MaxRange},
            {"txtSetpoint", sw.Setpoint},
            {"txtHyst", sw.Hyst},
            {"lblMode", sw.Mode},
            {"lblPowerUp", sw.PowerUp},
            {"lblEchoLoss", sw.EchoLoss},
            {"lblLeft", sw.Left},
            {"lblRight", sw.Right},
            {"mnuSetAllowed", sw.SetAllowed ? "checked" : ""},
            {"txtAnalogNearEndpoint", w.AnalogNearEndpoint},
            {"txtAnalogFarEndpoint", w.AnalogFarEndpoint},
            {"txtAnalogNearOutput", w.AnalogNearOutput},
            {"txtAnalogFarOutput", w.AnalogFarOutput},
            {"lblAnalogPowerUp", w.AnalogPowerUp},
            {"lblAnalogEchoLoss", w.AnalogEchoLoss},
            {"lblAnalogMode", w.AnalogMode},
            {"mnuAnalogSetAllowed", w.AnalogSetAllowed ? "checked" : ""},
            {"txtDescription", w.Description}};
        for (const auto& [key, value] : all) {
            if (field == key) {
                return value;
            }
        }
        return "no such control";
    };
    std::vector<std::string> out;
    for (const std::string& entry : names) {
        const std::string name = entry.substr(0, entry.find('='));
        out.push_back(name + "=" + text(name));
    }
    return out;
}

// A family B record unlike the factory one in every field the window shows.
const Fields kDistinctive = {{"MinRange", 10.5f},
                             {"MaxRange", 1234.5f},
                             {"Sw1Setpoint", 20.5f},
                             {"Sw3Setpoint", 60.25f},
                             {"Sw3Hyst", 2.25f},
                             {"Sw1Mode", 32},
                             {"Sw2Mode", 0},
                             {"Sw1PowerUp", 1},
                             {"Sw2PowerUp", 0},
                             {"Sw1EchoLoss", 8},
                             {"Sw2EchoLoss", 4},
                             {"Sw3EchoLoss", 0},
                             {"Sw1Polarity", 0},
                             {"Sw2Polarity", 2},
                             {"Sw1SetAllowed", 0},
                             {"Sw2SetAllowed", 16},
                             {"AnalogNearEndpoint", 15.25f},
                             {"AnalogFarEndpoint", 120.5f},
                             {"AnalogMode", 128},
                             {"AnalogOutputMax", 10},
                             {"AnalogNearOutput", 4},
                             {"AnalogFarOutput", 7.5f},
                             {"AnalogSlope", 1},
                             {"AnalogPowerUp", 2},
                             {"AnalogEchoLoss", 4},
                             {"AnalogSetAllowed", 0}};

SensorConfig Record(const Fields& fields) {
    SensorConfig c = DefaultsB();
    SetFields(c, fields);
    c.Description = "Tank 4 level";
    return c;
}

} // namespace

TEST(WindowTexts, FamilyBRecordShowsAsTextsAndCaptionsAndReadsBack) {
    WindowTexts w = DesignWindow();
    ShowRecordB(Record(kDistinctive), w);
    const std::vector<std::string> want = {"txtMinRange=10.50",
                                           "txtMaxRange=1234.50",
                                           "txtSw1Setpoint=20.50",
                                           "txtSw3Hyst=2.25",
                                           "lblSw1Mode=Wind",
                                           "lblSw2Mode=Hyst",
                                           "lblSw1PowerUp=On",
                                           "lblSw2PowerUp=Off",
                                           "lblSw1EchoLoss=On",
                                           "lblSw2EchoLoss=Off",
                                           "lblSw3EchoLoss=NC",
                                           "lblSw1Left=Off",
                                           "lblSw1Right=On",
                                           "lblSw2Left=On",
                                           "lblSw2Right=Off",
                                           "mnuSw1SetAllowed=",
                                           "mnuSw2SetAllowed=checked",
                                           "txtAnalogNearEndpoint=15.25",
                                           "lblAnalogPowerUp=High",
                                           "lblAnalogEchoLoss=Low",
                                           "lblAnalogMode=Voltage",
                                           "mnuAnalogSetAllowed=",
                                           "txtAnalogNearOutput=4.0",
                                           "txtAnalogFarOutput=7.5",
                                           "txtDescription=Tank 4 level"};
    EXPECT_EQ(Controls(w, want), want);

    SensorConfig got;
    ReadWindowB(w, got);
    EXPECT_TRUE(HasFields(got, kDistinctive));
    EXPECT_EQ(got.Description, "Tank 4 level");
}

TEST(WindowTexts, FamilyALeavesWhatOnlyFamilyBShowsAsItWas) {
    WindowTexts w = DesignWindow();
    ShowRecordA(Record(kDistinctive), w);
    const std::vector<std::string> want = {"txtSw1Setpoint=20.50", "txtSw1Hyst=888.88",
                                           "lblSw1Mode=Hyst",      "txtSw3Setpoint=888.88",
                                           "lblSw3EchoLoss=NC",    "lblSw2Left=On"};
    EXPECT_EQ(Controls(w, want), want);

    SensorConfig got = Record({{"Sw1Hyst", 1.5f}, {"Sw1Mode", 32}, {"Sw3Setpoint", 60.25f}});
    w.Switch(3).EchoLoss = "On";
    ReadWindowA(w, got);
    EXPECT_TRUE(HasFields(got, {{"Sw1Setpoint", 20.5f},
                                {"Sw1Hyst", 1.5f},
                                {"Sw1Mode", 32},
                                {"Sw3Setpoint", 60.25f},
                                {"Sw3EchoLoss", 0}}));
}

// Codes a decoded image may carry that no caption names, and captions no code has (the
// analog power-up label is designed with "Off").
TEST(WindowTexts, CodesAndCaptionsNoStateHas) {
    WindowTexts w = DesignWindow();
    ShowRecordB(Record(kDistinctive), w);
    ShowRecordB(Record({{"Sw1Mode", 64},
                        {"Sw2Mode", 96},
                        {"Sw1EchoLoss", 12},
                        {"Sw3PowerUp", 5},
                        {"Sw4Polarity", 7},
                        {"Sw1SetAllowed", 17},
                        {"AnalogEchoLoss", 12},
                        {"AnalogPowerUp", 1},
                        {"AnalogMode", 1}}),
                w);
    const std::vector<std::string> shown = {"lblSw1Mode=Wind",       "lblSw2Mode=Wind",
                                            "lblSw1EchoLoss=NC",     "lblSw3PowerUp=Off",
                                            "lblSw4Left=Off",        "lblSw4Right=On",
                                            "mnuSw1SetAllowed=",     "lblAnalogEchoLoss=Low",
                                            "lblAnalogPowerUp=High", "lblAnalogMode=Current"};
    EXPECT_EQ(Controls(w, shown), shown);

    WindowTexts odd = DesignWindow(); // analog power-up "Off"
    for (std::string* caption :
         {&odd.Switch(1).Mode, &odd.Switch(1).PowerUp, &odd.Switch(1).EchoLoss, &odd.Switch(1).Left,
          &odd.AnalogEchoLoss, &odd.AnalogMode}) {
        *caption = "on"; // comparisons are exact
    }
    SensorConfig got;
    ReadWindowB(odd, got);
    EXPECT_TRUE(HasFields(got, {{"Sw1Mode", 32},
                                {"Sw1PowerUp", 1},
                                {"Sw1EchoLoss", 0},
                                {"Sw1Polarity", 2},
                                {"AnalogPowerUp", 2},
                                {"AnalogEchoLoss", 0},
                                {"AnalogMode", 128}}));
}

TEST(WindowTexts, OutputsGoInRisingOrderWithTheSlope_TextsReadAsTheirLeadingNumber) {
    constexpr float kFloatMax = std::numeric_limits<float>::max();
    const struct {
        const char *nearOutput, *farOutput;
        float wantNear, wantFar;
        int slope;
    } outputs[] = {
        {"20.0", "4.0", 4, 20, 0}, {"4.0", "20.0", 4, 20, 1}, {"7.5", "7.5", 7.5f, 7.5f, 1}};
    for (const auto& c : outputs) {
        WindowTexts w = DesignWindow();
        w.AnalogNearOutput = c.nearOutput, w.AnalogFarOutput = c.farOutput;
        w.Switch(2).Setpoint = "", w.Switch(1).Setpoint = "12.5 inches", w.Switch(3).Hyst = "wide";
        w.MaxRange = "1e999", w.AnalogFarEndpoint = " -3e1x";
        SensorConfig got;
        ReadWindowB(w, got);
        EXPECT_TRUE(HasFields(got, {{"AnalogNearOutput", c.wantNear},
                                    {"AnalogFarOutput", c.wantFar},
                                    {"AnalogSlope", c.slope},
                                    {"Sw2Setpoint", 0},
                                    {"Sw1Setpoint", 12.5f},
                                    {"Sw3Hyst", 0},
                                    {"MaxRange", kFloatMax},
                                    {"AnalogFarEndpoint", -30}}))
            << c.nearOutput << " " << c.farOutput;
    }
}

// Placements rewrite the boxes from their single-precision number: "1.115" is the single
// 1.11500001 and shows as 1.12 (its double would show 1.11).
TEST(WindowTexts, PlacementsRewriteBoxesAndHoldOutputsWithinTheScale) {
    const std::pair<std::string, std::string> cases[] = {
        {PlacedSetpointText("1.115"), "1.12"},      {PlacedSetpointText("12.5 in"), "12.50"},
        {PlacedSetpointText(""), "0.00"},           {PlacedEndpointText("1.115"), "1.12"},
        {PlacedEndpointText("12.5 in"), "12.5 in"}, {PlacedOutputText("15", 0, 10), "10.0"},
        {PlacedOutputText("-1", 4, 20), "4.0"},     {PlacedOutputText("4.04", 0, 20), "4.0"},
        {PlacedOutputText("x", 0, 20), "0.0"}};
    for (const auto& [got, want] : cases) {
        EXPECT_EQ(got, want);
    }
    EXPECT_EQ(LimitOutput(std::numeric_limits<float>::quiet_NaN(), 0, 20), 0.0f);

    WindowTexts w = DesignWindow();
    ShowRecordB(Record({{"AnalogMode", 128},
                        {"AnalogOutputMax", 10},
                        {"AnalogNearOutput", 5},
                        {"AnalogFarOutput", 15},
                        {"Sw1Setpoint", 1.115f}}),
                w);
    const std::vector<std::string> want = {"txtAnalogNearOutput=5.0", "txtAnalogFarOutput=10.0",
                                           "txtSw1Setpoint=1.12"};
    EXPECT_EQ(Controls(w, want), want);
}

namespace {

// A click on a label steps through the captions in this order, back to the first.
template <typename State, std::size_t N>
std::string ClickCycle(const OptionTable<State, N>& table, std::string_view start) {
    std::string out(start);
    std::string caption(start);
    for (std::size_t i = 0; i < N; ++i) {
        caption = table.Caption(table.AfterClick(caption));
        out += ">" + caption;
    }
    return out;
}

// Every state's code shows as its caption, which reads back as the code.
template <typename State, std::size_t N> bool CodesRoundTrip(const OptionTable<State, N>& table) {
    for (std::size_t i = 0; i < N; ++i) {
        const auto s = static_cast<State>(i);
        if (table.CodeOf(table.CaptionOfCode(table.Code(s))) != table.Code(s) ||
            table.Shown(table.Code(s)) != s) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(OptionCodes, ClicksStepThroughEveryCaption_UnknownCaptionsStepToTheFirst) {
    const std::pair<std::string, std::string> cycles[] = {
        {ClickCycle(kSwitchMode, "Hyst"), "Hyst>Wind>Hyst"},
        {ClickCycle(kSwitchMode, "hyst"), "hyst>Hyst>Wind"},
        {ClickCycle(kSwitchPowerUp, "Off"), "Off>On>Off"},
        {ClickCycle(kSwitchPowerUp, "888"), "888>On>Off"},
        {ClickCycle(kSwitchEchoLoss, "NC"), "NC>On>Off>NC"},
        {ClickCycle(kSwitchEchoLoss, ""), ">NC>On>Off"},
        {ClickCycle(kSwitchPolarity, "Off"), "Off>On>Off"},
        {ClickCycle(kAnalogMode, "Voltage"), "Voltage>Current>Voltage"},
        {ClickCycle(kAnalogEchoLoss, "NC"), "NC>Low>High>NC"},
        {ClickCycle(kAnalogPowerUp, "Off"), "Off>Low>High"}};
    for (const auto& [got, want] : cycles) {
        EXPECT_EQ(got, want);
    }
    EXPECT_TRUE(CodesRoundTrip(kSwitchMode) && CodesRoundTrip(kSwitchPowerUp) &&
                CodesRoundTrip(kSwitchEchoLoss) && CodesRoundTrip(kSwitchPolarity) &&
                CodesRoundTrip(kAnalogMode) && CodesRoundTrip(kAnalogEchoLoss) &&
                CodesRoundTrip(kAnalogPowerUp) && CodesRoundTrip(kSetAllowed));
    EXPECT_EQ(FarHandleCaption(SwitchPolarity::Reversed), "Off");
    EXPECT_EQ(kAnalogEchoLoss.CaptionOfCode(12), "");
}
