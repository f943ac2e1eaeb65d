#include "serial_port.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace telmora::kelvo {

namespace {

std::string Reason(int err) {
    return std::strerror(err);
}

// Raw 9600 8N1: no echo, no line editing, no CR/LF translation, no XON/XOFF, no parity
// marks, no hang-up on modem lines. Reads never block (O_NONBLOCK); the event loop polls.
bool ConfigureLine(int fd, int& err) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        err = errno;
        return false;
    }
    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    // With VMIN 1 a non-blocking read of an empty buffer answers EAGAIN, so end of file
    // (0) is left to mean a hang-up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (cfsetispeed(&tio, B9600) != 0 || cfsetospeed(&tio, B9600) != 0 ||
        tcsetattr(fd, TCSANOW, &tio) != 0) {
        err = errno;
        return false;
    }
    return true;
}

} // namespace

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::Open(const std::string& device, std::string& error) {
    Close();
    failure_.clear();
    const std::string prefix = "Cannot open port " + device + ": ";
    PortHolder holder;
    if (!lock_.Acquire(device, holder)) {
        error = prefix + "in use by " + HolderText(holder);
        return false;
    }
    // Non-blocking, so opening a real port whose modem lines are down returns at once.
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        lock_.Release();
        error = prefix + (err == EBUSY ? "in use by another program" : Reason(err));
        return false;
    }
    auto refuse = [&](const std::string& why) {
        ::close(fd);
        lock_.Release();
        error = prefix + why;
        return false;
    };
    if (!isatty(fd)) {
        return refuse("not a serial device");
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        return refuse(err == EWOULDBLOCK ? "in use by another program" : Reason(err));
    }
    // Further opens of the terminal fail while it is ours (as the window's port does too).
    if (::ioctl(fd, TIOCEXCL) != 0) {
        return refuse(Reason(errno));
    }
    int err = 0;
    if (!ConfigureLine(fd, err)) {
        return refuse(Reason(err));
    }
    fd_ = fd;
    device_ = device;
    return true;
}

void SerialPort::Close() {
    if (fd_ < 0) {
        return;
    }
    if (!Failed()) {
        tcdrain(fd_);
    }
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    lock_.Release();
}

void SerialPort::Write(std::string_view bytes) {
    while (!bytes.empty() && fd_ >= 0 && !Failed()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd_, POLLOUT, 0};
            // The driver drains at line speed; a buffer that stays full for seconds means
            // the line is stuck.
            const int ready = ::poll(&p, 1, 5000);
            if (ready == 0) {
                Fail("the line takes no more characters", 0);
            } else if (ready < 0 && errno != EINTR) {
                Fail("write failed", errno);
            } else if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
                Fail("the line hung up", 0);
            }
            continue;
        }
        Fail("write failed", n < 0 ? errno : EIO);
    }
}

SerialPort::ReadStatus SerialPort::ReadAvailable(std::string& into) {
    if (fd_ < 0 || Failed()) {
        return ReadStatus::Closed;
    }
    bool any = false;
    char buffer[512];
    while (true) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0) {
            into.append(buffer, static_cast<std::size_t>(n));
            any = true;
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return any ? ReadStatus::Data : ReadStatus::Nothing;
        }
        // A non-blocking terminal with nothing waiting answers EAGAIN; end of file (0)
        // means the other end hung up.
        if (n == 0) {
            Fail("the line hung up", 0);
        } else {
            Fail("read failed", errno);
        }
        return any ? ReadStatus::Data : ReadStatus::Closed;
    }
}

void SerialPort::Fail(std::string_view what, int err) {
    failure_ = "Port " + device_ + " failed: " + std::string(what);
    if (err != 0) {
        failure_ += " (" + Reason(err) + ")";
    }
}

} // namespace telmora::kelvo
