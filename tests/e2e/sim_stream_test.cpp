// The simulator's stream of readings, over a real pseudo-terminal.

#include "sim_harness.h"

#include <gtest/gtest.h>

#include <regex>

using namespace telmora::simtest;

namespace {

// Everything the sensor sent before it echoed a detection frame sent now.
std::string streamBeforeEcho(SimProcess& sim) {
    sim.Write(DetectionFrame());
    return sim.ReadUntil(DetectionFrame()).value_or("no echo");
}

} // namespace

TEST(SimStream, SineWithLostEchoes_MatchesTheLogReadingForReading_UpToTheCount) {
    SimProcess sim({"--family", "a", "--sine", "6:60", "--period", "8", "--lost-every", "4",
                    "--count", "16", "--rate", "0"});
    sim.OpenPort();
    ASSERT_TRUE(sim.WaitForLog("stream stops after 16 readings"));
    const std::string stream = streamBeforeEcho(sim);
    const std::string log = sim.Log();
    EXPECT_LT(log.find("other end opened"), log.find("reading 1 "));
    std::string logged;
    static const std::regex line(R"(reading \d+ (\d{5}))");
    for (std::sregex_iterator it(log.begin(), log.end(), line), end; it != end; ++it) {
        logged += "\r" + (*it)[1].str();
    }
    ASSERT_EQ(stream.size(), 16u * 6);
    EXPECT_EQ(stream, logged);
    EXPECT_EQ(stream.substr(0, 6), "\r01773");  // starts at 6 inch
    EXPECT_EQ(stream.substr(18, 6), "\r00000"); // the 4th reading is a lost echo
    EXPECT_EQ(stream.substr(24, 6), "\r17730"); // half a cycle later: 60 inch
    EXPECT_EQ(stream.substr(42, 6), "\r00000");
}

TEST(SimStream, Exchange_PausesTheStreamUntilEnd) {
    SimProcess sim({"--family", "b", "--rate", "500"});
    sim.OpenPort();
    ASSERT_TRUE(sim.ReadUntil("\r").has_value()); // the stream runs
    const std::string before = streamBeforeEcho(sim);
    EXPECT_TRUE(std::regex_match(before, std::regex(R"((\d{5})?(\r\d{5})*)"))) << before;

    // From the echo on, only replies arrive, however fast the sensor streamed before.
    sim.Write("T00" + std::string(Frame('G', 87, 0)));
    EXPECT_EQ(sim.Read(11), "KB001" + Frame('G', 87, 233));
    sim.Write("E");
    EXPECT_EQ(sim.ReadUntil("\r"), "");
    EXPECT_TRUE(std::regex_match(sim.Read(5), std::regex(R"(\d{5})")));
}

TEST(SimStream, WriteOfTheRangeFlags_ChangesTheCountsOfLaterReadings) {
    // The family B factory image selects the long range: 0.006768 inch per count.
    SimProcess sim({"--family", "b", "--distance", "12", "--rate", "200"});
    sim.OpenPort();
    ASSERT_TRUE(sim.ReadUntil("\r").has_value());
    EXPECT_EQ(sim.Read(5), "01773");
    streamBeforeEcho(sim);
    // Normal range (bit 7 without bit 5) halves the inches per count: 12 inch is 3546.
    sim.Write(Frame('P', 87, 128 + 64) + "E");
    EXPECT_EQ(sim.Read(6), Frame('P', 87, 192));
    EXPECT_EQ(sim.ReadUntil("\r"), "");
    EXPECT_EQ(sim.Read(5), "03546");
}

TEST(SimStream, PacedLine_TakesOneCharacterTimePerByte) {
    constexpr int kReadings = 100;
    constexpr auto kCharTime = std::chrono::microseconds(1042);
    SimProcess sim({"--paced", "--rate", "0", "--count", std::to_string(kReadings)});
    // Timed from before the port opens, so a slow reader can only make it look slower.
    const auto start = std::chrono::steady_clock::now();
    sim.OpenPort();
    EXPECT_EQ(sim.Read(6 * kReadings).size(), 6u * kReadings);
    // A late wake-up lets the line catch up by a few characters, never more.
    EXPECT_GE(std::chrono::steady_clock::now() - start, (6 * kReadings - 8) * kCharTime);
}
