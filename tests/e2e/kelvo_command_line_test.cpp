// kelvo's command line and the commands that need no sensor, run in-process: every
// mistake gets one line on standard error and the usage status, every failure its own
// status.
#include "config_report.h"
#include "exit_codes.h"
#include "kelvo_commands.h"
#include "window_session.h"

#include "config/config_fields.h"
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
    EXPECT_TRUE(saved.Ok) << saved.Error;
    return path;
}

} // namespace

TEST(CommandLine, EveryFailureGivesOneLineAndItsStatus) {
    // `message` is the start of the line, or any part of it after "...".
    const auto check = [](const std::vector<std::string>& args, int status,
                          const std::string& message) {
        const Outcome outcome = run(args);
        SCOPED_TRACE(message);
        EXPECT_EQ(outcome.status, status);
        EXPECT_TRUE(oneLine(outcome.err)) << outcome.err;
        if (message.starts_with("...")) {
            EXPECT_NE(outcome.err.find(message.substr(3)), std::string::npos) << outcome.err;
        } else {
            EXPECT_TRUE(outcome.err.starts_with(message)) << outcome.err;
        }
        EXPECT_EQ(outcome.out, "");
    };
    const std::pair<std::vector<std::string>, std::string> mistakes[] = {
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
    for (const auto& [args, message] : mistakes) {
        check(args, kExitUsage, message);
    }

    const std::string file = startUpFile();
    const std::string shortFile = tempPath("kelvo-short.cfg");
    std::ofstream(shortFile, std::ios::binary) << std::string(100, '\0');
    const std::string missing = tempPath("kelvo-missing.cfg");
    const std::string noPort = "kelvo: Cannot open port /nonexistent/tty: ";
    // Options in any order and either spelling: parsed fully, these reach the port.
    check({"write", "--family=a", file, "--port=/nonexistent/tty", "--no-verify"}, kExitPort,
          noPort);
    check({"read", "-o", tempPath("x.cfg"), "--port", "/nonexistent/tty"}, kExitPort, noPort);
    check({"monitor", "--csv", "--count", "3", "--port", "/nonexistent/tty"}, kExitPort,
          noPort + "No such file or directory\n");
    check({"monitor", "--port", file}, kExitPort,
          "kelvo: Cannot open port " + file + ": not a serial device\n");
    check({"show", missing}, kExitFile, "..." + missing);
    check({"show", shortFile}, kExitFile, "..." + shortFile);
    // write refuses the file before it touches any port.
    check({"write", "--port", "/nonexistent/tty", shortFile}, kExitFile, "..." + shortFile);
}

TEST(CommandLine, EveryCommandHasHelpListingTheExitStatuses_HelpWinsOverMissingOptions) {
    for (const std::string command : {"detect", "read", "write", "show", "monitor"}) {
        const Outcome outcome = run({command, "--help"});
        EXPECT_EQ(outcome.status, kExitOk);
        EXPECT_NE(outcome.out.find("Usage: kelvo " + command), std::string::npos);
        EXPECT_NE(outcome.out.find("Exit status:\n"), std::string::npos);
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(run({"help", command}).out, outcome.out);
    }
    EXPECT_NE(run({"--help"}).out.find("monitor"), std::string::npos);
}

TEST(Show, TextGivesEachFieldItsUnitAndMeaning_JsonTheRecordsNamesAndShortestValues) {
    const std::string file = startUpFile();
    const Outcome outcome = run({"show", file});
    ASSERT_EQ(outcome.status, kExitOk) << outcome.err;
    const std::string& text = outcome.out;
    for (const char* line :
         {"MinRange: 7.959168 inches\n", "MaxRange: 221.71968 inches\n", "Interval: 0.05 seconds\n",
          "Sw1Polarity: 2 (reversed: on near the sensor, off beyond)\n", "Sw4Polarity: 0 (normal",
          "FilterType: 2 (Average Of)\n", "AnalogNearOutput: 4 ma\n",
          "Description: <describe configuration here>\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
    }
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 52);

    const Outcome json = run({"show", file, "--json"});
    ASSERT_EQ(json.status, kExitOk) << json.err;
    const nlohmann::json fields = nlohmann::json::parse(json.out);
    EXPECT_EQ(fields.size(), 52u);
    // The factory MaxRange 221.77045 leaves unedited, so the file is in long range.
    EXPECT_EQ(fields.at("CountDistance").get<double>(), 0.006768);
    EXPECT_EQ(fields.at("Sw1Polarity"), 2);
    EXPECT_EQ(fields.at("TempComp"), true);
    EXPECT_EQ(fields.at("Description"), "<describe configuration here>");
    EXPECT_NE(json.out.find("\"MaxRange\": 221.71968,"), std::string::npos);
}

TEST(Show, ShortestTextReadsBackAsTheSameSingle) {
    for (const float value : {221.77045f, 0.003384f, 0.05f, 11.999664f, 4.0f, 1e-7f}) {
        EXPECT_EQ(std::stof(ShortestText(value)), value);
    }
    EXPECT_EQ(ShortestText(0.05f), "0.05");
}
