// Both families' register images at their boundaries, the random conformance vectors seldom
// meet them: the range choice at exactly 65535 ticks, halves to even, values that are halves
// only as singles, values no register can hold, and images no encoder wrote. Every element
// stays a register value 0 to 255 and every decode ends with a defined record. A
// configuration that passes through the window without edits (decode, show, read back,
// encode) leaves as it came, and a second pass changes nothing.
#include "codec_test_support.h"
#include "config/config_fields.h"
#include "config/image_common.h"
#include "config/window_texts.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace telmora;
using namespace telmora::testing;
using ::testing::ElementsAreArray;

namespace {

struct Family {
    const char* name;
    SensorFamily family;
    Encoder encode;
    Decoder decode;
    void (*defaults)(SensorConfig&);
};

const Family kFamilies[] = {
    {"A", SensorFamily::A, EncodeImageA, DecodeImageA, LoadFactoryDefaultsA},
    {"B", SensorFamily::B, EncodeImageB, DecodeImageB, LoadFactoryDefaultsB}};

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kTick = 0.003384f;

// `more` with every field of `names` set to `value`.
Fields Set(const std::vector<std::string>& names, float value, Fields more = {}) {
    for (const auto& name : names)
        more[name] = value;
    return more;
}

const std::vector<std::string> kDistances = {
    "MinRange",    "MaxRange",    "Interval",    "AnalogNearEndpoint", "AnalogFarEndpoint",
    "Sw1Setpoint", "Sw2Setpoint", "Sw3Setpoint", "Sw4Setpoint",        "Sw1Hyst",
    "Sw2Hyst",     "Sw3Hyst",     "Sw4Hyst"};

std::vector<std::string> Codes() {
    std::vector<std::string> names = {"AnalogPowerUp", "AnalogSlope", "AnalogEchoLoss",
                                      "AnalogSetAllowed"};
    for (const char* code : {"PowerUp", "Polarity", "EchoLoss", "SetAllowed", "Mode"})
        for (int n = 1; n <= 4; ++n)
            names.push_back("Sw" + std::to_string(n) + code);
    return names;
}

} // namespace

// Each scenario sets fields on each family's defaults and prints the words (two registers,
// low first) and elements named, what the encoder corrected in the record, and what a
// decode of the image gives different from the encoded record. Range registers round down,
// nearest counts halve to even, the 12-bit outputs come from the singles themselves; codes
// add only their own bits; analog outputs beyond full scale stop at its ends.
TEST(ImageLimits, RegistersAndRecordsAtTheBoundaries) {
    const std::vector<int> counts = {64, 66, 72, 74, 77, 80, 82, 23, 25, 28, 30, 91, 93};
    // clang-format off
    const struct {
        const char* name;
        Fields set;
        std::vector<int> words, elements;
    } cases[] = {
        {"defaults: A exactly 65535 ticks, B just beyond; B Sw1Hyst 36.9 counts", {},
         {66, 64, 74, 72, 80, 91, 70, 68}, {87, 85, 86}},
        {"normal range; Interval 2.5 steps of 8 us; MinRange 147.8 counts",
         {{"MaxRange", 100}, {"CountDistance", 0.5f}, {"Sw2Setpoint", 255.6f * kTick},
          {"Interval", 0.000020f}, {"Sw3Hyst", kTick * 0.5f}}, {77, 72, 25, 64}, {87}},
        {"1 to 5 V: 409.5 to even, the span rounds down",
         {{"AnalogMode", 128}, {"AnalogNearOutput", 1}, {"AnalogFarOutput", 5}}, {70, 68}, {84}},
        {"1 to 10 V and 4 to 10 mA: the range code of no standard range",
         {{"AnalogMode", 128}, {"AnalogNearOutput", 1}, {"AnalogFarOutput", 10}}, {}, {84}},
        {"4 to 10 mA", {{"AnalogMode", 0}, {"AnalogNearOutput", 4}, {"AnalogFarOutput", 10}}, {},
         {84}},
        {"span 820.99999988 in double, 821 as a single",
         {{"AnalogMode", 128}, {"AnalogNearOutput", 0}, {"AnalogFarOutput", 2.0048840045928955f}},
         {68}, {}},
        {"near output 2.50000004 in double, 2.5 as a single",
         {{"AnalogMode", 128}, {"AnalogNearOutput", 0.006105006206780672f}, {"AnalogFarOutput", 10}},
         {70}, {}},
        {"distances -0.7", Set(kDistances, -0.7f), counts, {}},
        {"distances -infinity", Set(kDistances, -kInfinity), counts, {}},
        {"distances NaN", Set(kDistances, kNaN), counts, {}},
        {"distances 1e7", Set(kDistances, 1e7f), counts, {}},
        {"normal range: 65535 counts reach 221.77 inch", {{"MaxRange", 200}, {"Sw1Setpoint", 250}},
         {74}, {}},
        {"codes beyond their bits", Set(Codes(), -1, {{"NumberOfSamples", 300},
          {"PrimingCycles", -4}, {"NumberOfPulses", 32767}, {"NodeAddress", 256},
          {"FilterType", 2}, {"AnalogMode", 128}, {"AnalogNearOutput", 0},
          {"AnalogFarOutput", 10}}), {}, {88, 89, 11, 76, 79, 84, 96, 27}},
        {"outputs -3 to 1e30", {{"AnalogMode", 128}, {"AnalogNearOutput", -3},
          {"AnalogFarOutput", 1e30f}}, {70, 68}, {85, 86}},
        {"outputs 15 to NaN", {{"AnalogMode", 128}, {"AnalogNearOutput", 15},
          {"AnalogFarOutput", kNaN}}, {70, 68}, {85, 86}},
    };
    // clang-format on
    std::string found;
    for (const auto& c : cases) {
        for (const Family& family : kFamilies) {
            SensorConfig config = DefaultsB();
            family.defaults(config);
            config = With(config, c.set);
            const SensorConfig before = config;
            RegisterImage image;
            image.fill(7);
            family.encode(config, image);
            EXPECT_TRUE(AllRegisterValues(image)) << c.name;
            found += std::string(family.name) + " " + c.name + ":\n ";
            for (int k : c.words)
                found += " w" + std::to_string(k) + "=" + std::to_string(Word(image, k));
            for (int k : c.elements)
                found += " e" + std::to_string(k) + "=" + std::to_string(image[k]);
            SensorConfig decoded = DefaultsB();
            family.decode(image, decoded);
            found += "\n encoded:\n" + Changes(before, config) + " decoded:\n" +
                     Changes(config, decoded);
        }
    }
    ExpectGolden("registers and records at the boundaries", found);
}

