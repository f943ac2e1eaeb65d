// The menu commands "Get Configuration From Sensor" and "Save Configuration To Sensor".

#include "link/link_messages.h"
#include "link_fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace telmora::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class Commands : public ::testing::Test {
  protected:
    LinkBench bench;
    FakeSensor& sensor = bench.sensor;
    StandInHost& host = bench.host;

    std::vector<std::string> SentAfterDetection() const {
        std::vector<std::string> frames;
        for (const auto& frame : sensor.sent)
            if (frame.bytes.front() != 'W' && frame.bytes != "T00")
                frames.push_back(frame.bytes);
        return frames;
    }
};

TEST_F(Commands, GetFromFamilyBSensor_Sends90ReadFramesThenOneEnd) {
    bench.commands.GetConfigurationFromSensor();

    const auto frames = SentAfterDetection();
    ASSERT_EQ(frames.size(), 91u);
    for (int k = 0; k < 90; ++k)
        EXPECT_EQ(frames[k], ReadFrame(static_cast<std::uint8_t>(10 + k)));
    EXPECT_EQ(frames.back(), "E");
    EXPECT_THAT(host.log, ElementsAre("SetFamily none", "SetFamily Kelvo-B", "ShowRecord Kelvo-B",
                                      "Status Configuration read from the Kelvo-B sensor."));
    for (int reg = 10; reg <= 99; ++reg)
        EXPECT_EQ(host.shownImage[reg], sensor.registers[reg]);
    EXPECT_FALSE(bench.commands.Busy());
}

TEST_F(Commands, GetFromFamilyASensor_ReadsFamilyAOrderAndShowsFamilyA) {
    sensor.family = SensorFamily::A;
    host.family = SensorFamily::B;
    bench.commands.GetConfigurationFromSensor();

    const auto frames = SentAfterDetection();
    ASSERT_EQ(frames.size(), 62u);
    EXPECT_EQ(frames.front(), ReadFrame(11));
    EXPECT_EQ(frames[60], ReadFrame(99));
    EXPECT_EQ(frames.back(), "E");
    EXPECT_EQ(host.family, SensorFamily::A);
    EXPECT_EQ(host.log[2], "ShowRecord Kelvo-A");
}

TEST_F(Commands, GetWithNoSensor_WarnsNoSensorFoundAndReadsNothing) {
    sensor.present = false;
    bench.commands.GetConfigurationFromSensor();
    EXPECT_THAT(host.log, ElementsAre("SetFamily none", "Warn No Sensor Found"));
    EXPECT_TRUE(SentAfterDetection().empty());
}

TEST_F(Commands, GetStoppedByALateReply_KeepsTheConfigurationSendsNoEndAndSaysWhichRegister) {
    sensor.silentFromRegister = 57;
    bench.commands.GetConfigurationFromSensor();

    const auto frames = SentAfterDetection();
    EXPECT_EQ(frames.back(), ReadFrame(57));
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "E"), 0);
    EXPECT_FALSE(bench.protocol.TransferOk());
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
    // No ShowRecord: the window keeps what it showed.
    EXPECT_THAT(host.log,
                ElementsAre("SetFamily none", "SetFamily Kelvo-B", ::testing::StartsWith("Warn ")));
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_THAT(host.warnings[0], HasSubstr("register 57"));
    EXPECT_THAT(host.warnings[0], HasSubstr("still shows the earlier configuration"));
}

TEST_F(Commands, SaveToMatchingSensor_WritesTheWindowsImageThenEnd) {
    host.family = SensorFamily::B;
    for (std::size_t k = 0; k < host.windowImage.size(); ++k)
        host.windowImage[k] = static_cast<std::int16_t>(255 - k);
    bench.commands.SaveConfigurationToSensor();

    const auto frames = SentAfterDetection();
    ASSERT_EQ(frames.size(), 88u);
    for (int k = 0; k < 87; ++k)
        EXPECT_EQ(frames[k], WriteFrame(static_cast<std::uint8_t>(10 + k),
                                        static_cast<std::uint8_t>(255 - (10 + k))));
    EXPECT_EQ(frames.back(), "E");
    EXPECT_THAT(host.log, ElementsAre("SetFamily none", "SetFamily Kelvo-B", "ReadWindow Kelvo-B",
                                      "Status Configuration saved to the Kelvo-B sensor."));
    EXPECT_EQ(sensor.registers[96], 255 - 96);
}

