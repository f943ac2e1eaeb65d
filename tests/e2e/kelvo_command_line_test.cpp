// kelvo's command line and the commands that need no sensor, run in-process: every
// mistake gets one line on standard error and the usage status, every failure its own
// status.
#include "config_report.h"
#include "exit_codes.h"
#include "kelvo_commands.h"
#include "window_round_trip.h"

#include "config/config_file_commands.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <sstream>

using namespace telmora;
using namespace telmora::kelvo;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome run(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunKelvo(args, out, err);
    return {status, out.str(), err.str()};
}

bool oneLine(const std::string& text) {
    return !text.empty() && text.back() == '\n' && std::count(text.begin(), text.end(), '\n') == 1;
}

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + name;
}

// A configuration file as the window saves it right after start-up.
std::string startUpFile() {
    WindowSession session = StartUpSession();
    ReadWindowB(session.Window, session.Record);
    RegisterImage image{};
    const std::string path = tempPath("kelvo-start-up.cfg");
    const FileResult saved = SaveConfigurationFile(path, session.Record, image);
    EXPECT_TRUE(saved.ok) << saved.error;
    return path;
}

} // namespace

TEST(CommandLine, MistakesGiveOneLineAndTheUsageStatus) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "kelvo: no command given"},
        {{"flash"}, "kelvo: unknown command 'flash'"},
        {{"detect"}, "kelvo detect: missing --port DEVICE"},
        {{"read", "--port", "/dev/null"}, "kelvo read: missing -o FILE"},
        {{"write", "--port", "/dev/null"}, "kelvo write: missing the configuration file"},
        {{"show"}, "kelvo show: missing the configuration file"},
        {{"read", "--port", "x", "-o", "f", "--json"}, "kelvo read: unknown option '--json'"},
        {{"show", "a.cfg", "b.cfg"}, "kelvo show: unexpected argument 'b.cfg'"},
        {{"write", "--port", "x", "f", "--family", "c"},
         "kelvo write: --family must be a or b, not 'c'"},
        {{"write", "--port", "x", "f", "--no-verify=yes"},
         "kelvo write: --no-verify takes no value"},
        {{"monitor", "--port", "x", "--count", "0"},
         "kelvo monitor: --count needs a whole number from 1 up, not '0'"},
        {{"monitor", "--port", "x", "--count=5x"},
         "kelvo monitor: --count needs a whole number from 1 up, not '5x'"},
        {{"monitor", "--port"}, "kelvo monitor: --port needs a value"},
        {{"detect", "--port="}, "kelvo detect: --port needs a value"},
    };
    for (const auto& [args, message] : cases) {
        const Outcome outcome = run(args);
        EXPECT_EQ(outcome.status, kExitUsage) << message;
        EXPECT_TRUE(oneLine(outcome.err)) << outcome.err;
        EXPECT_EQ(outcome.err.rfind(message, 0), 0u) << outcome.err;
        EXPECT_EQ(outcome.out, "") << message;
    }
}

TEST(CommandLine, OptionsComeInAnyOrderAndEitherSpelling) {
    // Parsed fully, these reach the port, which does not exist: the port status shows
    // that the command line itself was understood.
    EXPECT_EQ(run({"write", "--family=a", startUpFile(), "--port=/nonexistent/tty", "--no-verify"})
                  .status,
              kExitPort);
    EXPECT_EQ(run({"read", "-o", tempPath("x.cfg"), "--port", "/nonexistent/tty"}).status,
              kExitPort);
    EXPECT_EQ(run({"monitor", "--csv", "--count", "3", "--port", "/nonexistent/tty"}).status,
              kExitPort);
}

TEST(CommandLine, EveryCommandHasHelpListingTheExitStatuses) {
    for (const std::string command : {"detect", "read", "write", "show", "monitor"}) {
        const Outcome outcome = run({command, "--help"});
        EXPECT_EQ(outcome.status, kExitOk);
        EXPECT_NE(outcome.out.find("Usage: kelvo " + command), std::string::npos);
        EXPECT_NE(outcome.out.find("Exit status:"), std::string::npos);
        EXPECT_NE(outcome.out.find("  4    the configuration read back differs"),
                  std::string::npos);
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(run({"help", command}).out, outcome.out);
    }
    const Outcome general = run({"--help"});
    EXPECT_EQ(general.status, kExitOk);
    EXPECT_NE(general.out.find("monitor"), std::string::npos);
    // Help wins over a missing option.
    EXPECT_EQ(run({"write", "--help"}).status, kExitOk);
}

