// The receive handler following the sensor's measurement stream (ReceiveState 1).

#include "link_fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace telmora::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::FloatEq;

float Inches(double counts) {
    return static_cast<float>(counts * double{kCountDistanceNormal});
}

class MeasurementStream : public ::testing::Test {
  protected:
    LinkBench bench;
    std::vector<float>& readings = bench.listener.readings;
    void Feed(std::string_view bytes) { bench.protocol.Receive(bytes); }
};

TEST_F(MeasurementStream, FiveDigitsAreCountsTimesCountDistance) {
    Feed("\r01234");
    ASSERT_THAT(readings, ElementsAre(FloatEq(Inches(1234))));
    EXPECT_FLOAT_EQ(readings[0], 4.175856f);
    EXPECT_FLOAT_EQ(bench.protocol.CurrentDistance(), 4.175856f);
}

TEST_F(MeasurementStream, TextWithoutDigitsIsALostEcho) {
    Feed("\rabcde");
    EXPECT_THAT(readings, ElementsAre(0.0f));
}

TEST_F(MeasurementStream, TwoReadingsInARowTheSecondLost) {
    Feed("\r01234\r00000");
    EXPECT_THAT(readings, ElementsAre(FloatEq(Inches(1234)), 0.0f));
}

TEST_F(MeasurementStream, CharactersOutsideAReadingAreSkipped) {
    // Before the first carriage return, and between a reading and the next one.
    Feed("7x3\r00010 56\r00020");
    EXPECT_THAT(readings, ElementsAre(FloatEq(Inches(10)), FloatEq(Inches(20))));
}

TEST_F(MeasurementStream, ReadingEndsAtTheFirstCharacterThatCannotContinueIt) {
    Feed("\r12a45\r 1 2 \r-0100");
    // Blanks are skipped inside the number; a sign is read.
    EXPECT_THAT(readings,
                ElementsAre(FloatEq(Inches(12)), FloatEq(Inches(12)), FloatEq(Inches(-100))));
}

TEST_F(MeasurementStream, ACarriageReturnInsideAReadingIsPartOfIt) {
    // The five characters after a carriage return are taken whole, whatever they are.
    Feed("\rab\rcd\r00042");
    EXPECT_THAT(readings, ElementsAre(0.0f, FloatEq(Inches(42))));
}

TEST_F(MeasurementStream, AReadingSplitAcrossDeliveriesIsTakenWhenComplete) {
    const std::string stream = "\r01234\r00007\r99999";
    std::vector<float> whole;
    Feed(stream);
    whole.swap(readings);

    for (std::size_t chunk = 1; chunk <= 4; ++chunk) {
        for (std::size_t k = 0; k < stream.size(); k += chunk)
            Feed(std::string_view(stream).substr(k, chunk));
        EXPECT_EQ(readings, whole) << "chunks of " << chunk;
        readings.clear();
    }
    EXPECT_EQ(whole.size(), 3u);
}

TEST_F(MeasurementStream, CountDistanceIsTakenAtEachReading) {
    Feed("\r01000");
    bench.config.CountDistance = kCountDistanceLong;
    Feed("\r01000");
    EXPECT_THAT(readings,
                ElementsAre(FloatEq(Inches(1000)),
                            FloatEq(static_cast<float>(1000 * double{kCountDistanceLong}))));
}

TEST_F(MeasurementStream, AReadingTooLargeForASingleIsALostEcho) {
    // "9e999" saturates at the largest double; no display may get an infinite distance.
    Feed("\r9e999\r9e30 ");
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(readings[0], 0.0f);
    EXPECT_FLOAT_EQ(readings[1], Inches(9e30));
}

TEST(MeasurementStreamBeforeOpening, NothingIsReadUntilAPortIsOpen) {
    FakeClock clock;
    FakeTimer timer(clock);
    FakeSensor sensor(clock);
    RecordingListener listener;
    SensorConfig config;
    LinkProtocol protocol(sensor, timer, listener, config);
    EXPECT_EQ(protocol.ReceiveState(), 0);
    protocol.Receive("\r01234");
    EXPECT_TRUE(listener.readings.empty());

    protocol.PortOpened();
    EXPECT_EQ(protocol.ReceiveState(), 1);
    EXPECT_EQ(protocol.GroupSize(), 1);
    protocol.Receive("\r01234");
    EXPECT_EQ(listener.readings.size(), 1u);
}

TEST_F(MeasurementStream, GroupSizeFollowsTheStream) {
    EXPECT_EQ(bench.protocol.GroupSize(), 1);
    Feed("\r");
    EXPECT_EQ(bench.protocol.GroupSize(), 5);
    Feed("012");
    EXPECT_EQ(bench.protocol.GroupSize(), 5);
    Feed("34");
    EXPECT_EQ(bench.protocol.GroupSize(), 1);
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
}

} // namespace
} // namespace telmora::testing