TEST_F(Commands, SaveForFamilyAToFamilyBSensor_SendsEndSwitchesLayoutWarnsAndWritesNothing) {
    host.family = SensorFamily::A;
    sensor.family = SensorFamily::B;
    bench.commands.SaveConfigurationToSensor();

    EXPECT_THAT(SentAfterDetection(), ElementsAre("E"));
    EXPECT_THAT(host.log, ElementsAre("SetFamily none", "SetFamily Kelvo-B",
                                      "Warn Wrong Sensor Type, Check settings and try again"));
    EXPECT_EQ(host.family, SensorFamily::B);
}

TEST_F(Commands, SaveForFamilyBToFamilyASensor_SendsEndAndWarns) {
    host.family = SensorFamily::B;
    sensor.family = SensorFamily::A;
    bench.commands.SaveConfigurationToSensor();
    EXPECT_THAT(SentAfterDetection(), ElementsAre("E"));
    EXPECT_EQ(host.family, SensorFamily::A);
    EXPECT_EQ(host.warnings, std::vector<std::string>{std::string(kWrongSensorTypeText)});
}

TEST_F(Commands, SaveAfterNoSensorFound_DoesNothingUntilAFamilyIsChosen) {
    sensor.present = false;
    bench.commands.GetConfigurationFromSensor();
    ASSERT_EQ(host.family, SensorFamily::None);
    sensor.sent.clear();
    host.log.clear();

    bench.commands.SaveConfigurationToSensor();
    EXPECT_TRUE(sensor.sent.empty());
    EXPECT_TRUE(host.log.empty());
}

TEST_F(Commands, SaveStoppedByALateReply_WarnsOfAPartlyWrittenSensorAndSendsNoEnd) {
    sensor.silentFromRegister = 50;
    bench.commands.SaveConfigurationToSensor();
    const auto frames = SentAfterDetection();
    EXPECT_EQ(frames.back(), WriteFrame(50, 0));
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "E"), 0);
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_THAT(host.warnings[0], HasSubstr("register 50"));
    EXPECT_THAT(host.warnings[0], HasSubstr("partly written"));
}

TEST_F(Commands, WithoutAnOpenPort_WarnsAndSendsNothing) {
    bench.protocol.PortClosed();
    bench.commands.GetConfigurationFromSensor();
    bench.commands.SaveConfigurationToSensor();
    EXPECT_TRUE(sensor.sent.empty());
    EXPECT_EQ(host.warnings, std::vector<std::string>(2, std::string(kNoPortOpenText)));
}

TEST_F(Commands, ACommandGivenWhileAnotherWaits_IsIgnored) {
    // The user reaches the menu again while the first command waits for the sensor.
    bench.clock.Schedule(50, [this] {
        EXPECT_TRUE(bench.commands.Busy());
        bench.commands.GetConfigurationFromSensor();
        bench.commands.SaveConfigurationToSensor();
    });
    bench.commands.GetConfigurationFromSensor();

    const auto frames = SentAfterDetection();
    ASSERT_EQ(frames.size(), 91u);
    EXPECT_EQ(sensor.SentOfKind('W').size(), 1u);
    EXPECT_EQ(host.log.size(), 4u); // one command's worth, and no warning
}

TEST_F(Commands, PortLostDuringAWrite_EndsWithoutEndOrHostWarning) {
    // The port's owner reports a lost port; the command only stops.
    bench.clock.Schedule(150, [this] { bench.protocol.PortClosed(); });
    bench.commands.SaveConfigurationToSensor();
    const auto frames = SentAfterDetection();
    EXPECT_FALSE(frames.empty());
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "E"), 0);
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_EQ(bench.protocol.LastResult().outcome, ExchangeOutcome::PortLost);
    EXPECT_FALSE(bench.commands.Busy());
}

TEST(ExchangeTexts, StoppedExchangeNamesTheRegisterAndTheConsequence) {
    const ExchangeResult read{Exchange::Read, ExchangeOutcome::ReplyLate, SensorFamily::A, 96};
    const ExchangeResult write{Exchange::Write, ExchangeOutcome::ReplyLate, SensorFamily::B, 12};
    EXPECT_THAT(StoppedExchangeText(read), HasSubstr("register 96"));
    EXPECT_THAT(StoppedExchangeText(write), HasSubstr("register 12"));
    EXPECT_THAT(StoppedExchangeText(write),
                HasSubstr("save the configuration to the sensor again"));
    EXPECT_EQ(
        StoppedExchangeText({Exchange::Read, ExchangeOutcome::Completed, SensorFamily::A, -1}), "");
}

} // namespace
} // namespace telmora::testing
