#include "sim_harness.h"

#include "config/config_file.h"
#include "config/image_a.h"
#include "config/image_b.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace telmora::simtest {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long>(0, left.count()));
}

// Appends up to `most` bytes that `fd` gives before the deadline; false on time-out, end of
// file or hang-up.
bool ReadSome(int fd, std::string& into, Clock::time_point deadline, std::size_t most = 4096) {
    pollfd p{fd, POLLIN, 0};
    char buffer[4096];
    ssize_t n = 0;
    if (poll(&p, 1, remainingMs(deadline)) <= 0 ||
        (n = read(fd, buffer, std::min(sizeof buffer, most))) <= 0) {
        return false;
    }
    into.append(buffer, static_cast<std::size_t>(n));
    return true;
}

// A short pause inside a loop bounded by its deadline; false if `done` never held.
bool WaitUntil(Clock::time_point deadline, const std::function<bool()>& done) {
    while (!done()) {
        if (remainingMs(deadline) == 0) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

} // namespace

std::string Frame(char letter, std::uint8_t reg, std::uint8_t value) {
    const unsigned sum = static_cast<unsigned char>(letter) + '0' + '0' + reg + value;
    const char frame[] = {letter, '0', '0', char(reg), char(value), char(sum % 256)};
    return std::string(frame, sizeof frame);
}

RegisterImage UnusualImage(SensorFamily family, float setpoint) {
    SensorConfig record;
    (family == SensorFamily::A ? LoadFactoryDefaultsA : LoadFactoryDefaultsB)(record);
    record.MinRange = 7.3f;
    record.MaxRange = 150.5f;
    record.Sw1Setpoint = setpoint;
    record.Sw2Hyst = 1.234f;
    record.Sw2PowerUp = 1;
    record.Sw3Mode = 32;
    record.Sw4EchoLoss = 8;
    record.AnalogMode = 128;
    record.AnalogNearOutput = 1.234f;
    record.AnalogFarOutput = 9.876f;
    record.AnalogSlope = 0;
    record.AnalogEchoLoss = 8;
    record.RunMode = 6;
    record.FilterType = 7;
    record.NodeAddress = 17;
    record.Description = "Tank 3 level";
    RegisterImage image{};
    (family == SensorFamily::A ? EncodeImageA : EncodeImageB)(record, image);
    return image;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string ScratchPath(const std::string& name) {
    static const struct Folder {
        Folder() {
            std::string pattern = ::testing::TempDir() + "telmora-e2e-XXXXXX";
            if (mkdtemp(pattern.data()) != nullptr) {
                path = pattern;
            }
        }
        ~Folder() {
            if (!path.empty()) {
                std::error_code ignored;
                std::filesystem::remove_all(path, ignored);
            }
        }
        std::string path;
    } folder;
    EXPECT_FALSE(folder.path.empty()) << "no scratch folder";
    return folder.path + "/" + name;
}

std::string ImageFile(const std::string& name, const RegisterImage& image) {
    const std::string path = ScratchPath(name);
    const FileResult written = WriteConfigFile(path, ImageToFileBytes(image));
    EXPECT_TRUE(written.Ok) << written.Error;
    return path;
}

RegisterImage ImageOf(const std::string& configFile) {
    const ConfigFileContents contents = ReadConfigFile(configFile);
    EXPECT_TRUE(contents.Ok) << contents.Error;
    RegisterImage image{};
    FileBytesToImage(contents.Bytes, image);
    return image;
}

ChildProcess::ChildProcess(const std::string& program, std::vector<std::string> args) {
    if (std::ranges::any_of(args, [](auto& a) { return a.find("/dev/ttyS") != a.npos; })) {
        ADD_FAILURE() << "tests never open the system console";
        return;
    }
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "no pipes for " << program;
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
        ADD_FAILURE() << program << " could not be started";
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    out_ = out[0];
    err_ = err[0];
}

ChildProcess::~ChildProcess() {
    if (!finished_) {
        Stop(SIGKILL);
    }
}

std::optional<std::string> ChildProcess::ReadLine() {
    const auto deadline = Clock::now() + kPatience;
    while (outBuffer_.find('\n') == std::string::npos) {
        if (!ReadSome(out_, outBuffer_, deadline)) {
            return std::nullopt;
        }
    }
    const auto end = outBuffer_.find('\n');
    std::string line = outBuffer_.substr(0, end);
    outBuffer_.erase(0, end + 1);
    return line;
}

Finished ChildProcess::Finish(std::chrono::milliseconds patience) {
    if (finished_) {
        return *finished_;
    }
    Finished run;
    run.out = std::move(outBuffer_);
    const auto deadline = Clock::now() + patience;
    // The children write little on standard error, so it cannot fill while out is read.
    while (ReadSome(out_, run.out, deadline)) {
    }
    while (ReadSome(err_, run.err, deadline)) {
    }
    close(out_);
    close(err_);
    int ws = 0;
    if (pid_ > 0 && WaitUntil(deadline, [&] { return waitpid(pid_, &ws, WNOHANG) == pid_; })) {
        run.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : 128 + WTERMSIG(ws);
    } else if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &ws, 0);
    }
    finished_ = run;
    return run;
}

Finished ChildProcess::Stop(int signal) {
    if (pid_ > 0 && !finished_) {
        kill(pid_, signal);
    }
    return Finish();
}

SimProcess::SimProcess(std::vector<std::string> args) {
    std::string pattern = ::testing::TempDir() + "kelvo-sim-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "no folder for the simulator";
    }
    dir_ = pattern;
    for (std::string& a : args) {
        if (a.rfind("@/", 0) == 0) {
            a = dir_ + a.substr(1);
        }
    }
    args.insert(args.end(), {"--log", File("sim.log")});
    child_ = std::make_unique<ChildProcess>(KELVO_SIM_PATH, args);
    // The first line of the simulator's output names its terminal.
    path_ = child_->ReadLine().value_or("");
    EXPECT_EQ(path_.rfind("/dev/pts/", 0), 0u) << "first line: " << path_;
}

SimProcess::~SimProcess() {
    ClosePort();
    child_.reset();
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

std::string SimProcess::Read(std::size_t n) {
    const auto deadline = Clock::now() + kPatience;
    std::string got;
    while (got.size() < n && ReadSome(port_, got, deadline, n - got.size())) {
    }
    return got;
}

std::optional<std::string> SimProcess::ReadUntil(const std::string& marker) {
    const auto deadline = Clock::now() + kPatience;
    std::string got;
    while (!got.ends_with(marker)) {
        const std::string one = Read(1);
        if (one.empty() || remainingMs(deadline) == 0) {
            return std::nullopt;
        }
        got += one;
    }
    return got.substr(0, got.size() - marker.size());
}

std::string SimProcess::SentAfterDetection(std::size_t from) const {
    const std::string bytes = ReadFileBytes(File("received.bin"));
    std::size_t k = std::min(from, bytes.size());
    while (bytes.compare(k, 6, DetectionFrame()) == 0) {
        k += 6;
    }
    return bytes.substr(k);
}

bool SimProcess::WaitForLog(const std::string& text) {
    return WaitUntil(Clock::now() + kPatience, [&] { return Log().find(text) != text.npos; });
}

} // namespace telmora::simtest