TEST(ImageLimits, DecodersReadAtMostThirtyDescriptionCharactersAndEightBitsAnElement) {
    for (const Family& family : kFamilies) {
        for (int length : {0, 31, 95, 200, 255, -1, 32767}) {
            RegisterImage image;
            image.fill('x');
            image[33] = static_cast<std::int16_t>(length);
            SensorConfig config;
            config.Description = "old";
            family.decode(image, config);
            EXPECT_EQ(config.Description, std::string(std::min(length & 0xFF, 30), 'x'))
                << family.name << " element 33 = " << length;
        }
        // A file can hold any 16-bit number per element; the sensor's registers hold 8 bits.
        RegisterImage image{};
        image[87] = 128 + 256;
        image[74] = 100 - 512; // low byte 100
        image[75] = 1 + 256;   // low byte 1
        image[88] = -251;      // low byte 5
        SensorConfig config;
        family.decode(image, config);
        EXPECT_EQ(config.Sw1Setpoint, static_cast<float>(356 * double{0.003384f})) << family.name;
        EXPECT_EQ(config.NumberOfSamples, 5) << family.name;
    }
}

// Random register contents, including values only a damaged file could hold, decode to a
// record whose every field is defined; records holding arbitrary bit patterns (NaN,
// infinities, denormals, stray code bits, malformed UTF-8) encode to register values only.
TEST(ImageLimits, RandomImagesAndRecordsGiveDefinedRecordsAndRegisterValuesOnly) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::uint32_t> bits;
    auto anyFloat = [&] { return std::bit_cast<float>(bits(random)); };
    auto anyInt = [&] { return static_cast<std::int16_t>(bits(random)); };
    for (int round = 0; round < 4000; ++round) {
        RegisterImage image;
        for (auto& element : image)
            element = static_cast<std::int16_t>(round % 4 ? bits(random) % 256 : bits(random));
        // Every field any bit pattern but the count distance and the output scale, which
        // only the program sets.
        nlohmann::json fields = DefaultsB();
        for (auto field : fields.items()) {
            if (field.value().is_number_float() && field.key() != "CountDistance" &&
                field.key().rfind("AnalogOutputM", 0) != 0)
                field.value() = anyFloat();
            else if (field.value().is_number_integer())
                field.value() = anyInt();
            else if (field.value().is_boolean())
                field.value() = (bits(random) & 1) != 0;
        }
        SensorConfig record = fields.get<SensorConfig>();
        record.FilterType = static_cast<std::int16_t>(bits(random) % 10);
        record.Description.clear();
        if (round % 2)
            record.AnalogMode = 128;
        for (std::uint32_t i = bits(random) % 50; i > 0; --i)
            record.Description += static_cast<char>(bits(random));

        for (const Family& family : kFamilies) {
            SensorConfig config = DefaultsB();
            family.decode(image, config);
            const auto& text = config.Description; // 30 characters, of up to 3 bytes each
            EXPECT_LE(
                std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }),
                30);
            ASSERT_TRUE(config.NumberOfSamples >= 0 && config.NumberOfSamples <= 255);
            ASSERT_TRUE(config.RunMode >= 1 && config.RunMode <= 8);
            ASSERT_TRUE(config.FilterType >= 1 && config.FilterType <= 7);
            ASSERT_TRUE(std::isfinite(config.AnalogNearOutput) && std::isfinite(config.MaxRange));
            for (SensorConfig* c : {&config, &record}) {
                SensorConfig copy = *c;
                RegisterImage again;
                again.fill(-1);
                family.encode(copy, again);
                ASSERT_TRUE(AllRegisterValues(again)) << family.name << " round " << round;
                ASSERT_EQ(again[128], -1);
                ASSERT_LE(again[33], 30);
                ASSERT_TRUE(copy.CountDistance == 0.003384f || copy.CountDistance == 0.006768f);
            }
        }
    }
}

