#include "sim_harness.h"

#include "config/config_file.h"
#include "config/image_a.h"
#include "config/image_b.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace telmora::simtest {

namespace {

// Checks `done` every few milliseconds until it holds; false if it never did in time.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds patience = kPatience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// A new folder in the test's temporary folder; whoever makes it removes it.
std::string NewFolder(const std::string& prefix) {
    std::string pattern = ::testing::TempDir() + prefix + "-XXXXXX";
    EXPECT_NE(mkdtemp(pattern.data()), nullptr) << pattern;
    return pattern;
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
        std::string path = NewFolder("telmora-e2e");
        ~Folder() { std::filesystem::remove_all(path); }
    } folder;
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

ChildProcess::ChildProcess(const std::string& program, std::vector<std::string> args)
    : dir_(NewFolder("child")) {
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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const auto& [fd, name] : {std::pair{STDOUT_FILENO, "/out"}, {STDERR_FILENO, "/err"}}) {
        posix_spawn_file_actions_addopen(&actions, fd, (dir_ + name).c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
        ADD_FAILURE() << program << " could not be started";
    }
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    Stop(SIGKILL);
    std::filesystem::remove_all(dir_);
}

std::optional<std::string> ChildProcess::FirstLine() {
    std::string out;
    if (!WaitUntil([&] { return (out = ReadFileBytes(dir_ + "/out")).find('\n') != out.npos; })) {
        return std::nullopt;
    }
    return out.substr(0, out.find('\n'));
}

Finished ChildProcess::Finish(std::chrono::milliseconds patience) {
    if (!finished_) {
        Finished run;
        int ws = 0;
        if (pid_ > 0 && WaitUntil([&] { return waitpid(pid_, &ws, WNOHANG) == pid_; }, patience)) {
            run.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : 128 + WTERMSIG(ws);
        } else if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &ws, 0);
        }
        run.out = ReadFileBytes(dir_ + "/out");
        run.err = ReadFileBytes(dir_ + "/err");
        finished_ = run;
    }
    return *finished_;
}

Finished ChildProcess::Stop(int signal) {
    if (pid_ > 0 && !finished_) {
        kill(pid_, signal);
    }
    return Finish();
}

SimProcess::SimProcess(std::vector<std::string> args) : dir_(NewFolder("kelvo-sim")) {
    for (std::string& a : args) {
        if (a.rfind("@/", 0) == 0) {
            a = dir_ + a.substr(1);
        }
    }
    args.insert(args.end(), {"--log", File("sim.log")});
    child_ = std::make_unique<ChildProcess>(KELVO_SIM_PATH, args);
    // The first line of the simulator's output names its terminal.
    path_ = child_->FirstLine().value_or("");
    EXPECT_EQ(path_.rfind("/dev/pts/", 0), 0u) << "first line: " << path_;
}

SimProcess::~SimProcess() {
    ClosePort();
    child_.reset();
    std::filesystem::remove_all(dir_);
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
    std::string got;
    ReadWhile([&] { return got.size() < n; }, got);
    return got;
}

std::optional<std::string> SimProcess::ReadUntil(const std::string& marker) {
    std::string got;
    if (!ReadWhile([&] { return !got.ends_with(marker); }, got)) {
        return std::nullopt;
    }
    return got.substr(0, got.size() - marker.size());
}

bool SimProcess::ReadWhile(const std::function<bool()>& more, std::string& got) {
    char c = 0;
    return WaitUntil([&] {
        while (more() && read(port_, &c, 1) == 1) {
            got += c;
        }
        return !more();
    });
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
    return WaitUntil([&] { return ReadFileBytes(File("sim.log")).find(text) != text.npos; });
}

} // namespace telmora::simtest
