// The window's text round trip that kelvo replays: values reach a file or a sensor from the
// texts the window shows, so distances keep two decimals, outputs one decimal within the
// output scale, and options only what their captions can say.
#include "window_session.h"

#include "config/image_b.h"

#include <gtest/gtest.h>

using namespace telmora;
using namespace telmora::kelvo;

namespace {

int word(const RegisterImage& image, int k) {
    return image[k + 1] * 256 + image[k];
}

void putWord(RegisterImage& image, int k, int count) {
    image[k] = static_cast<std::int16_t>(count % 256);
    image[k + 1] = static_cast<std::int16_t>(count / 256);
}

RegisterImage encodedB(SensorConfig record) {
    RegisterImage image{};
    EncodeImageB(record, image);
    return image;
}

SensorConfig defaultsB() {
    SensorConfig record = StartUpSession().Record;
    LoadFactoryDefaultsB(record);
    return record;
}

SensorConfig decodedB(const RegisterImage& image) {
    SensorConfig record = StartUpSession().Record;
    DecodeImageB(image, record);
    return record;
}

} // namespace

TEST(FileAfterSensorRead, ValuesPassThroughTheTextsTheWindowShows) {
    const struct {
        const char* why;
        std::vector<std::pair<int, int>> sensorWords; // changed from the factory image
        std::vector<std::pair<int, int>> fileWords;
        std::vector<std::pair<int, int>> fileBytes;
    } cases[] = {
        // The factory sensor is in long range (87 = 233); MaxRange shows as 221.77, which
        // needs fewer than 65536 counts of 0.003384 inch: normal range, 128 + 64 + 8 + 1.
        // Sw1Setpoint: 1773 long-range counts = 11.999664 inch, "12.00", 3546 counts.
        // Sw1Hyst: 37 long-range counts = 0.250416 inch, "0.25", 74 counts.
        {"factory defaults", {}, {{66, 4095}, {74, 3546}, {91, 74}}, {{87, 201}}},
        // Normal range: 3648 counts = 12.344832 inch, "12.34", nearest(3646.6);
        // 2957 = 10.006488, "10.01", nearest(2958.0).
        {"two decimals", {{87, 128 + 64}, {74, 3648}, {80, 2957}}, {{74, 3647}, {80, 2958}}, {}},
        // 12-bit lower output 820 is 4.004884 mA, shown 4.0: the standard 4 to 20 mA range
        // (range code 0 in bits 5 and 6 of 84, lower count 819) rather than code 96.
        {"one decimal", {{70, 820}, {68, 3276}}, {{70, 819}, {68, 3276}}, {{85, 51}, {86, 204}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        RegisterImage sensor = encodedB(defaultsB());
        for (const auto& [k, count] : c.sensorWords) {
            if (k == 87) { // the range flags: one byte
                sensor[k] = static_cast<std::int16_t>(count);
            } else {
                putWord(sensor, k, count);
            }
        }
        const RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, sensor);
        for (const auto& [k, count] : c.fileWords) {
            EXPECT_EQ(word(file, k), count) << "word " << k;
        }
        for (const auto& [k, value] : c.fileBytes) {
            EXPECT_EQ(file[k], value) << "element " << k;
        }
        EXPECT_EQ(file[84] & 96, 0);
    }
}

TEST(SensorImageFromFile, EachFamilyEncodesTheWindowsTexts_DescriptionPassesUnchanged) {
    SensorConfig record = defaultsB();
    record.MaxRange = 200.0f;
    record.Sw1Setpoint = 12.35f;
    record.Description = "Größe 3 – Tank links";
    const RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, encodedB(record));
    ASSERT_EQ(word(file, 74), 3650); // nearest(12.35 / 0.003384 = 3649.53)

    const RegisterImage toA = SensorImageFromFile(file, SensorFamily::A);
    const RegisterImage toB = SensorImageFromFile(file, SensorFamily::B);

    EXPECT_EQ(word(toA, 74), 3649); // family A rounds down
    EXPECT_EQ(word(toB, 74), 3650);
    EXPECT_EQ(toA[23], 0); // no switch 3 in a family A image
    EXPECT_EQ(toA[87] & 128, 128);
    EXPECT_EQ(decodedB(toB).Description, "Größe 3 – Tank links");
}

TEST(WriteThenRead, RangeWhoseTextRoundsDownLosesAStepEachTrip_TwoAtMost) {
    // Ranges are stored rounded down to steps of 0.054144 inch and shown with two
    // decimals: 100 is 5.4144, "5.41", stored as 99 (5.360256, "5.36"), then 98 for good.
    RegisterImage sensor = encodedB(defaultsB());
    putWord(sensor, 64, 100);

    const RegisterImage first = FileImageAfterSensorRead(SensorFamily::B, sensor);
    const RegisterImage second =
        FileImageAfterSensorRead(SensorFamily::B, SensorImageFromFile(first, SensorFamily::B));
    const RegisterImage third =
        FileImageAfterSensorRead(SensorFamily::B, SensorImageFromFile(second, SensorFamily::B));

    EXPECT_EQ(word(first, 64), 99);
    EXPECT_EQ(word(second, 64), 98);
    EXPECT_EQ(word(third, 64), 98);
}
