// Boundaries of both families' register images that the random conformance vectors seldom
// meet: the range choice at exactly 65535 ticks, halves to even, and values that are
// halves only as singles, not as doubles.
#include "codec_test_support.h"

using namespace telmora;
using namespace telmora::testing;

// Range registers round down, nearest counts halve to even, the 12-bit outputs come from
// the singles themselves.
TEST(ImageCodecs, RangeChoiceAtTheCountLimitHalvesAndSingles) {
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
         {{"MinRange", 6.49728f}, {"Sw1Setpoint", float(3546 * double{tick})}, {"CountDistance", tick}}},
        {"B defaults: just beyond 65535 ticks; Sw1Hyst 36.9 counts", true, {},
         {{74, 1773}, {91, 37}, {70, 819}, {68, 3276}},
         {{87, 255, 233}, {85, 255, 51}, {86, 255, 204}}, {{"CountDistance", 0.006768f}}, {}},
        {"B normal range; Interval 2.5 steps of 8 us; MinRange 147.8 counts", true,
         {{"MaxRange", 100}, {"CountDistance", 0.5f}, {"Sw2Setpoint", 255.6f * tick},
          {"Interval", 0.000020f}, {"Sw3Hyst", tick * 0.5f}},
         {{77, 256}, {72, 2}, {25, 0}, {64, 147}}, {{87, 160, 128}}, {{"CountDistance", tick}}, {}},
        {"B 1 to 5 V: 409.5 to even, the span rounds down", true,
         {{"AnalogMode", 128}, {"AnalogNearOutput", 1}, {"AnalogFarOutput", 5}},
         {{70, 410}, {68, 1638}}, {{84, 96, 64}}, {}, {}},
        {"B span 820.99999988 in double, 821 as a single", true,
         {{"AnalogMode", 128}, {"AnalogNearOutput", 0}, {"AnalogFarOutput", 2.0048840045928955f}},
         {{68, 821}}, {}, {}, {}},
        {"B near output 2.50000004 in double, 2.5 as a single", true,
         {{"AnalogMode", 128}, {"AnalogNearOutput", 0.006105006206780672f}, {"AnalogFarOutput", 10}},
         {{70, 2}}, {}, {}, {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SensorConfig config;
        (c.familyB ? LoadFactoryDefaultsB : LoadFactoryDefaultsA)(config);
        config = With(config, c.set);
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