TEST(PortErrors, APortThatCannotBeOpenedIsNamedWithTheReason) {
    const Outcome missing = run({"detect", "--port", "/nonexistent/tty"});
    EXPECT_EQ(missing.status, kExitPort);
    EXPECT_EQ(missing.err, "kelvo: Cannot open port /nonexistent/tty: No such file or directory\n");

    const std::string plain = startUpFile(); // a regular file is no serial line
    const Outcome notTty = run({"monitor", "--port", plain});
    EXPECT_EQ(notTty.status, kExitPort);
    EXPECT_EQ(notTty.err, "kelvo: Cannot open port " + plain + ": not a serial device\n");
}

TEST(Show, UnreadableFilesGiveTheFileStatus) {
    const std::string shortFile = tempPath("kelvo-short.cfg");
    std::ofstream(shortFile, std::ios::binary) << std::string(100, '\0');
    for (const std::string& path : {tempPath("kelvo-missing.cfg"), shortFile}) {
        const Outcome outcome = run({"show", path});
        EXPECT_EQ(outcome.status, kExitFile) << path;
        EXPECT_TRUE(oneLine(outcome.err)) << outcome.err;
        EXPECT_NE(outcome.err.find(path), std::string::npos) << outcome.err;
    }
    // write refuses the file before it touches any port.
    const Outcome write = run({"write", "--port", "/nonexistent/tty", shortFile});
    EXPECT_EQ(write.status, kExitFile);
}

TEST(Show, TextListsEveryFieldWithItsUnitAndMeaning) {
    const Outcome outcome = run({"show", startUpFile()});
    ASSERT_EQ(outcome.status, kExitOk) << outcome.err;
    const std::string& text = outcome.out;
    EXPECT_NE(text.find("MinRange: 7.959168 inches\n"), std::string::npos) << text;
    EXPECT_NE(text.find("MaxRange: 221.71968 inches\n"), std::string::npos);
    EXPECT_NE(text.find("Interval: 0.05 seconds\n"), std::string::npos);
    EXPECT_NE(text.find("Sw1Polarity: 2 (reversed: on near the sensor, off beyond)\n"),
              std::string::npos);
    EXPECT_NE(text.find("Sw4Polarity: 0 (normal"), std::string::npos);
    EXPECT_NE(text.find("FilterType: 2 (Average Of)\n"), std::string::npos);
    EXPECT_NE(text.find("AnalogNearOutput: 4 ma\n"), std::string::npos);
    EXPECT_NE(text.find("Description: <describe configuration here>\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 52);
}

TEST(Show, JsonUsesTheRecordsFieldNamesAndShortestValues) {
    const Outcome outcome = run({"show", startUpFile(), "--json"});
    ASSERT_EQ(outcome.status, kExitOk) << outcome.err;
    const nlohmann::json json = nlohmann::json::parse(outcome.out);
    EXPECT_EQ(json.size(), 52u);
    EXPECT_EQ(json.at("MaxRange").get<double>(), 221.71968);
    EXPECT_EQ(json.at("CountDistance").get<double>(), 0.003384);
    EXPECT_EQ(json.at("Sw1Polarity"), 2);
    EXPECT_EQ(json.at("TempComp"), true);
    EXPECT_EQ(json.at("Description"), "<describe configuration here>");
    EXPECT_NE(outcome.out.find("\"MaxRange\": 221.71968,"), std::string::npos);
}

TEST(Show, ShortestTextReadsBackAsTheSameSingle) {
    for (const float value : {221.77045f, 0.003384f, 0.05f, 11.999664f, 4.0f, 1e-7f}) {
        EXPECT_EQ(std::stof(ShortestText(value)), value);
    }
    EXPECT_EQ(ShortestText(0.05f), "0.05");
}
