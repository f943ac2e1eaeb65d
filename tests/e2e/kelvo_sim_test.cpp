// kelvo against the simulated sensor over a pseudo-terminal: every command, both
// families, and the faults a bench meets (no sensor, a sensor that stops, a write that
// does not stick, the wrong family, a line that hangs up).
#include "kelvo_process.h"
#include "sim_harness.h"
#include "window_round_trip.h"

#include "config/config_file.h"
#include "config/image_a.h"
#include "config/image_b.h"
#include "link/frames.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <regex>
#include <sstream>

using namespace telmora;
using namespace telmora::kelvo;
using namespace telmora::kelvotest;
using telmora::simtest::ReadFileBytes;
using telmora::simtest::SimProcess;

namespace {

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "kelvo-e2e-" + std::to_string(getpid()) + "-" + name;
}

std::string writeImageFile(const std::string& name, const RegisterImage& image) {
    const std::string path = tempPath(name);
    const FileResult written = WriteConfigFile(path, ImageToFileBytes(image));
    EXPECT_TRUE(written.ok) << written.error;
    return path;
}

std::string fileBytes(const RegisterImage& image) {
    const ConfigFileBytes bytes = ImageToFileBytes(image);
    return std::string(bytes.begin(), bytes.end());
}

RegisterImage imageOfFile(const std::string& path) {
    const ConfigFileContents contents = ReadConfigFile(path);
    EXPECT_TRUE(contents.ok) << contents.error;
    RegisterImage image{};
    FileBytesToImage(contents.bytes, image);
    return image;
}

// A family B configuration far from the factory one: every kind of field differs.
RegisterImage unusualImageB() {
    SensorConfig record = StartUpSession().Record;
    record.MinRange = 7.3f;
    record.MaxRange = 150.5f;
    record.Sw1Setpoint = 12.3456f;
    record.Sw2Hyst = 1.234f;
    record.Sw2PowerUp = 1;
    record.Sw3Mode = 32;
    record.Sw4EchoLoss = 8;
    record.AnalogMode = 128;
    record.AnalogNearOutput = 1.234f;
    record.AnalogFarOutput = 9.876f;
    record.AnalogSlope = 0;
    record.AnalogEchoLoss = 8;
    record.RunMode = 6;
    record.FilterType = 7;
    record.NodeAddress = 17;
    record.Description = "Tank 3 level";
    RegisterImage image{};
    EncodeImageB(record, image);
    return image;
}

RegisterImage unusualImageA() {
    SensorConfig record = StartUpSession().Record;
    LoadFactoryDefaultsA(record);
    record.Sw1Setpoint = 9.87f;
    record.Sw2PowerUp = 1;
    record.AnalogMode = 128;
    record.AnalogNearOutput = 1.0f;
    record.AnalogFarOutput = 5.0f;
    record.Description = "Line 2";
    RegisterImage image{};
    EncodeImageA(record, image);
    return image;
}

struct FamilyCase {
    const char* flag;
    SensorFamily family;
    RegisterImage (*image)();
};

const FamilyCase kFamilies[] = {{"b", SensorFamily::B, unusualImageB},
                                {"a", SensorFamily::A, unusualImageA}};

// The command frames the simulator received, as (letter, register) pairs of "G" or "P".
std::vector<std::pair<char, int>> framesReceived(const std::string& bytes, char letter) {
    std::vector<std::pair<char, int>> frames;
    for (std::size_t i = 0; i + 5 < bytes.size(); ++i) {
        if (bytes[i] == letter && bytes[i + 1] == '0' && bytes[i + 2] == '0') {
            const auto reg = static_cast<unsigned char>(bytes[i + 3]);
            const auto value = static_cast<unsigned char>(bytes[i + 4]);
            const auto sum = static_cast<unsigned char>(bytes[i + 5]);
            if (static_cast<unsigned char>(letter + 96 + reg + value) == sum) {
                frames.emplace_back(letter, reg);
                i += 5;
            }
        }
    }
    return frames;
}

} // namespace

