// Factory defaults of both families and what each leaves alone.
#include "config/image_b.h"
#include "config/sensor_config.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

using namespace telmora;

TEST(FactoryDefaults, FamilyBValuesAndTheFieldsDefaultsDoNotSet) {
    SensorConfig c;
    c.CountDistance = kCountDistanceLong;
    c.NodeAddress = 17;
    LoadFactoryDefaultsB(c);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(c.MaxRange), 0x435DC53Cu);
    EXPECT_EQ((std::vector<float>{c.MinRange, c.Interval, c.AnalogNearEndpoint, c.AnalogFarEndpoint,
                                  c.AnalogNearOutput, c.AnalogFarOutput, c.AnalogOutputMin,
                                  c.AnalogOutputMax}),
              (std::vector<float>{8, 0.05f, 10, 30, 4, 20, 0, 20}));
    EXPECT_EQ(
        (std::vector<int>{c.NumberOfPulses, c.PrimingCycles, c.RunMode, c.PBEnabled, c.TempComp,
                          c.FilterType, c.NumberOfSamples, c.AnalogSlope, c.AnalogMode,
                          c.AnalogPowerUp, c.AnalogEchoLoss, c.AnalogSetAllowed, c.NodeAddress}),
        (std::vector<int>{10, 1, 1, 1, 1, 2, 3, 1, 0, 0, 0, 16, 17}));
    EXPECT_EQ(c.Description, "<describe configuration here>");
    EXPECT_EQ(c.CountDistance, kCountDistanceLong); // set by images, not by defaults
    const float setpoints[] = {12, 24, 36, 48};
    const float polarities[] = {2, 0, 2, 0};
    for (int n = 1; n <= 4; ++n) {
        const ConstSwitchFields sw = Switch(std::as_const(c), n);
        EXPECT_EQ((std::vector<float>{sw.Setpoint, sw.Hyst, float(sw.Polarity), float(sw.Mode),
                                      float(sw.EchoLoss), float(sw.PowerUp), float(sw.SetAllowed)}),
                  (std::vector<float>{setpoints[n - 1], 0.25f, polarities[n - 1], 0, 0, 0, 16}))
            << "switch " << n;
    }
}

TEST(FactoryDefaults, FamilyASetsItsOwnFieldsAndLeavesFamilyBFieldsForTheNextEncode) {
    SensorConfig c;
    LoadFactoryDefaultsB(c);
    c.Sw3Setpoint = 50;
    c.Sw2Hyst = 1.5f;
    c.Sw4Mode = 32;
    c.TempComp = false;
    c.NodeAddress = 9;
    c.CountDistance = kCountDistanceLong;
    LoadFactoryDefaultsA(c);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(c.MaxRange), 0x435DB852u);
    EXPECT_EQ((std::vector<float>{c.MinRange, c.AnalogNearEndpoint, c.Sw1Setpoint, c.Sw2Setpoint,
                                  c.AnalogOutputMax, c.Sw3Setpoint, c.Sw2Hyst, c.Sw1Hyst,
                                  c.CountDistance}),
              (std::vector<float>{6.5f, 6.5f, 12, 24, 20, 50, 1.5f, 0.25f, kCountDistanceLong}));
    EXPECT_EQ((std::vector<int>{c.FilterType, c.NumberOfSamples, c.Sw1Polarity, c.Sw2SetAllowed,
                                c.PBEnabled, c.Sw4Mode, c.TempComp, c.NodeAddress}),
              (std::vector<int>{1, 1, 2, 16, 1, 32, 0, 9}));

    RegisterImage image{};
    EncodeImageB(c, image);                        // 221.72 inch: normal range
    EXPECT_EQ(image[23] + 256 * image[24], 14775); // 50 / 0.003384 = 14775.4
    EXPECT_EQ(image[32] & 32, 32);
    EXPECT_EQ(image[87] & 8, 0);
    EXPECT_EQ(image[96], 9);
}
