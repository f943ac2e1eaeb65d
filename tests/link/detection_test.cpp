// DetectSensor: the detection frame, its echo, the identification query and Timer1.

#include "link_fakes.h"

#include <gtest/gtest.h>

namespace telmora::testing {
namespace {

// One detection frame per Timer1 tick until an echo comes, then "T00": a reply means
// family B, a tick without one family A, however many late echoes of earlier frames come
// after "T00". Ten frames without an echo end at 1100 ms.
TEST(Detection, FramesEachTickUntilAnEchoThenTheIdentificationReplyDecidesTheFamily) {
    const std::string frame = DetectionFrame();
    const struct {
        const char* name;
        bool present;
        SensorFamily sensorFamily, found;
        std::vector<std::string> replies; // to the first detection frames, instead of the echo
        int tries;
        std::size_t held = 0; // echoes held back and sent together
    } cases[] = {
        {"no sensor", false, SensorFamily::B, SensorFamily::None, {}, 10},
        {"family A", true, SensorFamily::A, SensorFamily::A, {}, 1},
        {"family B", true, SensorFamily::B, SensorFamily::B, {}, 1},
        // The second W arrives where a "0" belongs: the comparison starts over from it.
        {"W inside the echo", true, SensorFamily::B, SensorFamily::B, {"W0" + frame}, 1},
        {"garbage before the echo", true, SensorFamily::B, SensorFamily::B, {"\r0123" + frame}, 1},
        {"late sensor", true, SensorFamily::B, SensorFamily::B, {"", "", "", ""}, 5},
        {"echoes held, family A", true, SensorFamily::A, SensorFamily::A, {}, 3, 3},
        {"echoes held, family B", true, SensorFamily::B, SensorFamily::B, {}, 4, 4},
        {"cut echo held, family A", true, SensorFamily::A, SensorFamily::A, {frame, "W00"}, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkBench b;
        b.sensor.present = c.present;
        b.sensor.family = c.sensorFamily;
        b.sensor.echoOverrides = c.replies;
        b.sensor.heldEchoes = c.held;
        const ExchangeResult result = b.commands.DetectSensor();
        const bool found = c.found != SensorFamily::None;

        std::vector<std::int64_t> times, expectedTimes;
        for (const auto& sent : b.sensor.sent)
            if (sent.bytes == frame)
                times.push_back(sent.time);
        for (int k = 1; k <= c.tries; ++k)
            expectedTimes.push_back(100 * k);
        EXPECT_EQ(times, expectedTimes);
        EXPECT_EQ(b.protocol.DetectTries(), c.tries);
        EXPECT_EQ(b.sensor.sent.size(), std::size_t(c.tries + found));
        EXPECT_EQ(b.sensor.sent.back().bytes, found ? "T00" : frame);
        EXPECT_EQ(result.Outcome, found ? ExchangeOutcome::Completed : ExchangeOutcome::NoSensor);
        EXPECT_EQ(result.Family, c.found);
        EXPECT_EQ(b.host.family, c.found);
        const std::string last =
            found ? "SetFamily " + std::string(FamilyName(c.found)) : "Warn No Sensor Found";
        EXPECT_EQ(b.host.log, (std::vector<std::string>{"SetFamily none", last}));
        if (found) {
            EXPECT_EQ(b.listener.identified, std::vector<SensorFamily>{c.found});
        }
        // Timer1 starts a full period when the last frame leaves; its tick ends the wait.
        ASSERT_EQ(b.listener.endTimes.size(), 1u);
        if (c.found != SensorFamily::B) {
            EXPECT_EQ(b.listener.endTimes[0], b.sensor.sent.back().time + 100);
        }
        EXPECT_EQ(b.protocol.TransferOk(), found);
        b.sensor.Send("\r01000"); // readings resume: the stream's state and group size are back
        b.clock.RunUntil(b.clock.Now() + 10);
        EXPECT_EQ(b.listener.readings.size(), 1u);
    }
}

TEST(Detection, EchoStatesAdvanceOneByteAtATimeAndNoSecondExchangeStarts) {
    LinkBench bench;
    LinkProtocol& protocol = bench.protocol;
    protocol.StartDetection();
    EXPECT_EQ(protocol.LinkState(), 1);
    const std::string frame = DetectionFrame();
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(protocol.ReceiveState(), 2 + static_cast<int>(k));
        EXPECT_EQ(protocol.GroupSize(), 1);
        protocol.Receive(frame.substr(k, 1));
    }
    EXPECT_EQ(protocol.ReceiveState(), 8);
    EXPECT_EQ(protocol.LinkState(), 2);
    EXPECT_EQ(protocol.GroupSize(), 5);
    EXPECT_FALSE(protocol.StartDetection());
    EXPECT_FALSE(protocol.StartRead(SensorFamily::B));
    EXPECT_FALSE(protocol.StartWrite(SensorFamily::B, RegisterImage{}));
}

} // namespace
} // namespace telmora::testing
