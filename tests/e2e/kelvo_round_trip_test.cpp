// The window's round trip that kelvo replays: values the window shows and nobody edits
// reach a file or a sensor as they came, but for the encoder's own range choice and the
// options no caption can say.
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

TEST(FileAfterSensorRead, UneditedValuesPassThrough_ButTheRangeChoice) {
    const struct {
        const char* why;
        std::vector<std::pair<int, int>> sensorWords; // changed from the factory image
        std::vector<std::pair<int, int>> fileWords;
        std::vector<std::pair<int, int>> fileBytes;
    } cases[] = {
        // The factory sensor is in long range (87 = 233); its MaxRange count 4095 decodes as
        // 221.72, which fits normal range: 128 + 64 + 8 + 1, and the long-range counts double.
        {"factory defaults", {}, {{66, 4095}, {74, 3546}, {91, 74}}, {{87, 201}}},
        // 12.344832 inch and 10.006488 inch, shown "12.34" and "10.01", keep their counts.
        {"two decimals", {{87, 128 + 64}, {74, 3648}, {80, 2957}}, {{74, 3648}, {80, 2957}}, {}},
        // 4.004884 mA, shown "4.0", keeps its count and so the range code 96.
        {"one decimal", {{70, 820}, {68, 3270}}, {{70, 820}, {68, 3270}}, {{85, 51}}},
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

    EXPECT_EQ(word(toA, 74), 3650); // rounded down, the decoded value keeps its count
    EXPECT_EQ(word(toB, 74), 3650);
    EXPECT_EQ(toA[23], 0); // no switch 3 in a family A image
    EXPECT_EQ(toA[87] & 128, 128);
    EXPECT_EQ(decodedB(toB).Description, "Größe 3 – Tank links");
}

TEST(WriteThenRead, RangeStepsNeverDrift) {
    // Range count 100 is 5.4144 inch, shown "5.41": it stays 100 on every trip.
    RegisterImage sensor = encodedB(defaultsB());
    putWord(sensor, 64, 100);
    RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, sensor);
    for (int trip = 0; trip < 3; ++trip) {
        EXPECT_EQ(word(file, 64), 100) << "trip " << trip;
        file =
            FileImageAfterSensorRead(SensorFamily::B, SensorImageFromFile(file, SensorFamily::B));
    }
}
