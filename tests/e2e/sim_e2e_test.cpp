// The built simulator over a real pseudo-terminal: its replies, its stream of readings, its
// named faults and how it ends. The program's own end-to-end tests meet the echo, stored
// writes, loaded images and the faults silent, stop-at, hang-ups and ignore-p.

#include "sim_harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
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

TEST(SimStream, ExchangePausesTheStreamUntilEnd_ARangeWriteChangesLaterCounts) {
    // The family B factory image selects the long range: 0.006768 inch per count.
    SimProcess sim({"--family", "b", "--distance", "12", "--rate", "500"});
    sim.OpenPort();
    ASSERT_TRUE(sim.ReadUntil("\r").has_value());
    EXPECT_EQ(sim.Read(5), "01773");
    const std::string before = streamBeforeEcho(sim);
    EXPECT_TRUE(std::regex_match(before, std::regex(R"((\r01773)*)"))) << before;

    // From the echo on, only replies arrive, however fast the sensor streamed before.
    // Normal range (bit 7 without bit 5) halves the inches per count: 12 inch is 3546.
    sim.Write("T00" + Frame('G', 87, 0) + Frame('P', 87, 128 + 64));
    EXPECT_EQ(sim.Read(17), "KB001" + Frame('G', 87, 233) + Frame('P', 87, 192));
    sim.Write("E");
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

TEST(SimFaults, NoIdent_FamilyBLeavesTheQueryUnanswered) {
    SimProcess sim({"--family", "b", "--count", "0", "--fault", "no-ident"});
    sim.OpenPort();
    sim.Write(DetectionFrame() + "T00" + Frame('G', 87, 0));
    EXPECT_EQ(sim.Read(12), DetectionFrame() + Frame('G', 87, 233));
}

TEST(SimFaults, Late_HoldsEachReplyBackAtLeastThatLong) {
    SimProcess sim({"--count", "0", "--fault", "late=300"});
    sim.OpenPort();
    const auto sent = std::chrono::steady_clock::now();
    sim.Write(DetectionFrame());
    EXPECT_EQ(sim.Read(6), DetectionFrame());
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 300ms);
}

TEST(SimFaults, Garbage_PutsTheLoggedStrayBytesBeforeEachReading) {
    SimProcess sim({"--family", "a", "--count", "3", "--rate", "0", "--fault", "garbage=100",
                    "--distance", "12"});
    sim.OpenPort();
    ASSERT_TRUE(sim.WaitForLog("stream stops after 3 readings"));
    // One to three stray bytes, then 12 inch at 0.003384 inch per count: 3546.1 counts.
    const std::string log = sim.Log();
    std::string expected;
    static const std::regex garbage(R"(garbage:((?: \d+)+))");
    for (std::sregex_iterator it(log.begin(), log.end(), garbage), end; it != end; ++it) {
        std::istringstream values((*it)[1].str());
        for (int b; values >> b;) {
            expected += static_cast<char>(b);
        }
        expected += "\r03546";
    }
    EXPECT_EQ(std::count(expected.begin(), expected.end(), '\r'), 3);
    EXPECT_EQ(sim.Read(expected.size()), expected);
}

TEST(SimEnding, ExitOnClose_ExitsOnceTheOtherEndStaysClosed) {
    SimProcess sim({"--exit-on-close=200", "--rate", "50"});
    sim.OpenPort();
    ASSERT_TRUE(sim.WaitForLog("other end opened"));
    sim.ClosePort();
    EXPECT_EQ(sim.WaitExit(), 0);
    EXPECT_NE(sim.Log().find("other end closed"), std::string::npos);
}

TEST(SimEnding, Terminate_WritesTheImageAndExitsCleanly) {
    SimProcess sim({"--family", "a", "--link", "@/port", "--dump-image", "@/image.cfg"});
    EXPECT_EQ(std::filesystem::read_symlink(sim.File("port")), sim.TerminalPath());
    ASSERT_TRUE(sim.WaitForLog("sensor on"));
    EXPECT_EQ(sim.Stop(SIGTERM), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(sim.File("port")));
    const std::string image = ReadFileBytes(sim.File("image.cfg"));
    ASSERT_EQ(image.size(), 256u);
    EXPECT_EQ(static_cast<unsigned char>(image[2 * 87]), 193);
    EXPECT_EQ(image[2 * 11], 10);
}

TEST(SimCommandLine, BadArgumentsAndUnusableConfigFiles_AreRefusedWithTheReason) {
    // Files in the folder the harness removes when the test ends.
    const std::string folder = ScratchPath("sim-e2e-");
    std::ofstream(folder + "short.cfg", std::ios::binary) << std::string(100, '\0');
    std::string wide(256, '\0');
    wide[2 * 40 + 1] = 1; // element 40 holds 256, more than a register holds
    std::ofstream(folder + "wide.cfg", std::ios::binary) << wide;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--family", "c"}, "--family wants a or b"},
        {{"--fault", "explode"}, "unknown fault \"explode\""},
        {{"--fault", "stop-at=256"}, "register number 0 to 255"},
        {{"--fault", "stop-at"}, "wants a value"},
        {{"--rate", "fast"}, "--rate wants"},
        {{"--ramp", "6"}, "FROM:TO"},
        {{"--count"}, "--count wants a value"},
        {{"--bogus"}, "unknown option \"--bogus\""},
        {{"--config", folder + "short.cfg"}, "holds 100 bytes"},
        {{"--config", folder + "wide.cfg"}, "element 40 holds 256"},
        {{"--config", folder + "none.cfg"}, folder + "none.cfg"},
    };
    for (const auto& [args, reason] : cases) {
        const Finished run = ChildProcess(KELVO_SIM_PATH, args).Finish();
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_EQ(run.out, ""); // no terminal was made
    }
}
