// "Get Configuration From Sensor" and "Save Configuration To Sensor": frames in register
// order, each released by the previous reply, and every way the exchange can stop.

#include "link/link_messages.h"
#include "link_fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace telmora::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

std::vector<std::string> SentAfterDetection(const FakeSensor& sensor) {
    std::vector<std::string> frames;
    for (const auto& frame : sensor.sent)
        if (frame.bytes.front() != 'W' && frame.bytes != "T00")
            frames.push_back(frame.bytes);
    return frames;
}

SensorFamily Other(SensorFamily family) {
    return family == SensorFamily::A ? SensorFamily::B : SensorFamily::A;
}

class Commands : public ::testing::Test {
  protected:
    LinkBench bench;
    FakeSensor& sensor = bench.sensor;
    StandInHost& host = bench.host;
};

TEST(CommandsOnEachFamily, Get_ReadsItsRegistersOneReplyApartThenEndAndShowsThem) {
    for (SensorFamily family : {SensorFamily::A, SensorFamily::B}) {
        LinkBench b;
        b.sensor.family = family;
        b.sensor.replyDelay = 7;
        b.host.family = Other(family);
        b.commands.GetConfigurationFromSensor();

        const auto& registers = ReadRegisters(family);
        std::vector<std::string> expected;
        for (int reg : registers)
            expected.push_back(ReadFrame(static_cast<std::uint8_t>(reg)));
        expected.push_back("E");
        EXPECT_EQ(SentAfterDetection(b.sensor), expected);
        std::vector<std::int64_t> reads;
        for (const auto& frame : b.sensor.sent)
            if (frame.bytes.front() == 'G')
                reads.push_back(frame.time);
        for (std::size_t k = 1; k < reads.size(); ++k)
            EXPECT_EQ(reads[k] - reads[k - 1], 7);
        // Each reply's fifth byte is stored; registers not read stay as they were.
        for (int k = 0; k < 129; ++k) {
            const bool read = std::find(registers.begin(), registers.end(), k) != registers.end();
            EXPECT_EQ(b.protocol.Image()[k], read ? b.sensor.registers[k] : 0) << k;
        }
        const std::string name(FamilyName(family));
        EXPECT_THAT(b.host.log,
                    ElementsAre("SetFamily none", "SetFamily " + name, "ShowRecord " + name,
                                "Status Configuration read from the " + name + " sensor."));
        EXPECT_EQ(b.host.shownImage, b.protocol.Image());
        // The progress bar moves from the second frame on.
        EXPECT_THAT(b.listener.progress, ElementsAreArray(registers.begin() + 1, registers.end()));
        EXPECT_EQ(b.listener.progressHidden, 1);
        EXPECT_TRUE(b.protocol.TransferOk());
        EXPECT_EQ(b.protocol.ReceiveState(), 1);
        EXPECT_EQ(b.protocol.GroupSize(), 1);
        EXPECT_FALSE(b.commands.Busy());
    }
}

// A sensor of the other family gets only the end command; the window switches its layout.
TEST(CommandsOnEachFamily, Save_WritesTheWindowsImageForcedIntoBytesToAMatchingSensorOnly) {
    for (SensorFamily family : {SensorFamily::A, SensorFamily::B}) {
        for (bool matching : {true, false}) {
            LinkBench b;
            b.sensor.family = family;
            b.host.family = matching ? family : Other(family);
            for (std::size_t k = 0; k < b.host.windowImage.size(); ++k)
                b.host.windowImage[k] = static_cast<std::int16_t>((k * 7) % 256);
            b.host.windowImage[10] = -5;
            b.host.windowImage[11] = 300;
            b.commands.SaveConfigurationToSensor();

            const auto& registers = WriteRegisters(family);
            std::vector<std::string> expected;
            for (int reg : registers)
                if (matching)
                    expected.push_back(WriteFrame(static_cast<std::uint8_t>(reg),
                                                  static_cast<std::uint8_t>(std::clamp<int>(
                                                      b.host.windowImage[reg], 0, 255))));
            expected.push_back("E");
            EXPECT_EQ(SentAfterDetection(b.sensor), expected);
            const std::string name(FamilyName(family));
            if (matching) {
                EXPECT_THAT(b.host.log,
                            ElementsAre("SetFamily none", "SetFamily " + name, "ReadWindow " + name,
                                        "Status Configuration saved to the " + name + " sensor."));
                EXPECT_THAT(b.listener.progress,
                            ElementsAreArray(registers.begin() + 1, registers.end()));
            } else {
                EXPECT_THAT(b.host.log,
                            ElementsAre("SetFamily none", "SetFamily " + name,
                                        "Warn Wrong Sensor Type, Check settings and try again"));
            }
            EXPECT_EQ(b.host.family, family);
        }
    }
}

