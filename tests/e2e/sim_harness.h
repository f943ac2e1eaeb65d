#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace telmora::simtest {

using namespace std::chrono_literals;

// Generous bound for anything the simulator does at memory speed.
inline constexpr std::chrono::milliseconds kPatience = 10s;

// A six-byte command frame, built here independently of the program's own frame code.
std::string Frame(char letter, std::uint8_t reg, std::uint8_t value);
inline std::string DetectionFrame() {
    return {'W', '0', '0', 55, static_cast<char>(132), 114};
}

// Runs the built simulator as a child process on a fresh pseudo-terminal, with its log,
// record and image files in a private folder, and plays the program's end of the line.
// An argument "@/name" stands for the file `name` in that folder.
class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> args);
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess();

    const std::string& TerminalPath() const { return path_; }
    std::string File(const std::string& name) const { return dir_ + "/" + name; }

    // Opens the terminal the way a serial program does: raw, 8 bits, no echo.
    void OpenPort();
    void ClosePort();
    void Write(const std::string& bytes);
    // Up to n bytes; fewer only if the deadline passes or the line hangs up.
    std::string Read(std::size_t n, std::chrono::milliseconds patience = kPatience);
    // Reads until `marker` has arrived; returns everything before it (marker consumed).
    std::optional<std::string> ReadUntil(const std::string& marker,
                                         std::chrono::milliseconds patience = kPatience);

    std::string Log() const;
    bool WaitForLog(const std::string& text, std::chrono::milliseconds patience = kPatience);

    // Exit status once the process ends by itself, if it does in time.
    std::optional<int> WaitExit(std::chrono::milliseconds patience = kPatience);
    // Sends the signal and returns the exit status.
    int Stop(int signal);

  private:
    void start(std::vector<std::string> args);

    std::string dir_;
    std::string path_;
    pid_t pid_ = -1;
    int port_ = -1;
    std::optional<int> status_;
};

// Runs the simulator to completion with these arguments (for --help and bad command
// lines); returns the exit status and what it printed on both outputs.
struct Finished {
    int status = -1;
    std::string out;
};
Finished RunToEnd(std::vector<std::string> args);

std::string ReadFileBytes(const std::string& path);

// Shared with the kelvo harness: starts `program` with its standard output and error on
// the given descriptors (-1 leaves one as it is); the milliseconds left to a deadline; a
// wait status as an exit status, or 128 + signal.
pid_t Spawn(const std::string& program, std::vector<std::string> args, int out, int err);
int RemainingMs(std::chrono::steady_clock::time_point deadline);
int ExitStatus(int waitStatus);

} // namespace telmora::simtest
