#include "sim_terminal.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace telmora::sim {

SimTerminal::~SimTerminal() {
    Close();
}

std::string SimTerminal::Open() {
    termios settings{};
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    char name[PATH_MAX] = {};
    if (openpty(&master_, &slave_, name, &settings, nullptr) != 0) {
        return std::string("cannot make a pseudo-terminal: ") + std::strerror(errno);
    }
    path_ = name;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    return {};
}

std::string SimTerminal::MakeLink(const std::string& linkPath) {
    struct stat existing {};
    if (lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        return linkPath + " exists and is not a symbolic link; not replacing it";
    }
    // Made under a temporary name and renamed, so the link never points nowhere.
    const std::string temporary = linkPath + ".new" + std::to_string(getpid());
    unlink(temporary.c_str());
    if (symlink(path_.c_str(), temporary.c_str()) != 0 ||
        rename(temporary.c_str(), linkPath.c_str()) != 0) {
        std::string error = "cannot link " + linkPath + ": " + std::strerror(errno);
        unlink(temporary.c_str());
        return error;
    }
    link_ = linkPath;
    return {};
}

void SimTerminal::DiscardUnread() {
    if (slave_ >= 0) {
        tcflush(slave_, TCIFLUSH);
    }
}

int SimTerminal::Unread() const {
    int waiting = 0;
    if (slave_ < 0 || ioctl(slave_, TIOCINQ, &waiting) != 0) {
        return 0;
    }
    return waiting;
}

void SimTerminal::Close() {
    if (!link_.empty()) {
        // Only our own link is removed; someone may have pointed it elsewhere meanwhile.
        char target[PATH_MAX] = {};
        ssize_t n = readlink(link_.c_str(), target, sizeof target - 1);
        if (n > 0 && path_ == std::string(target, static_cast<std::size_t>(n))) {
            unlink(link_.c_str());
        }
        link_.clear();
    }
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

} // namespace telmora::sim