TEST_F(Commands, GetWithNoSensor_WarnsNoSensorFoundAndNothingIsReadOrWrittenUntilAFamilyIsKnown) {
    sensor.present = false;
    bench.commands.GetConfigurationFromSensor();
    EXPECT_THAT(host.log, ElementsAre("SetFamily none", "Warn No Sensor Found"));
    EXPECT_TRUE(SentAfterDetection(sensor).empty());

    sensor.sent.clear();
    host.log.clear();
    bench.commands.SaveConfigurationToSensor();
    EXPECT_EQ(bench.commands.ReadConfiguration(SensorFamily::None).outcome,
              ExchangeOutcome::NotStarted);
    EXPECT_TRUE(sensor.sent.empty());
    EXPECT_TRUE(host.log.empty());
}

// The exchange stops one Timer1 period after the unanswered frame, sends no end, keeps
// the progress bar there and tells the user which register and what it means.
TEST_F(Commands, StoppedByAMissingReply_KeepsTheWindowSendsNoEndAndSaysWhichRegister) {
    const struct {
        bool save;
        int silentFrom;
        std::vector<std::string> logBeforeWarning;
        std::vector<const char*> warning;
    } cases[] = {
        {false,
         57,
         {"SetFamily none", "SetFamily Kelvo-B"},
         {"register 57", "still shows the earlier configuration"}},
        {true,
         50,
         {"SetFamily none", "SetFamily Kelvo-B", "ReadWindow Kelvo-B"},
         {"register 50", "partly written", "save the configuration to the sensor again"}},
    };
    for (const auto& c : cases) {
        LinkBench b;
        b.sensor.silentFromRegister = c.silentFrom;
        const auto reg = static_cast<std::uint8_t>(c.silentFrom);
        if (c.save)
            b.commands.SaveConfigurationToSensor();
        else
            b.commands.GetConfigurationFromSensor();

        const auto frames = SentAfterDetection(b.sensor);
        EXPECT_EQ(frames.back(), c.save ? WriteFrame(reg, 0) : ReadFrame(reg));
        EXPECT_EQ(std::count(frames.begin(), frames.end(), "E"), 0);
        EXPECT_FALSE(b.protocol.TransferOk());
        EXPECT_EQ(b.protocol.ReceiveState(), 1);
        EXPECT_EQ(b.protocol.GroupSize(), 1);
        EXPECT_EQ(b.protocol.LastResult().outcome, ExchangeOutcome::ReplyLate);
        EXPECT_EQ(b.listener.endTimes.back(), b.sensor.sent.back().time + 100);
        EXPECT_EQ(b.listener.progress.back(), c.silentFrom);
        EXPECT_EQ(b.listener.progressHidden, 0);
        ASSERT_EQ(b.host.log.size(), c.logBeforeWarning.size() + 1); // no ShowRecord
        EXPECT_TRUE(
            std::equal(c.logBeforeWarning.begin(), c.logBeforeWarning.end(), b.host.log.begin()));
        ASSERT_EQ(b.host.warnings.size(), 1u);
        EXPECT_EQ(b.host.log.back(), "Warn " + b.host.warnings[0]);
        for (const char* part : c.warning)
            EXPECT_THAT(b.host.warnings[0], HasSubstr(part));
    }
}

TEST_F(Commands, LateReply_AReplyAfter100MillisecondsIsTooLateAndStartsNothing) {
    sensor.lateFromRegister = 0; // every reply takes 150 ms
    const ExchangeResult result = bench.commands.WriteConfiguration(SensorFamily::B, {});
    EXPECT_EQ(result.outcome, ExchangeOutcome::ReplyLate);
    EXPECT_EQ(result.unansweredRegister, 10);
    EXPECT_EQ(sensor.sent.size(), 1u);
    // The reply that comes afterwards is read as measurement stream.
    bench.clock.RunUntil(bench.clock.Now() + 200);
    EXPECT_EQ(sensor.sent.size(), 1u);
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
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

    EXPECT_EQ(SentAfterDetection(sensor).size(), 91u);
    EXPECT_EQ(std::count_if(sensor.sent.begin(), sensor.sent.end(),
                            [](const SentFrame& f) { return f.bytes.front() == 'W'; }),
              1);
    EXPECT_EQ(host.log.size(), 4u); // one command's worth, and no warning
}

TEST_F(Commands, PortLostDuringAWrite_EndsItAsALateReplyDoesWithoutEndOrHostWarning) {
    // The port's owner reports a lost port and tells the user; the command only stops.
    bench.clock.After(150, [this] { bench.protocol.PortClosed(); });
    bench.commands.SaveConfigurationToSensor();
    const auto frames = SentAfterDetection(sensor);
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
