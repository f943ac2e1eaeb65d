// The window's round trip: a record shown as texts and captions, and read back from them.
// What each scenario shows and reads back is compared with the golden file.
#include "codec_test_support.h"
#include "config/config_fields.h"
#include "config/option_codes.h"
#include "config/window_texts.h"

#include <fstream>
#include <limits>
#include <set>

using namespace telmora;
using namespace telmora::testing;

namespace telmora {
// clang-format off
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(WindowSwitch, Setpoint, Hyst, Mode, PowerUp, EchoLoss, Left,
    Right, SetAllowed)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(WindowTexts, MinRange, MaxRange, Switches, AnalogNearEndpoint,
    AnalogFarEndpoint, AnalogNearOutput, AnalogFarOutput, AnalogPowerUp, AnalogEchoLoss,
    AnalogMode, AnalogSetAllowed, Description)
// clang-format on
} // namespace telmora

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

// Every text and check of the window.
std::string All(const WindowTexts& w) {
    return Changes(nullptr, w);
}

// The named fields of the record read back from `w` over family B's factory record.
std::string ReadBack(const WindowTexts& w, const std::vector<std::string>& names) {
    SensorConfig got = DefaultsB();
    ReadWindowB(w, got);
    const nlohmann::json all = got;
    nlohmann::json picked;
    for (const auto& name : names)
        picked[name] = all.at(name);
    return Changes(nullptr, picked);
}

} // namespace

// Family B shows its texts, captions and checks and reads them back; family A leaves what
// only family B shows as it was. Then codes a decoded image may carry that no caption names,
// and captions no code has (the analog power-up label is designed with "Off"); comparisons
// of captions are exact.
TEST(WindowTexts, FamiliesShowAndReadBack_CodesAndCaptionsNoStateHas) {
    const WindowTexts b = Shown(kDistinctive);
    SensorConfig got;
    ReadWindowB(b, got);
    EXPECT_EQ(Dump(got), Dump(With(got, kDistinctive)));
    WindowTexts a = DesignWindow();
    ShowRecordA(Record(kDistinctive), a);
    const SensorConfig before =
        Record({{"Sw1Hyst", 1.5f}, {"Sw1Mode", 32}, {"Sw3Setpoint", 60.25f}});
    got = before;
    ReadWindowA(a, got);
    // clang-format off
    const WindowTexts codes = Shown({{"Sw1Mode", 64}, {"Sw1EchoLoss", 12}, {"Sw1PowerUp", 5},
        {"Sw1Polarity", 7}, {"Sw1SetAllowed", 17}, {"AnalogEchoLoss", 12}, {"AnalogPowerUp", 1},
        {"AnalogMode", 1}}, b);
    // clang-format on
    WindowTexts odd = DesignWindow();
    WindowSwitch& sw = odd.Switch(1);
    for (std::string* caption :
         {&sw.Mode, &sw.PowerUp, &sw.EchoLoss, &sw.Left, &odd.AnalogEchoLoss, &odd.AnalogMode}) {
        *caption = "on";
    }
    ExpectGolden("family B shows", All(b));
    ExpectGolden("family A shows, reads back", All(a) + "--\n" + Changes(before, got));
    ExpectGolden("codes and captions no state has",
                 All(codes) + "--\n" +
                     ReadBack(odd, {"Sw1Mode", "Sw1PowerUp", "Sw1EchoLoss", "Sw1Polarity",
                                    "AnalogPowerUp", "AnalogEchoLoss", "AnalogMode"}));
    // Unknown captions step to the first state; unknown codes have no caption.
    EXPECT_EQ(kSwitchMode.AfterClick("hyst"), SwitchMode::Hyst);
    EXPECT_EQ(kSwitchPowerUp.AfterClick("888"), SwitchPowerUp::On);
    EXPECT_EQ(kSwitchEchoLoss.AfterClick(""), SwitchEchoLoss::NC);
    EXPECT_EQ(std::string(kAnalogEchoLoss.CaptionOfCode(12)), "");
}

