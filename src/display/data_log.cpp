#include "display/data_log.h"

#include "config/number_text.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace telmora {

namespace {

std::string TwoDigits(int value) {
    const int clamped = value < 0 ? 0 : value % 100;
    return {static_cast<char>('0' + clamped / 10), static_cast<char>('0' + clamped % 10)};
}

std::string Reason(int error) {
    return std::strerror(error);
}

} // namespace

std::string LogLine(const TimeOfDay& time, float distance) {
    return TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second) +
           " " + FormatTwoDecimals(distance) + "\r\n";
}

DataLogFile::~DataLogFile() {
    std::string ignored;
    Close(ignored);
}

bool DataLogFile::Open(const std::string& path, std::string& error) {
    std::string ignored;
    Close(ignored);
    errno = 0;
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        error = Reason(errno);
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
