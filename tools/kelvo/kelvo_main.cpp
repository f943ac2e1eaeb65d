#include "exit_codes.h"
#include "help_text.h"
#include "interrupt.h"
#include "kelvo_commands.h"

#include <ostream>

namespace telmora::kelvo {

int RunKelvo(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const ParsedCommandLine parsed = ParseCommandLine(args);
    const Options& options = parsed.Options;
    if (!parsed.Error.empty()) {
        const std::string_view command = CommandName(options.Command);
        const std::string who = command.empty() ? "kelvo" : "kelvo " + std::string(command);
        err << who << ": " << parsed.Error << " (see '" << who << " --help')\n";
        return kExitUsage;
    }
    if (options.Version) {
        out << "kelvo 1.08\n";
        return kExitOk;
    }
    if (options.Help) {
        out << HelpText(options.Command);
        return kExitOk;
    }
    switch (options.Command) {
    case Command::Show:
        return RunShow(options, out, err);
    case Command::Diff:
        return RunDiff(options, out, err);
    case Command::Report:
        if (!options.Port.empty())
            InstallInterruptHandlers();
        return RunReport(options, out, err);
    case Command::Detect:
        InstallInterruptHandlers();
        return RunDetect(options, out, err);
    case Command::Read:
        InstallInterruptHandlers();
        return RunRead(options, out, err);
    case Command::Write:
        InstallInterruptHandlers();
        return RunWrite(options, out, err);
    case Command::Monitor:
        InstallInterruptHandlers();
        return RunMonitor(options, out, err);
    case Command::None:
        break;
    }
    out << HelpText(Command::None);
    return kExitUsage;
}

} // namespace telmora::kelvo
