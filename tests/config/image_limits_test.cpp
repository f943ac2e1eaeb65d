// What the codecs do with values no register can hold, and with images no encoder wrote:
// every element stays a register value 0 to 255 and every decode ends with a defined record.
#include "codec_test_support.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace telmora;
using namespace telmora::testing;

namespace {

struct Family {
    const char* name;
    Encoder encode;
    Decoder decode;
    bool fourSwitches;
    std::vector<int> countRegisters; // first element of each two-register count
};

const Family kFamilies[] = {
    {"A", EncodeImageA, DecodeImageA, false, {64, 66, 72, 74, 77, 80, 82}},
    {"B", EncodeImageB, DecodeImageB, true, {64, 66, 72, 74, 77, 80, 82, 23, 25, 28, 30, 91, 93}},
};

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

} // namespace

TEST(ImageLimits, DistancesBelowZeroEncodeAsCount0AndBeyond65535As65535) {
    // clang-format off
    const struct {
        float value;
        int count;
        float countDistance;
    } cases[] = {
        {-0.7f, 0, 0.003384f}, {-1e6f, 0, 0.003384f}, {-kInfinity, 0, 0.003384f},
        {kNaN, 0, 0.003384f}, {1e7f, 65535, 0.006768f},
        {std::numeric_limits<float>::max(), 65535, 0.006768f}, {kInfinity, 65535, 0.006768f}};
    // clang-format on
    for (const Family& family : kFamilies) {
        for (const auto& c : cases) {
            SensorConfig config = DefaultsB();
            config.MinRange = config.MaxRange = config.Interval = c.value;
            config.AnalogNearEndpoint = config.AnalogFarEndpoint = c.value;
            for (int n = 1; n <= 4; ++n)
                Switch(config, n).Setpoint = Switch(config, n).Hyst = c.value;
            RegisterImage image;
            image.fill(7);
            family.encode(config, image);
            for (int k : family.countRegisters)
                EXPECT_EQ(Word(image, k), c.count) << family.name << " [" << k << "] " << c.value;
            EXPECT_EQ(config.CountDistance, c.countDistance) << family.name << " " << c.value;
            EXPECT_TRUE(AllRegisterValues(image));
        }
        SensorConfig config = DefaultsB();
        config.MaxRange = 200; // normal range: 65535 counts reach 221.77 inch
        config.Sw1Setpoint = 250;
        RegisterImage image{};
        family.encode(config, image);
        EXPECT_EQ(config.CountDistance, 0.003384f);
        EXPECT_EQ(Word(image, 74), 65535) << family.name;
    }
}

// Analog outputs beyond full scale stop at its ends.
TEST(ImageLimits, SingleRegistersCodeBitsAndAnalogOutputsStayWithinTheirRegisters) {
    // clang-format off
    const struct {
        float near, far;
        int element85, element86, word70, word68;
    } outputs[] = {
        {-3, 1e30f, 0, 255, 0, 4095}, {15, kNaN, 255, 0, 4095, 0}};
    // clang-format on
    for (const Family& family : kFamilies) {
        SensorConfig config = DefaultsB();
        config.NumberOfSamples = 300;
        config.PrimingCycles = -4;
        config.NumberOfPulses = std::numeric_limits<std::int16_t>::max();
        config.NodeAddress = 256;
        config.FilterType = 2;
        for (int n = 1; n <= 4; ++n) {
            SwitchFields sw = Switch(config, n);
            sw.PowerUp = sw.Polarity = sw.EchoLoss = sw.SetAllowed = sw.Mode = -1;
        }
        config.AnalogPowerUp = config.AnalogSlope = config.AnalogEchoLoss = -1;
        config.AnalogSetAllowed = -1;
        config.AnalogMode = 128;
        config.AnalogNearOutput = 0;
        config.AnalogFarOutput = 10;
        RegisterImage image{};
        family.encode(config, image);
        // Codes add only their own bits; 0 to 10 V is range code 0.
        const int withMode = family.fourSwitches ? 96 : 0;
        EXPECT_EQ(
            (std::vector<int>{image[88], image[89], image[11], image[76], image[79], image[84]}),
            (std::vector<int>{255, 0, 255, 31 + withMode, 31 + withMode, 128 + 31}))
            << family.name;
        EXPECT_EQ(image[96], family.fourSwitches ? 255 : 0);
        EXPECT_TRUE(AllRegisterValues(image));
        for (const auto& c : outputs) {
            SensorConfig analog = With(DefaultsB(), {{"AnalogMode", 128}});
            analog.AnalogNearOutput = c.near;
            analog.AnalogFarOutput = c.far;
            family.encode(analog, image);
            EXPECT_EQ(image[85], c.element85) << family.name << " " << c.near;
            EXPECT_EQ(image[86], c.element86) << family.name << " " << c.near;
            if (family.fourSwitches) {
                EXPECT_EQ(Word(image, 70), c.word70) << c.near;
                EXPECT_EQ(Word(image, 68), c.word68) << c.near; // 12-bit values
            }
        }
    }
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