TEST(KelvoDetect, NamesTheFamilyOfEachSensor) {
    for (const FamilyCase& c : kFamilies) {
        SimProcess sim({"--family", c.flag});
        const KelvoRun run = RunKelvo({"detect", "--port", sim.TerminalPath()});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, std::string(FamilyName(c.family)) + "\n");
        EXPECT_EQ(run.err, "");
    }
}

TEST(KelvoDetect, SilentLine_NoSensorFound) {
    SimProcess sim({"--fault", "silent"});
    const KelvoRun run = RunKelvo({"detect", "--port", sim.TerminalPath()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "kelvo: No Sensor Found\n");
    EXPECT_EQ(run.out, "");
}

TEST(KelvoRead, SavesTheFileTheWindowWouldSave) {
    for (const FamilyCase& c : kFamilies) {
        const RegisterImage sensor = c.image();
        SimProcess sim({"--family", c.flag, "--config", writeImageFile("sensor.cfg", sensor)});
        const std::string out = tempPath(std::string("read-") + c.flag + ".cfg");

        const KelvoRun run = RunKelvo({"read", "--port", sim.TerminalPath(), "-o", out});

        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(ReadFileBytes(out), fileBytes(FileImageAfterSensorRead(c.family, sensor)))
            << "family " << c.flag;
    }
}

TEST(KelvoRead, SensorStoppingMidRead_TimeOutStatusAndNoFile) {
    SimProcess sim({"--fault", "stop-at=50"});
    const std::string out = tempPath("stopped.cfg");
    const KelvoRun run = RunKelvo({"read", "--port", sim.TerminalPath(), "-o", out});
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(run.err, "kelvo: the sensor stopped answering at the read of register 50\n");
    EXPECT_EQ(ReadFileBytes(out), "");
}

TEST(KelvoRead, LineHangingUpMidRead_PortStatus) {
    SimProcess sim({"--fault", "hangup-at=40"});
    const KelvoRun run =
        RunKelvo({"read", "--port", sim.TerminalPath(), "-o", tempPath("hangup.cfg")});
    EXPECT_EQ(run.status, 7);
    EXPECT_NE(run.err.find(sim.TerminalPath()), std::string::npos) << run.err;
}

TEST(KelvoRead, OutputThatCannotBeWritten_FileStatus) {
    SimProcess sim({});
    const KelvoRun run =
        RunKelvo({"read", "--port", sim.TerminalPath(), "-o", "/nonexistent-folder/x.cfg"});
    EXPECT_EQ(run.status, 6);
    EXPECT_NE(run.err.find("/nonexistent-folder/x.cfg"), std::string::npos) << run.err;
}

TEST(KelvoWriteRead, WriteThenReadRoundTripsTheFileByteForByte) {
    for (const FamilyCase& c : kFamilies) {
        // A file as kelvo read (or the window) saves it from a sensor of this family.
        const RegisterImage file = FileImageAfterSensorRead(c.family, c.image());
        const std::string path = writeImageFile(std::string("bench-") + c.flag + ".cfg", file);
        SimProcess sim({"--family", c.flag, "--dump-image", "@/sensor.cfg"});

        const KelvoRun write =
            RunKelvo({"write", "--port", sim.TerminalPath(), path, "--family", c.flag});
        ASSERT_EQ(write.status, 0) << write.err;
        EXPECT_NE(write.out.find("verified"), std::string::npos) << write.out;

        // The sensor holds exactly what "Save Configuration To Sensor" sends.
        const RegisterImage sent = SensorImageFromFile(file, c.family);
        const RegisterImage held = imageOfFile(sim.File("sensor.cfg"));
        for (const std::uint8_t reg : WriteRegisters(c.family)) {
            EXPECT_EQ(held[reg], sent[reg]) << "register " << int(reg) << ", family " << c.flag;
        }

        const std::string back = tempPath(std::string("back-") + c.flag + ".cfg");
        const KelvoRun read = RunKelvo({"read", "--port", sim.TerminalPath(), "-o", back});
        ASSERT_EQ(read.status, 0) << read.err;
        EXPECT_EQ(ReadFileBytes(back), ReadFileBytes(path)) << "family " << c.flag;
    }
}

TEST(KelvoWrite, RegisterTheSensorDoesNotStore_ReadBackNamesIt) {
    // Register 74 is Sw1Setpoint's low byte: the factory sensor holds 237 (long range),
    // the file's configuration 122 (normal range), so ignoring the write shows.
    const RegisterImage file = FileImageAfterSensorRead(SensorFamily::B, unusualImageB());
    const std::string path = writeImageFile("ignored.cfg", file);
    const RegisterImage sent = SensorImageFromFile(file, SensorFamily::B);
    SimProcess sim({"--fault", "ignore-p=74"});
    RegisterImage factory{};
    SensorConfig defaults = StartUpSession().Record;
    EncodeImageB(defaults, factory);
    ASSERT_NE(sent[74], factory[74]);

    const KelvoRun run = RunKelvo({"write", "--port", sim.TerminalPath(), path});

    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.err, "kelvo: the configuration read back differs at 1 register: 74 (wrote " +
                           std::to_string(sent[74]) + ", read " + std::to_string(factory[74]) +
                           ")\n");
}

