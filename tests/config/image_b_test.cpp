// Family B register image: range flags, nearest counts, the 12-bit analog output, run
// modes, filters and the images a sensor can report that the encoder never writes.
#include "config/image_b.h"

#include <gtest/gtest.h>

using namespace telmora;

namespace {

SensorConfig familyBDefaults() {
    SensorConfig config;
    LoadFactoryDefaultsB(config);
    return config;
}

RegisterImage encodeB(SensorConfig& config) {
    RegisterImage image{};
    EncodeImageB(config, image);
    return image;
}

int word(const RegisterImage& image, int k) {
    return image[k + 1] * 256 + image[k];
}

} // namespace

TEST(FamilyBEncode, DefaultsJustExceed65535TicksAndSelectLongRange) {
    SensorConfig config = familyBDefaults();
    const RegisterImage image = encodeB(config);
    EXPECT_EQ(image[87] & 160, 160);
    EXPECT_EQ(config.CountDistance, 0.006768f);
    EXPECT_EQ(image[74], 237); // Sw1Setpoint 12: 1773
    EXPECT_EQ(image[75], 6);
    EXPECT_EQ(word(image, 91), 37); // Sw1Hyst 0.25: 36.9
    EXPECT_EQ(image[87], 233);      // 160 + continuous 64 + temperature 8 + pushbutton 1
}

TEST(FamilyBEncode, NormalRangeStillWritesTheRangeValidBit) {
    SensorConfig config = familyBDefaults();
    config.MaxRange = 221.72f;
    config.CountDistance = 0.5f;
    const RegisterImage image = encodeB(config);
    EXPECT_EQ(image[87] & 160, 128);
    EXPECT_EQ(config.CountDistance, 0.003384f);
}

TEST(FamilyBEncode, CountsGoToTheNearestHalvesToEven) {
    SensorConfig config = familyBDefaults();
    config.MaxRange = 100; // normal range
    config.Sw2Setpoint = 255.6f * 0.003384f;
    config.Interval = 0.000020f; // 2.5 steps of 8 microseconds
    config.Sw3Hyst = 0.003384f * 0.5f;
    const RegisterImage image = encodeB(config);
    EXPECT_EQ(image[77], 0);
    EXPECT_EQ(image[78], 1);
    EXPECT_EQ(word(image, 72), 2);
    EXPECT_EQ(word(image, 25), 0);
    // The range registers still round down: 8 / 0.054144 = 147.8.
    EXPECT_EQ(word(image, 64), 147);
}

TEST(FamilyBEncode, AnalogOutputIn12And8Bits) {
    SensorConfig config = familyBDefaults(); // 4 to 20 mA
    RegisterImage image = encodeB(config);
    EXPECT_EQ(image[70], 51);
    EXPECT_EQ(image[71], 3);
    EXPECT_EQ(image[68], 204);
    EXPECT_EQ(image[69], 12);
    EXPECT_EQ(image[85], 51);
    EXPECT_EQ(image[86], 204);
    EXPECT_EQ(image[84] & 96, 0);

    config.AnalogMode = 128; // 1 to 5 V
    config.AnalogNearOutput = 1;
    config.AnalogFarOutput = 5;
    image = encodeB(config);
    EXPECT_EQ(word(image, 70), 410);  // 409.5 to the even neighbour
    EXPECT_EQ(word(image, 68), 1638); // voltage span rounds down
    EXPECT_EQ(image[84] & 96, 64);
}

TEST(FamilyBEncode, TwelveBitValuesAreTakenFromSinglePrecision) {
    SensorConfig config = familyBDefaults();
    config.AnalogMode = 128;
    // Span: 2.0048840045928955 V x 4095 / 10 is 820.99999988 in double, 821 as a single.
    config.AnalogNearOutput = 0;
    config.AnalogFarOutput = 2.0048840045928955f;
    EXPECT_EQ(word(encodeB(config), 68), 821);
    // Lower output: 0.006105006206780672 V gives 2.50000004 in double, 2.5 as a single,
    // which goes to the even neighbour 2.
    config.AnalogNearOutput = 0.006105006206780672f;
    config.AnalogFarOutput = 10;
    EXPECT_EQ(word(encodeB(config), 70), 2);
}

