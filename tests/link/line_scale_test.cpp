// The line scale: which exchanges set it, and the search for it when a port opens.

#include "link/line_scale.h"
#include "link_fakes.h"

#include <gtest/gtest.h>

namespace telmora::testing {
namespace {

constexpr std::uint8_t kNormalB = 128, kLongB = 160, kLongA = 32;

// The letters of the frames sent, in order ("WT" for a detection answered by family B).
std::string Letters(const LinkBench& bench) {
    std::string letters;
    for (const SentFrame& frame : bench.sensor.sent)
        if (letters.empty() || frame.bytes.front() != 'W' || letters.back() != 'W')
            letters += frame.bytes.front();
    return letters;
}

float Reading(LinkBench& bench) {
    bench.listener.readings.clear();
    bench.protocol.Receive("\r01000");
    return bench.listener.readings.at(0);
}

void Fit(LinkBench& bench, SensorFamily family, std::uint8_t scaleFlags) {
    bench.sensor.family = family;
    bench.sensor.registers[kScaleRegister] = scaleFlags;
}

TEST(LineScale, OnlyTheSensorsAnswerForItsRangeFlagsSetsIt) {
    struct Case {
        const char* name;
        SensorFamily family;
        std::uint8_t sensorFlags;
        int windowFlags; // -1: a read ("Get Configuration From Sensor"); else a write of these
        std::int64_t lateFrom = -1;
        float expected;
    };
    const Case cases[] = {
        {"read B long", SensorFamily::B, kLongB, -1, -1, kCountDistanceLong},
        {"read B normal", SensorFamily::B, kNormalB, -1, -1, kCountDistanceNormal},
        {"read B no flags", SensorFamily::B, 0, -1, -1, kCountDistanceNoFlags},
        {"read A long", SensorFamily::A, kLongA, -1, -1, kCountDistanceLong},
        {"read A normal", SensorFamily::A, 0, -1, -1, kCountDistanceNormal},
        {"write B long", SensorFamily::B, kNormalB, kLongB, -1, kCountDistanceLong},
        {"write B normal", SensorFamily::B, kLongB, kNormalB, -1, kCountDistanceNormal},
        // Stopped before register 87: the sensor's scale is still unknown.
        {"read stops early", SensorFamily::B, kLongB, -1, 50, kCountDistanceNormal},
        // Stopped after it: the sensor has told its scale.
        {"read stops late", SensorFamily::B, kLongB, -1, 90, kCountDistanceLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkBench bench;
        Fit(bench, c.family, c.sensorFlags);
        bench.sensor.lateFromRegister = c.lateFrom;
        bench.host.family = c.family;
        if (c.windowFlags < 0) {
            bench.commands.GetConfigurationFromSensor();
        } else {
            bench.host.windowImage[kScaleRegister] = static_cast<std::int16_t>(c.windowFlags);
            bench.commands.SaveConfigurationToSensor();
        }
        EXPECT_EQ(bench.protocol.LineCountDistance(), c.expected);
        EXPECT_FLOAT_EQ(Reading(bench), 1000 * c.expected);
        // Reopening the port forgets the sensor.
        bench.protocol.PortOpened();
        EXPECT_EQ(bench.protocol.LineCountDistance(), kCountDistanceNormal);
        const bool changed = c.expected != kCountDistanceNormal;
        EXPECT_EQ(bench.listener.scaleChanges,
                  changed ? std::vector<float>({c.expected, kCountDistanceNormal})
                          : std::vector<float>());
    }
}

TEST(LineScale, SearchAtPortOpenFindsTheScaleOrSaysItIsAssumed) {
    struct Case {
        const char* name;
        SensorFamily family;
        std::uint8_t flags;
        bool present;
        bool damaged; // every reply for register 87 fails its check (3 tries)
        ScaleFinder::State outcome;
        float scale;
        const char* letters; // frames sent: detection, "T00", "G" for 87, "E"
        const char* note;
    };
    const Case cases[] = {
        {"B long", SensorFamily::B, kLongB, true, false, ScaleFinder::State::Found,
         kCountDistanceLong, "WTGE", "Distances in 0.006768 inch per count, as the sensor counts"},
        {"A long", SensorFamily::A, kLongA, true, false, ScaleFinder::State::Found,
         kCountDistanceLong, "WTGE", "Distances in 0.006768 inch per count, as the sensor counts"},
        {"B normal", SensorFamily::B, kNormalB, true, false, ScaleFinder::State::Found,
         kCountDistanceNormal, "WTGE",
         "Distances in 0.003384 inch per count, as the sensor counts"},
        {"nobody", SensorFamily::B, kLongB, false, false, ScaleFinder::State::NoSensor,
         kCountDistanceNormal, "W", "Distances assume 0.003384 inch per count: no sensor answered"},
        {"garbled", SensorFamily::B, kLongB, true, true, ScaleFinder::State::NoReply,
         kCountDistanceNormal, "WTGGGE",
         "Distances assume 0.003384 inch per count: the sensor did not tell its range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkBench bench;
        Fit(bench, c.family, c.flags);
        bench.sensor.present = c.present;
        if (c.damaged)
            bench.sensor.damage = [](const std::string& reply, int, int) {
                return reply.substr(0, 5) + '\x01';
            };
        ASSERT_TRUE(bench.finder.Start());
        EXPECT_FALSE(bench.finder.Start()); // one search at a time
        while (bench.finder.Running() && bench.clock.RunNext()) {
        }
        EXPECT_EQ(bench.finder.Outcome(), c.outcome);
        EXPECT_EQ(bench.protocol.LineCountDistance(), c.scale);
        EXPECT_EQ(Letters(bench), c.letters);
        EXPECT_EQ(ScaleFoundText(bench.finder, bench.protocol.LineCountDistance()), c.note);
        EXPECT_TRUE(bench.host.log.empty()); // no dialog, no window change
    }
    EXPECT_EQ(ScaleAssumedText(kCountDistanceNormal),
              "Distances assume 0.003384 inch per count until a configuration is read from the "
              "sensor");
}

TEST(LineScale, SearchGivesWayToACommandAtOnce) {
    struct Case {
        std::int64_t at;      // when the command comes, in ms after the port opened
        const char* searched; // frames the search had sent by then
    };
    // Before the first detection frame, during the detection's frames, and in the read.
    const Case cases[] = {{50, ""}, {105, "W"}, {107, "WTG"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at);
        LinkBench bench;
        Fit(bench, SensorFamily::B, kLongB);
        bench.sensor.replyDelay = 1;
        ASSERT_TRUE(bench.finder.Start());
        bench.clock.RunUntil(c.at);
        ASSERT_TRUE(bench.finder.Running());
        EXPECT_EQ(Letters(bench), c.searched);
        ASSERT_TRUE(bench.finder.GiveWay());
        EXPECT_FALSE(bench.protocol.ExchangeRunning());
        EXPECT_EQ(bench.finder.Outcome(), ScaleFinder::State::GaveWay);
        // The end command only when the search had begun talking to the sensor.
        EXPECT_EQ(Letters(bench), std::string(c.searched) + (*c.searched ? "E" : ""));

        const std::int64_t given = bench.clock.Now();
        const std::size_t before = bench.sensor.sent.size();
        bench.commands.GetConfigurationFromSensor();
        EXPECT_TRUE(bench.host.warnings.empty());
        EXPECT_EQ(bench.sensor.sent.at(before).time - given, kTimer1PeriodMs);
        EXPECT_EQ(bench.host.log.end()[-2], "ShowRecord Kelvo-B");
        EXPECT_EQ(bench.protocol.LineCountDistance(), kCountDistanceLong);
        EXPECT_FALSE(bench.finder.GiveWay()); // nothing left to stop
    }
}

} // namespace
} // namespace telmora::testing
