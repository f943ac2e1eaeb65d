// The window's text round trip that kelvo replays: values reach a file or a sensor from the
// texts the window shows, so distances keep two decimals, outputs one decimal within the
// output scale, and options only what their captions can say.
#include "window_round_trip.h"

#include "config/image_a.h"
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

TEST(StartUp, WindowShowsTheFamilyBDefaultsInItsFormats) {
    const WindowSession session = StartUpSession();
    EXPECT_EQ(session.Record.CountDistance, kCountDistanceNormal);
    EXPECT_EQ(session.Record.AnalogOutputMax, 20.0f);
    EXPECT_EQ(session.Window.MinRange, "8.00");
    EXPECT_EQ(session.Window.MaxRange, "221.77");
    EXPECT_EQ(session.Window.Switch(3).Setpoint, "36.00");
    EXPECT_EQ(session.Window.Switch(4).Hyst, "0.25");
    EXPECT_EQ(session.Window.Switch(1).Left, "On"); // switch 1 reversed
    EXPECT_EQ(session.Window.Switch(2).Left, "Off");
    EXPECT_EQ(session.Window.AnalogNearOutput, "4.0"); // general "4", then one decimal
    EXPECT_EQ(session.Window.AnalogFarOutput, "20.0");
    EXPECT_EQ(session.Window.AnalogMode, "Current");
    EXPECT_EQ(session.Window.AnalogPowerUp, "Low");
}

TEST(FileAfterSensorRead, FamilyBDefaults_MaxRangeShownAs221_77SelectsNormalRange) {
    // The sensor holds the factory defaults in long range (element 87 = 233). The window
    // shows MaxRange as 221.77, which needs fewer than 65536 counts of 0.003384 inch, so
    // the saved file is in normal range: 128 + 64 (run mode 1) + 8 + 1 = 201.
    const RegisterImage sensor = encodedB(defaultsB());
    ASSERT_EQ(sensor[87], 233);

    const RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, sensor);

    EXPECT_EQ(file[87], 201);
    EXPECT_EQ(word(file, 66), 4095); // 221.72 / 0.054144, rounded down
    // Sw1Setpoint: 1773 long-range counts = 11.999664 inch, shown "12.00", 3546 counts.
    EXPECT_EQ(word(file, 74), 3546);
    // Sw1Hyst: 37 long-range counts = 0.250416 inch, shown "0.25", 74 counts.
    EXPECT_EQ(word(file, 91), 74);
}

TEST(FileAfterSensorRead, DistancesPassThroughTwoDecimalTexts) {
    RegisterImage sensor = encodedB(defaultsB());
    sensor[87] = 128 + 64;     // normal range
    putWord(sensor, 74, 3648); // 12.344832 inch, shown "12.34"
    putWord(sensor, 80, 2957); // 10.006488 inch, shown "10.01"

    const RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, sensor);

    EXPECT_EQ(word(file, 74), 3647); // nearest(12.34 / 0.003384) = nearest(3646.6)
    EXPECT_EQ(word(file, 80), 2958); // nearest(10.01 / 0.003384) = nearest(2958.0)
}

TEST(FileAfterSensorRead, OutputsRoundToOneDecimal_SoTheStandardRangeIsRecognised) {
    // 12-bit lower output 820 is 4.004884 mA: the window shows 4.0, so the file holds the
    // standard 4 to 20 mA range (range code 0, lower count 819) rather than code 96.
    RegisterImage sensor = encodedB(defaultsB());
    putWord(sensor, 70, 820);
    putWord(sensor, 68, 3276);

    const RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, sensor);

    EXPECT_EQ(word(file, 70), 819);
    EXPECT_EQ(word(file, 68), 3276);
    EXPECT_EQ(file[84] & 96, 0);
    EXPECT_EQ(file[85], 51);
    EXPECT_EQ(file[86], 204);
}

