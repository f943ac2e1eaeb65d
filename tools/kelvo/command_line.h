#pragma once

#include "config/sensor_family.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// kelvo's command line: a subcommand and its options.
namespace telmora::kelvo {

enum class Command { None, Detect, Read, Write, Show, Monitor };

std::string_view CommandName(Command command); // "detect", ..., "" for None

struct Options {
    Command command = Command::None;
    bool help = false;    // --help: the command's usage (kelvo's own without a command)
    bool version = false; // --version
    std::string port;     // --port DEVICE
    std::string output;   // read: -o FILE
    std::string file;     // write, show: the configuration file
    SensorFamily family = SensorFamily::None; // write: --family a|b (None: any)
    bool verify = true;                       // write: off with --no-verify
    bool json = false;                        // show: --json
    bool csv = false;                         // monitor: --csv
    std::optional<long> count;                // monitor: --count N
};

struct ParsedCommandLine {
    Options options;
    std::string error; // one line naming what is wrong; empty when understood
};

// `args` without the program name. Options may come in any order, as "--name VALUE" or
// "--name=VALUE"; "--" ends the options, so a file name may start with "-".
ParsedCommandLine ParseCommandLine(std::span<const std::string> args);

} // namespace telmora::kelvo
