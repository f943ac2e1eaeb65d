// Family A register image: range and count choices, analog outputs, run modes, filters
// and the fields family A must leave alone.
#include "config/image_a.h"

#include <gtest/gtest.h>

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

TEST(FamilyAEncode, MaxRangeChoosesCountDistanceAtExactly65535Ticks) {
    SensorConfig config = familyADefaults(); // MaxRange 221.72
    RegisterImage image = encodeA(config);
    EXPECT_EQ(image[66], 255);
    EXPECT_EQ(image[67], 15);
    EXPECT_EQ(image[87] & 32, 0);
    EXPECT_EQ(config.CountDistance, 0.003384f);

    config.MaxRange = 300;
    image = encodeA(config);
    EXPECT_EQ(image[87] & 32, 32);
    EXPECT_EQ(config.CountDistance, 0.006768f);
    EXPECT_EQ(image[66], 164);
    EXPECT_EQ(image[67], 21);
    // Setpoints now count in double ticks: 12 inch is 1773 counts, rounded down.
    EXPECT_EQ(word(image, 74), 1773);
}

TEST(FamilyAEncode, CountsRoundDown) {
    SensorConfig config = familyADefaults();
    RegisterImage image = encodeA(config);
    EXPECT_EQ(word(image, 64), 120);  // MinRange 6.5
    EXPECT_EQ(word(image, 74), 3546); // Sw1Setpoint 12.0
    EXPECT_EQ(image[74], 218);
    EXPECT_EQ(image[75], 13);
    EXPECT_EQ(word(image, 72), 6250); // Interval 0.05
    EXPECT_EQ(image[72], 106);
    EXPECT_EQ(image[73], 24);
    EXPECT_EQ(word(image, 80), 1920); // 6.5 / 0.003384 = 1920.8
}

TEST(FamilyADecode, RangeAndSetpointComeBackAtTheirResolution) {
    SensorConfig config = familyADefaults();
    RegisterImage image = encodeA(config);
    SensorConfig decoded;
    DecodeImageA(image, decoded);
    EXPECT_EQ(decoded.MinRange, 6.49728f);
    EXPECT_EQ(decoded.Sw1Setpoint, static_cast<float>(3546 * double{0.003384f}));
    EXPECT_EQ(decoded.CountDistance, 0.003384f);
}

struct AnalogCase {
    std::int16_t mode;
    float lower, upper;
    int element85, element86, rangeCode;
};

