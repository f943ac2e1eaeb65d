// kelvo against the simulated sensor over a pseudo-terminal: every command, both
// families, and the faults a bench meets (no sensor, a sensor that stops, a write that
// does not stick, the wrong family, a line that hangs up, held echoes, stray bytes).
#include "../support/golden_gtest.h"
#include "config/window_session.h"
#include "sim_harness.h"

#include "config/config_fields.h"
#include "config/config_file.h"
#include "config/image_common.h"
#include "link/frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <regex>

using namespace telmora;
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

        // The sensor compared with the file it was written from, then with switch 1 moved.
        const Finished same = RunKelvo({"diff", "--port", sim.TerminalPath(), first});
        EXPECT_EQ(same.status, 0) << same.out << same.err;
        RegisterImage moved = file;
        moved[image::kSw1Setpoint + 1] += 1;
        const Finished differs =
            RunKelvo({"diff", "--port", sim.TerminalPath(), ImageFile("moved.cfg", moved)});
        EXPECT_EQ(differs.status, 8) << differs.err;
        EXPECT_NE(differs.out.find("\n* Sw1Setpoint "), std::string::npos) << differs.out;
        EXPECT_NE(differs.out.find("\n1 difference\n"), std::string::npos) << differs.out;

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

// The report of a sensor and of the file read from it: every field the family holds with
// its caption and the value the window shows after loading the file, the same in both
// reports; none the family lacks; no readings taken.
TEST(KelvoReport, SensorAndItsFileGiveEveryHeldFieldWithTheWindowsValue) {
    for (const auto& [flag, family] : kFamilies) {
        SCOPED_TRACE(std::string("family ") + flag);
        SimProcess sim(
            {"--family", flag, "--config", ImageFile("sensor.cfg", UnusualImage(family))});
        const std::string file = sim.File("read.cfg");
        ASSERT_EQ(RunKelvo({"read", "--port", sim.TerminalPath(), "-o", file}).status, 0);
        const Finished fromSensor =
            RunKelvo({"report", file, "--port", sim.TerminalPath(), "-o", sim.File("sensor.html")});
        const Finished fromFile = RunKelvo({"report", file, "-o", sim.File("file.html")});
        ASSERT_EQ(fromSensor.status, 0) << fromSensor.err;
        ASSERT_EQ(fromFile.status, 0) << fromFile.err;
        EXPECT_EQ(fromFile.out, "Report written to " + sim.File("file.html") + "\n");
        const std::string sensorHtml = ReadFileBytes(sim.File("sensor.html"));
        const std::string fileHtml = ReadFileBytes(sim.File("file.html"));
        const auto row = [](const std::string& html, std::string_view caption) {
            const std::regex pattern("<tr><th>" + std::string(caption) + "</th><td>([^<]*)</td>");
            std::smatch match;
            return std::regex_search(html, match, pattern) ? std::optional(match[1].str())
                                                           : std::nullopt;
        };
        for (const auto& [html, expected] :
             {std::pair{sensorHtml, std::string(FamilyName(family))}, {fileHtml, "Kelvo-B"}}) {
            EXPECT_EQ(row(html, "Sensor family"), expected);
            EXPECT_EQ(row(html, "Program"), "Telmora 1.08");
            EXPECT_NE(html.find("<h2>Statistics</h2>\n<p>No readings were taken.</p>"),
                      std::string::npos);
            EXPECT_NE(html.find("<h2>Strip chart</h2>\n<p>No readings were taken.</p>"),
                      std::string::npos);
        }
        EXPECT_EQ(row(sensorHtml, "Port"), sim.TerminalPath());
        EXPECT_EQ(row(sensorHtml, "Configuration file"), file + " (the sensor holds the same)");
        EXPECT_EQ(row(fileHtml, "Configuration file"), file);
        EXPECT_EQ(row(fileHtml, "Port"), "No port open");

        for (const FieldRow& field : FieldRows(RecordShownFromFile(ImageOf(file)))) {
            const std::string_view caption = FieldCaption(field.Name);
            SCOPED_TRACE(field.Name);
            EXPECT_EQ(row(fileHtml, caption), field.Value);
            const std::optional<std::string> fromSensorValue = row(sensorHtml, caption);
            ASSERT_EQ(fromSensorValue.has_value(), FamilyHoldsField(family, field.Name));
            if (family == SensorFamily::A && field.Name.starts_with("Analog") &&
                field.Name.ends_with("Output")) {
                // A Kelvo-A's 8-bit outputs and the file's 12-bit ones agree as the
                // window shows them, to a tenth.
                EXPECT_NEAR(std::stod(*fromSensorValue), std::stod(field.Value), 0.05);
            } else if (fromSensorValue) {
                EXPECT_EQ(*fromSensorValue, field.Value);
            }
        }
    }
}

// Each run's status, its one line on standard error (up to "PORT", the terminal) and how many
// lines it printed are compared with kelvo_e2e.golden; no run leaves a file.
TEST(KelvoFailures, EachFailureHasItsStatusAndOneLine_NoFileIsLeft) {
    const std::string out = ScratchPath("failed.cfg");
    // Register 74 is Sw1Setpoint's low byte, which differs between the factory sensor and
    // the file, so a sensor ignoring the write shows.
    const std::string file = ImageFile(
        "write.cfg", FileImageAfterSensorRead(SensorFamily::B, UnusualImage(SensorFamily::B)));
    const struct {
        std::vector<std::string> sim;
        std::vector<std::string> kelvo;
        bool received = false; // the transcript shows all the sensor got after detection
    } cases[] = {
        {{"--fault", "silent"}, {"detect"}},
        {{"--fault", "silent"}, {"report", "-o", out}},
        {{"--fault", "stop-at=50"}, {"report", "-o", out}},
        {{"--fault", "stop-at=50"}, {"read", "-o", out}},
        {{"--fault", "hangup-at=40"}, {"read", "-o", out}},
        {{}, {"read", "-o", "/nonexistent-folder/x.cfg"}},
        {{"--fault", "ignore-p=74"}, {"write", file}},
        // A monitor checks the port after every reading.
        {{"--fault", "hangup-after=3"}, {"monitor"}},
        // The wrong family is refused before anything is written; "E" ends the exchange.
        {{"--family", "b"}, {"write", file, "--family", "a"}, true},
    };
    std::string text;
    for (const auto& c : cases) {
        std::vector<std::string> simArgs = c.sim;
        simArgs.insert(simArgs.end(), {"--record", "@/received.bin"});
        SimProcess sim(simArgs);
        std::vector<std::string> args = c.kelvo;
        args.insert(args.begin() + 1, {"--port", sim.TerminalPath()});
        const Finished run = RunKelvo(args);
        // How a hang-up shows (end of file, an error, a poll) depends on timing.
        const std::size_t port = run.err.find(sim.TerminalPath());
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        text += c.sim.empty() ? "clean sensor" : c.sim[0] + " " + c.sim[1];
        text += ", kelvo " + c.kelvo[0] + ": status " + std::to_string(run.status) +
                ", lines out " + std::to_string(std::count(run.out.begin(), run.out.end(), '\n')) +
                "\n" +
                (port == std::string::npos ? run.err : run.err.substr(0, port) + "PORT...\n");
        EXPECT_EQ(ReadFileBytes(out), "");
        if (c.received) {
            ASSERT_TRUE(sim.WaitForLog("rx E"));
            text += "received after detection: " + sim.SentAfterDetection() + "\n";
        }
    }
    test::ExpectGolden("failures", text);
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
