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

// Frames in register order, each released by the previous reply, then the end command.
// A save to a sensor of the other family sends only the end command; either way the window
// switches to the sensor's family.
TEST(CommandsOnEachFamily, GetAndSave_SendTheRegistersOneReplyApartThenEnd) {
    enum Kind { kGet, kSave, kSaveToOtherFamily };
    for (SensorFamily family : {SensorFamily::A, SensorFamily::B}) {
        for (Kind kind : {kGet, kSave, kSaveToOtherFamily}) {
            SCOPED_TRACE(std::string(FamilyName(family)) + " " + std::to_string(kind));
            LinkBench b;
            b.sensor.family = family;
            b.sensor.replyDelay = 7;
            b.host.family = kind == kSave ? family : Other(family);
            for (std::size_t k = 0; k < b.host.windowImage.size(); ++k)
                b.host.windowImage[k] = static_cast<std::int16_t>((k * 7) % 256);
            b.host.windowImage[10] = -5; // forced into a byte
            b.host.windowImage[11] = 300;
            if (kind == kGet)
                b.commands.GetConfigurationFromSensor();
            else
                b.commands.SaveConfigurationToSensor();

            const auto& registers = kind == kGet ? ReadRegisters(family) : WriteRegisters(family);
            std::vector<std::string> expected;
            for (int reg : registers) {
                const auto r = static_cast<std::uint8_t>(reg);
                const auto value =
                    static_cast<std::uint8_t>(std::clamp<int>(b.host.windowImage[reg], 0, 255));
                if (kind != kSaveToOtherFamily)
                    expected.push_back(kind == kGet ? ReadFrame(r) : WriteFrame(r, value));
            }
            expected.push_back("E");
            EXPECT_EQ(SentAfterDetection(b.sensor), expected);
            for (std::size_t k = 1; k + 1 < b.sensor.sent.size(); ++k)
                if (b.sensor.sent[k - 1].bytes.front() == b.sensor.sent[k].bytes.front()) {
                    EXPECT_EQ(b.sensor.sent[k].time - b.sensor.sent[k - 1].time, 7) << k;
                }
            const std::string name(FamilyName(family));
            std::vector<std::string> log{"SetFamily none", "SetFamily " + name};
            if (kind == kGet)
                log.insert(log.end(), {"ShowRecord " + name,
                                       "Status Configuration read from the " + name + " sensor."});
            if (kind == kSave)
                log.insert(log.end(), {"ReadWindow " + name,
                                       "Status Configuration saved to the " + name + " sensor."});
            if (kind == kSaveToOtherFamily)
                log.push_back("Warn Wrong Sensor Type, Check settings and try again");
            EXPECT_EQ(b.host.log, log);
            EXPECT_EQ(b.host.family, family);
            EXPECT_FALSE(b.commands.Busy());
            if (kind == kSaveToOtherFamily)
                continue;
            // The progress bar moves from the second frame on.
            EXPECT_THAT(b.listener.progress,
                        ElementsAreArray(registers.begin() + 1, registers.end()));
            EXPECT_EQ(b.listener.progressHidden, 1);
            if (kind == kSave)
                continue;
            // Each reply's fifth byte is stored; registers not read stay as they were.
            for (int k = 0; k < 129; ++k) {
                const bool read =
                    std::find(registers.begin(), registers.end(), k) != registers.end();
                EXPECT_EQ(b.protocol.Image()[k], read ? b.sensor.registers[k] : 0) << k;
            }
            EXPECT_EQ(b.host.shownImage, b.protocol.Image());
        }
    }
}

