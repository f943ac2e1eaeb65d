#include "peer_watch.h"

#include <cstdlib>
#include <dirent.h>
#include <string_view>
#include <sys/inotify.h>
#include <unistd.h>

namespace telmora::sim {

namespace {

bool AllDigits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// True if any descriptor of process pid refers to path.
bool ProcessHolds(const std::string& pid, const std::string& path) {
    const std::string fdDir = "/proc/" + pid + "/fd";
    DIR* dir = opendir(fdDir.c_str());
    if (dir == nullptr) {
        return false; // gone, or not ours to look at
    }
    bool holds = false;
    char target[256];
    while (dirent* entry = readdir(dir)) {
        if (!AllDigits(entry->d_name)) {
            continue;
        }
        const std::string link = fdDir + "/" + entry->d_name;
        ssize_t n = readlink(link.c_str(), target, sizeof target);
        if (n > 0 && std::string_view(target, static_cast<std::size_t>(n)) == path) {
            holds = true;
            break;
        }
    }
    closedir(dir);
    return holds;
}

} // namespace

PeerWatch::PeerWatch(std::string devicePath) : path_(std::move(devicePath)) {
    notify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notify_ >= 0 && inotify_add_watch(notify_, path_.c_str(), IN_OPEN | IN_CLOSE) < 0) {
        ::close(notify_);
        notify_ = -1;
    }
    present_ = CountOthers();
}

PeerWatch::~PeerWatch() {
    if (notify_ >= 0) {
        ::close(notify_);
    }
}

bool PeerWatch::Refresh() {
    if (notify_ >= 0) {
        alignas(inotify_event) char buffer[4096];
        while (read(notify_, buffer, sizeof buffer) > 0) {
        }
    }
    present_ = CountOthers();
    return present_;
}

bool PeerWatch::CountOthers() const {
    const std::string self = std::to_string(getpid());
    DIR* proc = opendir("/proc");
    if (proc == nullptr) {
        return true; // cannot tell: assume someone listens, as a real line would not know
    }
    bool found = false;
    while (dirent* entry = readdir(proc)) {
        if (AllDigits(entry->d_name) && self != entry->d_name &&
            ProcessHolds(entry->d_name, path_)) {
            found = true;
            break;
        }
    }
    closedir(proc);
    return found;
}

} // namespace telmora::sim
