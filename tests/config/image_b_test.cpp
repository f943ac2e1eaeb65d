// Family B register image: range flags, nearest counts, the 12-bit analog output, run
// modes, filters and the images a sensor can report that the encoder never writes.
#include "config/image_b.h"

#include <gtest/gtest.h>

#include <vector>

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

RegisterImage imageWith(std::initializer_list<std::pair<int, int>> elements) {
    RegisterImage image{};
    for (auto [k, value] : elements)
        image[k] = static_cast<std::int16_t>(value);
    return image;
}

SensorConfig decodeB(const RegisterImage& image) {
    SensorConfig decoded = familyBDefaults();
    DecodeImageB(image, decoded);
    return decoded;
}

int word(const RegisterImage& image, int k) {
    return image[k + 1] * 256 + image[k];
}

} // namespace

TEST(FamilyBEncode, RangeFlagsAndNearestCountsHalvesToEven) {
    SensorConfig config = familyBDefaults(); // just beyond 65535 ticks: long range
    RegisterImage image = encodeB(config);
    EXPECT_EQ(image[87], 233); // 160 + continuous 64 + temperature 8 + pushbutton 1
    EXPECT_EQ(config.CountDistance, 0.006768f);
    EXPECT_EQ(word(image, 74), 1773); // Sw1Setpoint 12
    EXPECT_EQ(word(image, 91), 37);   // Sw1Hyst 0.25: 36.9

    config.MaxRange = 100; // normal range still writes the range-valid bit
    config.CountDistance = 0.5f;
    config.Sw2Setpoint = 255.6f * 0.003384f;
    config.Interval = 0.000020f; // 2.5 steps of 8 microseconds
    config.Sw3Hyst = 0.003384f * 0.5f;
    image = encodeB(config);
    EXPECT_EQ(image[87] & 160, 128);
    EXPECT_EQ(config.CountDistance, 0.003384f);
    // Range registers still round down: 8 / 0.054144 = 147.8.
    EXPECT_EQ(
        (std::vector<int>{word(image, 77), word(image, 72), word(image, 25), word(image, 64)}),
        (std::vector<int>{256, 2, 0, 147}));
}

TEST(FamilyBCodec, AnalogOutputIn12And8BitsFromSinglePrecision) {
    SensorConfig config = familyBDefaults(); // 4 to 20 mA
    RegisterImage image = encodeB(config);
    EXPECT_EQ((std::vector<int>{word(image, 70), word(image, 68), image[85], image[86]}),
              (std::vector<int>{819, 3276, 51, 204}));

    config.AnalogSlope = 0; // falling: the higher value comes back at the near endpoint
    SensorConfig decoded = decodeB(encodeB(config));
    EXPECT_EQ((std::vector<float>{decoded.AnalogNearOutput, decoded.AnalogFarOutput,
                                  float(decoded.AnalogSlope), float(decoded.AnalogMode)}),
              (std::vector<float>{20, 4, 0, 0}));

    config.AnalogMode = 128; // 1 to 5 V
    config.AnalogNearOutput = 1;
    config.AnalogFarOutput = 5;
    image = encodeB(config);
    // 409.5 goes to the even neighbour; the voltage span rounds down.
    EXPECT_EQ((std::vector<int>{word(image, 70), word(image, 68), image[84] & 96}),
              (std::vector<int>{410, 1638, 64}));

    // 2.0048840045928955 V x 4095 / 10 is 820.99999988 in double, 821 as a single.
    config.AnalogNearOutput = 0;
    config.AnalogFarOutput = 2.0048840045928955f;
    EXPECT_EQ(word(encodeB(config), 68), 821);
    // 0.006105006206780672 V gives 2.50000004 in double, 2.5 as a single: even 2.
    config.AnalogNearOutput = 0.006105006206780672f;
    config.AnalogFarOutput = 10;
    EXPECT_EQ(word(encodeB(config), 70), 2);
}

