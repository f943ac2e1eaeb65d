#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

#include "config/sensor_config.h"
#include "config/sensor_family.h"

namespace telmora::simtest {

using namespace std::chrono_literals;

// Generous bound for anything the simulator does at memory speed.
inline constexpr std::chrono::milliseconds kPatience = 10s;

// A six-byte command frame, built here independently of the program's own frame code.
std::string Frame(char letter, std::uint8_t reg, std::uint8_t value);
inline std::string DetectionFrame() {
    return {'W', '0', '0', 55, static_cast<char>(132), 114};
}

inline const std::pair<const char*, SensorFamily> kFamilies[] = {{"b", SensorFamily::B},
                                                                 {"a", SensorFamily::A}};
// A configuration far from the factory one: every kind of field differs. Family A's
// encoder leaves out what that family lacks.
RegisterImage UnusualImage(SensorFamily family, float setpoint = 12.3456f);

std::string ReadFileBytes(const std::string& path);
// `image` as a configuration file in the test's temporary folder; returns its path.
// `name` in a folder of this test process's own, removed with everything in it when the
// process ends.
std::string ScratchPath(const std::string& name);

std::string ImageFile(const std::string& name, const RegisterImage& image);
RegisterImage ImageOf(const std::string& configFile);

struct Finished {
    int status = -1; // exit status, or 128 + signal; -1 if it had to be killed
    std::string out;
    std::string err;
};

// A program run as a child process, its outputs going to files in a folder of its own.
// Refuses any /dev/ttyS* argument: on these machines that is the system console.
class ChildProcess {
  public:
    ChildProcess(const std::string& program, std::vector<std::string> args);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // The first line of standard output, without its line feed, once it is complete.
    std::optional<std::string> FirstLine();
    // Both outputs and the exit status; a child still running at the deadline is killed
    // and reported with status -1.
    Finished Finish(std::chrono::milliseconds patience = kPatience);
    Finished Stop(int signal);

  private:
    std::string dir_;
    pid_t pid_ = -1;
    std::optional<Finished> finished_;
};

// The built simulator on a fresh pseudo-terminal, with its log, record and image files in
// a private folder, and the program's end of the line. An argument "@/name" stands for the
// file `name` in that folder.
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
    // Up to n bytes; fewer only if the deadline passes.
    std::string Read(std::size_t n);
    // Reads until `marker` has arrived; returns everything before it (marker consumed).
    std::optional<std::string> ReadUntil(const std::string& marker);

    // What the simulator recorded (--record @/received.bin) from byte `from` on, less the
    // detection frames there.
    std::string SentAfterDetection(std::size_t from = 0) const;
    bool WaitForLog(const std::string& text);

    // The exit status once the simulator ends by itself, or after `signal`.
    int WaitExit() { return child_->Finish().status; }
    int Stop(int signal) { return child_->Stop(signal).status; }

  private:
    // Reads a byte at a time into `got` while `more` holds; false if the deadline passed.
    bool ReadWhile(const std::function<bool()>& more, std::string& got);

    std::string dir_;
    std::string path_;
    std::unique_ptr<ChildProcess> child_;
    int port_ = -1;
};

#ifdef KELVO_PATH
inline Finished RunKelvo(const std::vector<std::string>& args) {
    return ChildProcess(KELVO_PATH, args).Finish(60s);
}
#endif

} // namespace telmora::simtest
