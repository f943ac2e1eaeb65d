// ReadConfiguration and WriteConfiguration: frames in register order, each released by
// the previous reply, and the time-out of a late reply.

#include "link_fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace telmora::testing {
namespace {

using ::testing::ElementsAre;

std::vector<int> RegistersOf(const std::vector<std::string>& frames) {
    std::vector<int> registers;
    for (const auto& frame : frames)
        registers.push_back(static_cast<unsigned char>(frame[3]));
    return registers;
}

std::vector<int> AsInts(std::span<const std::uint8_t> registers) {
    return {registers.begin(), registers.end()};
}

class Transfer : public ::testing::Test {
  protected:
    LinkBench bench;
    FakeSensor& sensor = bench.sensor;
    RecordingListener& listener = bench.listener;
};

TEST_F(Transfer, FamilyARead_VisitsRegistersInSensorOrder) {
    const ExchangeResult result = bench.commands.ReadConfiguration(SensorFamily::A);

    const auto frames = sensor.SentOfKind('G');
    EXPECT_EQ(RegistersOf(frames), AsInts(ReadRegisters(SensorFamily::A)));
    EXPECT_EQ(frames.size(), 61u);
    for (const auto& frame : frames)
        EXPECT_EQ(frame, ReadFrame(static_cast<std::uint8_t>(frame[3])));
    EXPECT_TRUE(result.completed());
    EXPECT_TRUE(bench.protocol.TransferOk());
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
    EXPECT_EQ(bench.protocol.GroupSize(), 1);
}

TEST_F(Transfer, FamilyARead_ProgressFirstShows33AndIsHiddenAtTheEnd) {
    bench.commands.ReadConfiguration(SensorFamily::A);
    ASSERT_FALSE(listener.progress.empty());
    EXPECT_EQ(listener.progress.front(), 33);
    EXPECT_EQ(listener.progress.back(), 99);
    EXPECT_EQ(listener.progress.size(), 60u); // from the second frame on
    EXPECT_EQ(listener.progressHidden, 1);
}

TEST_F(Transfer, Read_StoresTheFifthByteOfEachReply) {
    bench.commands.ReadConfiguration(SensorFamily::B);
    const RegisterImage& image = bench.protocol.Image();
    for (int reg = 10; reg <= 99; ++reg)
        EXPECT_EQ(image[reg], sensor.registers[reg]) << "register " << reg;
    EXPECT_EQ(image[9], 0);
    EXPECT_EQ(image[100], 0);
}

TEST_F(Transfer, Read_EachFrameWaitsForThePreviousReply) {
    sensor.replyDelay = 7;
    bench.commands.ReadConfiguration(SensorFamily::B);
    const auto& sent = sensor.sent;
    ASSERT_EQ(sent.size(), 90u);
    for (std::size_t k = 1; k < sent.size(); ++k)
        EXPECT_EQ(sent[k].time - sent[k - 1].time, 7);
}

TEST_F(Transfer, FamilyBWrite_Sends87FramesOfTheImage) {
    RegisterImage image{};
    for (std::size_t k = 0; k < image.size(); ++k)
        image[k] = static_cast<std::int16_t>((k * 7) % 256);
    const ExchangeResult result = bench.commands.WriteConfiguration(SensorFamily::B, image);

    std::vector<std::string> expected;
    for (int reg = 10; reg <= 96; ++reg)
        expected.push_back(
            WriteFrame(static_cast<std::uint8_t>(reg), static_cast<std::uint8_t>(image[reg])));
    EXPECT_EQ(sensor.SentOfKind('P'), expected);
    EXPECT_EQ(sensor.sent.size(), 87u);
    EXPECT_TRUE(result.completed());
    EXPECT_EQ(listener.progress.front(), 11);
    EXPECT_EQ(listener.progress.back(), 96);
}

TEST_F(Transfer, FamilyAWrite_SendsElevenThen33To89) {
    RegisterImage image{};
    image[11] = 1;
    image[89] = 255;
    const ExchangeResult result = bench.commands.WriteConfiguration(SensorFamily::A, image);
    const auto frames = sensor.SentOfKind('P');
    EXPECT_EQ(RegistersOf(frames), AsInts(WriteRegisters(SensorFamily::A)));
    EXPECT_EQ(frames.front(), WriteFrame(11, 1));
    EXPECT_EQ(frames.back(), WriteFrame(89, 255));
    EXPECT_TRUE(result.completed());
    EXPECT_EQ(listener.progress.front(), 33);
}

TEST_F(Transfer, Write_ElementOutsideAByteSendsTheNearestByte) {
    RegisterImage image{};
    image[10] = -5;
    image[11] = 300;
    bench.commands.WriteConfiguration(SensorFamily::B, image);
    const auto frames = sensor.SentOfKind('P');
    EXPECT_EQ(frames[0], WriteFrame(10, 0));
    EXPECT_EQ(frames[1], WriteFrame(11, 255));
}

TEST_F(Transfer, LateReply_EndsTheReadOnePeriodAfterTheUnansweredFrame) {
    sensor.silentFromRegister = 40;
    const ExchangeResult result = bench.commands.ReadConfiguration(SensorFamily::B);

    const auto& last = sensor.sent.back();
    EXPECT_EQ(static_cast<unsigned char>(last.bytes[3]), 40);
    EXPECT_EQ(listener.endTimes.back(), last.time + 100);
    EXPECT_EQ(result.outcome, ExchangeOutcome::ReplyLate);
    EXPECT_EQ(result.unansweredRegister, 40);
    EXPECT_FALSE(bench.protocol.TransferOk());
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
    EXPECT_EQ(bench.protocol.GroupSize(), 1);
    // The progress bar stays with the last register reached.
    EXPECT_EQ(listener.progress.back(), 40);
    EXPECT_EQ(listener.progressHidden, 0);
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
    const ExchangeResult result = bench.commands.ReadConfiguration(SensorFamily::None);
    EXPECT_EQ(result.outcome, ExchangeOutcome::NotStarted);
    EXPECT_TRUE(sensor.sent.empty());
}

TEST_F(Transfer, PortLostDuringARead_EndsItAsALateReplyDoes) {
    bench.protocol.StartRead(SensorFamily::B);
    bench.clock.RunUntil(20); // a few registers
    bench.protocol.PortClosed();

    const ExchangeResult& result = bench.protocol.LastResult();
    EXPECT_EQ(result.outcome, ExchangeOutcome::PortLost);
    EXPECT_EQ(result.exchange, Exchange::Read);
    EXPECT_GT(result.unansweredRegister, 10);
    EXPECT_FALSE(bench.protocol.ExchangeRunning());
    EXPECT_FALSE(bench.protocol.TransferOk());
    EXPECT_EQ(bench.protocol.ReceiveState(), 1);
    // Nothing is left to tick.
    const auto sentBefore = sensor.sent.size();
    bench.clock.RunUntil(1000);
    EXPECT_EQ(sensor.sent.size(), sentBefore);
    EXPECT_TRUE(bench.timer.ticks.empty());
}

} // namespace
} // namespace telmora::testing
