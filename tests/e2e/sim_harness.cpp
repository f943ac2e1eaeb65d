#include "sim_harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace telmora::simtest {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long>(0, left.count()));
}

pid_t Spawn(const std::string& program, std::vector<std::string> args, int out, int err) {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out >= 0) {
        posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    }
    if (err >= 0) {
        posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    }
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int ExitStatus(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

std::string Frame(char letter, std::uint8_t reg, std::uint8_t value) {
    unsigned sum = static_cast<unsigned char>(letter) + '0' + '0' + reg + value;
    return {letter,
            '0',
            '0',
            static_cast<char>(reg),
            static_cast<char>(value),
            static_cast<char>(sum % 256)};
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

SimProcess::SimProcess(std::vector<std::string> args) {
    start(std::move(args));
}

void SimProcess::start(std::vector<std::string> args) {
    std::string pattern = ::testing::TempDir() + "kelvo-sim-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    for (std::string& a : args) {
        if (a.rfind("@/", 0) == 0) {
            a = dir_ + a.substr(1);
        }
    }
    args.insert(args.end(), {"--log", File("sim.log")});
    int out[2];
    ASSERT_EQ(pipe2(out, O_CLOEXEC), 0);
    pid_ = Spawn(KELVO_SIM_PATH, args, out[1], -1);
    close(out[1]);
    ASSERT_GT(pid_, 0);
    // The first line of the simulator's output names its terminal.
    const auto deadline = Clock::now() + kPatience;
    std::string line;
    char c = 0;
    while (line.find('\n') == std::string::npos && RemainingMs(deadline) > 0) {
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, RemainingMs(deadline)) <= 0 || read(out[0], &c, 1) != 1) {
            break;
        }
        line += c;
    }
    close(out[0]);
    ASSERT_EQ(line.rfind("/dev/pts/", 0), 0u) << "first line: " << line;
    path_ = line.substr(0, line.size() - 1);
}

SimProcess::~SimProcess() {
    ClosePort();
    if (pid_ > 0 && !status_) {
        Stop(SIGKILL);
    }
    std::system(("rm -rf '" + dir_ + "'").c_str());
}

void SimProcess::OpenPort() {
    port_ = open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(port_, 0) << path_;
    termios t{};
    ASSERT_EQ(tcgetattr(port_, &t), 0);
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetspeed(&t, B9600);
    ASSERT_EQ(tcsetattr(port_, TCSANOW, &t), 0);
}

void SimProcess::ClosePort() {
    if (port_ >= 0) {
        close(port_);
        port_ = -1;
    }
}

void SimProcess::Write(const std::string& bytes) {
    ASSERT_EQ(write(port_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

std::string SimProcess::Read(std::size_t n, std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    std::string got;
    while (got.size() < n) {
        pollfd p{port_, POLLIN, 0};
        if (poll(&p, 1, RemainingMs(deadline)) <= 0) {
            break;
        }
        char buffer[256];
        ssize_t r = read(port_, buffer, std::min(sizeof buffer, n - got.size()));
        if (r <= 0) {
            break; // hang-up
        }
        got.append(buffer, static_cast<std::size_t>(r));
    }
    return got;
}

std::optional<std::string> SimProcess::ReadUntil(const std::string& marker,
                                                 std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    std::string got;
    while (!got.ends_with(marker)) {
        std::string one = Read(1, std::chrono::milliseconds(RemainingMs(deadline)));
        if (one.empty()) {
            return std::nullopt;
        }
        got += one;
    }
    return got.substr(0, got.size() - marker.size());
}

std::string SimProcess::Log() const {
    return ReadFileBytes(dir_ + "/sim.log");
}

// The waits below pause briefly inside loops bounded by their own deadlines.
bool SimProcess::WaitForLog(const std::string& text, std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (Log().find(text) == std::string::npos) {
        if (RemainingMs(deadline) == 0) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

std::optional<int> SimProcess::WaitExit(std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    for (int ws = 0; !status_; std::this_thread::sleep_for(5ms)) {
        if (waitpid(pid_, &ws, WNOHANG) == pid_) {
            status_ = ExitStatus(ws);
        } else if (RemainingMs(deadline) == 0) {
            break;
        }
    }
    return status_;
}

int SimProcess::Stop(int signal) {
    if (!status_) {
        kill(pid_, signal);
        int ws = 0;
        waitpid(pid_, &ws, 0);
        status_ = ExitStatus(ws);
    }
    return *status_;
}

Finished RunToEnd(std::vector<std::string> args) {
    Finished result;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        return result;
    }
    pid_t pid = Spawn(KELVO_SIM_PATH, std::move(args), out[1], out[1]);
    close(out[1]);
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
        result.out.append(buffer, static_cast<std::size_t>(n));
    }
    close(out[0]);
    int ws = 0;
    if (pid > 0 && waitpid(pid, &ws, 0) == pid) {
        result.status = ExitStatus(ws);
    }
    return result;
}

} // namespace telmora::simtest
