// kelvo against the simulated sensor over a pseudo-terminal: every command, both
// families, and the faults a bench meets (no sensor, a sensor that stops, a write that
// does not stick, the wrong family, a line that hangs up, held echoes, stray bytes).
#include "sim_harness.h"
#include "window_session.h"

#include "config/config_file.h"
#include "config/image_b.h"
#include "link/frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <regex>

using namespace telmora;
using namespace telmora::kelvo;
using namespace telmora::simtest;

TEST(KelvoFamilies, DetectReadWriteRead_SavesTheWindowsFileAndRoundTripsIt) {
    for (const auto& [flag, family] : kFamilies) {
        SCOPED_TRACE(std::string("family ") + flag);
        const RegisterImage sensor = UnusualImage(family);
        // A slow adapter holds the detection echoes back and delivers them together.
        SimProcess sim({"--family", flag, "--config", ImageFile("sensor.cfg", sensor),
                        "--dump-image", "@/held.cfg", "--fault", "echo-burst=3"});
        const Finished detect = RunKelvo({"detect", "--port", sim.TerminalPath()});
        EXPECT_EQ(detect.status, 0) << detect.err;
        EXPECT_EQ(detect.out, std::string(FamilyName(family)) + "\n");
        EXPECT_EQ(detect.err, "");

        // The file the window saves after "Get Configuration From Sensor".
        const std::string first = sim.File("read.cfg");
        ASSERT_EQ(RunKelvo({"read", "--port", sim.TerminalPath(), "-o", first}).status, 0);
        const RegisterImage file = FileImageAfterSensorRead(family, sensor);
        const ConfigFileBytes expected = ImageToFileBytes(file);
        EXPECT_EQ(ReadFileBytes(first), std::string(expected.begin(), expected.end()));

        const Finished write =
            RunKelvo({"write", "--port", sim.TerminalPath(), first, "--family", flag});
        ASSERT_EQ(write.status, 0) << write.err;
        EXPECT_NE(write.out.find("verified"), std::string::npos) << write.out;

        const std::string back = sim.File("back.cfg");
        ASSERT_EQ(RunKelvo({"read", "--port", sim.TerminalPath(), "-o", back}).status, 0);
        EXPECT_EQ(ReadFileBytes(back), ReadFileBytes(first));

        // The sensor holds exactly what "Save Configuration To Sensor" sends; it writes
        // its registers out as it stops.
        ASSERT_EQ(sim.Stop(SIGTERM), 0);
        const RegisterImage sent = SensorImageFromFile(file, family);
        const RegisterImage heldImage = ImageOf(sim.File("held.cfg"));
        for (const std::uint8_t reg : WriteRegisters(family)) {
            EXPECT_EQ(heldImage[reg], sent[reg]) << "register " << int(reg);
        }
    }
}

TEST(KelvoFailures, EachFailureHasItsStatusAndOneLine_NoFileIsLeft) {
    struct Case {
        std::vector<std::string> sim;
        std::vector<std::string> kelvo;
        int status;
        std::string err; // part of the one line; "PORT" stands for the terminal
        int outLines = 0;
        std::string received = {}; // all the sensor got after detection, if given
    };
    const std::string out = ScratchPath("failed.cfg");
    // Register 74 is Sw1Setpoint's low byte: the factory sensor holds 237 (long range),
    // the file's configuration 122 (normal range), so a sensor ignoring the write shows.
    const RegisterImage file =
        FileImageAfterSensorRead(SensorFamily::B, UnusualImage(SensorFamily::B));
    const RegisterImage sent = SensorImageFromFile(file, SensorFamily::B);
    RegisterImage factory{};
    SensorConfig defaults = StartUpSession().Record;
    EncodeImageB(defaults, factory);
    ASSERT_NE(sent[74], factory[74]);
    const std::string path = ImageFile("write.cfg", file);
    const Case cases[] = {
        {{"--fault", "silent"}, {"detect"}, 2, "kelvo: No Sensor Found\n"},
        {{"--fault", "stop-at=50"},
         {"read", "-o", out},
         5,
         "kelvo: the sensor stopped answering at the read of register 50\n"},
        {{"--fault", "hangup-at=40"}, {"read", "-o", out}, 7, "PORT"},
        {{}, {"read", "-o", "/nonexistent-folder/x.cfg"}, 6, "/nonexistent-folder/x.cfg"},
        {{"--fault", "ignore-p=74"},
         {"write", ImageFile("ignored.cfg", file)},
         4,
         "kelvo: the configuration read back differs at 1 register: 74 (wrote " +
             std::to_string(sent[74]) + ", read " + std::to_string(factory[74]) + ")\n"},
        // A monitor checks the port after every reading.
        {{"--fault", "hangup-after=3"}, {"monitor"}, 7, "hung up", 3},
        // The wrong family is refused before anything is written; "E" ends the exchange.
        {{"--family", "b"},
         {"write", path, "--family", "a"},
         3,
         "kelvo: Wrong Sensor Type, Check settings and try again (found Kelvo-B)\n",
         0,
         "T00E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        std::vector<std::string> simArgs = c.sim;
        simArgs.insert(simArgs.end(), {"--record", "@/received.bin"});
        SimProcess sim(simArgs);
        std::vector<std::string> args = c.kelvo;
        args.insert(args.begin() + 1, {"--port", sim.TerminalPath()});
        const Finished run = RunKelvo(args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.err == "PORT" ? sim.TerminalPath() : c.err), std::string::npos)
            << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), c.outLines) << run.out;
        if (c.outLines == 0) {
            EXPECT_EQ(run.out, "");
        }
        EXPECT_EQ(ReadFileBytes(out), "");
        if (!c.received.empty()) {
            ASSERT_TRUE(sim.WaitForLog("rx E"));
            EXPECT_EQ(sim.SentAfterDetection(), c.received);
        }
    }
}

