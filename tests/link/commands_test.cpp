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

TEST_F(Commands, GetFromEachFamily_ReadsItsRegistersThenOneEndAndShowsThem) {
    for (SensorFamily family : {SensorFamily::A, SensorFamily::B}) {
        sensor.sent.clear();
        host.log.clear();
        sensor.family = family;
        host.family = family == SensorFamily::A ? SensorFamily::B : SensorFamily::A;
        bench.commands.GetConfigurationFromSensor();

        std::vector<std::string> expected;
        for (int reg : ReadRegisters(family))
            expected.push_back(ReadFrame(static_cast<std::uint8_t>(reg)));
        expected.push_back("E");
        EXPECT_EQ(SentAfterDetection(), expected);
        const std::string name(FamilyName(family));
        EXPECT_THAT(host.log,
                    ElementsAre("SetFamily none", "SetFamily " + name, "ShowRecord " + name,
                                "Status Configuration read from the " + name + " sensor."));
        for (int reg : ReadRegisters(family))
            EXPECT_EQ(host.shownImage[reg], sensor.registers[reg]);
        EXPECT_FALSE(bench.commands.Busy());
    }
}

TEST_F(Commands, GetWithNoSensor_WarnsNoSensorFoundAndASaveThenDoesNothing) {
    sensor.present = false;
    bench.commands.GetConfigurationFromSensor();
    EXPECT_THAT(host.log, ElementsAre("SetFamily none", "Warn No Sensor Found"));
    EXPECT_TRUE(SentAfterDetection().empty());

    // Until a family is chosen, a save has nothing to write.
    sensor.sent.clear();
    host.log.clear();
    bench.commands.SaveConfigurationToSensor();
    EXPECT_TRUE(sensor.sent.empty());
    EXPECT_TRUE(host.log.empty());
}

TEST_F(Commands, GetStoppedByALateReply_KeepsTheConfigurationSendsNoEndAndSaysWhichRegister) {
    sensor.silentFromRegister = 57;
    bench.commands.GetConfigurationFromSensor();

    const auto frames = SentAfterDetection();
    EXPECT_EQ(frames.back(), ReadFrame(57));
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "E"), 0);
    EXPECT_FALSE(bench.protocol.TransferOk());
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
    EXPECT_EQ(bench.protocol.GroupSize(), 1);
    EXPECT_EQ(bench.protocol.LastResult().outcome, ExchangeOutcome::ReplyLate);
    // Timer1 ends it one period after the unanswered frame; the progress bar stays there.
    EXPECT_EQ(bench.listener.endTimes.back(), sensor.sent.back().time + 100);
    EXPECT_EQ(bench.listener.progress.back(), 57);
    EXPECT_EQ(bench.listener.progressHidden, 0);
    // No ShowRecord: the window keeps what it showed.
    EXPECT_THAT(host.log,
                ElementsAre("SetFamily none", "SetFamily Kelvo-B", ::testing::StartsWith("Warn ")));
    EXPECT_THAT(host.warnings[0], HasSubstr("register 57"));
    EXPECT_THAT(host.warnings[0], HasSubstr("still shows the earlier configuration"));
}

TEST_F(Commands, SaveToMatchingSensor_WritesTheWindowsImageThenEnd) {
    for (std::size_t k = 0; k < host.windowImage.size(); ++k)
        host.windowImage[k] = static_cast<std::int16_t>(255 - k);
    bench.commands.SaveConfigurationToSensor();

    // The frames themselves are checked by the exchange tests; here, what they carried.
    const auto frames = SentAfterDetection();
    ASSERT_EQ(frames.size(), 88u);
    EXPECT_EQ(frames.back(), "E");
    for (int reg = 10; reg <= 96; ++reg)
        EXPECT_EQ(sensor.registers[reg], 255 - reg);
    EXPECT_THAT(host.log, ElementsAre("SetFamily none", "SetFamily Kelvo-B", "ReadWindow Kelvo-B",
                                      "Status Configuration saved to the Kelvo-B sensor."));
}

TEST_F(Commands, SaveToTheOtherFamily_SendsEndSwitchesLayoutWarnsAndWritesNothing) {
    for (SensorFamily family : {SensorFamily::A, SensorFamily::B}) {
        sensor.sent.clear();
        host.log.clear();
        sensor.family = family;
        host.family = family == SensorFamily::A ? SensorFamily::B : SensorFamily::A;
        bench.commands.SaveConfigurationToSensor();

        EXPECT_THAT(SentAfterDetection(), ElementsAre("E"));
        EXPECT_THAT(host.log,
                    ElementsAre("SetFamily none", "SetFamily " + std::string(FamilyName(family)),
                                "Warn Wrong Sensor Type, Check settings and try again"));
        EXPECT_EQ(host.family, family);
    }
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
    EXPECT_THAT(host.warnings[0], HasSubstr("save the configuration to the sensor again"));
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
    bench.clock.After(50, [this] {
        EXPECT_TRUE(bench.commands.Busy());
        bench.commands.GetConfigurationFromSensor();
        bench.commands.SaveConfigurationToSensor();
    });
    bench.commands.GetConfigurationFromSensor();

    EXPECT_EQ(SentAfterDetection().size(), 91u);
    EXPECT_EQ(sensor.SentOfKind('W').size(), 1u);
    EXPECT_EQ(host.log.size(), 4u); // one command's worth, and no warning
}

TEST_F(Commands, PortLostDuringAWrite_EndsItAsALateReplyDoesWithoutEndOrHostWarning) {
    // The port's owner reports a lost port and tells the user; the command only stops.
    bench.clock.After(150, [this] { bench.protocol.PortClosed(); });
    bench.commands.SaveConfigurationToSensor();
    const auto frames = SentAfterDetection();
    EXPECT_FALSE(frames.empty());
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "E"), 0);
    EXPECT_TRUE(host.warnings.empty());
    const ExchangeResult& result = bench.protocol.LastResult();
    EXPECT_EQ(result.outcome, ExchangeOutcome::PortLost);
    EXPECT_EQ(result.exchange, Exchange::Write);
    EXPECT_GT(result.unansweredRegister, 10);
    EXPECT_FALSE(bench.protocol.TransferOk());
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
    EXPECT_FALSE(bench.commands.Busy());
    // Nothing is left to tick or send.
    const auto sent = sensor.sent.size();
    const auto ticks = bench.timer.ticks.size();
    bench.clock.RunUntil(bench.clock.Now() + 1000);
    EXPECT_EQ(sensor.sent.size(), sent);
    EXPECT_EQ(bench.timer.ticks.size(), ticks);
}

} // namespace
} // namespace telmora::testing
