// DetectSensor: the detection frame, its echo, the identification query and Timer1.

#include "link_fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace telmora::testing {
namespace {

using ::testing::ElementsAre;

std::vector<std::int64_t> DetectionFrameTimes(const FakeSensor& sensor) {
    std::vector<std::int64_t> times;
    for (const auto& frame : sensor.sent)
        if (frame.bytes == DetectionFrame())
            times.push_back(frame.time);
    return times;
}

class Detection : public ::testing::Test {
  protected:
    LinkBench bench;
    FakeSensor& sensor = bench.sensor;
    LinkProtocol& protocol = bench.protocol;
};

TEST_F(Detection, NoSensor_TenFramesAHundredMillisecondsApartThenNoSensorFoundAt1100) {
    sensor.present = false;
    const ExchangeResult result = bench.commands.DetectSensor();

    EXPECT_THAT(DetectionFrameTimes(sensor),
                ElementsAre(100, 200, 300, 400, 500, 600, 700, 800, 900, 1000));
    EXPECT_EQ(sensor.sent.size(), 10u);
    EXPECT_EQ(bench.listener.endTimes, std::vector<std::int64_t>{1100});
    EXPECT_EQ(result.outcome, ExchangeOutcome::NoSensor);
    EXPECT_EQ(bench.host.warnings, std::vector<std::string>{"No Sensor Found"});
    EXPECT_EQ(bench.host.family, SensorFamily::None);
    EXPECT_FALSE(protocol.TransferOk());
    EXPECT_EQ(protocol.ReceiveState(), 1);
    EXPECT_EQ(protocol.GroupSize(), 1);
    EXPECT_FALSE(protocol.ExchangeRunning());
    EXPECT_EQ(protocol.DetectTries(), 10);
}

TEST_F(Detection, EchoThenIdentificationReplyIsFamilyBAndNoReplyIsFamilyAOnePeriodLater) {
    for (SensorFamily family : {SensorFamily::A, SensorFamily::B}) {
        LinkBench fresh;
        fresh.sensor.family = family;
        const ExchangeResult result = fresh.commands.DetectSensor();

        const auto& sent = fresh.sensor.sent;
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0].bytes, DetectionFrame());
        EXPECT_EQ(sent[1].bytes, "T00");
        EXPECT_EQ(result.outcome, ExchangeOutcome::Completed);
        EXPECT_EQ(result.family, family);
        EXPECT_THAT(fresh.host.log,
                    ElementsAre("SetFamily none", "SetFamily " + std::string(FamilyName(family))));
        EXPECT_THAT(fresh.listener.identified, ElementsAre(family));
        EXPECT_TRUE(fresh.protocol.TransferOk());
        EXPECT_EQ(fresh.protocol.ReceiveState(), 1);
        EXPECT_EQ(fresh.protocol.GroupSize(), 1);
        // Timer1 starts a full new period when "T00" leaves; its tick means family A.
        if (family == SensorFamily::A) {
            EXPECT_EQ(fresh.listener.endTimes.back(), sent[1].time + 100);
        }

        fresh.sensor.Send("\r01000"); // readings resume
        fresh.clock.RunUntil(fresh.clock.Now() + 10);
        EXPECT_EQ(fresh.listener.readings.size(), 1u);
    }
}

TEST_F(Detection, EchoStatesAdvanceOneByteAtATime) {
    protocol.StartDetection();
    EXPECT_EQ(protocol.ReceiveState(), 2);
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
    // No second exchange starts while this one runs.
    EXPECT_FALSE(protocol.StartDetection());
    EXPECT_FALSE(protocol.StartRead(SensorFamily::B));
    EXPECT_FALSE(protocol.StartWrite(SensorFamily::B, RegisterImage{}));
}

TEST_F(Detection, SpoiltOrMissingEchoesAreRetriedOnTheNextTick) {
    const std::string frame = DetectionFrame();
    struct Case {
        std::vector<std::string> replies; // to the first detection frames
        int tries;
    };
    const Case cases[] = {
        // The second W arrives where a "0" belongs: the comparison starts over and that W
        // is not taken as a new first byte, so "W00..." after it does not complete an echo.
        {{"W0" + frame}, 2},
        {{"\r0123" + frame}, 1}, // garbage before the echo is skipped
        {{"", "", "", ""}, 5},   // a sensor that answers only late is still found
    };
    for (const Case& c : cases) {
        LinkBench fresh;
        fresh.sensor.echoOverrides = c.replies;
        EXPECT_EQ(fresh.commands.DetectSensor().family, SensorFamily::B);
        EXPECT_EQ(fresh.protocol.DetectTries(), c.tries);
        std::vector<std::int64_t> expectedTimes;
        for (int k = 1; k <= c.tries; ++k)
            expectedTimes.push_back(100 * k);
        EXPECT_EQ(DetectionFrameTimes(fresh.sensor), expectedTimes);
        EXPECT_EQ(fresh.sensor.sent.back().bytes, "T00");
    }
}

} // namespace
} // namespace telmora::testing