TEST(FamilyAEncode, AnalogOutputsAndRangeCodes) {
    const AnalogCase cases[] = {
        {0, 4, 20, 51, 204, 0},   {128, 0, 10, 0, 255, 0}, {128, 0, 5, 0, 128, 32},
        {128, 1, 5, 26, 102, 64}, // 25.5 goes to 26, 101.5 to 102: halves to even
        {128, 2, 8, 51, 153, 96}, {0, 0, 20, 0, 255, 96},
    };
    for (const AnalogCase& c : cases) {
        SensorConfig config = familyADefaults();
        config.AnalogMode = c.mode;
        config.AnalogNearOutput = c.lower;
        config.AnalogFarOutput = c.upper;
        const RegisterImage image = encodeA(config);
        EXPECT_EQ(image[85], c.element85) << c.lower << " to " << c.upper;
        EXPECT_EQ(image[86], c.element86) << c.lower << " to " << c.upper;
        EXPECT_EQ(image[84] & 96, c.rangeCode) << c.lower << " to " << c.upper;
        EXPECT_EQ(image[84] & 128, c.mode);
    }
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

TEST(FamilyAEncode, RunModesFamilyALacksBecomeContinuous) {
    const std::pair<std::int16_t, int> modes[] = {{1, 64}, {2, 0}, {3, 4}, {7, 70}};
    for (auto [mode, bits] : modes) {
        SensorConfig config = familyADefaults();
        config.RunMode = mode;
        config.PBEnabled = false;
        EXPECT_EQ(encodeA(config)[87], 128 + bits) << "run mode " << mode;
        EXPECT_EQ(config.RunMode, mode);
    }
    for (std::int16_t mode : {0, 4, 5, 6, 8, -3}) {
        SensorConfig config = familyADefaults();
        config.RunMode = mode;
        config.PBEnabled = true;
        EXPECT_EQ(encodeA(config)[87], 128 + 64 + 1) << "run mode " << mode;
        EXPECT_EQ(config.RunMode, 1) << "run mode " << mode;
    }
}

TEST(FamilyADecode, RunModeAndPushbuttonFromOperatingFlags) {
    const struct {
        int flags;
        std::int16_t runMode;
        bool pbEnabled;
    } cases[] = {{128 + 70, 7, false}, {128 + 4 + 1, 3, true},  {128 + 64, 1, false},
                 {128, 2, false},      {128 + 64 + 1, 1, true}, {128 + 3, 2, false}};
    for (const auto& c : cases) {
        RegisterImage image{};
        image[87] = static_cast<std::int16_t>(c.flags);
        SensorConfig decoded;
        DecodeImageA(image, decoded);
        EXPECT_EQ(decoded.RunMode, c.runMode) << "element 87 = " << c.flags;
        EXPECT_EQ(decoded.PBEnabled, c.pbEnabled) << "element 87 = " << c.flags;
    }
}

TEST(FamilyAEncode, FiltersFamilyALacksFollowTheSampleCount) {
    SensorConfig config = familyADefaults();
    config.FilterType = 5;
    config.NumberOfSamples = 4;
    EXPECT_EQ(encodeA(config)[88], 4);
    EXPECT_EQ(config.FilterType, 2);

    config.FilterType = 7;
    config.NumberOfSamples = 1;
    encodeA(config);
    EXPECT_EQ(config.FilterType, 1);

    config.FilterType = 1; // no filter with a count stays as chosen
    config.NumberOfSamples = 9;
    encodeA(config);
    EXPECT_EQ(config.FilterType, 1);
}

TEST(FamilyADecode, SampleCountTellsTheFilter) {
    RegisterImage image{};
    SensorConfig decoded;
    image[88] = 1;
    DecodeImageA(image, decoded);
    EXPECT_EQ(decoded.FilterType, 1);
    EXPECT_EQ(decoded.NumberOfSamples, 1);
    image[88] = 5;
    DecodeImageA(image, decoded);
    EXPECT_EQ(decoded.FilterType, 2);
    EXPECT_EQ(decoded.NumberOfSamples, 5);
}

TEST(FamilyAEncode, DescriptionAsCharacterCodes) {
    SensorConfig config = familyADefaults();
    config.Description = "Tank 3";
    const RegisterImage image = encodeA(config);
    EXPECT_EQ(image[33], 6);
    const int expected[] = {84, 97, 110, 107, 32, 51};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(image[34 + i], expected[i]);
    EXPECT_EQ(image[40], 0);
}

TEST(FamilyAEncode, WritesOnlyFamilyARegistersAndKeepsElement128) {
    SensorConfig config = familyADefaults();
    RegisterImage image;
    image.fill(99);
    EncodeImageA(config, image);
    EXPECT_EQ(image[128], 99);
    EXPECT_EQ(image[90], 1);
    for (int k : {0, 10, 19, 23, 27, 32, 68, 70, 91, 95, 96, 127})
        EXPECT_EQ(image[k], 0) << "element " << k;
}

TEST(FamilyACodec, LeavesFamilyBFieldsAsTheyWere) {
    SensorConfig config;
    LoadFactoryDefaultsB(config);
    config.NodeAddress = 42;
    config.Sw3Mode = 32;
    config.Sw2Hyst = 1.5f;
    const SensorConfig before = config;

    RegisterImage image = encodeA(config);
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
