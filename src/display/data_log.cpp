#include "display/data_log.h"

#include "config/number_text.h"
#include "config/save_target.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace telmora {

namespace {

std::string TwoDigits(int value) {
    const int clamped = value < 0 ? 0 : value % 100;
    return {static_cast<char>('0' + clamped / 10), static_cast<char>('0' + clamped % 10)};
}

std::string Digits(int value, int width) {
    std::string text = std::to_string(value < 0 ? 0 : value);
    return text.size() >= static_cast<std::size_t>(width)
               ? text
               : std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}

std::string Reason(int error) {
    return std::strerror(error);
}

} // namespace

std::string LogLine(const TimeOfDay& time, float distance) {
    return TwoDigits(time.Hour) + ":" + TwoDigits(time.Minute) + ":" + TwoDigits(time.Second) +
           " " + FormatTwoDecimals(distance) + "\r\n";
}

std::string IsoLocalTime(const LocalDateTime& when) {
    const TimeOfDay& t = when.Time;
    return Digits(when.Year, 4) + "-" + TwoDigits(when.Month) + "-" + TwoDigits(when.Day) + "T" +
           TwoDigits(t.Hour) + ":" + TwoDigits(t.Minute) + ":" + TwoDigits(t.Second) + "." +
           Digits(when.Millisecond, 3);
}

std::string CsvLogLine(const LocalDateTime& when, float distance) {
    const std::string line = IsoLocalTime(when);
    if (!(distance > 0))
        return line + ",,,1\r\n";
    constexpr double kMillimetresPerInch = 25.4;
    return line + "," + FormatTwoDecimals(distance) + "," +
           FormatOneDecimal(distance * kMillimetresPerInch) + ",0\r\n";
}

DataLogFile::~DataLogFile() {
    std::string ignored;
    Close(ignored);
}

bool DataLogFile::Open(const std::string& path, std::string& error) {
    std::string ignored;
    Close(ignored);
    // A pipe or device named as the log would hang the program or take the lines; a link
    // is written through, also to a file not yet there.
    const SaveTarget target = ResolveSaveTarget(path);
    if (!target.Refusal.empty()) {
        error = target.Refusal;
        return false;
    }
    // Non-blocking, so that a pipe put there meanwhile cannot hang the open.
    const int fd = ::open(target.Path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = Reason(errno);
        return false;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || ::ftruncate(fd, 0) != 0 ||
        ::fcntl(fd, F_SETFL, O_WRONLY) != 0 || (file_ = ::fdopen(fd, "wb")) == nullptr) {
        const int reason = errno;
        error = S_ISREG(status.st_mode) ? Reason(reason) : "it is not a regular file";
        ::close(fd);
        return false;
    }
    path_ = path;
    return true;
}

bool DataLogFile::Write(std::string_view line, std::string& error) {
    if (file_ == nullptr) {
        error = "the log file is not open";
        return false;
    }
    errno = 0;
    const std::size_t written = std::fwrite(line.data(), 1, line.size(), file_);
    if (written != line.size() || std::fflush(file_) != 0) {
        error = Reason(errno != 0 ? errno : EIO);
        std::clearerr(file_);
        return false;
    }
    // A log file deleted or renamed away while open still takes writes on this system,
    // but they would vanish with the last handle; tell the user instead.
    struct stat status {};
    if (fstat(fileno(file_), &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink == 0) {
        error = "the log file was deleted";
        return false;
    }
    return true;
}

bool DataLogFile::Close(std::string& error) {
    if (file_ == nullptr) {
        return true;
    }
    errno = 0;
    const bool closed = std::fclose(file_) == 0;
    if (!closed) {
        error = Reason(errno != 0 ? errno : EIO);
    }
    file_ = nullptr;
    path_.clear();
    return closed;
}

} // namespace telmora
