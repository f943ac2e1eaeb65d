#include "kelvo_process.h"

#include "sim_harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace telmora::kelvotest {

namespace {

using Clock = std::chrono::steady_clock;
using simtest::RemainingMs;

pid_t spawnKelvo(const std::vector<std::string>& args, int& out, int& err) {
    for (const std::string& arg : args) {
        if (arg.find("/dev/ttyS") != std::string::npos) {
            ADD_FAILURE() << "tests never open the system console: " << arg;
            return -1;
        }
    }
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        return -1;
    }
    const pid_t pid = simtest::Spawn(KELVO_PATH, args, outPipe[1], errPipe[1]);
    close(outPipe[1]);
    close(errPipe[1]);
    out = outPipe[0];
    err = errPipe[0];
    return pid;
}

// Reads both pipes until both are closed or the deadline passes.
void drain(int out, int err, std::string& outText, std::string& errText,
           Clock::time_point deadline) {
    bool open[2] = {out >= 0, err >= 0};
    while ((open[0] || open[1]) && RemainingMs(deadline) > 0) {
        pollfd p[2] = {{open[0] ? out : -1, POLLIN, 0}, {open[1] ? err : -1, POLLIN, 0}};
        if (poll(p, 2, RemainingMs(deadline)) <= 0) {
            break;
        }
        char buffer[4096];
        for (int i = 0; i < 2; ++i) {
            const ssize_t n = p[i].revents ? read(p[i].fd, buffer, sizeof buffer) : -2;
            if (n > 0) {
                (i == 0 ? outText : errText).append(buffer, static_cast<std::size_t>(n));
            } else if (n != -2) {
                open[i] = false;
            }
        }
    }
}

// The exit status; a run still going at the deadline is killed and reported as -1.
int waitExit(pid_t pid, Clock::time_point deadline) {
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (RemainingMs(deadline) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        pollfd none{-1, 0, 0};
        poll(&none, 1, 5); // a short pause inside a loop bounded by its deadline
    }
    return simtest::ExitStatus(status);
}

KelvoRun finish(pid_t pid, int out, int err, std::string outSoFar,
                std::chrono::milliseconds patience) {
    KelvoRun run;
    run.out = std::move(outSoFar);
    const auto deadline = Clock::now() + patience;
    drain(out, err, run.out, run.err, deadline);
    close(out);
    close(err);
    run.status = waitExit(pid, deadline);
    return run;
}

} // namespace

KelvoRun RunKelvo(std::vector<std::string> args, std::chrono::milliseconds patience) {
    int out = -1;
    int err = -1;
    const pid_t pid = spawnKelvo(args, out, err);
    if (pid <= 0) {
        ADD_FAILURE() << "kelvo could not be started";
        return {};
    }
    return finish(pid, out, err, "", patience);
}

KelvoProcess::KelvoProcess(std::vector<std::string> args) {
    pid_ = spawnKelvo(args, out_, err_);
    EXPECT_GT(pid_, 0) << "kelvo could not be started";
}

KelvoProcess::~KelvoProcess() {
    if (pid_ > 0) {
        Stop(SIGKILL, 5s);
    }
}

std::optional<std::string> KelvoProcess::ReadLine(std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (outBuffer_.find('\n') == std::string::npos) {
        pollfd p{out_, POLLIN, 0};
        char buffer[512];
        ssize_t n = 0;
        if (poll(&p, 1, RemainingMs(deadline)) <= 0 ||
            (n = read(out_, buffer, sizeof buffer)) <= 0) {
            return std::nullopt;
        }
        outBuffer_.append(buffer, static_cast<std::size_t>(n));
    }
    const auto end = outBuffer_.find('\n');
    std::string line = outBuffer_.substr(0, end);
    outBuffer_.erase(0, end + 1);
    return line;
}

KelvoRun KelvoProcess::Stop(int signal, std::chrono::milliseconds patience) {
    if (pid_ <= 0) {
        return {};
    }
    kill(pid_, signal);
    const KelvoRun run = finish(pid_, out_, err_, outBuffer_, patience);
    pid_ = -1;
    return run;
}

} // namespace telmora::kelvotest
