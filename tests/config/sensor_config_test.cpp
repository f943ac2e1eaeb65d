// Factory defaults of both families and what each leaves alone.
#include "config/image_b.h"
#include "config/sensor_config.h"

#include <gtest/gtest.h>

#include <bit>

using namespace telmora;

TEST(FactoryDefaults, FamilyBValues) {
    SensorConfig c;
    c.CountDistance = 0.003384f;
    c.NodeAddress = 17;
    LoadFactoryDefaultsB(c);
    EXPECT_EQ(c.MinRange, 8.0f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(c.MaxRange), 0x435DC53Cu);
    EXPECT_EQ(c.Interval, 0.05f);
    EXPECT_EQ(c.NumberOfPulses, 10);
    EXPECT_EQ(c.PrimingCycles, 1);
    EXPECT_EQ(c.RunMode, 1);
    EXPECT_TRUE(c.PBEnabled);
    EXPECT_TRUE(c.TempComp);
    EXPECT_EQ(c.FilterType, 2);
    EXPECT_EQ(c.NumberOfSamples, 3);
    EXPECT_EQ(c.Description, "<describe configuration here>");
    const float setpoints[] = {12, 24, 36, 48};
    const std::int16_t polarities[] = {2, 0, 2, 0};
    for (int n = 1; n <= 4; ++n) {
        const ConstSwitchFields sw = Switch(std::as_const(c), n);
        EXPECT_EQ(sw.Setpoint, setpoints[n - 1]) << "switch " << n;
        EXPECT_EQ(sw.Hyst, 0.25f) << "switch " << n;
        EXPECT_EQ(sw.Polarity, polarities[n - 1]) << "switch " << n;
        EXPECT_EQ(sw.Mode, 0);
        EXPECT_EQ(sw.EchoLoss, 0);
        EXPECT_EQ(sw.PowerUp, 0);
        EXPECT_EQ(sw.SetAllowed, 16);
    }
    EXPECT_EQ(c.AnalogNearEndpoint, 10.0f);
    EXPECT_EQ(c.AnalogFarEndpoint, 30.0f);
    EXPECT_EQ(c.AnalogNearOutput, 4.0f);
    EXPECT_EQ(c.AnalogFarOutput, 20.0f);
    EXPECT_EQ(c.AnalogSlope, 1);
    EXPECT_EQ(c.AnalogMode, 0);
    EXPECT_EQ(c.AnalogPowerUp, 0);
    EXPECT_EQ(c.AnalogEchoLoss, 0);
    EXPECT_EQ(c.AnalogSetAllowed, 16);
    EXPECT_EQ(c.AnalogOutputMin, 0.0f);
    EXPECT_EQ(c.AnalogOutputMax, 20.0f);
    EXPECT_EQ(c.NodeAddress, 17);          // not a default
    EXPECT_EQ(c.CountDistance, 0.003384f); // set by images, not by defaults
}

TEST(FactoryDefaults, FamilyAValuesDifferWhereTheFamiliesDiffer) {
    SensorConfig c;
    LoadFactoryDefaultsA(c);
    EXPECT_EQ(c.MinRange, 6.5f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(c.MaxRange), 0x435DB852u);
    EXPECT_EQ(c.FilterType, 1);
    EXPECT_EQ(c.NumberOfSamples, 1);
    EXPECT_EQ(c.AnalogNearEndpoint, 6.5f);
    EXPECT_EQ(c.Sw1Setpoint, 12.0f);
    EXPECT_EQ(c.Sw2Setpoint, 24.0f);
    EXPECT_EQ(c.Sw1Polarity, 2);
    EXPECT_EQ(c.Sw2SetAllowed, 16);
    EXPECT_EQ(c.AnalogOutputMax, 20.0f);
    EXPECT_TRUE(c.PBEnabled);
}

TEST(FactoryDefaults, FamilyALeavesFamilyBFieldsForTheNextFamilyBEncode) {
    SensorConfig c;
    LoadFactoryDefaultsB(c);
    c.Sw3Setpoint = 50;
    c.Sw4Setpoint = 60;
    c.Sw2Hyst = 1.5f;
    c.Sw4Mode = 32;
    c.TempComp = false;
    c.NodeAddress = 9;
    c.CountDistance = 0.006768f;
    LoadFactoryDefaultsA(c);
    EXPECT_EQ(c.Sw3Setpoint, 50.0f);
    EXPECT_EQ(c.Sw4Setpoint, 60.0f);
    EXPECT_EQ(c.Sw2Hyst, 1.5f);
    EXPECT_EQ(c.Sw1Hyst, 0.25f);
    EXPECT_EQ(c.Sw4Mode, 32);
    EXPECT_FALSE(c.TempComp);
    EXPECT_EQ(c.NodeAddress, 9);
    EXPECT_EQ(c.CountDistance, 0.006768f);

    RegisterImage image{};
    EncodeImageB(c, image);                        // 221.72 inch: normal range
    EXPECT_EQ(image[23] + 256 * image[24], 14775); // 50 / 0.003384 = 14775.4
    EXPECT_EQ(image[32] & 32, 32);
    EXPECT_EQ(image[87] & 8, 0);
    EXPECT_EQ(image[96], 9);
}

TEST(FactoryDefaults, OnlyFamilyBsMaxRangeNeedsLongRange) {
    SensorConfig c;
    LoadFactoryDefaultsB(c);
    EXPECT_GT(c.MaxRange / 0.003384, 65535.0);
    LoadFactoryDefaultsA(c);
    EXPECT_LT(c.MaxRange / 0.003384, 65535.0);
}