// Every reply is checked whole. Stray characters around a good reply are passed over; a
// damaged reply is asked for again at once (one cut short, at the next tick). The third
// damaged reply for a register, or a period without any, stops the exchange: no end
// command, the progress bar kept there, and the user told which register and what it
// means. Nothing damaged is stored: a completed exchange holds exactly the clean result.
TEST(CommandsOnEachFamily, DamagedOrMissingReplies_AreAskedForAgainOrStopTheExchange) {
    using Damage = std::string (*)(const std::string&);
    const Damage none = [](const std::string&) { return std::string(); };
    const Damage strayBefore = [](const std::string& r) { return "\x07" + r; };
    const Damage strayInside = [](const std::string& r) {
        return r.substr(0, 2) + "G" + r.substr(2);
    };
    const Damage badChecksum = [](const std::string& r) {
        return r.substr(0, 5) + static_cast<char>(r[5] ^ 1);
    };
    const Damage checksumG = [](const std::string& r) { return r.substr(0, 5) + "G"; };
    const Damage otherRegister = [](const std::string& r) {
        return CommandFrame(r[0], static_cast<std::uint8_t>(r[3] + 1),
                            static_cast<std::uint8_t>(r[4]));
    };
    const Damage otherValue = [](const std::string& r) {
        return CommandFrame(r[0], static_cast<std::uint8_t>(r[3]),
                            static_cast<std::uint8_t>(r[4] + 1));
    };
    const Damage previousAgain = [](const std::string& r) {
        return CommandFrame(r[0], static_cast<std::uint8_t>(r[3] - 1), 0) + r;
    };
    const Damage cutShort = [](const std::string& r) { return r.substr(0, 3) + r.substr(4); };
    const auto done = ExchangeOutcome::Completed;
    const auto damaged = ExchangeOutcome::ReplyDamaged;
    const auto late = ExchangeOutcome::ReplyLate;
    const struct {
        const char* name;
        bool save;
        Damage damage;
        int damagedReplies;           // to register 40's first frames
        int frames;                   // sent for register 40
        std::int64_t askedAgainAfter; // from the first frame for register 40 to the second
        ExchangeOutcome outcome;
        std::int64_t lateFrom = -1; // replies from this register on come after 150 ms
    } cases[] = {
        {"stray byte before", false, strayBefore, 3, 1, 0, done},
        {"the register before answered again", true, previousAgain, 3, 1, 0, done},
        {"stray byte inside", false, strayInside, 2, 3, 3, done},
        {"bad checksum", true, badChecksum, 1, 2, 3, done},
        {"checksum G, as if a reply began", false, checksumG, 1, 2, 3, done},
        {"another register", false, otherRegister, 1, 2, 3, done},
        {"P with another value", true, otherValue, 2, 3, 3, done},
        {"a byte lost", false, cutShort, 1, 2, 100, done},
        {"bad checksum three times", false, badChecksum, 3, 3, 3, damaged},
        {"P with another value three times", true, otherValue, 3, 3, 3, damaged},
        {"no reply to a read", false, none, 3, 1, 0, late},
        {"no reply to a write", true, none, 3, 1, 0, late},
        // The reply that comes too late is read as measurement stream and starts nothing.
        {"a reply after 150 ms", true, none, 0, 1, 0, late, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkBench b;
        // Register 39 holds 0, which the repeated reply to it echoes.
        for (std::size_t k = 0; k < b.host.windowImage.size(); ++k)
            b.host.windowImage[k] = static_cast<std::int16_t>(k == 39 ? 0 : 200 - k);
        b.sensor.damage = [&c](const std::string& reply, int reg, int nth) {
            return reg == 40 && nth < c.damagedReplies ? c.damage(reply) : reply;
        };
        b.sensor.lateFromRegister = c.lateFrom;
        const auto before = b.sensor.registers;
        if (c.save)
            b.commands.SaveConfigurationToSensor();
        else
            b.commands.GetConfigurationFromSensor();

        const std::string frame40 = c.save ? WriteFrame(40, 160) : ReadFrame(40);
        std::vector<std::int64_t> times;
        for (const auto& frame : b.sensor.sent)
            if (frame.bytes == frame40)
                times.push_back(frame.time);
        ASSERT_EQ(times.size(), std::size_t(c.frames));
        if (c.frames > 1) {
            EXPECT_EQ(times[1] - times[0], c.askedAgainAfter);
        }
        const auto frames = SentAfterDetection(b.sensor);
        const ExchangeResult result = b.protocol.LastResult();
        EXPECT_EQ(result.Outcome, c.outcome);
        // Nothing is left to tick or send.
        const auto sent = b.sensor.sent.size();
        const auto ticks = b.timer.ticks.size();
        b.clock.RunUntil(b.clock.Now() + 1000);
        EXPECT_EQ(b.sensor.sent.size(), sent);
        EXPECT_EQ(b.timer.ticks.size(), ticks);
        EXPECT_EQ(b.protocol.ReceiveState(), 1);
        EXPECT_EQ(b.protocol.GroupSize(), 1);
        if (c.outcome == done) {
            EXPECT_EQ(frames.back(), "E");
            EXPECT_TRUE(b.protocol.TransferOk());
            EXPECT_TRUE(b.host.warnings.empty());
            for (int reg :
                 c.save ? WriteRegisters(SensorFamily::B) : ReadRegisters(SensorFamily::B))
                EXPECT_EQ(c.save ? b.sensor.registers[reg] : b.protocol.Image()[reg],
                          c.save ? b.host.windowImage[reg] : before[reg])
                    << reg;
            continue;
        }
        EXPECT_EQ(frames.back(), frame40);
        EXPECT_FALSE(b.protocol.TransferOk());
        EXPECT_EQ(result.UnansweredRegister, 40);
        // The last try ends the exchange as soon as its reply fails, or after a period.
        EXPECT_EQ(b.listener.endTimes.back(), times.back() + (c.outcome == late ? 100 : 3));
        EXPECT_EQ(b.listener.progress.back(), 40);
        EXPECT_EQ(b.listener.progressHidden, 0);
        // Nothing read is shown: the window hears of the family, then the warning.
        ASSERT_EQ(b.host.warnings.size(), 1u);
        EXPECT_EQ(b.host.log.size(), c.save ? 4u : 3u);
        EXPECT_EQ(b.host.log.back(), "Warn " + b.host.warnings[0]);
        EXPECT_THAT(b.host.warnings[0],
                    HasSubstr(c.outcome == late
                                  ? "register 40: no answer came from the sensor."
                                  : "register 40: the sensor's answer came damaged 3 times."));
        EXPECT_THAT(b.host.warnings[0],
                    HasSubstr(c.save ? "partly written configuration; save the configuration "
                                       "to the sensor again."
                                     : "The window still shows the earlier configuration."));
    }
}

TEST_F(Commands, WithoutAnOpenPortOrASensor_NothingIsReadOrWritten) {
    bench.protocol.PortClosed();
    bench.commands.GetConfigurationFromSensor();
    bench.commands.SaveConfigurationToSensor();
    EXPECT_TRUE(sensor.sent.empty());
    EXPECT_EQ(host.warnings, std::vector<std::string>(2, std::string(kNoPortOpenText)));

    host.log.clear();
    bench.protocol.PortOpened();
    sensor.present = false;
    bench.commands.GetConfigurationFromSensor();
    EXPECT_THAT(host.log, ElementsAre("SetFamily none", "Warn No Sensor Found"));
    EXPECT_TRUE(SentAfterDetection(sensor).empty());
    // Until a family is known, a save sends nothing and says nothing.
    sensor.sent.clear();
    host.log.clear();
    bench.commands.SaveConfigurationToSensor();
    EXPECT_EQ(bench.commands.ReadConfiguration(SensorFamily::None).Outcome,
              ExchangeOutcome::NotStarted);
    EXPECT_TRUE(sensor.sent.empty());
    EXPECT_TRUE(host.log.empty());
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
    EXPECT_EQ(result.Outcome, ExchangeOutcome::PortLost);
    EXPECT_EQ(result.Exchange, Exchange::Write);
    EXPECT_GT(result.UnansweredRegister, 10);
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
