#pragma once

#include "config/sensor_family.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// kelvo's command line: a subcommand and its options.
namespace telmora::kelvo {

enum class Command { None, Detect, Read, Write, Show, Monitor, Diff, Report };

std::string_view CommandName(Command command); // "detect", ..., "" for None

struct Options {
    kelvo::Command Command = kelvo::Command::None;
    bool Help = false;     // --help: the command's usage (kelvo's own without a command)
    bool Version = false;  // --version
    std::string Port;      // --port DEVICE
    std::string Output;    // read, report: -o FILE
    std::string File;      // write, show, diff, report: the configuration file
    std::string OtherFile; // diff: the second file, when no --port
    SensorFamily Family = SensorFamily::None; // write: --family a|b (None: any)
    bool Verify = true;                       // write: off with --no-verify
    bool Json = false;                        // show, diff: --json
    bool Csv = false;                         // monitor: --csv
    std::optional<long> Count;                // monitor: --count N
};

struct ParsedCommandLine {
    kelvo::Options Options;
    std::string Error; // one line naming what is wrong; empty when understood
};

// `args` without the program name. Options may come in any order, as "--name VALUE" or
// "--name=VALUE"; "--" ends the options, so a file name may start with "-".
ParsedCommandLine ParseCommandLine(std::span<const std::string> args);

} // namespace telmora::kelvo
