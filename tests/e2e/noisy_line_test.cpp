// kelvo against a simulated sensor on a noisy line: a stray byte before some replies,
// and detection echoes that a slow adapter holds back and delivers together. A run either
// gives exactly what a clean line gives or fails with a non-zero status.
#include "sim_harness.h"
#include "window_session.h"

#include "link/frames.h"

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>

using namespace telmora;
using namespace telmora::kelvo;
using namespace telmora::simtest;

constexpr int kSeeds = 20;

TEST(NoisyLine, StrayBytesBeforeRepliesGiveTheCleanResultOrAFailure) {
    for (const auto& [flag, family] : kFamilies) {
        SCOPED_TRACE(std::string("family ") + flag);
        const std::string sensorFile =
            ImageFile(std::string("noisy-") + flag + ".cfg", UnusualImage(family, 31.5f));
        const std::string writeFile =
            ImageFile(std::string("noisy-write-") + flag + ".cfg", UnusualImage(family, 12.25f));
        std::string clean;
        {
            SimProcess sim({"--family", flag, "--config", sensorFile});
            ASSERT_EQ(RunKelvo({"read", "--port", sim.TerminalPath(), "-o", sim.File("clean.cfg")})
                          .status,
                      0);
            clean = ReadFileBytes(sim.File("clean.cfg"));
        }
        // What "Save Configuration To Sensor" of the other file sends.
        const RegisterImage sent = SensorImageFromFile(ImageOf(writeFile), family);
        int reads = 0;
        int writes = 0;
        for (int seed = 1; seed <= kSeeds; ++seed) {
            SCOPED_TRACE("seed " + std::to_string(seed));
            SimProcess sim({"--family", flag, "--config", sensorFile, "--fault",
                            "stray=5," + std::to_string(seed), "--dump-image", "@/held.cfg"});
            const Finished read =
                RunKelvo({"read", "--port", sim.TerminalPath(), "-o", sim.File("read.cfg")});
            if (read.status == 0) {
                ++reads;
                EXPECT_EQ(ReadFileBytes(sim.File("read.cfg")), clean);
            }
            // The write checks itself by reading back.
            const Finished write =
                RunKelvo({"write", "--port", sim.TerminalPath(), writeFile, "--family", flag});
            ASSERT_EQ(sim.Stop(SIGTERM), 0);
            if (write.status == 0) {
                ++writes;
                const RegisterImage held = ImageOf(sim.File("held.cfg"));
                for (const std::uint8_t reg : WriteRegisters(family)) {
                    EXPECT_EQ(held[reg], sent[reg]) << "register " << int(reg);
                }
            }
        }
        std::cout << "family " << flag << ", stray bytes before 5% of replies: " << reads << " of "
                  << kSeeds << " reads and " << writes << " of " << kSeeds
                  << " checked writes succeeded\n";
        EXPECT_GE(reads, kSeeds * 8 / 10);
        EXPECT_GE(writes, kSeeds * 8 / 10);
    }
}

TEST(NoisyLine, HeldDetectionEchoesDoNotChangeTheFamily) {
    for (const auto& [flag, family] : kFamilies) {
        SimProcess sim({"--family", flag, "--fault", "echo-burst=3"});
        const Finished detect = RunKelvo({"detect", "--port", sim.TerminalPath()});
        EXPECT_EQ(detect.status, 0) << detect.err;
        EXPECT_EQ(detect.out, std::string(FamilyName(family)) + "\n");
    }
}
