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

TEST(CommandLine, EveryFailureGivesOneLineAndItsStatus) {
    const std::string file = startUpFile();
    const std::string shortFile = tempPath("kelvo-short.cfg");
    std::ofstream(shortFile, std::ios::binary) << std::string(100, '\0');
    const std::string missing = tempPath("kelvo-missing.cfg");
    const std::string noPort = "kelvo: Cannot open port /nonexistent/tty: ";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message; // the start of the line, or any part of it after "..."
    } cases[] = {
        {{}, kExitUsage, "kelvo: no command given"},
        {{"flash"}, kExitUsage, "kelvo: unknown command 'flash'"},
        {{"detect"}, kExitUsage, "kelvo detect: missing --port DEVICE"},
        {{"read", "--port", "/dev/null"}, kExitUsage, "kelvo read: missing -o FILE"},
        {{"write", "--port", "/dev/null"},
         kExitUsage,
         "kelvo write: missing the configuration file"},
        {{"show"}, kExitUsage, "kelvo show: missing the configuration file"},
        {{"read", "--port", "x", "-o", "f", "--json"},
         kExitUsage,
         "kelvo read: unknown option '--json'"},
        {{"show", "a.cfg", "b.cfg"}, kExitUsage, "kelvo show: unexpected argument 'b.cfg'"},
        {{"write", "--port", "x", "f", "--family", "c"},
         kExitUsage,
         "kelvo write: --family must be a or b, not 'c'"},
        {{"write", "--port", "x", "f", "--no-verify=yes"},
         kExitUsage,
         "kelvo write: --no-verify takes no value"},
        {{"monitor", "--port", "x", "--count", "0"},
         kExitUsage,
         "kelvo monitor: --count needs a whole number from 1 up, not '0'"},
        {{"monitor", "--port", "x", "--count=5x"},
         kExitUsage,
         "kelvo monitor: --count needs a whole number from 1 up, not '5x'"},
        {{"monitor", "--port"}, kExitUsage, "kelvo monitor: --port needs a value"},
        {{"detect", "--port="}, kExitUsage, "kelvo detect: --port needs a value"},
        // Options in any order and either spelling: parsed fully, these reach the port.
        {{"write", "--family=a", file, "--port=/nonexistent/tty", "--no-verify"},
         kExitPort,
         noPort},
        {{"read", "-o", tempPath("x.cfg"), "--port", "/nonexistent/tty"}, kExitPort, noPort},
        {{"monitor", "--csv", "--count", "3", "--port", "/nonexistent/tty"},
         kExitPort,
         noPort + "No such file or directory\n"},
        {{"monitor", "--port", file},
         kExitPort,
         "kelvo: Cannot open port " + file + ": not a serial device\n"},
        {{"show", missing}, kExitFile, "..." + missing},
        {{"show", shortFile}, kExitFile, "..." + shortFile},
        // write refuses the file before it touches any port.
        {{"write", "--port", "/nonexistent/tty", shortFile}, kExitFile, "..." + shortFile},
    };
    for (const auto& c : cases) {
        const Outcome outcome = run(c.args);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_TRUE(oneLine(outcome.err)) << outcome.err;
        if (c.message.starts_with("...")) {
            EXPECT_NE(outcome.err.find(c.message.substr(3)), std::string::npos) << outcome.err;
        } else {
            EXPECT_TRUE(outcome.err.starts_with(c.message)) << outcome.err;
        }
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(CommandLine, EveryCommandHasHelpListingTheExitStatuses_HelpWinsOverMissingOptions) {
    for (const std::string command : {"detect", "read", "write", "show", "monitor"}) {
        const Outcome outcome = run({command, "--help"});
        EXPECT_EQ(outcome.status, kExitOk);
        EXPECT_NE(outcome.out.find("Usage: kelvo " + command), std::string::npos);
        EXPECT_NE(outcome.out.find("Exit status:\n"), std::string::npos);
        EXPECT_NE(outcome.out.find("  4    the configuration read back differs"),
                  std::string::npos);
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(run({"help", command}).out, outcome.out);
    }
    const Outcome general = run({"--help"});
    EXPECT_EQ(general.status, kExitOk);
    EXPECT_NE(general.out.find("monitor"), std::string::npos);
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
