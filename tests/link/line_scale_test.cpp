// The line scale: which exchanges set it, and the search for it when a port opens.

#include "../support/golden_gtest.h"
#include "link/line_scale.h"
#include "link_fakes.h"

#include <gtest/gtest.h>

namespace telmora::testing {
namespace {

using test::ExpectGolden;

void Fit(LinkBench& bench, SensorFamily family, std::uint8_t scaleFlags) {
    bench.sensor.family = family;
    bench.sensor.registers[kScaleRegister] = scaleFlags;
}

// The texts shown and each search's transcript are compared with link_core.golden; which
// exchanges set the line scale is checked with the commands' transcripts.
TEST(LineScale, SearchAtPortOpenFindsTheScaleOrSaysItIsAssumed) {
    struct Case {
        const char* name;
        SensorFamily family;
        std::uint8_t flags;
        bool present;
        bool damaged; // every reply for register 87 fails its check (3 tries)
    };
    const Case cases[] = {
        {"B long", SensorFamily::B, kLongB, true, false},
        {"A long", SensorFamily::A, kLongA, true, false},
        {"B normal", SensorFamily::B, kNormalB, true, false},
        {"nobody", SensorFamily::B, kLongB, false, false},
        {"garbled", SensorFamily::B, kLongB, true, true},
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
        ExpectGolden("scale search, " + std::string(c.name),
                     "state " + std::to_string(int(bench.finder.Outcome())) + ": " +
                         ScaleFoundText(bench.finder, bench.protocol.LineCountDistance()) + "\n" +
                         Transcript(bench));
    }
    ExpectGolden("scale assumed", ScaleAssumedText(kCountDistanceNormal) + "\n");
}

TEST(LineScale, SearchGivesWayToACommandAtOnce) {
    // Before the first detection frame, during the detection's frames, and in the read (ms
    // after the port opened). The end command goes only when the search had begun talking
    // to the sensor; the command's first frame a period after the search gave way.
    for (const std::int64_t at : {50, 105, 107}) {
        SCOPED_TRACE(at);
        LinkBench bench;
        Fit(bench, SensorFamily::B, kLongB);
        bench.sensor.replyDelay = 1;
        ASSERT_TRUE(bench.finder.Start());
        bench.clock.RunUntil(at);
        ASSERT_TRUE(bench.finder.Running());
        ASSERT_TRUE(bench.finder.GiveWay());
        EXPECT_FALSE(bench.protocol.ExchangeRunning());
        EXPECT_EQ(bench.finder.Outcome(), ScaleFinder::State::GaveWay);
        bench.commands.GetConfigurationFromSensor();
        EXPECT_FALSE(bench.finder.GiveWay()); // nothing left to stop
        ExpectGolden("scale search gives way at " + std::to_string(at), Transcript(bench));
    }
}

} // namespace
} // namespace telmora::testing
