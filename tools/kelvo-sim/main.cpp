// kelvo-sim: a Kelvo-A or Kelvo-B sensor on a pseudo-terminal, so that the program and
// the command-line tool can run and be tested without hardware. See --help.

#include "sensor_image.h"
#include "sim_options.h"
#include "sim_runner.h"
#include "sim_terminal.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <vector>

using namespace telmora::sim;

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitSystem = 1;

int UsageError(const std::string& message) {
    std::fprintf(stderr, "kelvo-sim: %s\n", message.c_str());
    return kExitUsage;
}

// The signals that end a run arrive through a descriptor, so the event loop sees them
// between two steps rather than in the middle of one.
int BlockStopSignals() {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGHUP);
    sigprocmask(SIG_BLOCK, &stops, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return signalfd(-1, &stops, SFD_CLOEXEC | SFD_NONBLOCK);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    ParsedOptions parsed = ParseOptions(args);
    if (parsed.ShowHelp) {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    }
    if (!parsed.Error.empty()) {
        return UsageError(parsed.Error);
    }
    const SimOptions& options = parsed.Options;

    telmora::RegisterImage image = FactoryImage(options.Family);
    if (!options.ConfigPath.empty()) {
        ImageLoad load = LoadImageFile(options.ConfigPath);
        if (!load.Image) {
            return UsageError(load.Error);
        }
        image = *load.Image;
    }

    std::FILE* log = options.Quiet ? nullptr : stderr;
    if (!options.LogPath.empty() && !options.Quiet) {
        log = std::fopen(options.LogPath.c_str(), "w");
        if (log == nullptr) {
            return UsageError("cannot write " + options.LogPath + ": " + std::strerror(errno));
        }
    }
    int recordFd = -1;
    if (!options.RecordPath.empty()) {
        recordFd = open(options.RecordPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (recordFd < 0) {
            return UsageError("cannot write " + options.RecordPath + ": " + std::strerror(errno));
        }
    }

    int signalFd = BlockStopSignals();
    SimTerminal terminal;
    std::string error = terminal.Open();
    if (error.empty() && !options.LinkPath.empty()) {
        error = terminal.MakeLink(options.LinkPath);
    }
    if (!error.empty() || signalFd < 0) {
        std::fprintf(stderr, "kelvo-sim: %s\n",
                     error.empty() ? "cannot receive signals" : error.c_str());
        return kExitSystem;
    }
    std::printf("%s\n", terminal.Path().c_str());
    std::fflush(stdout);

    SimRunner runner(options, image, terminal, log, recordFd);
    runner.Log(std::string("Kelvo-") + (options.Family == Family::A ? "A" : "B") + " sensor on " +
               terminal.Path());
    int status = runner.Run(signalFd);
    if (recordFd >= 0) {
        close(recordFd);
    }
    if (log != nullptr && log != stderr) {
        std::fclose(log);
    }
    return status;
}