TEST(KelvoWrite, WrongFamilyIsRefusedBeforeAnythingIsWritten) {
    const std::string path =
        writeImageFile("wrong.cfg", FileImageAfterSensorRead(SensorFamily::B, unusualImageB()));
    for (const FamilyCase& c : kFamilies) {
        const char* other = c.family == SensorFamily::A ? "b" : "a";
        SimProcess sim({"--family", c.flag, "--record", "@/received.bin"});

        const KelvoRun run =
            RunKelvo({"write", "--port", sim.TerminalPath(), path, "--family", other});

        EXPECT_EQ(run.status, 3);
        EXPECT_EQ(run.err, "kelvo: Wrong Sensor Type, Check settings and try again (found " +
                               std::string(FamilyName(c.family)) + ")\n");
        // The exchange is ended with "E", as the window does.
        EXPECT_TRUE(sim.WaitForLog("rx E"));
        sim.Stop(SIGTERM);
        const std::string received = ReadFileBytes(sim.File("received.bin"));
        EXPECT_TRUE(framesReceived(received, 'P').empty());
    }
}

TEST(KelvoWrite, NoVerifyWritesEveryRegisterAndReadsNone) {
    const std::string path =
        writeImageFile("noverify.cfg", FileImageAfterSensorRead(SensorFamily::B, unusualImageB()));
    SimProcess sim({"--record", "@/received.bin"});

    const KelvoRun run = RunKelvo({"write", "--port", sim.TerminalPath(), path, "--no-verify"});

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(sim.WaitForLog("rx E"));
    sim.Stop(SIGTERM);
    const std::string received = ReadFileBytes(sim.File("received.bin"));
    const auto writes = framesReceived(received, 'P');
    ASSERT_EQ(writes.size(), 87u);
    EXPECT_EQ(writes.front().second, 10);
    EXPECT_EQ(writes.back().second, 96);
    EXPECT_TRUE(framesReceived(received, 'G').empty());
}