TEST(FamilyBCodec, RunModesTravelInThreeRegisters) {
    const struct {
        std::int16_t runMode;
        int element87, element19, element10;
    } cases[] = {{1, 64, 0, 0}, {2, 0, 0, 0},  {3, 4, 0, 0}, {4, 4, 64, 0},
                 {5, 4, 32, 0}, {6, 4, 96, 0}, {7, 6, 0, 0}, {8, 0, 0, 8}};
    for (const auto& c : cases) {
        SensorConfig config = familyBDefaults();
        config.MaxRange = 100;
        config.PBEnabled = false;
        config.TempComp = false;
        config.FilterType = 2;
        config.RunMode = c.runMode;
        const RegisterImage image = encodeB(config);
        EXPECT_EQ(image[87], 128 + c.element87) << "run mode " << c.runMode;
        EXPECT_EQ(image[19], c.element19) << "run mode " << c.runMode;
        EXPECT_EQ(image[10], c.element10) << "run mode " << c.runMode;

        SensorConfig decoded = familyBDefaults();
        DecodeImageB(image, decoded);
        EXPECT_EQ(decoded.RunMode, c.runMode);
    }
}

TEST(FamilyBEncode, KeepsTheRecordsRunModeAndFilter) {
    SensorConfig config = familyBDefaults();
    config.RunMode = 9;
    config.FilterType = 8;
    const RegisterImage image = encodeB(config);
    EXPECT_EQ(image[87] & 64, 64);
    EXPECT_EQ(image[10], 0);
    EXPECT_EQ(image[95], 0);
    EXPECT_EQ(config.RunMode, 9);
    EXPECT_EQ(config.FilterType, 8);
}

TEST(FamilyBCodec, FiltersAndTheirSampleCounts) {
    const struct {
        std::int16_t filter;
        int element10, element95;
        std::int16_t decodedSamples;
    } cases[] = {{1, 0, 0, 1},   {2, 0, 0, 6},  {3, 1, 0, 6},  {4, 2, 0, 6},
                 {5, 128, 0, 1}, {6, 16, 0, 1}, {7, 0, 128, 1}};
    for (const auto& c : cases) {
        SensorConfig config = familyBDefaults();
        config.FilterType = c.filter;
        config.NumberOfSamples = 6;
        const RegisterImage image = encodeB(config);
        EXPECT_EQ(image[10], c.element10) << "filter " << c.filter;
        EXPECT_EQ(image[95], c.element95) << "filter " << c.filter;
        EXPECT_EQ(image[88], 6);

        SensorConfig decoded;
        DecodeImageB(image, decoded);
        // "None" with a count above 1 comes back as the average the count implies.
        EXPECT_EQ(decoded.FilterType, c.filter == 1 ? 2 : c.filter);
        EXPECT_EQ(decoded.NumberOfSamples, c.filter == 1 ? 6 : c.decodedSamples);
    }
}

TEST(FamilyBDecode, FastSlowWithoutSamplesReadsOneSample) {
    SensorConfig config = familyBDefaults();
    config.FilterType = 7;
    config.NumberOfSamples = 0;
    const RegisterImage image = encodeB(config);
    EXPECT_EQ(image[95], 128);
    EXPECT_EQ(image[88], 0);
    SensorConfig decoded;
    DecodeImageB(image, decoded);
    EXPECT_EQ(decoded.FilterType, 7);
    EXPECT_EQ(decoded.NumberOfSamples, 1);
}

TEST(FamilyBDecode, OneSampleIgnoresTheMaximumBit) {
    RegisterImage image{};
    image[87] = 128;
    image[88] = 1;
    image[10] = 1;
    SensorConfig decoded;
    DecodeImageB(image, decoded);
    EXPECT_EQ(decoded.FilterType, 1);
    EXPECT_EQ(decoded.NumberOfSamples, 1);
}

TEST(FamilyBDecode, ImageOfZeros) {
    SensorConfig decoded = familyBDefaults();
    DecodeImageB(RegisterImage{}, decoded);
    EXPECT_EQ(decoded.CountDistance, 0.013536f);
    EXPECT_EQ(decoded.RunMode, 2);
    EXPECT_FALSE(decoded.PBEnabled);
    EXPECT_FALSE(decoded.TempComp);
    EXPECT_EQ(decoded.FilterType, 1);
    EXPECT_EQ(decoded.NumberOfSamples, 1);
    EXPECT_EQ(decoded.Description, "");
    EXPECT_EQ(decoded.Sw1Setpoint, 0.0f);
    EXPECT_EQ(decoded.AnalogOutputMax, 20.0f);
}

