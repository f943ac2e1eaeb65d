// The simulator's named faults, its command line and how it ends. Faults the program's
// own end-to-end tests meet (silent, stop-at, hang-ups, ignore-p) are checked there.

#include "sim_harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <regex>

using namespace telmora::simtest;

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

TEST(SimFaults, Garbage_PutsTheLoggedStrayBytesBeforeReadings) {
    SimProcess sim({"--family", "a", "--count", "3", "--rate", "0", "--fault", "garbage=100",
                    "--distance", "12"});
    sim.OpenPort();
    ASSERT_TRUE(sim.WaitForLog("stream stops after 3 readings"));
    // Every reading carries one to three stray bytes first; rebuild the line from the log.
    // 12 inch at 0.003384 inch per count (family A, normal range) is 3546.1 counts.
    std::string expected;
    const std::string log = sim.Log();
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
