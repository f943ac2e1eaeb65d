// kelvo's command line and the commands that need no sensor, run in-process: every
// mistake gets one line on standard error and the usage status, every failure its own
// status. What each run prints is compared with kelvo_unit.golden.
#include "../support/golden_gtest.h"
#include "config/window_session.h"
#include "config_report.h"
#include "exit_codes.h"
#include "kelvo_commands.h"

#include "config/config_fields.h"
#include "config/config_file_commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace telmora;
using namespace telmora::kelvo;

namespace {

// The status and both outputs, with the test's temporary folder written "TMP/".
std::string RunKelvoText(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunKelvo(args, out, err);
    std::string text = "kelvo";
    for (const std::string& arg : args)
        text += " " + arg;
    text += "\nstatus " + std::to_string(status) + "\nout: " + out.str() + "\nerr: " + err.str() +
            "(end)\n";
    for (std::size_t at; (at = text.find(::testing::TempDir())) != std::string::npos;)
        text.replace(at, ::testing::TempDir().size(), "TMP/");
    return text;
}

// A configuration file as the window saves it right after start-up, or with switch 2's
// setpoint moved.
std::string StartUpFile(float sw2Setpoint = 0) {
    WindowSession session = StartUpSession();
    ReadWindowB(session.Window, session.Record);
    if (sw2Setpoint > 0)
        session.Record.Sw2Setpoint = sw2Setpoint;
    RegisterImage image{};
    const std::string path =
        ::testing::TempDir() + (sw2Setpoint > 0 ? "kelvo-moved.cfg" : "kelvo-start-up.cfg");
    const FileResult saved = SaveConfigurationFile(path, session.Record, image);
    EXPECT_TRUE(saved.Ok) << saved.Error;
    return path;
}

} // namespace

TEST(CommandLine, EveryFailureGivesOneLineAndItsStatus) {
    const std::string file = StartUpFile();
    const std::string shortFile = ::testing::TempDir() + "kelvo-short.cfg";
    std::ofstream(shortFile, std::ios::binary) << std::string(100, '\0');
    const std::vector<std::string> runs[] = {
        {},
        {"flash"},
        {"detect"},
        {"read", "--port", "/dev/null"},
        {"write", "--port", "/dev/null"},
        {"show"},
        {"read", "--port", "x", "-o", "f", "--json"},
        {"show", "a.cfg", "b.cfg"},
        {"write", "--port", "x", "f", "--family", "c"},
        {"write", "--port", "x", "f", "--no-verify=yes"},
        {"monitor", "--port", "x", "--count", "0"},
        {"monitor", "--port", "x", "--count=5x"},
        {"monitor", "--port"},
        {"detect", "--port="},
        // Options in any order and either spelling: parsed fully, these reach the port.
        {"write", "--family=a", file, "--port=/nonexistent/tty", "--no-verify"},
        {"read", "-o", ::testing::TempDir() + "x.cfg", "--port", "/nonexistent/tty"},
        {"monitor", "--csv", "--count", "3", "--port", "/nonexistent/tty"},
        {"monitor", "--port", file},
        {"show", ::testing::TempDir() + "kelvo-missing.cfg"},
        {"show", shortFile},
        // write refuses the file before it touches any port.
        {"write", "--port", "/nonexistent/tty", shortFile},
        {"diff", file},
        {"diff", "--port", "x", file, file},
        {"diff", file, shortFile},
        {"report", file},
        {"report", "-o", "r.html"},
        {"report", "--json", file, "-o", "r.html"},
        {"report", shortFile, "-o", ::testing::TempDir() + "r.html"},
        {"report", file, "-o", ::testing::TempDir() + "no-such-folder/r.html"},
        {"report", "--port", "/nonexistent/tty", "-o", ::testing::TempDir() + "r.html"},
    };
    std::string text;
    for (const auto& args : runs)
        text += RunKelvoText(args);
    test::ExpectGolden("failures", text);
}

TEST(CommandLine, EveryCommandHasHelpListingTheExitStatuses_HelpWinsOverMissingOptions) {
    std::string text = RunKelvoText({"--help"});
    for (const std::string command :
         {"detect", "read", "write", "show", "monitor", "diff", "report"}) {
        text += RunKelvoText({command, "--help"});
        std::ostringstream out, err;
        RunKelvo(std::vector<std::string>{"help", command}, out, err);
        EXPECT_TRUE(text.ends_with("\nout: " + out.str() + "\nerr: (end)\n")) << command;
    }
    test::ExpectGolden("help", text);
}

// Each field with its unit and meaning; as JSON, the record's names and shortest values.
TEST(Show, TextAndJson) {
    const std::string file = StartUpFile();
    test::ExpectGolden("show",
                       RunKelvoText({"show", file}) + RunKelvoText({"show", file, "--json"}));
}

// Two files field by field as the window would send them: equal, then one setpoint moved
// (marked, counted, status 8), as text and as JSON.
TEST(Diff, MarksAndCountsTheFieldsThatDiffer) {
    const std::string file = StartUpFile();
    const std::string moved = StartUpFile(30);
    test::ExpectGolden("diff", RunKelvoText({"diff", file, file}) +
                                   RunKelvoText({"diff", file, moved}) +
                                   RunKelvoText({"diff", "--json", file, moved}));
}

TEST(Show, ShortestTextReadsBackAsTheSameSingle) {
    for (const float value : {221.77045f, 0.003384f, 0.05f, 11.999664f, 4.0f, 1e-7f}) {
        EXPECT_EQ(std::stof(ShortestText(value)), value);
    }
    EXPECT_EQ(ShortestText(0.05f), "0.05");
}
