// The simulated sensor's parts that need no terminal: the frame parser, the readings and
// the exchange rules, driven by a fake clock.

#include "frame_parser.h"
#include "reading_source.h"
#include "sensor_image.h"
#include "sensor_model.h"

#include <gtest/gtest.h>

using namespace telmora::sim;
using namespace std::chrono_literals;

namespace {

Bytes bytesOf(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

std::vector<Received> parseInPieces(const Bytes& all, std::size_t piece) {
    FrameParser parser;
    std::vector<Received> out;
    for (std::size_t i = 0; i < all.size(); i += piece) {
        std::size_t n = std::min(piece, all.size() - i);
        parser.Push(std::span(all).subspan(i, n), out);
    }
    return out;
}

struct FakeLine : SensorLine {
    std::string sent;
    int ends = 0;
    void Send(Bytes bytes, Clock::duration) override { sent.append(bytes.begin(), bytes.end()); }
    void Stream(Bytes bytes) override { sent.append(bytes.begin(), bytes.end()); }
    void Log(const std::string&) override {}
    void EndReceived(const telmora::RegisterImage&) override { ++ends; }
    void HangUp() override {}
};

} // namespace

TEST(SimFrameParser, FramesInAnyPieces_GiveTheSameCommands) {
    Bytes all = BuildFrame('W', 55, 132);
    for (const Bytes& more :
         {bytesOf("T00"), BuildFrame('G', 99, 0), BuildFrame('P', 10, 200), bytesOf("E")}) {
        all.insert(all.end(), more.begin(), more.end());
    }
    for (std::size_t piece : {1u, 2u, 5u, 100u}) {
        auto units = parseInPieces(all, piece);
        ASSERT_EQ(units.size(), 5u) << "pieces of " << piece;
        EXPECT_EQ(units[0].kind, Received::Kind::Write);
        EXPECT_EQ(units[0].bytes, (Bytes{'W', '0', '0', 55, 132, 114}));
        EXPECT_EQ(units[1].kind, Received::Kind::Ident);
        EXPECT_EQ(units[2].kind, Received::Kind::Get);
        EXPECT_EQ(units[2].bytes[5], 10); // 167 + 99 wraps to 10
        EXPECT_EQ(units[3].kind, Received::Kind::Put);
        EXPECT_EQ(units[3].bytes[5], 130); // 176 + 10 + 200 = 386, less 256
        EXPECT_EQ(units[4].kind, Received::Kind::End);
    }
}

TEST(SimFrameParser, NoiseIsSkippedByteByByte_BadChecksumDropsTheWholeFrame) {
    Bytes bad = BuildFrame('P', 69, 'E');
    bad[5] ^= 1;
    Bytes all = bytesOf("GX");
    all.insert(all.end(), bad.begin(), bad.end());
    Bytes good = BuildFrame('G', 11, 0);
    all.insert(all.end(), good.begin(), good.end());
    auto units = parseInPieces(all, 3);
    ASSERT_EQ(units.size(), 3u);
    EXPECT_EQ(units[0].kind, Received::Kind::Stray);
    EXPECT_EQ(units[0].bytes, bytesOf("GX"));
    EXPECT_EQ(units[1].kind, Received::Kind::BadChecksum);
    EXPECT_EQ(units[2].kind, Received::Kind::Get);
    EXPECT_EQ(units[2].reg, 11);
}

TEST(SimReadings, CountsAreRoundedZeroPaddedAndKeptToFiveDigits) {
    EXPECT_EQ(ReadingSource::CountsText(4.175856, 0.003384f), "01234");
    EXPECT_EQ(ReadingSource::CountsText(0.0, 0.003384f), "00000");
    EXPECT_EQ(ReadingSource::CountsText(9999.0, 0.003384f), "99999");
    EXPECT_EQ(ReadingSource::CountsText(24.0, 0.006768f), "03546");
}

TEST(SimReadings, RampRisesOverThePeriodAndLostEchoesReplaceEveryNth) {
    DistancePattern ramp{PatternKind::Ramp, 10.0, 20.0, 4, 3};
    ReadingSource source(ramp);
    EXPECT_DOUBLE_EQ(source.DistanceAt(0), 10.0);
    EXPECT_DOUBLE_EQ(source.DistanceAt(1), 12.5);
    EXPECT_DOUBLE_EQ(source.DistanceAt(2), 0.0); // the third reading is lost
    EXPECT_DOUBLE_EQ(source.DistanceAt(3), 17.5);
    EXPECT_DOUBLE_EQ(source.DistanceAt(4), 10.0);
}

// The factory registers themselves are read over the terminal in sim_exchange_test.
TEST(SimImage, RangeFlagsGiveTheCountDistance) {
    telmora::RegisterImage b = FactoryImage(Family::B);
    EXPECT_FLOAT_EQ(CountDistanceOf(FactoryImage(Family::A), Family::A, 0.0f), 0.003384f);
    EXPECT_FLOAT_EQ(CountDistanceOf(b, Family::B, 0.0f), 0.006768f);
    b[87] = 32; // long range without the range-valid bit: the sensor keeps its range
    EXPECT_FLOAT_EQ(CountDistanceOf(b, Family::B, 0.003384f), 0.003384f);
    b[87] = 0;
    EXPECT_FLOAT_EQ(CountDistanceOf(b, Family::B, 0.003384f), 0.013536f);
}

TEST(SimModel, PauseWithoutEnd_EndsTheExchangeAndTheStreamResumes) {
    SimOptions options;
    options.family = Family::A;
    options.rate = 10;
    options.exchangeTimeoutMs = 1000;
    FakeLine line;
    SensorModel model(options, FactoryImage(Family::A), line);
    Clock::time_point t{};
    model.SetPeerPresent(true, t);
    model.Tick(t, true);
    ASSERT_EQ(line.sent, "\r07092"); // 24 inch

    line.sent.clear();
    Bytes w = BuildFrame('W', 55, 132);
    model.Receive(w, t + 10ms);
    EXPECT_EQ(line.sent, std::string(w.begin(), w.end()));
    line.sent.clear();
    model.Tick(t + 500ms, true); // a reading is overdue, but the exchange holds it back
    model.Tick(t + 1009ms, true);
    EXPECT_EQ(line.sent, "");
    EXPECT_TRUE(model.InExchange());
    ASSERT_TRUE(model.NextDeadline(true).has_value());
    EXPECT_EQ(*model.NextDeadline(true), t + 1010ms);
    model.Tick(t + 1010ms, true);
    EXPECT_FALSE(model.InExchange());
    EXPECT_EQ(line.sent, "\r07092");
    EXPECT_EQ(line.ends, 0); // a pause is not an end command: no image dump
}
