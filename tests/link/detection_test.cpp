// DetectSensor: the detection frame, its echo, the identification query and Timer1.

#include "link_fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace telmora::testing {
namespace {

using ::testing::ElementsAre;

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

class Detection : public ::testing::Test {
  protected:
    LinkBench bench;
    FakeSensor& sensor = bench.sensor;

    std::vector<std::int64_t> DetectionFrameTimes() const {
        std::vector<std::int64_t> times;
        for (const auto& frame : sensor.sent)
            if (frame.bytes == DetectionFrame())
                times.push_back(frame.time);
        return times;
    }
};

TEST_F(Detection, NoSensor_TenFramesAHundredMillisecondsApartThenNoSensorFoundAt1100) {
    sensor.present = false;
    const ExchangeResult result = bench.commands.DetectSensor();

    EXPECT_THAT(DetectionFrameTimes(),
                ElementsAre(100, 200, 300, 400, 500, 600, 700, 800, 900, 1000));
    EXPECT_EQ(sensor.sent.size(), 10u);
    EXPECT_EQ(bench.listener.endTimes, std::vector<std::int64_t>{1100});
    EXPECT_EQ(result.outcome, ExchangeOutcome::NoSensor);
    EXPECT_EQ(bench.host.warnings, std::vector<std::string>{"No Sensor Found"});
    EXPECT_EQ(bench.host.family, SensorFamily::None);
    EXPECT_EQ(bench.host.log.front(), "SetFamily none");
    EXPECT_FALSE(bench.protocol.TransferOk());
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
    EXPECT_EQ(bench.protocol.GroupSize(), 1);
    EXPECT_FALSE(bench.protocol.ExchangeRunning());
    EXPECT_EQ(bench.protocol.DetectTries(), 10);
}

TEST_F(Detection, FamilyB_AnswersTheIdentificationQuery) {
    const ExchangeResult result = bench.commands.DetectSensor();

    ASSERT_EQ(sensor.sent.size(), 2u);
    EXPECT_EQ(sensor.sent[0].bytes, Bytes({'W', '0', '0', 55, 132, 114}));
    EXPECT_EQ(sensor.sent[1].bytes, "T00");
    EXPECT_EQ(result.outcome, ExchangeOutcome::Completed);
    EXPECT_EQ(result.family, SensorFamily::B);
    EXPECT_THAT(bench.host.log, ElementsAre("SetFamily none", "SetFamily Kelvo-B"));
    EXPECT_TRUE(bench.host.warnings.empty());
    EXPECT_TRUE(bench.protocol.TransferOk());
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
    EXPECT_EQ(bench.protocol.GroupSize(), 1);
    EXPECT_THAT(bench.listener.identified, ElementsAre(SensorFamily::B));
}

TEST_F(Detection, EchoWithoutIdentificationReplyIsFamilyAOnePeriodLater) {
    sensor.family = SensorFamily::A;
    const ExchangeResult result = bench.commands.DetectSensor();

    ASSERT_EQ(sensor.sent.size(), 2u);
    EXPECT_EQ(sensor.sent[1].bytes, "T00");
    // Timer1 starts a full new period when "T00" leaves; its tick means family A.
    EXPECT_EQ(bench.listener.endTimes.back(), sensor.sent[1].time + 100);
    EXPECT_EQ(result.family, SensorFamily::A);
    EXPECT_THAT(bench.host.log, ElementsAre("SetFamily none", "SetFamily Kelvo-A"));
    EXPECT_TRUE(bench.protocol.TransferOk());
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
}

TEST_F(Detection, EchoStatesAdvanceOneByteAtATime) {
    bench.protocol.StartDetection();
    EXPECT_EQ(bench.protocol.ReceiveState(), 2);
    EXPECT_EQ(bench.protocol.LinkState(), 1);
    const std::string frame = DetectionFrame();
    for (std::size_t k = 0; k < 5; ++k) {
        bench.protocol.Receive(frame.substr(k, 1));
        EXPECT_EQ(bench.protocol.ReceiveState(), 3 + static_cast<int>(k));
        EXPECT_EQ(bench.protocol.GroupSize(), 1);
    }
    bench.protocol.Receive(frame.substr(5, 1));
    EXPECT_EQ(bench.protocol.ReceiveState(), 8);
    EXPECT_EQ(bench.protocol.LinkState(), 2);
    EXPECT_EQ(bench.protocol.GroupSize(), 5);
}

TEST_F(Detection, W0W0ThenTheRestOfTheFrameFailsButTheNextEchoSucceeds) {
    // The second W arrives where a "0" belongs: the comparison starts over and that W is
    // not taken as a new first byte, so "W00..." after it does not complete an echo.
    sensor.echoOverrides = {Bytes({'W', '0', 'W', '0', '0', 55, 132, 114})};
    const ExchangeResult result = bench.commands.DetectSensor();

    ASSERT_EQ(sensor.sent.size(), 3u);
    EXPECT_EQ(sensor.sent[0].bytes, DetectionFrame());
    EXPECT_EQ(sensor.sent[1].bytes, DetectionFrame());
    EXPECT_EQ(sensor.sent[1].time, 200);
    EXPECT_EQ(sensor.sent[2].bytes, "T00");
    EXPECT_EQ(bench.protocol.DetectTries(), 2);
    EXPECT_EQ(result.family, SensorFamily::B);
}

TEST_F(Detection, GarbageBeforeTheEchoIsSkipped) {
    sensor.echoOverrides = {"\r0123" + DetectionFrame()};
    const ExchangeResult result = bench.commands.DetectSensor();
    EXPECT_EQ(result.family, SensorFamily::B);
    EXPECT_EQ(bench.protocol.DetectTries(), 1);
}

TEST_F(Detection, ASensorThatAnswersOnlyLateIsStillFound) {
    // No echo for the first four frames.
    sensor.echoOverrides = {"", "", "", ""};
    const ExchangeResult result = bench.commands.DetectSensor();
    EXPECT_EQ(result.family, SensorFamily::B);
    EXPECT_EQ(bench.protocol.DetectTries(), 5);
}

TEST_F(Detection, ReadingsResumeAfterTheDetection) {
    bench.commands.DetectSensor();
    sensor.Send("\r01000");
    bench.clock.RunUntil(bench.clock.Now() + 10);
    EXPECT_EQ(bench.listener.readings.size(), 1u);
}

TEST_F(Detection, AStartWhileAnExchangeRunsIsRefused) {
    ASSERT_TRUE(bench.protocol.StartDetection());
    EXPECT_FALSE(bench.protocol.StartDetection());
    EXPECT_FALSE(bench.protocol.StartRead(SensorFamily::B));
    EXPECT_FALSE(bench.protocol.StartWrite(SensorFamily::B, RegisterImage{}));
}

} // namespace
} // namespace telmora::testing