TEST(FamilyBDecode, RangeFlagsSetTheCountDistance) {
    const struct {
        int flags;
        float countDistance;
    } cases[] = {{128, 0.003384f}, {160, 0.006768f}, {0, 0.013536f}, {32, 0.25f}};
    for (const auto& c : cases) {
        RegisterImage image{};
        image[87] = static_cast<std::int16_t>(c.flags);
        image[74] = 100; // Sw1Setpoint count
        SensorConfig decoded;
        decoded.CountDistance = 0.25f; // kept for long range without the valid bit
        DecodeImageB(image, decoded);
        EXPECT_EQ(decoded.CountDistance, c.countDistance) << "element 87 = " << c.flags;
        EXPECT_EQ(decoded.Sw1Setpoint, static_cast<float>(100 * double{c.countDistance}));
    }
}

TEST(FamilyBCodec, TemperatureCompensationAndPushbuttonAddNine) {
    SensorConfig config = familyBDefaults();
    config.MaxRange = 100;
    config.RunMode = 2;
    config.TempComp = false;
    config.PBEnabled = false;
    EXPECT_EQ(encodeB(config)[87], 128);
    config.TempComp = true;
    config.PBEnabled = true;
    const RegisterImage image = encodeB(config);
    EXPECT_EQ(image[87], 128 + 9);
    SensorConfig decoded;
    DecodeImageB(image, decoded);
    EXPECT_TRUE(decoded.TempComp);
    EXPECT_TRUE(decoded.PBEnabled);

    RegisterImage bit4{};
    bit4[87] = 128 + 8 + 16; // temperature bit with bit 4 also set reads as off
    DecodeImageB(bit4, decoded);
    EXPECT_FALSE(decoded.TempComp);
}

TEST(FamilyBDecode, SwitchModeKeepsBothBits) {
    RegisterImage image{};
    image[87] = 128;
    image[76] = 64 + 16 + 8 + 2 + 1;
    image[79] = 96;
    image[27] = 32;
    SensorConfig decoded;
    DecodeImageB(image, decoded);
    EXPECT_EQ(decoded.Sw1Mode, 64);
    EXPECT_EQ(decoded.Sw1SetAllowed, 16);
    EXPECT_EQ(decoded.Sw1EchoLoss, 8);
    EXPECT_EQ(decoded.Sw1Polarity, 2);
    EXPECT_EQ(decoded.Sw1PowerUp, 1);
    EXPECT_EQ(decoded.Sw2Mode, 96);
    EXPECT_EQ(decoded.Sw3Mode, 32);
    EXPECT_EQ(decoded.Sw4Mode, 0);
}

TEST(FamilyBDecode, LargeRangeCountsDecodeLikeAnyOther) {
    RegisterImage image{};
    image[87] = 128;
    image[64] = 0; // MinRange count 2048
    image[65] = 8;
    image[66] = 255; // MaxRange count 65535
    image[67] = 255;
    SensorConfig decoded;
    DecodeImageB(image, decoded);
    EXPECT_EQ(decoded.MinRange, static_cast<float>(2048 * 16 * 0.003384));
    EXPECT_EQ(decoded.MaxRange, static_cast<float>(65535 * 16 * 0.003384));
}

TEST(FamilyBDecode, AnalogOutputsFromThe12BitRegisters) {
    SensorConfig config = familyBDefaults();
    config.AnalogSlope = 0; // near endpoint 20 mA, far 4 mA
    const RegisterImage image = encodeB(config);
    SensorConfig decoded;
    DecodeImageB(image, decoded);
    // 819 / 4095 * 20 is exactly 4; 3276 * 20 / 4095 + 4 is 20.
    EXPECT_EQ(decoded.AnalogNearOutput, 20.0f);
    EXPECT_EQ(decoded.AnalogFarOutput, 4.0f);
    EXPECT_EQ(decoded.AnalogSlope, 0);
    EXPECT_EQ(decoded.AnalogMode, 0);
}
