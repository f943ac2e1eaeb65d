// Family A register image: range and count choices, analog outputs, run modes, filters
// and the fields family A must leave alone.
#include "config/image_a.h"

#include <gtest/gtest.h>

#include <vector>

using namespace telmora;

namespace {

SensorConfig familyADefaults() {
    SensorConfig config;
    LoadFactoryDefaultsA(config);
    return config;
}

RegisterImage encodeA(SensorConfig& config) {
    RegisterImage image{};
    EncodeImageA(config, image);
    return image;
}

int word(const RegisterImage& image, int k) {
    return image[k + 1] * 256 + image[k];
}

} // namespace

TEST(FamilyACodec, CountsRoundDownAndMaxRangeChoosesCountDistance) {
    SensorConfig config = familyADefaults(); // MaxRange 221.72: exactly 65535 ticks
    RegisterImage image = encodeA(config);
    EXPECT_EQ(word(image, 66), 4095);
    EXPECT_EQ(image[87] & 32, 0);
    EXPECT_EQ(config.CountDistance, 0.003384f);
    // MinRange 6.5, Sw1Setpoint 12, Interval 0.05, AnalogNearEndpoint 6.5 (1920.8 ticks).
    EXPECT_EQ(
        (std::vector<int>{word(image, 64), word(image, 74), word(image, 72), word(image, 80)}),
        (std::vector<int>{120, 3546, 6250, 1920}));

    SensorConfig decoded;
    DecodeImageA(image, decoded);
    EXPECT_EQ(decoded.MinRange, 6.49728f);
    EXPECT_EQ(decoded.Sw1Setpoint, static_cast<float>(3546 * double{0.003384f}));
    EXPECT_EQ(decoded.CountDistance, 0.003384f);

    config.MaxRange = 300;
    image = encodeA(config);
    EXPECT_EQ(image[87] & 32, 32);
    EXPECT_EQ(config.CountDistance, 0.006768f);
    EXPECT_EQ(word(image, 66), 5540);
    EXPECT_EQ(word(image, 74), 1773); // 12 inch in double ticks, rounded down
}

TEST(FamilyADecode, FallingOutputPutsTheHigherValueAtTheNearEndpoint) {
    SensorConfig config = familyADefaults();
    config.AnalogNearOutput = 4; // read back from near 20 mA, far 4 mA
    config.AnalogFarOutput = 20;
    config.AnalogSlope = 0;
    const RegisterImage image = encodeA(config);
    EXPECT_EQ(image[84] & 1, 0);
    SensorConfig decoded;
    DecodeImageA(image, decoded);
    EXPECT_EQ(decoded.AnalogNearOutput, 20.0f);
    EXPECT_EQ(decoded.AnalogFarOutput, 4.0f);
    EXPECT_EQ(decoded.AnalogOutputMax, 20.0f);
}

TEST(FamilyACodec, LeavesFamilyBFieldsAsTheyWere) {
    SensorConfig config;
    LoadFactoryDefaultsB(config);
    config.NodeAddress = 42;
    config.Sw3Mode = 32;
    config.Sw2Hyst = 1.5f;
    const SensorConfig before = config;

    RegisterImage image = encodeA(config);
    EXPECT_EQ(image[90], 1);
    for (int k : {10, 19, 23, 27, 32, 68, 70, 91, 95, 96})
        EXPECT_EQ(image[k], 0) << "element " << k;
    image[23] = 200; // switch 3 setpoint and flags, which family A does not read
    image[27] = 31;
    image[96] = 7;
    DecodeImageA(image, config);
    EXPECT_EQ(config.Sw3Setpoint, before.Sw3Setpoint);
    EXPECT_EQ(config.Sw3Polarity, before.Sw3Polarity);
    EXPECT_EQ(config.Sw4Setpoint, before.Sw4Setpoint);
    EXPECT_EQ(config.Sw2Hyst, 1.5f);
    EXPECT_EQ(config.Sw3Mode, 32);
    EXPECT_EQ(config.TempComp, before.TempComp);
    EXPECT_EQ(config.NodeAddress, 42);
}