namespace {

// What the window sends on for an image it was shown, started fresh each time.
RegisterImage PassThroughWindow(const Family& f, const RegisterImage& image) {
    SensorConfig record = DefaultsB();
    f.decode(image, record);
    WindowTexts window = DesignWindow();
    ShowRecord(f.family, record, window);
    ReadWindow(f.family, window, record);
    RegisterImage out = image;
    f.encode(record, out);
    return out;
}

// The codes the window cannot say: switch modes 64 and 96 read back as 32, switch echo loss
// 12 as 0, analog echo loss 12 leaves the label's "NC", read back as 0, and equal outputs
// read back as rising, whatever the slope.
RegisterImage WithoutUnsayableCodes(RegisterImage image, const SensorConfig& decoded,
                                    bool familyB) {
    for (const int k : familyB ? std::vector{76, 79, 27, 32} : std::vector{76, 79}) {
        if ((image[k] & 96) != 0)
            image[k] = static_cast<std::int16_t>((image[k] & ~96) | 32);
        if ((image[k] & 12) == 12)
            image[k] = static_cast<std::int16_t>(image[k] & ~12);
    }
    if ((image[84] & 12) == 12)
        image[84] = static_cast<std::int16_t>(image[84] & ~12);
    if (decoded.AnalogNearOutput == decoded.AnalogFarOutput)
        image[84] = static_cast<std::int16_t>(image[84] | 1);
    return image;
}

} // namespace

TEST(NoDrift, UneditedWindowSendsTheImageOnAndNeverDrifts) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (const Family& f : kFamilies) {
        const bool familyB = f.family == SensorFamily::B;
        int changed = 0;
        for (int round = 0; round < 10000; ++round) {
            // Any image the encoder writes: random registers through decode and encode,
            // the outputs in rising order as the encoders want them.
            RegisterImage image{};
            for (auto& element : image)
                element = static_cast<std::int16_t>(byte(random));
            // Lower output and span within full scale, as the window holds them.
            image[86] = static_cast<std::int16_t>(image[86] % (256 - image[85]));
            image[69] = static_cast<std::int16_t>(image[69] & 7);
            image[71] = static_cast<std::int16_t>(image[71] & 7);
            SensorConfig record = DefaultsB();
            f.decode(image, record);
            if (record.AnalogSlope == 0)
                std::swap(record.AnalogNearOutput, record.AnalogFarOutput);
            f.encode(record, image);

            const RegisterImage first = PassThroughWindow(f, image);
            ASSERT_THAT(PassThroughWindow(f, first), ElementsAreArray(first)) << "round " << round;
            // A maximum range just past normal range whose whole range steps fit it again:
            // the encoder counts in single ticks.
            SensorConfig decoded = DefaultsB();
            f.decode(image, decoded);
            if ((image[87] & 32) != 0 && !telmora::image::NeedsLongRange(decoded.MaxRange)) {
                ++changed;
                continue;
            }
            ASSERT_THAT(first, ElementsAreArray(WithoutUnsayableCodes(image, decoded, familyB)))
                << "round " << round;
        }
        EXPECT_LT(changed, 100); // almost every image is compared
    }
}

namespace telmora::testing {

// The fields a Kelvo-A holds are exactly those whose change reaches its image (the range
// the encoder derives CountDistance from stands for it), so comparisons and reports of a
// Kelvo-A list no field it does not keep, and miss none it does.
TEST(ConfigFields, FamilyAHoldsExactlyTheFieldsItsImageCarries) {
    const SensorConfig base = DefaultsB();
    RegisterImage baseImage{};
    SensorConfig encoded = base;
    EncodeImageA(encoded, baseImage);
    const nlohmann::json fields = base;
    for (const auto& [name, value] : fields.items()) {
        if (name == "CountDistance")
            continue;
        // Several changes, since a code or limit may map neighbouring values alike.
        std::vector<nlohmann::json> changes;
        if (value.is_boolean())
            changes = {!value.get<bool>()};
        else if (value.is_string())
            changes = {"changed"};
        else if (value.is_number_integer())
            changes = {0, 1, 2, 3, value.get<int>() + 5};
        else
            changes = {value.get<float>() + 3, value.get<float>() / 2, 5.0f, 20.0f};
        bool carried = false;
        for (const nlohmann::json& change : changes) {
            SensorConfig config = With(base, {{name, change}});
            RegisterImage image{};
            EncodeImageA(config, image);
            carried = carried || image != baseImage;
        }
        EXPECT_EQ(carried, FamilyHoldsField(SensorFamily::A, name)) << name;
        EXPECT_TRUE(FamilyHoldsField(SensorFamily::B, name)) << name;
    }
}

} // namespace telmora::testing
