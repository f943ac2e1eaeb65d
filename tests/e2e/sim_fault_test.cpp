// The simulator's named faults, its command line and how it ends.

#include "sim_harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <regex>

using namespace telmora::simtest;

namespace {

SimProcess* opened(SimProcess& sim) {
    sim.OpenPort();
    return &sim;
}

} // namespace

TEST(SimFaults, StopAt_SilencesTheRestOfTheExchangeThenTheStreamResumes) {
    SimProcess sim({"--family", "a", "--fault", "stop-at=88", "--exchange-timeout", "200"});
    opened(sim)->Write(DetectionFrame());
    ASSERT_TRUE(sim.ReadUntil(DetectionFrame()).has_value());
    sim.Write(Frame('G', 87, 0));
    EXPECT_EQ(sim.Read(6), Frame('G', 87, 193));
    sim.Write(Frame('G', 88, 0) + Frame('G', 89, 0));
    // Nothing answers 88 or 89; the next bytes are the stream after the pause.
    std::string next = sim.Read(6);
    EXPECT_TRUE(std::regex_match(next, std::regex("\r\\d{5}"))) << next;
    const std::string log = sim.Log();
    EXPECT_NE(log.find("rx G 89 0 -> no reply (stopped at register 88)"), std::string::npos);
}

TEST(SimFaults, IgnoreP_AcknowledgesTheWriteButReadsBackTheOldValue) {
    SimProcess sim({"--family", "b", "--count", "0", "--fault", "ignore-p=20"});
    opened(sim)->Write(Frame('P', 20, 7) + Frame('P', 21, 7) + Frame('G', 20, 0) +
                       Frame('G', 21, 0));
    EXPECT_EQ(sim.Read(24),
              Frame('P', 20, 7) + Frame('P', 21, 7) + Frame('G', 20, 0) + Frame('G', 21, 7));
}

TEST(SimFaults, HangUpAtRegister_DropsTheLineAndExits) {
    SimProcess sim({"--family", "b", "--count", "0", "--fault", "hangup-at=50", "--dump-image",
                    "@/image.cfg"});
    opened(sim)->Write(Frame('P', 49, 9) + Frame('G', 50, 0));
    EXPECT_EQ(sim.Read(6), Frame('P', 49, 9));
    EXPECT_TRUE(sim.WaitForHangUp());
    EXPECT_EQ(sim.WaitExit(), 0);
    EXPECT_NE(sim.Log().find("hang-up at register 50"), std::string::npos);
    // The writes before the hang-up stay in the sensor.
    EXPECT_EQ(ReadFileBytes(sim.File("image.cfg")).at(2 * 49), 9);
}

TEST(SimFaults, HangUpAfterReadings_DropsTheLineAfterThatMany) {
    SimProcess sim({"--fault", "hangup-after=3", "--rate", "0", "--distance", "12"});
    opened(sim);
    // The readings sent before the hang-up are delivered, then the line drops.
    EXPECT_EQ(sim.Read(18), "\r01773\r01773\r01773");
    EXPECT_TRUE(sim.WaitForHangUp());
    EXPECT_EQ(sim.WaitExit(), 0);
    const std::string log = sim.Log();
    EXPECT_NE(log.find("reading 3 "), std::string::npos);
    EXPECT_EQ(log.find("reading 4 "), std::string::npos);
}

TEST(SimFaults, Silent_SendsNeitherRepliesNorReadings) {
    SimProcess sim({"--fault", "silent", "--rate", "0"});
    opened(sim)->Write(DetectionFrame());
    ASSERT_TRUE(sim.WaitForLog("-> no reply (silent)"));
    EXPECT_EQ(sim.ReadWaiting(), "");
    EXPECT_EQ(sim.Log().find("reading 1 "), std::string::npos);
}

TEST(SimFaults, NoIdent_FamilyBLeavesTheQueryUnanswered) {
    SimProcess sim({"--family", "b", "--count", "0", "--fault", "no-ident"});
    opened(sim)->Write(DetectionFrame() + "T00" + Frame('G', 87, 0));
    EXPECT_EQ(sim.Read(12), DetectionFrame() + Frame('G', 87, 233));
}

TEST(SimFaults, Late_HoldsEachReplyBackAtLeastThatLong) {
    SimProcess sim({"--count", "0", "--fault", "late=300"});
    opened(sim);
    const auto sent = std::chrono::steady_clock::now();
    sim.Write(DetectionFrame());
    EXPECT_EQ(sim.Read(6), DetectionFrame());
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 300ms);
}

TEST(SimFaults, Garbage_PutsTheLoggedStrayBytesBeforeReadings) {
    SimProcess sim({"--family", "a", "--count", "3", "--rate", "0", "--fault", "garbage=100",
                    "--distance", "12"});
    opened(sim);
    ASSERT_TRUE(sim.WaitForLog("stream stops after 3 readings"));
    // Every reading carries one to three stray bytes first; rebuild the line from the log.
    std::string expected;
    const std::string log = sim.Log();
    static const std::regex garbage(R"(garbage:((?: \d+)+))");
    int noisy = 0;
    for (std::sregex_iterator it(log.begin(), log.end(), garbage), end; it != end; ++it) {
        std::istringstream values((*it)[1].str());
        for (int b; values >> b;) {
            expected += static_cast<char>(b);
        }
        expected += "\r03546";
        ++noisy;
    }
    EXPECT_EQ(noisy, 3);
    EXPECT_EQ(sim.Read(expected.size()), expected);
}

TEST(SimEnding, ExitOnClose_ExitsOnceTheOtherEndStaysClosed) {
    SimProcess sim({"--exit-on-close=200", "--rate", "50"});
    opened(sim);
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

TEST(SimCommandLine, HelpListsEveryOptionAndFault) {
    Finished help = RunToEnd({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word :
         {"--family",     "--config",       "--link",          "--rate",
          "--distance",   "--ramp",         "--sine",          "--period",
          "--lost-every", "--count",        "--paced",         "--exchange-timeout",
          "--log",        "--quiet",        "--record",        "--dump-image",
          "--fault",      "--seed",         "--exit-on-close", "silent",
          "no-ident",     "stop-at=N",      "late=MS",         "garbage",
          "hangup-at=N",  "hangup-after=N", "ignore-p=N"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
}

TEST(SimCommandLine, BadArguments_AreRefusedWithTheReason) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--family", "c"}, "--family wants a or b"},
        {{"--fault", "explode"}, "unknown fault \"explode\""},
        {{"--fault", "stop-at=256"}, "register number 0 to 255"},
        {{"--fault", "stop-at"}, "wants a value"},
        {{"--rate", "fast"}, "--rate wants"},
        {{"--ramp", "6"}, "FROM:TO"},
        {{"--count"}, "--count wants a value"},
        {{"--bogus"}, "unknown option \"--bogus\""},
    };
    for (const auto& [args, reason] : cases) {
        Finished run = RunToEnd(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_NE(run.out.find(reason), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("/dev/pts/"), std::string::npos); // no terminal was made
    }
}
