// Factory defaults of both families and what each leaves alone.
#include "codec_test_support.h"

#include <bit>

using namespace telmora;
using namespace telmora::testing;

TEST(FactoryDefaults, FamilyBValuesAndTheFieldsDefaultsDoNotSet) {
    SensorConfig c;
    c.CountDistance = kCountDistanceLong; // set by images, not by defaults
    c.NodeAddress = 17;
    LoadFactoryDefaultsB(c);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(c.MaxRange), 0x435DC53Cu);
    EXPECT_EQ(c.Description, "<describe configuration here>");
    // clang-format off
    EXPECT_TRUE(HasFields(c, {
        {"MinRange", 8}, {"Interval", 0.05f}, {"AnalogNearEndpoint", 10}, {"AnalogFarEndpoint", 30},
        {"AnalogNearOutput", 4}, {"AnalogFarOutput", 20}, {"AnalogOutputMin", 0},
        {"AnalogOutputMax", 20}, {"NumberOfPulses", 10}, {"PrimingCycles", 1}, {"RunMode", 1},
        {"PBEnabled", 1}, {"TempComp", 1}, {"FilterType", 2}, {"NumberOfSamples", 3},
        {"AnalogSlope", 1}, {"AnalogMode", 0}, {"AnalogPowerUp", 0}, {"AnalogEchoLoss", 0},
        {"AnalogSetAllowed", 16}, {"NodeAddress", 17}, {"CountDistance", kCountDistanceLong},
        {"Sw1Setpoint", 12}, {"Sw2Setpoint", 24}, {"Sw3Setpoint", 36}, {"Sw4Setpoint", 48},
        {"Sw1Polarity", 2}, {"Sw2Polarity", 0}, {"Sw3Polarity", 2}, {"Sw4Polarity", 0}}));
    // clang-format on
    for (int n = 1; n <= 4; ++n) {
        const ConstSwitchFields sw = Switch(std::as_const(c), n);
        EXPECT_EQ((std::vector<float>{sw.Hyst, float(sw.Mode), float(sw.EchoLoss),
                                      float(sw.PowerUp), float(sw.SetAllowed)}),
                  (std::vector<float>{0.25f, 0, 0, 0, 16}))
            << "switch " << n;
    }
}

TEST(FactoryDefaults, FamilyASetsItsOwnFieldsAndLeavesFamilyBFieldsForTheNextEncode) {
    SensorConfig c = DefaultsB();
    SetFields(c, {{"Sw3Setpoint", 50},
                  {"Sw2Hyst", 1.5f},
                  {"Sw4Mode", 32},
                  {"TempComp", 0},
                  {"NodeAddress", 9},
                  {"CountDistance", kCountDistanceLong}});
    LoadFactoryDefaultsA(c);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(c.MaxRange), 0x435DB852u);
    // clang-format off
    EXPECT_TRUE(HasFields(c, {
        {"MinRange", 6.5f}, {"AnalogNearEndpoint", 6.5f}, {"Sw1Setpoint", 12}, {"Sw2Setpoint", 24},
        {"AnalogOutputMax", 20}, {"Sw1Hyst", 0.25f}, {"FilterType", 1}, {"NumberOfSamples", 1},
        {"Sw1Polarity", 2}, {"Sw2SetAllowed", 16}, {"PBEnabled", 1},
        // left for family B
        {"Sw3Setpoint", 50}, {"Sw2Hyst", 1.5f}, {"Sw4Mode", 32}, {"TempComp", 0}, {"NodeAddress", 9},
        {"CountDistance", kCountDistanceLong}}));
    // clang-format on
    RegisterImage image{};
    EncodeImageB(c, image);            // 221.72 inch: normal range
    EXPECT_EQ(Word(image, 23), 14775); // 50 / 0.003384 = 14775.4
    EXPECT_EQ(image[32] & 32, 32);
    EXPECT_EQ(image[87] & 8, 0);
    EXPECT_EQ(image[96], 9);
}
