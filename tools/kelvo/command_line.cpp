#include "command_line.h"

#include <array>
#include <charconv>

namespace telmora::kelvo {

namespace {

struct CommandEntry {
    kelvo::Command Command;
    std::string_view Name;
};

constexpr std::array<CommandEntry, 7> kCommands{{
    {Command::Detect, "detect"},
    {Command::Read, "read"},
    {Command::Write, "write"},
    {Command::Show, "show"},
    {Command::Monitor, "monitor"},
    {Command::Diff, "diff"},
    {Command::Report, "report"},
}};

Command CommandNamed(std::string_view name) {
    for (const CommandEntry& entry : kCommands) {
        if (entry.Name == name) {
            return entry.Command;
        }
    }
    return Command::None;
}

bool UsesPort(Command c) {
    return c == Command::Detect || c == Command::Read || c == Command::Write ||
           c == Command::Monitor;
}

bool TakesFile(Command c) {
    return c == Command::Write || c == Command::Show || c == Command::Diff || c == Command::Report;
}

// Parses the options of one command; returns an error line or "".
class OptionReader {
  public:
    OptionReader(Command command, std::span<const std::string> args, Options& options)
        : command_(command), args_(args), options_(options) {}

    std::string Read() {
        bool optionsEnded = false;
        for (index_ = 0; index_ < args_.size(); ++index_) {
            const std::string& arg = args_[index_];
            std::string error;
            if (!optionsEnded && arg == "--") {
                optionsEnded = true;
            } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
                error = Option(arg);
            } else {
                error = Positional(arg);
            }
            if (!error.empty()) {
                return error;
            }
        }
        return options_.Help ? "" : Missing();
    }

  private:
    std::string Option(const std::string& arg) {
        std::string_view name = arg;
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('=');
            eq != std::string_view::npos && name.starts_with("--")) {
            inlineValue = std::string(name.substr(eq + 1));
            name = name.substr(0, eq);
        }
        const auto flag = [&](bool allowed, bool& target, bool value) -> std::string {
            if (!allowed) {
                return Unknown(name);
            }
            if (inlineValue) {
                return std::string(name) + " takes no value";
            }
            target = value;
            return "";
        };
        if (name == "--help" || name == "-h") {
            return flag(true, options_.Help, true);
        }
        if (name == "--no-verify") {
            return flag(command_ == Command::Write, options_.Verify, false);
        }
        if (name == "--json") {
            return flag(command_ == Command::Show || command_ == Command::Diff, options_.Json,
                        true);
        }
        if (name == "--csv") {
            return flag(command_ == Command::Monitor, options_.Csv, true);
        }

        const bool known = (name == "--port" && (UsesPort(command_) || command_ == Command::Diff ||
                                                 command_ == Command::Report)) ||
                           ((name == "-o" || name == "--output") &&
                            (command_ == Command::Read || command_ == Command::Report)) ||
                           (name == "--family" && command_ == Command::Write) ||
                           (name == "--count" && command_ == Command::Monitor);
        if (!known) {
            return Unknown(name);
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (index_ + 1 < args_.size()) {
            value = args_[++index_];
        } else {
            return std::string(name) + " needs a value";
        }
        if (name == "--port") {
            return Store(name, value, options_.Port);
        }
        if (name == "-o" || name == "--output") {
            return Store(name, value, options_.Output);
        }
        if (name == "--family") {
            if (value == "a" || value == "A") {
                options_.Family = SensorFamily::A;
            } else if (value == "b" || value == "B") {
                options_.Family = SensorFamily::B;
            } else {
                return "--family must be a or b, not '" + value + "'";
            }
            return "";
        }
        long count = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), count);
        if (ec != std::errc() || end != value.data() + value.size() || count < 1) {
            return "--count needs a whole number from 1 up, not '" + value + "'";
        }
        options_.Count = count;
        return "";
    }

    static std::string Store(std::string_view name, const std::string& value, std::string& to) {
        if (value.empty()) {
            return std::string(name) + " needs a value";
        }
        to = value;
        return "";
    }

    std::string Positional(const std::string& arg) {
        if (TakesFile(command_) && options_.File.empty()) {
            if (arg.empty()) {
                return "the file name is empty";
            }
            options_.File = arg;
            return "";
        }
        if (command_ == Command::Diff && options_.OtherFile.empty()) {
            if (arg.empty()) {
                return "the file name is empty";
            }
            options_.OtherFile = arg;
            return "";
        }
        return "unexpected argument '" + arg + "'";
    }

    std::string Missing() const {
        if (UsesPort(command_) && options_.Port.empty()) {
            return "missing --port DEVICE";
        }
        if (command_ == Command::Report) {
            // The configuration comes from the sensor, else from the file.
            if (options_.Port.empty() && options_.File.empty()) {
                return "missing the configuration file, or --port DEVICE";
            }
            if (options_.Output.empty()) {
                return "missing -o FILE";
            }
            return "";
        }
        if (command_ == Command::Read && options_.Output.empty()) {
            return "missing -o FILE";
        }
        if (TakesFile(command_) && options_.File.empty()) {
            return "missing the configuration file";
        }
        if (command_ == Command::Diff) {
            if (options_.Port.empty() && options_.OtherFile.empty()) {
                return "missing the second configuration file, or --port DEVICE";
            }
            if (!options_.Port.empty() && !options_.OtherFile.empty()) {
                return "give two files, or --port DEVICE and one file";
            }
        }
        return "";
    }

    static std::string Unknown(std::string_view name) {
        return "unknown option '" + std::string(name) + "'";
    }

    Command command_;
    std::span<const std::string> args_;
    Options& options_;
    std::size_t index_ = 0;
};

} // namespace

std::string_view CommandName(Command command) {
    for (const CommandEntry& entry : kCommands) {
        if (entry.Command == command) {
            return entry.Name;
        }
    }
    return "";
}

ParsedCommandLine ParseCommandLine(std::span<const std::string> args) {
    ParsedCommandLine parsed;
    Options& options = parsed.Options;
    if (args.empty()) {
        parsed.Error = "no command given";
        return parsed;
    }
    const std::string& first = args.front();
    if (first == "--help" || first == "-h" || first == "help") {
        options.Help = true;
        if (args.size() > 1) {
            options.Command = CommandNamed(args[1]);
            if (options.Command == Command::None || args.size() > 2) {
                parsed.Error = "unexpected argument '" + args[1] + "'";
            }
        }
        return parsed;
    }
    if (first == "--version") {
        options.Version = true;
        if (args.size() > 1) {
            parsed.Error = "unexpected argument '" + args[1] + "'";
        }
        return parsed;
    }
    options.Command = CommandNamed(first);
    if (options.Command == Command::None) {
        parsed.Error = "unknown command '" + first + "'";
        return parsed;
    }
    parsed.Error = OptionReader(options.Command, args.subspan(1), options).Read();
    return parsed;
}

} // namespace telmora::kelvo