TEST(KelvoShow, ShowsTheConfigurationReadFromTheSensor) {
    SimProcess sim({"--config", writeImageFile("show-sensor.cfg", unusualImageB())});
    const std::string path = tempPath("show.cfg");
    ASSERT_EQ(RunKelvo({"read", "--port", sim.TerminalPath(), "-o", path}).status, 0);

    const KelvoRun text = RunKelvo({"show", path});
    const KelvoRun json = RunKelvo({"show", path, "--json"});

    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Description: Tank 3 level\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("AnalogMode: 128 (Voltage)\n"), std::string::npos);
    EXPECT_NE(text.out.find("RunMode: 6 (RS485 Network (Run))\n"), std::string::npos);
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json fields = nlohmann::json::parse(json.out);
    // 12.3456 inch in the sensor is 12.344832 in its counts, shown and saved as 12.34.
    EXPECT_NEAR(fields.at("Sw1Setpoint").get<double>(), 12.34, 0.002);
    EXPECT_NEAR(fields.at("AnalogNearOutput").get<double>(), 9.9, 0.003); // falling: 9.9 V
    EXPECT_NEAR(fields.at("AnalogFarOutput").get<double>(), 1.2, 0.003);
    EXPECT_EQ(fields.at("AnalogSlope"), 0);
    EXPECT_EQ(fields.at("NodeAddress"), 17);
    EXPECT_EQ(fields.at("FilterType"), 7);
}

TEST(KelvoMonitor, PrintsEachReadingWithTimeAndInches_LostEchoesAsLost) {
    // A family A sensor counts in 0.003384 inch, as the window converts after start-up.
    SimProcess sim({"--family", "a", "--distance", "10", "--lost-every", "2"});
    const KelvoRun run = RunKelvo({"monitor", "--port", sim.TerminalPath(), "--count", "4"});

    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    const std::regex reading(R"(\d\d:\d\d:\d\d\.\d\d\d (10\.00|Lost))");
    int readings = 0;
    int lost = 0;
    while (std::getline(lines, line)) {
        EXPECT_TRUE(std::regex_match(line, reading)) << line;
        ++readings;
        lost += line.ends_with("Lost") ? 1 : 0;
    }
    EXPECT_EQ(readings, 4);
    EXPECT_EQ(lost, 2);
}

TEST(KelvoMonitor, CsvLinesUnderAHeader) {
    SimProcess sim({"--family", "a", "--distance", "20"});
    const KelvoRun run =
        RunKelvo({"monitor", "--csv", "--port", sim.TerminalPath(), "--count", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::regex_match(run.out, std::regex(R"(time,inches
(\d\d:\d\d:\d\d\.\d\d\d,20\.00
){2})")))
        << run.out;
}

TEST(KelvoMonitor, InterruptEndsItCleanly) {
    SimProcess sim({});
    KelvoProcess monitor({"monitor", "--port", sim.TerminalPath()});
    ASSERT_TRUE(monitor.ReadLine().has_value());

    const KelvoRun run = monitor.Stop(SIGINT);

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}

TEST(KelvoMonitor, LineHangingUp_PortStatus) {
    SimProcess sim({"--fault", "hangup-after=3"});
    const KelvoRun run = RunKelvo({"monitor", "--port", sim.TerminalPath()});
    EXPECT_EQ(run.status, 7);
    // The readings before the hang-up are all printed.
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3);
    EXPECT_NE(run.err.find("hung up"), std::string::npos) << run.err;
}

TEST(KelvoPort, APortHeldByAnotherKelvoIsRefused) {
    SimProcess sim({});
    KelvoProcess monitor({"monitor", "--port", sim.TerminalPath()});
    ASSERT_TRUE(monitor.ReadLine().has_value());

    const KelvoRun run = RunKelvo({"detect", "--port", sim.TerminalPath()});

    EXPECT_EQ(run.status, 7);
    EXPECT_EQ(run.err,
              "kelvo: Cannot open port " + sim.TerminalPath() + ": in use by another program\n");
    EXPECT_EQ(monitor.Stop(SIGINT).status, 0);
}

TEST(KelvoDetect, InterruptDuringTheExchange_InterruptedStatus) {
    SimProcess sim({"--fault", "silent"});
    KelvoProcess detect({"detect", "--port", sim.TerminalPath()});
    // The first detection frame has gone out; nine more ticks remain before giving up.
    ASSERT_TRUE(sim.WaitForLog("no reply (silent)"));

    const KelvoRun run = detect.Stop(SIGINT);

    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(run.err, "kelvo: interrupted\n");
    EXPECT_EQ(run.out, "");
}
