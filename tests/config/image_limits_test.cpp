// What the codecs do with values no register can hold, and with images no encoder wrote:
// every element stays a register value 0 to 255 and every decode ends with a defined record.
#include "config/image_a.h"
#include "config/image_b.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

using namespace telmora;

namespace {

using Encoder = std::function<void(SensorConfig&, RegisterImage&)>;
using Decoder = std::function<void(const RegisterImage&, SensorConfig&)>;

struct Family {
    const char* name;
    Encoder encode;
    Decoder decode;
    int switches;
    std::vector<int> countRegisters; // first element of each two-register count
};

const Family kFamilies[] = {
    {"A", EncodeImageA, DecodeImageA, 2, {64, 66, 72, 74, 77, 80, 82}},
    {"B", EncodeImageB, DecodeImageB, 4, {64, 66, 72, 74, 77, 80, 82, 23, 25, 28, 30, 91, 93}},
};

int word(const RegisterImage& image, int k) {
    return image[k + 1] * 256 + image[k];
}

void setEveryDistance(SensorConfig& config, float value) {
    config.MinRange = value;
    config.MaxRange = value;
    config.Interval = value;
    for (int n = 1; n <= 4; ++n) {
        Switch(config, n).Setpoint = value;
        Switch(config, n).Hyst = value;
    }
    config.AnalogNearEndpoint = value;
    config.AnalogFarEndpoint = value;
}

::testing::AssertionResult allRegisterValues(const RegisterImage& image) {
    for (int k = 0; k < 128; ++k) {
        if (image[k] < 0 || image[k] > 255)
            return ::testing::AssertionFailure() << "element " << k << " = " << image[k];
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(ImageLimits, NegativeAndNotANumberDistancesEncodeAsZero) {
    const float inputs[] = {-0.7f, -1e6f, -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};
    for (const Family& family : kFamilies) {
        for (float value : inputs) {
            SensorConfig config;
            LoadFactoryDefaultsB(config);
            setEveryDistance(config, value);
            RegisterImage image;
            image.fill(7);
            family.encode(config, image);
            for (int k : family.countRegisters)
                EXPECT_EQ(word(image, k), 0) << family.name << " element " << k << " for " << value;
            EXPECT_EQ(config.CountDistance, 0.003384f) << family.name;
            EXPECT_TRUE(allRegisterValues(image));
        }
    }
}

TEST(ImageLimits, CountsBeyond65535EncodeAs65535) {
    const float inputs[] = {1e7f, std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::infinity()};
    for (const Family& family : kFamilies) {
        for (float value : inputs) {
            SensorConfig config;
            LoadFactoryDefaultsB(config);
            setEveryDistance(config, value);
            RegisterImage image{};
            family.encode(config, image);
            EXPECT_EQ(config.CountDistance, 0.006768f) << family.name;
            for (int k : family.countRegisters)
                EXPECT_EQ(word(image, k), 65535)
                    << family.name << " element " << k << " for " << value;
            EXPECT_TRUE(allRegisterValues(image));
        }
    }
}

TEST(ImageLimits, SetpointBeyondTheCounterStopsAtTheLastCount) {
    for (const Family& family : kFamilies) {
        SensorConfig config;
        LoadFactoryDefaultsB(config);
        config.MaxRange = 200; // normal range: 65535 counts reach 221.77 inch
        config.Sw1Setpoint = 250;
        RegisterImage image{};
        family.encode(config, image);
        EXPECT_EQ(config.CountDistance, 0.003384f);
        EXPECT_EQ(image[74], 255) << family.name;
        EXPECT_EQ(image[75], 255) << family.name;
    }
}

TEST(ImageLimits, SingleRegisterValuesAreForcedInto0To255) {
    for (const Family& family : kFamilies) {
        SensorConfig config;
        LoadFactoryDefaultsB(config);
        config.NumberOfSamples = 300;
        config.PrimingCycles = -4;
        config.NumberOfPulses = std::numeric_limits<std::int16_t>::max();
        config.NodeAddress = 256;
        config.FilterType = 2;
        RegisterImage image{};
        family.encode(config, image);
        EXPECT_EQ(image[88], 255) << family.name;
        EXPECT_EQ(image[89], 0) << family.name;
        EXPECT_EQ(image[11], 255) << family.name;
        if (family.switches == 4) {
            EXPECT_EQ(image[96], 255);
        }
    }
}

TEST(ImageLimits, CodesContributeOnlyTheirOwnBits) {
    for (const Family& family : kFamilies) {
        SensorConfig config;
        LoadFactoryDefaultsB(config);
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
        const int withMode = family.switches == 4 ? 96 : 0;
        EXPECT_EQ(image[76], 31 + withMode) << family.name;
        EXPECT_EQ(image[79], 31 + withMode) << family.name;
        EXPECT_EQ(image[84], 128 + 31) << family.name; // 0 to 10 V: range code 0
        EXPECT_TRUE(allRegisterValues(image));
    }
}

TEST(ImageLimits, AnalogOutputsBeyondFullScaleStopAtTheEnds) {
    for (const Family& family : kFamilies) {
        SensorConfig config;
        LoadFactoryDefaultsB(config);
        config.AnalogMode = 128;
        config.AnalogNearOutput = -3;
        config.AnalogFarOutput = 1e30f;
        RegisterImage image{};
        family.encode(config, image);
        EXPECT_EQ(image[85], 0) << family.name;
        EXPECT_EQ(image[86], 255) << family.name;
        if (family.switches == 4) {
            EXPECT_EQ(word(image, 70), 0);
            EXPECT_EQ(word(image, 68), 4095); // a 12-bit value
        }
        config.AnalogNearOutput = 15;
        config.AnalogFarOutput = std::numeric_limits<float>::quiet_NaN();
        family.encode(config, image);
        EXPECT_EQ(image[85], 255) << family.name;
        EXPECT_EQ(image[86], 0) << family.name;
        if (family.switches == 4) {
            EXPECT_EQ(word(image, 70), 4095);
            EXPECT_EQ(word(image, 68), 0);
        }
    }
}

TEST(ImageLimits, DecodersReadAtMostThirtyDescriptionCharacters) {
    for (const Family& family : kFamilies) {
        for (int length : {31, 95, 200, 255, -1, 32767}) {
            RegisterImage image;
            image.fill('x');
            image[33] = static_cast<std::int16_t>(length);
            SensorConfig config;
            family.decode(image, config);
            const std::size_t expected = std::min(length & 0xFF, 30);
            EXPECT_EQ(config.Description, std::string(expected, 'x'))
                << family.name << " element 33 = " << length;
        }
    }
}

TEST(ImageLimits, DecodersTakeTheLowEightBitsOfEachElement) {
    // A file can hold any 16-bit number per element; the sensor's registers hold 8 bits.
    for (const Family& family : kFamilies) {
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
// record whose every field is defined, and that record encodes to a valid image again.
TEST(ImageLimits, RandomImagesDecodeAndEncodeWithoutFault) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> anyElement(-32768, 32767);
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (int round = 0; round < 4000; ++round) {
        for (const Family& family : kFamilies) {
            RegisterImage image;
            const bool wide = round % 4 == 0;
            for (auto& element : image)
                element = static_cast<std::int16_t>(wide ? anyElement(random) : anyByte(random));
            SensorConfig config;
            LoadFactoryDefaultsB(config);
            family.decode(image, config);

            EXPECT_LE(config.Description.size(), 60u); // 30 characters of up to 2 bytes
            ASSERT_GE(config.NumberOfSamples, 0);
            ASSERT_LE(config.NumberOfSamples, 255);
            ASSERT_GE(config.RunMode, 1);
            ASSERT_LE(config.RunMode, 8);
            ASSERT_GE(config.FilterType, 1);
            ASSERT_LE(config.FilterType, 7);
            ASSERT_TRUE(std::isfinite(config.AnalogNearOutput));
            ASSERT_TRUE(std::isfinite(config.MaxRange));

            RegisterImage again;
            again.fill(-1);
            family.encode(config, again);
            ASSERT_TRUE(allRegisterValues(again)) << family.name << " round " << round;
            ASSERT_EQ(again[128], -1);
        }
    }
}

// Records holding arbitrary bit patterns (NaN, infinities, denormals, stray code bits,
// malformed UTF-8) still encode to register values only.
TEST(ImageLimits, RandomRecordsEncodeToRegisterValuesOnly) {
    std::mt19937 random(77);
    std::uniform_int_distribution<std::uint32_t> bits;
    auto anyFloat = [&] { return std::bit_cast<float>(bits(random)); };
    auto anyInt = [&] { return static_cast<std::int16_t>(bits(random)); };
    for (int round = 0; round < 3000; ++round) {
        SensorConfig config;
        config.MinRange = anyFloat();
        config.MaxRange = anyFloat();
        config.Interval = anyFloat();
        config.NumberOfPulses = anyInt();
        config.PrimingCycles = anyInt();
        config.NodeAddress = anyInt();
        config.RunMode = anyInt();
        config.PBEnabled = bits(random) & 1;
        config.TempComp = bits(random) & 1;
        config.FilterType = static_cast<std::int16_t>(bits(random) % 10);
        config.NumberOfSamples = anyInt();
        for (int n = 1; n <= 4; ++n) {
            SwitchFields sw = Switch(config, n);
            sw.Setpoint = anyFloat();
            sw.Hyst = anyFloat();
            sw.Polarity = anyInt();
            sw.Mode = anyInt();
            sw.EchoLoss = anyInt();
            sw.PowerUp = anyInt();
            sw.SetAllowed = anyInt();
        }
        config.AnalogNearEndpoint = anyFloat();
        config.AnalogFarEndpoint = anyFloat();
        config.AnalogNearOutput = anyFloat();
        config.AnalogFarOutput = anyFloat();
        config.AnalogSlope = anyInt();
        config.AnalogMode = round % 2 ? 128 : anyInt();
        config.AnalogPowerUp = anyInt();
        config.AnalogEchoLoss = anyInt();
        config.AnalogSetAllowed = anyInt();
        for (std::uint32_t i = bits(random) % 50; i > 0; --i)
            config.Description += static_cast<char>(bits(random));

        for (const Family& family : kFamilies) {
            SensorConfig copy = config;
            RegisterImage image{};
            family.encode(copy, image);
            ASSERT_TRUE(allRegisterValues(image)) << family.name << " round " << round;
            ASSERT_LE(image[33], 30);
            ASSERT_TRUE(copy.CountDistance == 0.003384f || copy.CountDistance == 0.006768f);
        }
    }
}