TEST(KelvoWrite, NoVerify_SendsEveryRegisterAndReadsNothing) {
    const RegisterImage file =
        FileImageAfterSensorRead(SensorFamily::B, UnusualImage(SensorFamily::B));
    SimProcess sim({"--family", "b", "--record", "@/received.bin"});
    const Finished run = RunKelvo(
        {"write", "--port", sim.TerminalPath(), ImageFile("write.cfg", file), "--no-verify"});
    EXPECT_EQ(run.status, 0) << run.err;
    const RegisterImage sent = SensorImageFromFile(file, SensorFamily::B);
    std::string expected = "T00";
    for (const std::uint8_t reg : WriteRegisters(SensorFamily::B)) {
        expected += WriteFrame(reg, static_cast<std::uint8_t>(sent[reg]));
    }
    ASSERT_TRUE(sim.WaitForLog("rx E"));
    EXPECT_EQ(sim.SentAfterDetection(), expected + "E");
}

TEST(KelvoMonitor, PrintsEachReadingWithTimeAndInches_LostEchoesAsLost_OrAsCsv) {
    // A family A sensor counts in 0.003384 inch, as the window converts after start-up.
    SimProcess sim({"--family", "a", "--distance", "10", "--lost-every", "2"});
    const Finished run = RunKelvo({"monitor", "--port", sim.TerminalPath(), "--count", "4"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = [](const char* separator, int count) {
        return std::regex("(\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d" + std::string(separator) +
                          "(10\\.00|Lost)\n){" + std::to_string(count) + "}");
    };
    EXPECT_TRUE(std::regex_match(run.out, lines(" ", 4))) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), 'L'), 2) << run.out;

    const Finished csv =
        RunKelvo({"monitor", "--csv", "--port", sim.TerminalPath(), "--count", "2"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    ASSERT_TRUE(csv.out.starts_with("time,inches\n")) << csv.out;
    EXPECT_TRUE(std::regex_match(csv.out.substr(12), lines(",", 2))) << csv.out;
}

TEST(KelvoDetect, InterruptDuringTheExchange_InterruptedStatus) {
    SimProcess sim({"--fault", "silent"});
    ChildProcess detect(KELVO_PATH, {"detect", "--port", sim.TerminalPath()});
    // The first detection frame has gone out; nine more ticks remain before giving up.
    ASSERT_TRUE(sim.WaitForLog("no reply (silent)"));
    const Finished run = detect.Stop(SIGINT);
    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(run.err, "kelvo: interrupted\n");
    EXPECT_EQ(run.out, "");
}

// A stray byte before 5% of the replies: each run gives exactly what a clean line gives or
// fails with a non-zero status, and most runs succeed.
TEST(KelvoNoisyLine, StrayBytesBeforeRepliesGiveTheCleanResultOrAFailure) {
    constexpr int kSeeds = 20;
    const RegisterImage sensor = UnusualImage(SensorFamily::B, 31.5f);
    const std::string sensorFile = ImageFile("noisy.cfg", sensor);
    const ConfigFileBytes clean =
        ImageToFileBytes(FileImageAfterSensorRead(SensorFamily::B, sensor));
    const RegisterImage file = UnusualImage(SensorFamily::B, 12.25f);
    const std::string writeFile = ImageFile("noisy-write.cfg", file);
    const RegisterImage sent = SensorImageFromFile(file, SensorFamily::B);
    int reads = 0;
    int writes = 0;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        SimProcess sim({"--family", "b", "--config", sensorFile, "--fault",
                        "stray=5," + std::to_string(seed), "--dump-image", "@/held.cfg"});
        if (RunKelvo({"read", "--port", sim.TerminalPath(), "-o", sim.File("read.cfg")}).status ==
            0) {
            ++reads;
            EXPECT_EQ(ReadFileBytes(sim.File("read.cfg")), std::string(clean.begin(), clean.end()));
        }
        // The write checks itself by reading back.
        const Finished write =
            RunKelvo({"write", "--port", sim.TerminalPath(), writeFile, "--family", "b"});
        ASSERT_EQ(sim.Stop(SIGTERM), 0);
        if (write.status == 0) {
            ++writes;
            const RegisterImage held = ImageOf(sim.File("held.cfg"));
            for (const std::uint8_t reg : WriteRegisters(SensorFamily::B)) {
                EXPECT_EQ(held[reg], sent[reg]) << "register " << int(reg);
            }
        }
    }
    EXPECT_GE(reads, kSeeds * 8 / 10);
    EXPECT_GE(writes, kSeeds * 8 / 10);
}
