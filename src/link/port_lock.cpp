#include "link/port_lock.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace telmora {

namespace {

std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// The running program's file name, as the lock convention records it and as the window's
// serial port compares it with the holder's when it judges a lock stale.
std::string OwnProgramName() {
    char buffer[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string path = length > 0 ? std::string(buffer, static_cast<std::size_t>(length))
                                  : FirstLine("/proc/self/comm");
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string HostName() {
    char buffer[256] = {};
    return ::gethostname(buffer, sizeof buffer - 1) == 0 ? std::string(buffer) : std::string();
}

bool Alive(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

std::string PortLockPath(const std::string& device) {
    for (const char* folder : {"/var/lock", "/run/lock"}) {
        struct stat status {};
        if (::stat(folder, &status) != 0 || !S_ISDIR(status.st_mode))
            continue;
        std::string name = device.starts_with("/dev/") ? device.substr(5) : device;
        for (char& c : name)
            if (c == '/')
                c = '_';
        return std::string(folder) + "/LCK.." + name;
    }
    return {};
}

std::string ResolvedDevice(const std::string& device) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(device, error);
    return error ? device : resolved.string();
}

namespace {

PortHolder FindHolderOfName(const std::string& device) {
    const std::string path = PortLockPath(device);
    std::ifstream in(path);
    if (path.empty() || !in)
        return {};
    std::string pidLine, program;
    std::getline(in, pidLine);
    std::getline(in, program);
    char* end = nullptr;
    const long pid = std::strtol(pidLine.c_str(), &end, 10);
    if (pid == ::getpid())
        return {};
    if (pid <= 0 || end == pidLine.c_str() || !Alive(pid)) {
        // Its process has ended (or it names none): nobody holds the port.
        ::unlink(path.c_str());
        return {};
    }
    const std::string comm = FirstLine("/proc/" + std::to_string(pid) + "/comm");
    return {pid, comm.empty() ? program : comm};
}

} // namespace

PortHolder FindPortHolder(const std::string& device) {
    const PortHolder holder = FindHolderOfName(device);
    const std::string resolved = ResolvedDevice(device);
    return holder.Pid != 0 || resolved == device ? holder : FindHolderOfName(resolved);
}

std::string HolderText(const PortHolder& holder) {
    return (holder.Program.empty() ? std::string("another program") : holder.Program) +
           ", process " + std::to_string(holder.Pid);
}

bool PortLock::Acquire(const std::string& device, PortHolder& holder) {
    Release();
    holder = {};
    const std::string resolved = ResolvedDevice(device);
    if (!AcquireName(device, holder) || (resolved != device && !AcquireName(resolved, holder))) {
        Release();
        return false;
    }
    return true;
}

bool PortLock::AcquireResolvedName(const std::string& device, PortHolder& holder) {
    Release();
    holder = {};
    const std::string resolved = ResolvedDevice(device);
    return resolved == device || AcquireName(resolved, holder);
}

bool PortLock::AcquireName(const std::string& name, PortHolder& holder) {
    const std::string path = PortLockPath(name);
    if (path.empty())
        return true;
    // Written whole under a private name first and then linked to the lock's name, so no
    // reader ever sees a half-written lock and only one of two racing programs wins.
    const std::string draft = path + "." + std::to_string(::getpid());
    {
        std::ofstream out(draft, std::ios::trunc);
        out << ::getpid() << '\n' << OwnProgramName() << '\n' << HostName() << '\n';
        if (!out.flush())
            return true; // a lock folder closed to this user: the exclusive open decides
    }
    bool taken = false;
    for (int attempt = 0; attempt < 3 && !taken; ++attempt) {
        taken = ::link(draft.c_str(), path.c_str()) == 0;
        if (!taken && (holder = FindHolderOfName(name)).Pid != 0)
            break;
    }
    ::unlink(draft.c_str());
    if (taken)
        paths_.push_back(path);
    return taken || holder.Pid == 0;
}

void PortLock::Release() {
    for (const std::string& path : paths_)
        ::unlink(path.c_str());
    paths_.clear();
}

} // namespace telmora