// "None" with a count comes back as the average it implies; fast-slow without samples
// reads one sample.
TEST(FamilyBCodec, FiltersAndTheirSampleCounts) {
    // clang-format off
    const struct {
        std::int16_t filter, samples;
        int element10, element95;
        std::int16_t decodedFilter, decodedSamples;
    } cases[] = {
        {1, 6, 0, 0, 2, 6}, {2, 6, 0, 0, 2, 6}, {3, 6, 1, 0, 3, 6}, {4, 6, 2, 0, 4, 6},
        {5, 6, 128, 0, 5, 1}, {6, 6, 16, 0, 6, 1}, {7, 6, 0, 128, 7, 1}, {7, 0, 0, 128, 7, 1}};
    // clang-format on // fast-slow without samples reads one
    for (const auto& c : cases) {
        SensorConfig config = familyBDefaults();
        config.FilterType = c.filter;
        config.NumberOfSamples = c.samples;
        const RegisterImage image = encodeB(config);
        EXPECT_EQ(image[10], c.element10) << "filter " << c.filter;
        EXPECT_EQ(image[95], c.element95) << "filter " << c.filter;
        EXPECT_EQ(image[88], c.samples);
        const SensorConfig decoded = decodeB(image);
        EXPECT_EQ(decoded.FilterType, c.decodedFilter) << "filter " << c.filter;
        EXPECT_EQ(decoded.NumberOfSamples, c.decodedSamples) << "filter " << c.filter;
    }
    const SensorConfig oneSample = decodeB(imageWith({{87, 128}, {88, 1}, {10, 1}}));
    EXPECT_EQ(oneSample.FilterType, 1); // one sample ignores the maximum bit
    EXPECT_EQ(oneSample.NumberOfSamples, 1);
}

TEST(FamilyBCodec, UnknownRunModeAndFilterEncodeAsDefaultsButStayInTheRecord) {
    SensorConfig unknown = familyBDefaults();
    unknown.RunMode = 9;
    unknown.FilterType = 8;
    const RegisterImage image = encodeB(unknown);
    EXPECT_EQ(image[87] & 64, 64);
    EXPECT_EQ(image[10] + image[95], 0);
    EXPECT_EQ(unknown.RunMode, 9);
    EXPECT_EQ(unknown.FilterType, 8);
}

TEST(FamilyBDecode, ImageOfZeros) {
    const SensorConfig d = decodeB(RegisterImage{});
    EXPECT_EQ((std::vector<float>{d.CountDistance, d.Sw1Setpoint, d.AnalogOutputMax}),
              (std::vector<float>{0.013536f, 0, 20}));
    EXPECT_EQ((std::vector<int>{d.RunMode, d.PBEnabled, d.TempComp, d.FilterType,
                                d.NumberOfSamples}),
              (std::vector<int>{2, 0, 0, 1, 1}));
    EXPECT_EQ(d.Description, "");
}

TEST(FamilyBDecode, RangeFlagsSetTheCountDistance) {
    // clang-format off
    const struct {
        int flags;
        float countDistance;
    } cases[] = {
        {128, 0.003384f}, {160, 0.006768f}, {0, 0.013536f}, {32, 0.25f}};
    // clang-format on
    for (const auto& c : cases) {
        SensorConfig decoded;
        decoded.CountDistance = 0.25f; // kept for long range without the valid bit
        DecodeImageB(imageWith({{87, c.flags}, {74, 100}}), decoded);
        EXPECT_EQ(decoded.CountDistance, c.countDistance) << "element 87 = " << c.flags;
        EXPECT_EQ(decoded.Sw1Setpoint, static_cast<float>(100 * double{c.countDistance}));
    }
    // Range counts are 16 ticks each, and large ones decode like any other.
    const SensorConfig large = decodeB(imageWith({{87, 128}, {65, 8}, {66, 255}, {67, 255}}));
    EXPECT_EQ(large.MinRange, static_cast<float>(2048 * 16 * 0.003384));
    EXPECT_EQ(large.MaxRange, static_cast<float>(65535 * 16 * 0.003384));
}

TEST(FamilyBCodec, FlagBitsOfOperationAndSwitches) {
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
    EXPECT_TRUE(decodeB(image).TempComp);
    EXPECT_TRUE(decodeB(image).PBEnabled);
    // The temperature bit with bit 4 also set reads as off.
    EXPECT_FALSE(decodeB(imageWith({{87, 128 + 8 + 16}})).TempComp);

    const SensorConfig decoded =
        decodeB(imageWith({{87, 128}, {76, 64 + 16 + 8 + 2 + 1}, {79, 96}, {27, 32}}));
    EXPECT_EQ((std::vector<int>{decoded.Sw1Mode, decoded.Sw1SetAllowed, decoded.Sw1EchoLoss,
                                decoded.Sw1Polarity, decoded.Sw1PowerUp, decoded.Sw2Mode,
                                decoded.Sw3Mode, decoded.Sw4Mode}),
              (std::vector<int>{64, 16, 8, 2, 1, 96, 32, 0})); // a mode keeps both its bits
}
