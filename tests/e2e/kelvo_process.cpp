#include "kelvo_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace telmora::kelvotest {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long>(0, left.count()));
}

pid_t spawnKelvo(std::vector<std::string> args, int& out, int& err) {
    for (const std::string& arg : args) {
        EXPECT_NE(arg.rfind("/dev/ttyS", 0), 0u) << "tests never open the system console";
        if (arg.rfind("/dev/ttyS", 0) == 0 || arg.rfind("--port=/dev/ttyS", 0) == 0) {
            return -1;
        }
    }
    args.insert(args.begin(), KELVO_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    out = outPipe[0];
    err = errPipe[0];
    return rc == 0 ? pid : -1;
}

// Reads both pipes until both are closed or the deadline passes; true when both closed.
bool drain(int out, int err, std::string& outText, std::string& errText,
           Clock::time_point deadline) {
    bool outOpen = out >= 0;
    bool errOpen = err >= 0;
    while ((outOpen || errOpen) && remainingMs(deadline) > 0) {
        pollfd p[2] = {{outOpen ? out : -1, POLLIN, 0}, {errOpen ? err : -1, POLLIN, 0}};
        if (poll(p, 2, remainingMs(deadline)) <= 0) {
            break;
        }
        char buffer[4096];
        for (int i = 0; i < 2; ++i) {
            if (p[i].revents == 0) {
                continue;
            }
            const ssize_t n = read(p[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? outText : errText).append(buffer, static_cast<std::size_t>(n));
            } else {
                (i == 0 ? outOpen : errOpen) = false;
            }
        }
    }
    return !outOpen && !errOpen;
}

int waitExit(pid_t pid, Clock::time_point deadline) {
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (remainingMs(deadline) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        pollfd none{-1, 0, 0};
        poll(&none, 1, 5); // a short pause inside a loop bounded by its deadline
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

KelvoRun RunKelvo(std::vector<std::string> args, std::chrono::milliseconds patience) {
    KelvoRun run;
    int out = -1;
    int err = -1;
    const pid_t pid = spawnKelvo(std::move(args), out, err);
    if (pid <= 0) {
        ADD_FAILURE() << "kelvo could not be started";
        return run;
    }
    const auto deadline = Clock::now() + patience;
    drain(out, err, run.out, run.err, deadline);
    close(out);
    close(err);
    run.status = waitExit(pid, deadline);
    return run;
}

KelvoProcess::KelvoProcess(std::vector<std::string> args) {
    pid_ = spawnKelvo(std::move(args), out_, err_);
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
        if (poll(&p, 1, remainingMs(deadline)) <= 0) {
            return std::nullopt;
        }
        char buffer[512];
        const ssize_t n = read(out_, buffer, sizeof buffer);
        if (n <= 0) {
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
    KelvoRun run;
    if (pid_ <= 0) {
        return run;
    }
    kill(pid_, signal);
    const auto deadline = Clock::now() + patience;
    run.out = outBuffer_;
    drain(out_, err_, run.out, run.err, deadline);
    close(out_);
    close(err_);
    run.status = waitExit(pid_, deadline);
    pid_ = -1;
    return run;
}

} // namespace telmora::kelvotest