TEST(FileAfterSensorRead, OutputBeyondTheScaleIsClampedToItsTop) {
    // Voltage, lower count 2048 (5.0012 V) and span 4095: the far output would be 15 V; the
    // window clamps it to 10.0 and shows the near output as 5.0.
    SensorConfig record = defaultsB();
    record.AnalogMode = 128;
    RegisterImage sensor = encodedB(record);
    putWord(sensor, 70, 2048);
    putWord(sensor, 68, 4095);

    const RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, sensor);
    const SensorConfig saved = decodedB(file);

    EXPECT_EQ(word(file, 70), 2048); // nearest(5.0 x 4095 / 10) = nearest(2047.5), even
    EXPECT_EQ(word(file, 68), 2047); // floor((10 - 5) x 4095 / 10)
    EXPECT_NEAR(saved.AnalogFarOutput, 10.0f, 0.003f);
    EXPECT_EQ(saved.AnalogSlope, 1);
}

TEST(FileAfterSensorRead, FallingOutputKeepsItsSlope) {
    SensorConfig record = defaultsB();
    record.AnalogNearOutput = 4.0f; // after read-back: the lower value first
    record.AnalogFarOutput = 20.0f;
    record.AnalogSlope = 0; // 20 mA at the near endpoint
    const RegisterImage sensor = encodedB(record);

    const SensorConfig saved = decodedB(FileImageAfterSensorRead(SensorFamily::B, sensor));

    EXPECT_EQ(saved.AnalogSlope, 0);
    EXPECT_FLOAT_EQ(saved.AnalogNearOutput, 20.0f);
    EXPECT_FLOAT_EQ(saved.AnalogFarOutput, 4.0f);
}

TEST(FileAfterSensorRead, OptionsKeepOnlyWhatTheirCaptionsSay) {
    RegisterImage sensor = encodedB(defaultsB());
    // Switch 1: power-up on, both echo-loss bits, reversed, set allowed, mode bit 6 only.
    sensor[76] = 1 + 12 + 2 + 16 + 64;
    // Analog: both echo-loss bits, power-up high, slope rising, voltage.
    sensor[84] = 12 + 2 + 1 + 128;

    const RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, sensor);

    // "On", "NC", reversed, checked, "Wind": 1 + 0 + 2 + 16 + 32.
    EXPECT_EQ(file[76], 51);
    // Analog echo loss 12 leaves the label as start-up showed it ("NC").
    const SensorConfig saved = decodedB(file);
    EXPECT_EQ(saved.AnalogEchoLoss, 0);
    EXPECT_EQ(saved.AnalogPowerUp, 2);
    EXPECT_EQ(saved.AnalogMode, 128);
}

TEST(ShowRecord, AnalogEchoLossTheLabelCannotShowKeepsTheCaptionItHad) {
    WindowSession session = StartUpSession();
    session.Window.AnalogEchoLoss = "High";
    session.Record.AnalogEchoLoss = 12;
    ShowRecordB(session.Record, session.Window);
    EXPECT_EQ(session.Window.AnalogEchoLoss, "High");
    ReadWindowB(session.Window, session.Record);
    EXPECT_EQ(session.Record.AnalogEchoLoss, 8);
}

TEST(ShowRecord, FamilyALeavesTheFamilyBControlsAlone) {
    WindowSession session = StartUpSession();
    SensorConfig record = session.Record;
    record.Sw3Setpoint = 99.0f;
    record.Sw1Hyst = 5.0f;
    record.Sw1Mode = 32;
    ShowRecordA(record, session.Window);
    EXPECT_EQ(session.Window.Switch(3).Setpoint, "36.00");
    EXPECT_EQ(session.Window.Switch(1).Hyst, "0.25");
    EXPECT_EQ(session.Window.Switch(1).Mode, "Hyst");
}

