// "Get Configuration From Sensor" and "Save Configuration To Sensor": frames in register
// order, each released by the previous reply, and every way the exchange can stop. Each
// scenario's transcript is compared with its section of link_core.golden.

#include "../support/golden_gtest.h"
#include "link_fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace telmora::testing {
namespace {

using test::ExpectGolden;

// Frames in register order, each released by the previous reply, then the end command;
// a save to a sensor of the other family sends only the end command; either way the
// window switches to the sensor's family. Every reply is checked whole. Stray characters around a
// good reply are passed over; a damaged reply is asked for again at once (one cut short, at the
// next tick). The third damaged reply for a register, or a period without any, stops the exchange:
// no end command, the progress bar kept there, and the user told which register and what it means.
// Nothing damaged is stored: a completed exchange holds exactly the clean result. Only the sensor's
// answer for its range flags (register 87) sets the line scale, and reopening the port forgets it.
TEST(CommandsOnEachFamily, DamagedOrMissingReplies_AreAskedForAgainOrStopTheExchange) {
    using Damage = std::string (*)(const std::string&);
    const Damage none = [](const std::string&) { return std::string(); };
    const Damage badChecksum = [](const std::string& r) {
        return r.substr(0, 5) + static_cast<char>(r[5] ^ 1);
    };
    const Damage otherValue = [](const std::string& r) {
        return CommandFrame(r[0], static_cast<std::uint8_t>(r[3]),
                            static_cast<std::uint8_t>(r[4] + 1));
    };
    const struct {
        const char* name;
        bool save = false;
        Damage damage = nullptr;
        int damagedReplies = 0;     // to register 40's first frames
        std::int64_t lateFrom = -1; // replies from this register on come after 150 ms
        SensorFamily family = SensorFamily::B;
        SensorFamily windowFamily = SensorFamily::None; // if not the sensor's
        int sensorFlags = -1; // the range flags the sensor holds, if not its default
        int windowFlags = -1; // the range flags the window holds, if not its default
    } cases[] = {
        {.name = "get Kelvo-A", .family = SensorFamily::A},
        {.name = "save Kelvo-A", .save = true, .family = SensorFamily::A},
        {.name = "save to the other family Kelvo-A",
         .save = true,
         .family = SensorFamily::A,
         .windowFamily = SensorFamily::B},
        {.name = "get Kelvo-B"},
        {.name = "save Kelvo-B", .save = true},
        {.name = "save to the other family Kelvo-B", .save = true, .windowFamily = SensorFamily::A},
        {"stray byte before", false, [](const std::string& r) { return "\x07" + r; }, 3},
        {"the register before answered again", true,
         [](const std::string& r) {
             return CommandFrame(r[0], static_cast<std::uint8_t>(r[3] - 1), 0) + r;
         },
         3},
        {"stray byte inside", false,
         [](const std::string& r) { return r.substr(0, 2) + "G" + r.substr(2); }, 2},
        {"bad checksum", true, badChecksum, 1},
        {"checksum G, as if a reply began", false,
         [](const std::string& r) { return r.substr(0, 5) + "G"; }, 1},
        {"another register", false,
         [](const std::string& r) {
             return CommandFrame(r[0], static_cast<std::uint8_t>(r[3] + 1),
                                 static_cast<std::uint8_t>(r[4]));
         },
         1},
        {"P with another value", true, otherValue, 2},
        {"a byte lost", false, [](const std::string& r) { return r.substr(0, 3) + r.substr(4); },
         1},
        {"bad checksum three times", false, badChecksum, 3},
        {"P with another value three times", true, otherValue, 3},
        {"no reply to a read", false, none, 3},
        {"no reply to a write", true, none, 3},
        // The reply that comes too late is read as measurement stream and starts nothing.
        {"a reply after 150 ms", true, none, 0, 40},
        {.name = "line scale, read B long", .sensorFlags = kLongB},
        {.name = "line scale, read B normal", .sensorFlags = kNormalB},
        {.name = "line scale, read B no flags", .sensorFlags = 0},
        {.name = "line scale, read A long", .family = SensorFamily::A, .sensorFlags = kLongA},
        {.name = "line scale, read A normal", .family = SensorFamily::A, .sensorFlags = 0},
        {.name = "line scale, write B long",
         .save = true,
         .sensorFlags = kNormalB,
         .windowFlags = kLongB},
        {.name = "line scale, write B normal",
         .save = true,
         .sensorFlags = kLongB,
         .windowFlags = kNormalB},
        // Stopped before register 87: the sensor's scale is still unknown; after it, told.
        {.name = "line scale, read stops early", .lateFrom = 50, .sensorFlags = kLongB},
        {.name = "line scale, read stops late", .lateFrom = 90, .sensorFlags = kLongB},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkBench b;
        b.sensor.family = b.host.family = c.family;
        if (c.windowFamily != SensorFamily::None)
            b.host.family = c.windowFamily;
        if (c.sensorFlags >= 0)
            b.sensor.registers[kScaleRegister] = static_cast<std::uint8_t>(c.sensorFlags);
        // Register 39 holds 0, which the repeated reply to it echoes.
        for (std::size_t k = 0; k < b.host.windowImage.size(); ++k)
            b.host.windowImage[k] = static_cast<std::int16_t>(k == 39 ? 0 : 200 - k);
        b.host.windowImage[10] = -5; // forced into a byte
        b.host.windowImage[11] = 300;
        if (c.windowFlags >= 0)
            b.host.windowImage[kScaleRegister] = static_cast<std::int16_t>(c.windowFlags);
        if (c.damage)
            b.sensor.damage = [&c](const std::string& reply, int reg, int nth) {
                return reg == 40 && nth < c.damagedReplies ? c.damage(reply) : reply;
            };
        b.sensor.lateFromRegister = c.lateFrom;
        const auto before = b.sensor.registers;
        std::string outcome;
        if (c.save)
            outcome = b.commands.SaveConfigurationToSensor() ? "written\n" : "not written\n";
        else
            b.commands.GetConfigurationFromSensor();
        EXPECT_FALSE(b.commands.Busy());
        std::string text = Transcript(b) + outcome;
        b.protocol.PortOpened();
        ExpectGolden(c.name, text + "reopened: " + std::to_string(b.protocol.LineCountDistance()) +
                                 ", " + std::to_string(b.listener.scaleChanges.size()) +
                                 " scale changes in all\n");
        if (!b.protocol.LastResult().Completed() || c.windowFamily != SensorFamily::None)
            continue;
        // Each reply's fifth byte is stored; registers not read stay as they were.
        const auto& registers = c.save ? WriteRegisters(c.family) : ReadRegisters(c.family);
        for (int k = 0; k < 129; ++k) {
            const bool sent = std::find(registers.begin(), registers.end(), k) != registers.end();
            if (c.save && sent) {
                EXPECT_EQ(b.sensor.registers[k], std::clamp<int>(b.host.windowImage[k], 0, 255))
                    << k;
            } else if (!c.save) {
                EXPECT_EQ(b.protocol.Image()[k], sent ? before[k] : 0) << k;
            }
        }
        if (!c.save) {
            EXPECT_EQ(b.host.shownImage, b.protocol.Image());
        }
    }
}

TEST(Commands, WithoutAnOpenPortOrASensor_NothingIsReadOrWritten) {
    LinkBench b;
    b.protocol.PortClosed();
    b.commands.GetConfigurationFromSensor();
    b.commands.SaveConfigurationToSensor();
    b.protocol.PortOpened();
    b.sensor.present = false;
    b.commands.GetConfigurationFromSensor();
    // Until a family is known, a save sends nothing and says nothing.
    b.commands.SaveConfigurationToSensor();
    EXPECT_EQ(b.commands.ReadConfiguration(SensorFamily::None).Outcome,
              ExchangeOutcome::NotStarted);
    ExpectGolden("no port, then no sensor", Transcript(b));
}

TEST(Commands, ACommandGivenWhileAnotherWaits_IsIgnored) {
    // The user reaches the menu again while the first command waits for the sensor.
    LinkBench b;
    b.clock.After(50, [&b] {
        EXPECT_TRUE(b.commands.Busy());
        b.commands.GetConfigurationFromSensor();
        b.commands.SaveConfigurationToSensor();
    });
    b.commands.GetConfigurationFromSensor();
    ExpectGolden("a second command while one waits", Transcript(b));
}

TEST(Commands, PortLostDuringAWrite_EndsItAsALateReplyDoesWithoutEndOrHostWarning) {
    // The port's owner reports a lost port and tells the user; the command only stops.
    LinkBench b;
    b.clock.After(150, [&b] { b.protocol.PortClosed(); });
    b.commands.SaveConfigurationToSensor();
    EXPECT_FALSE(b.commands.Busy());
    ExpectGolden("port lost during a write", Transcript(b));
}

} // namespace
} // namespace telmora::testing
