// ReadConfiguration and WriteConfiguration: frames in register order, each released by
// the previous reply, and the time-out of a late reply.

#include "link_fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace telmora::testing {
namespace {

class Transfer : public ::testing::Test {
  protected:
    LinkBench bench;
    FakeSensor& sensor = bench.sensor;
    RecordingListener& listener = bench.listener;
};

TEST_F(Transfer, FamilyARead_VisitsRegistersInSensorOrder) {
    const ExchangeResult result = bench.commands.ReadConfiguration(SensorFamily::A);

    std::vector<std::string> expected;
    for (int reg : ReadRegisters(SensorFamily::A))
        expected.push_back(ReadFrame(static_cast<std::uint8_t>(reg)));
    EXPECT_EQ(sensor.SentOfKind('G'), expected);
    EXPECT_EQ(sensor.sent.size(), 61u);
    EXPECT_TRUE(result.completed());
    EXPECT_TRUE(bench.protocol.TransferOk());
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
    EXPECT_EQ(bench.protocol.GroupSize(), 1);
    // The progress bar moves from the second frame on, so it first shows 33.
    ASSERT_EQ(listener.progress.size(), 60u);
    EXPECT_EQ(listener.progress.front(), 33);
    EXPECT_EQ(listener.progress.back(), 99);
    EXPECT_EQ(listener.progressHidden, 1);
}

TEST_F(Transfer, Read_EachFrameWaitsForThePreviousReplyAndStoresItsFifthByte) {
    sensor.replyDelay = 7;
    bench.commands.ReadConfiguration(SensorFamily::B);
    ASSERT_EQ(sensor.sent.size(), 90u);
    for (std::size_t k = 1; k < sensor.sent.size(); ++k)
        EXPECT_EQ(sensor.sent[k].time - sensor.sent[k - 1].time, 7);
    const RegisterImage& image = bench.protocol.Image();
    for (int reg = 10; reg <= 99; ++reg)
        EXPECT_EQ(image[reg], sensor.registers[reg]) << "register " << reg;
    EXPECT_EQ(image[9], 0);
    EXPECT_EQ(image[100], 0);
}

TEST_F(Transfer, Write_SendsTheImageInSensorOrderWithOutOfRangeElementsForcedIntoAByte) {
    for (SensorFamily family : {SensorFamily::A, SensorFamily::B}) {
        LinkBench fresh;
        RegisterImage image{};
        for (std::size_t k = 0; k < image.size(); ++k)
            image[k] = static_cast<std::int16_t>((k * 7) % 256);
        image[10] = -5;
        image[11] = 300;
        const ExchangeResult result = fresh.commands.WriteConfiguration(family, image);

        std::vector<std::string> expected;
        for (int reg : WriteRegisters(family))
            expected.push_back(
                WriteFrame(static_cast<std::uint8_t>(reg),
                           static_cast<std::uint8_t>(std::clamp<int>(image[reg], 0, 255))));
        EXPECT_EQ(fresh.sensor.SentOfKind('P'), expected);
        EXPECT_EQ(fresh.sensor.sent.size(), expected.size());
        EXPECT_TRUE(result.completed());
        EXPECT_EQ(fresh.listener.progress.front(), family == SensorFamily::A ? 33 : 11);
        EXPECT_EQ(fresh.listener.progress.back(), WriteRegisters(family).back());
    }
}

TEST_F(Transfer, LateReply_AReplyAfter100MillisecondsIsTooLate) {
    sensor.lateFromRegister = 0; // every reply takes 150 ms
    const ExchangeResult result = bench.commands.WriteConfiguration(SensorFamily::B, {});
    EXPECT_EQ(result.outcome, ExchangeOutcome::ReplyLate);
    EXPECT_EQ(result.unansweredRegister, 10);
    EXPECT_EQ(sensor.sent.size(), 1u);
    // The reply that comes afterwards is read as measurement stream and starts nothing.
    bench.clock.RunUntil(bench.clock.Now() + 200);
    EXPECT_EQ(sensor.sent.size(), 1u);
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
}

TEST_F(Transfer, ReadWithoutAFamilyIsRefused) {
    EXPECT_EQ(bench.commands.ReadConfiguration(SensorFamily::None).outcome,
              ExchangeOutcome::NotStarted);
    EXPECT_TRUE(sensor.sent.empty());
}

} // namespace
} // namespace telmora::testing
