// A configuration that passes through the window without edits (decode, show, read back,
// encode) leaves as it came, and a second pass changes nothing.
#include "codec_test_support.h"
#include "config/image_common.h"
#include "config/window_texts.h"

#include <gmock/gmock.h>

#include <random>

using namespace telmora;
using namespace telmora::testing;
using ::testing::ElementsAreArray;

namespace {

struct Family {
    SensorFamily family;
    Encoder encode;
    Decoder decode;
};

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
    const Family families[] = {{SensorFamily::A, EncodeImageA, DecodeImageA},
                               {SensorFamily::B, EncodeImageB, DecodeImageB}};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (const Family& f : families) {
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