// Outputs go in rising order with the slope; texts read as their leading number.
// Placements rewrite a box from its single-precision number: "1.115" is the single
// 1.11500001 and shows as 1.12 (its double would give 1.11).
TEST(WindowTexts, ReadBackAndPlacementsOfTypedTexts) {
    std::string found;
    for (const auto& [nearText, farText] :
         {std::pair{"20.0", "4.0"}, {"4.0", "20.0"}, {"7.5", "7.5"}}) {
        WindowTexts w = DesignWindow();
        w.AnalogNearOutput = nearText, w.AnalogFarOutput = farText;
        w.Switch(2).Setpoint = "", w.Switch(1).Setpoint = "12.5 inches", w.Switch(3).Hyst = "wide";
        w.MaxRange = "1e999", w.AnalogFarEndpoint = " -3e1x";
        found += std::string("outputs ") + nearText + " to " + farText + ":\n" +
                 ReadBack(w, {"AnalogNearOutput", "AnalogFarOutput", "AnalogSlope", "Sw2Setpoint",
                              "Sw1Setpoint", "Sw3Hyst", "MaxRange", "AnalogFarEndpoint"});
    }
    for (const char* text : {"1.115", "12.5 in", "", "-1", "4.04", "x"}) {
        found += std::string("'") + text + "': setpoint " + PlacedSetpointText(text) +
                 ", endpoint " + PlacedEndpointText(text) + ", output 4 to 20 " +
                 PlacedOutputText(text, 4, 20) + ", output 1 to 20 " +
                 PlacedOutputText(text, 1, 20) + "\n";
    }
    found += "shown 1.115 " + Shown({{"Sw1Setpoint", 1.115f}}).Switch(1).Setpoint + "\n";
    found += "shown 15 of 10 " +
             Shown({{"AnalogOutputMax", 10}, {"AnalogFarOutput", 15}}).AnalogFarOutput + "\n";
    ExpectGolden("typed texts", found);
    EXPECT_EQ(LimitOutput(std::numeric_limits<float>::quiet_NaN(), 0, 20), 0.0f);
}

// Tables name every field by its own caption; a field the window shows by the name a
// screen reader speaks for its box or option label there.
TEST(WindowTexts, FieldCaptions_UniqueAndTheWindowsNames) {
    std::ifstream file(TELMORA_EXPECTED_NAMES);
    ASSERT_TRUE(file) << TELMORA_EXPECTED_NAMES;
    std::set<std::string> windowNames;
    for (std::string line; std::getline(file, line);) {
        std::string name = line.substr(line.find('\t') + 1);
        name = name.substr(0, name.find('\t'));              // a "tab" mark may follow
        windowNames.insert(name.substr(0, name.find(": "))); // "Switch 1 mode: Hyst"
    }
    std::set<std::string_view> captions;
    std::set<std::string> shown;
    for (const FieldRow& row : FieldRows(SensorConfig{})) {
        const std::string_view caption = FieldCaption(row.Name);
        if (row.Name != "Interval") { // its dialog's caption is the field's own name
            EXPECT_NE(caption, row.Name);
        }
        EXPECT_TRUE(captions.insert(caption).second) << caption;
        if (windowNames.count(std::string(caption)) != 0)
            shown.insert(row.Name);
    }
    std::set<std::string> expected = {"MinRange",           "MaxRange",          "Description",
                                      "AnalogNearEndpoint", "AnalogFarEndpoint", "AnalogNearOutput",
                                      "AnalogFarOutput",    "AnalogMode",        "AnalogEchoLoss",
                                      "AnalogPowerUp"};
    for (const char* field : {"Setpoint", "Hyst", "Mode", "EchoLoss", "PowerUp"}) {
        for (int n = 1; n <= 4; ++n)
            expected.insert("Sw" + std::to_string(n) + field);
    }
    EXPECT_EQ(shown, expected);
}
