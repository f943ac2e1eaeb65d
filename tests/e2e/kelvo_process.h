#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

// The built kelvo program as a child process, for the end-to-end tests.
namespace telmora::kelvotest {

using namespace std::chrono_literals;

struct KelvoRun {
    int status = -1; // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs kelvo with `args` to its end and collects both outputs. A run that outlasts
// `patience` is killed and reported with status -1. Refuses any /dev/ttyS* argument:
// on these machines that is the system console.
KelvoRun RunKelvo(std::vector<std::string> args, std::chrono::milliseconds patience = 60s);

// A kelvo run that the test ends itself (monitor until interrupted).
class KelvoProcess {
  public:
    explicit KelvoProcess(std::vector<std::string> args);
    KelvoProcess(const KelvoProcess&) = delete;
    KelvoProcess& operator=(const KelvoProcess&) = delete;
    ~KelvoProcess();

    // The next complete line of standard output, without its line feed.
    std::optional<std::string> ReadLine(std::chrono::milliseconds patience = 10s);
    // Sends `signal` and collects the rest of both outputs and the exit status.
    KelvoRun Stop(int signal, std::chrono::milliseconds patience = 10s);

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string outBuffer_;
};

} // namespace telmora::kelvotest
