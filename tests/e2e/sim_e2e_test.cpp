// The built simulator over a real pseudo-terminal: a smoke check of each option and fault
// that the program's own end-to-end tests do not meet (they meet the echo, stored writes,
// loaded images and the faults silent, stop-at, hang-ups, ignore-p, echo-burst and stray).

#include "sim_harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

using namespace telmora::simtest;

TEST(SimStream, SineWithLostEchoes_StopsAfterTheCount) {
    SimProcess sim({"--family", "a", "--sine", "6:60", "--period", "8", "--lost-every", "4",
                    "--count", "16", "--rate", "0"});
    sim.OpenPort();
    ASSERT_TRUE(sim.WaitForLog("stream stops after 16 readings"));
    sim.Write(DetectionFrame());
    const std::string stream = sim.ReadUntil(DetectionFrame()).value_or("no echo");
    ASSERT_EQ(stream.size(), 16u * 6);
    EXPECT_EQ(stream.substr(0, 6), "\r01773");  // starts at 6 inch
    EXPECT_EQ(stream.substr(18, 6), "\r00000"); // the 4th reading is a lost echo
    EXPECT_EQ(stream.substr(24, 6), "\r17730"); // half a cycle later: 60 inch
}

TEST(SimStream, ExchangePausesTheStreamUntilEnd_ARangeWriteChangesLaterCounts) {
    // The family B factory image selects the long range: 0.006768 inch per count.
    SimProcess sim({"--family", "b", "--distance", "12", "--rate", "500"});
    sim.OpenPort();
    sim.Write(DetectionFrame());
    ASSERT_TRUE(sim.ReadUntil(DetectionFrame()).has_value());
    // From the echo on, only replies arrive, however fast the sensor streamed before.
    // Normal range (bit 7 without bit 5) halves the inches per count: 12 inch is 3546.
    sim.Write("T00" + Frame('G', 87, 0) + Frame('P', 87, 128 + 64));
    EXPECT_EQ(sim.Read(17), "KB001" + Frame('G', 87, 233) + Frame('P', 87, 192));
    sim.Write("E");
    EXPECT_EQ(sim.ReadUntil("\r"), "");
    EXPECT_EQ(sim.Read(5), "03546");
}

TEST(SimStream, PacedLine_TakesOneCharacterTimePerByte) {
    SimProcess sim({"--paced", "--rate", "0", "--count", "100"});
    // Timed from before the port opens, so a slow reader can only make it look slower; a
    // late wake-up lets the line catch up by a few characters, never more.
    const auto start = std::chrono::steady_clock::now();
    sim.OpenPort();
    EXPECT_EQ(sim.Read(600).size(), 600u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 592 * std::chrono::microseconds(1042));
}

TEST(SimFaults, NoIdentLateAndGarbage) {
    SimProcess noIdent({"--family", "b", "--count", "0", "--fault", "no-ident"});
    noIdent.OpenPort();
    noIdent.Write(DetectionFrame() + "T00" + Frame('G', 87, 0));
    EXPECT_EQ(noIdent.Read(12), DetectionFrame() + Frame('G', 87, 233));

    SimProcess late({"--count", "0", "--fault", "late=300"});
    late.OpenPort();
    const auto sent = std::chrono::steady_clock::now();
    late.Write(DetectionFrame());
    EXPECT_EQ(late.Read(6), DetectionFrame());
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 300ms);

    // One to three stray bytes before each reading of 12 inch (3546.1 counts).
    SimProcess garbage({"--count", "3", "--rate", "0", "--fault", "garbage=100", "--family", "a",
                        "--distance", "12"});
    garbage.OpenPort();
    for (int k = 0; k < 3; ++k) {
        const std::size_t stray = garbage.ReadUntil("\r03546").value_or("").size();
        EXPECT_TRUE(stray >= 1 && stray <= 3) << stray;
    }
}

TEST(SimEnding, ExitOnCloseAndTerminate_EndCleanly) {
    SimProcess closing({"--exit-on-close=200", "--rate", "50"});
    closing.OpenPort();
    ASSERT_TRUE(closing.WaitForLog("other end opened"));
    closing.ClosePort();
    EXPECT_EQ(closing.WaitExit(), 0);

    // Terminated, the sensor writes its registers out and removes its link to the terminal.
    SimProcess sim({"--family", "a", "--link", "@/port", "--dump-image", "@/image.cfg"});
    EXPECT_EQ(std::filesystem::read_symlink(sim.File("port")), sim.TerminalPath());
    ASSERT_TRUE(sim.WaitForLog("sensor on"));
    EXPECT_EQ(sim.Stop(SIGTERM), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(sim.File("port")));
    const std::string image = ReadFileBytes(sim.File("image.cfg"));
    ASSERT_EQ(image.size(), 256u);
    EXPECT_EQ(image[2 * 11], 10);
}