TEST(FileAfterSensorRead, FamilyAFileCarriesTheStartUpValuesOfFamilyBControls) {
    SensorConfig record = StartUpSession().Record;
    LoadFactoryDefaultsA(record);
    record.Sw1Setpoint = 10.0f;
    RegisterImage sensor{};
    EncodeImageA(record, sensor);

    const SensorConfig saved = decodedB(FileImageAfterSensorRead(SensorFamily::A, sensor));

    EXPECT_EQ(saved.CountDistance, kCountDistanceNormal); // MaxRange 221.72
    EXPECT_NEAR(saved.Sw1Setpoint, 10.0f, 0.0034f);
    EXPECT_NEAR(saved.Sw3Setpoint, 36.0f, 0.0034f);
    EXPECT_NEAR(saved.Sw4Setpoint, 48.0f, 0.0034f);
    EXPECT_NEAR(saved.Sw2Hyst, 0.25f, 0.0034f);
    EXPECT_EQ(saved.Sw3Polarity, 2);
    EXPECT_EQ(saved.Sw1Mode, 0);
    EXPECT_TRUE(saved.TempComp);
    EXPECT_EQ(saved.FilterType, 1); // family A defaults: no filter
    EXPECT_EQ(saved.Description, "<describe configuration here>");
}

TEST(SensorImageFromFile, FamilyATakesTheWindowsTextsWithItsOwnEncoder) {
    SensorConfig record = defaultsB();
    record.MaxRange = 200.0f;
    record.Sw1Setpoint = 12.35f;
    const RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, encodedB(record));
    ASSERT_EQ(word(file, 74), 3650); // nearest(12.35 / 0.003384 = 3649.53)

    const RegisterImage toA = SensorImageFromFile(file, SensorFamily::A);
    const RegisterImage toB = SensorImageFromFile(file, SensorFamily::B);

    EXPECT_EQ(word(toA, 74), 3649); // family A rounds down
    EXPECT_EQ(word(toB, 74), 3650);
    EXPECT_EQ(toA[23], 0); // no switch 3 in a family A image
    EXPECT_EQ(toA[87] & 128, 128);
}

TEST(SensorImageFromFile, DescriptionPassesUnchanged) {
    SensorConfig record = defaultsB();
    record.Description = "Größe 3 – Tank links";
    const RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, encodedB(record));
    const SensorConfig saved = decodedB(SensorImageFromFile(file, SensorFamily::B));
    EXPECT_EQ(saved.Description, "Größe 3 – Tank links");
}

TEST(WriteThenRead, AFileSavedFromTheWindowComesBackByteForByte) {
    // What `kelvo write` then `kelvo read` relies on: a saved file is a fixed point.
    std::vector<SensorConfig> records;
    records.push_back(defaultsB());
    SensorConfig odd = defaultsB();
    odd.MinRange = 7.3f;
    odd.MaxRange = 150.5f;
    odd.Sw1Setpoint = 12.3456f;
    odd.Sw2Hyst = 1.234f;
    odd.Sw3Mode = 32;
    odd.Sw4EchoLoss = 8;
    odd.AnalogMode = 128;
    odd.AnalogOutputMax = 10;
    odd.AnalogNearOutput = 1.234f;
    odd.AnalogFarOutput = 9.876f;
    odd.AnalogSlope = 0;
    odd.RunMode = 6;
    odd.FilterType = 7;
    odd.NodeAddress = 17;
    records.push_back(odd);

    for (const SensorConfig& record : records) {
        const RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, encodedB(record));
        const RegisterImage again =
            FileImageAfterSensorRead(SensorFamily::B, SensorImageFromFile(file, SensorFamily::B));
        for (int k = 0; k < 128; ++k) {
            EXPECT_EQ(again[k], file[k]) << "element " << k;
        }
    }
}

TEST(WriteThenRead, RangeWhoseTextRoundsDownLosesAStepEachTrip_TwoAtMost) {
    // Ranges are stored rounded down to steps of 0.054144 inch and shown with two
    // decimals. Count 100 is 5.4144 inch, shown "5.41", stored as 99 (5.360256, "5.36"),
    // then 98 (5.306112, "5.31", which stores 98 again). The window does the same.
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
