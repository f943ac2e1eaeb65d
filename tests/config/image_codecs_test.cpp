// Both families' register images: range choice and count rounding, the analog output,
// flag bits, filters, and what each family leaves alone.
#include "codec_test_support.h"

using namespace telmora;
using namespace telmora::testing;

namespace {

RegisterImage ImageWith(std::initializer_list<std::pair<int, int>> elements) {
    RegisterImage image{};
    for (auto [k, value] : elements)
        image[k] = static_cast<std::int16_t>(value);
    return image;
}

float Ticks(double count, float countDistance) {
    return static_cast<float>(count * double{countDistance});
}

} // namespace

// Range registers round down, nearest counts halve to even, the 12-bit outputs come from
// the singles themselves; a decoded falling output has the higher value at the near end.
TEST(ImageCodecs, EncodeGivesRegistersAndCorrectedRecordAndDecodeReadsThemBack) {
    const float tick = 0.003384f;
    // clang-format off
    const struct {
        const char* name;
        bool familyB;
        Fields set; // on the family's defaults
        std::vector<std::pair<int, int>> words;
        std::vector<std::array<int, 3>> bits; // element, mask, value
        Fields afterEncode, decoded;
    } cases[] = {
        {"A defaults: exactly 65535 ticks", false, {},
         {{66, 4095}, {64, 120}, {74, 3546}, {72, 6250}, {80, 1920}}, {{87, 32, 0}},
         {{"CountDistance", tick}},
         {{"MinRange", 6.49728f}, {"Sw1Setpoint", Ticks(3546, tick)}, {"CountDistance", tick}}},
        {"A long range", false, {{"MaxRange", 300}},
         {{66, 5540}, {74, 1773}}, {{87, 32, 32}}, {{"CountDistance", 0.006768f}}, {}},
        {"A falling output", false,
         {{"AnalogNearOutput", 4}, {"AnalogFarOutput", 20}, {"AnalogSlope", 0}}, {}, {{84, 1, 0}}, {},
         {{"AnalogNearOutput", 20}, {"AnalogFarOutput", 4}, {"AnalogOutputMax", 20}}},
        {"B defaults: just beyond 65535 ticks; Sw1Hyst 36.9 counts", true, {},
         {{74, 1773}, {91, 37}, {70, 819}, {68, 3276}},
         {{87, 255, 233}, {85, 255, 51}, {86, 255, 204}}, {{"CountDistance", 0.006768f}}, {}},
        {"B normal range; Interval 2.5 steps of 8 us; MinRange 147.8 counts", true,
         {{"MaxRange", 100}, {"CountDistance", 0.5f}, {"Sw2Setpoint", 255.6f * tick},
          {"Interval", 0.000020f}, {"Sw3Hyst", tick * 0.5f}},
         {{77, 256}, {72, 2}, {25, 0}, {64, 147}}, {{87, 160, 128}}, {{"CountDistance", tick}}, {}},
        {"B falling output", true, {{"AnalogSlope", 0}}, {}, {}, {},
         {{"AnalogNearOutput", 20}, {"AnalogFarOutput", 4}, {"AnalogSlope", 0}, {"AnalogMode", 0}}},
        {"B 1 to 5 V: 409.5 to even, the span rounds down", true,
         {{"AnalogMode", 128}, {"AnalogNearOutput", 1}, {"AnalogFarOutput", 5}},
         {{70, 410}, {68, 1638}}, {{84, 96, 64}}, {}, {}},
        {"B span 820.99999988 in double, 821 as a single", true,
         {{"AnalogMode", 128}, {"AnalogNearOutput", 0}, {"AnalogFarOutput", 2.0048840045928955f}},
         {{68, 821}}, {}, {}, {}},
        {"B near output 2.50000004 in double, 2.5 as a single", true,
         {{"AnalogMode", 128}, {"AnalogNearOutput", 0.006105006206780672f}, {"AnalogFarOutput", 10}},
         {{70, 2}}, {}, {}, {}},
        {"B flags off", true, {{"MaxRange", 100}, {"RunMode", 2}, {"TempComp", 0}, {"PBEnabled", 0}},
         {}, {{87, 255, 128}}, {}, {{"TempComp", 0}, {"PBEnabled", 0}}},
        {"B flags on", true, {{"MaxRange", 100}, {"RunMode", 2}},
         {}, {{87, 255, 128 + 9}}, {}, {{"TempComp", 1}, {"PBEnabled", 1}}},
        {"B unknown run mode and filter encode as defaults but stay", true,
         {{"RunMode", 9}, {"FilterType", 8}},
         {}, {{87, 64, 64}, {10, 255, 0}, {95, 255, 0}}, {{"RunMode", 9}, {"FilterType", 8}}, {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SensorConfig config;
        (c.familyB ? LoadFactoryDefaultsB : LoadFactoryDefaultsA)(config);
        SetFields(config, c.set);
        RegisterImage image{};
        (c.familyB ? EncodeImageB : EncodeImageA)(config, image);
        for (auto [k, value] : c.words)
            EXPECT_EQ(Word(image, k), value) << c.name << ", word " << k;
        for (auto [k, mask, value] : c.bits)
            EXPECT_EQ(image[k] & mask, value) << c.name << ", element " << k;
        EXPECT_TRUE(HasFields(config, c.afterEncode)) << c.name;
        SensorConfig decoded = DefaultsB();
        (c.familyB ? DecodeImageB : DecodeImageA)(image, decoded);
        EXPECT_TRUE(HasFields(decoded, c.decoded)) << c.name;
    }
}

// Images a sensor can report that the encoder never writes.
TEST(ImageCodecs, FamilyBDecodesRangeFlagsAndSwitchBitsOfAnyImage) {
    const float tick = 0.003384f;
    // clang-format off
    const struct {
        RegisterImage image;
        Fields expected;
    } cases[] = {
        {{}, {{"CountDistance", 0.013536f}, {"Sw1Setpoint", 0}, {"AnalogOutputMax", 20}, {"RunMode", 2},
              {"PBEnabled", 0}, {"TempComp", 0}, {"FilterType", 1}, {"NumberOfSamples", 1}}},
        {ImageWith({{87, 128}, {74, 100}}), {{"CountDistance", tick}, {"Sw1Setpoint", Ticks(100, tick)}}},
        {ImageWith({{87, 160}, {74, 100}}),
         {{"CountDistance", 0.006768f}, {"Sw1Setpoint", Ticks(100, 0.006768f)}}},
        {ImageWith({{87, 0}, {74, 100}}),
         {{"CountDistance", 0.013536f}, {"Sw1Setpoint", Ticks(100, 0.013536f)}}},
        // Long range without the valid bit keeps the count distance it had.
        {ImageWith({{87, 32}, {74, 100}}), {{"CountDistance", 0.25f}, {"Sw1Setpoint", 25}}},
        // Range counts are 16 ticks each, and large ones decode like any other.
        {ImageWith({{87, 128}, {65, 8}, {66, 255}, {67, 255}}),
         {{"MinRange", float(2048 * 16 * 0.003384)}, {"MaxRange", float(65535 * 16 * 0.003384)}}},
        {ImageWith({{87, 128 + 8 + 16}}), {{"TempComp", 0}}}, // bit 4 spoils the temperature bit
        {ImageWith({{87, 128}, {76, 64 + 16 + 8 + 2 + 1}, {79, 96}, {27, 32}}), // modes keep both bits
         {{"Sw1Mode", 64}, {"Sw1SetAllowed", 16}, {"Sw1EchoLoss", 8}, {"Sw1Polarity", 2},
          {"Sw1PowerUp", 1}, {"Sw2Mode", 96}, {"Sw3Mode", 32}, {"Sw4Mode", 0}}},
        // One sample ignores the maximum bit.
        {ImageWith({{87, 128}, {88, 1}, {10, 1}}), {{"FilterType", 1}, {"NumberOfSamples", 1}}},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SensorConfig decoded = DefaultsB();
        decoded.CountDistance = 0.25f;
        DecodeImageB(cases[i].image, decoded);
        EXPECT_TRUE(HasFields(decoded, cases[i].expected)) << "case " << i;
    }
}

// "None" with a count comes back as the average it implies; fast-slow without samples
// reads one sample.
TEST(ImageCodecs, FamilyBFiltersAndTheirSampleCounts) {
    // clang-format off
    const struct {
        std::int16_t filter, samples;
        int element10, element95;
        std::int16_t decodedFilter, decodedSamples;
    } cases[] = {
        {1, 6, 0, 0, 2, 6}, {2, 6, 0, 0, 2, 6}, {3, 6, 1, 0, 3, 6}, {4, 6, 2, 0, 4, 6},
        {5, 6, 128, 0, 5, 1}, {6, 6, 16, 0, 6, 1}, {7, 6, 0, 128, 7, 1}, {7, 0, 0, 128, 7, 1}};
    // clang-format on
    for (const auto& c : cases) {
        SensorConfig config = DefaultsB();
        config.FilterType = c.filter;
        config.NumberOfSamples = c.samples;
        RegisterImage image{};
        EncodeImageB(config, image);
        EXPECT_EQ(image[10], c.element10) << "filter " << c.filter;
        EXPECT_EQ(image[95], c.element95) << "filter " << c.filter;
        EXPECT_EQ(image[88], c.samples);
        SensorConfig decoded = DefaultsB();
        DecodeImageB(image, decoded);
        EXPECT_EQ(decoded.FilterType, c.decodedFilter) << "filter " << c.filter;
        EXPECT_EQ(decoded.NumberOfSamples, c.decodedSamples) << "filter " << c.filter;
    }
}

TEST(ImageCodecs, FamilyALeavesFamilyBFieldsAndRegistersAlone) {
    SensorConfig config = DefaultsB();
    config.NodeAddress = 42;
    config.Sw3Mode = 32;
    config.Sw2Hyst = 1.5f;
    const SensorConfig before = config;
    RegisterImage image{};
    EncodeImageA(config, image);
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
