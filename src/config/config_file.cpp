#include "config/config_file.h"

#include <cerrno>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace telmora {

namespace {

std::string quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

std::string systemReason(int error) {
    return std::generic_category().message(error);
}

FileResult failure(std::string message) {
    return {false, std::move(message)};
}

// Closes the descriptor when the operation ends, whichever way it ends.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that an error the file system reports only at close is seen.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

// Reads up to `size` bytes; returns the count read, or -1 with errno set.
ssize_t readFully(int fd, std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

bool writeFully(int fd, const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file a save must replace: through a symbolic link to the file it names, so the
// link survives the rename.
std::filesystem::path saveTarget(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        std::filesystem::path resolved = std::filesystem::canonical(path, error);
        if (!error)
            return resolved;
    }
    return path;
}

// A new, empty file beside the target, created with the permissions a new file gets
// (the user's umask applies). Returns -1 with errno set on failure.
int createTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& created) {
    static unsigned serial = 0;
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = folder / ("." + target.filename().string() + "." + std::to_string(::getpid()) +
                            "." + std::to_string(++serial) + ".tmp");
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1; // errno is EEXIST
}

// Makes the rename durable. Some file systems cannot sync a folder; the new file is in
// place either way, so a failure here is not reported.
void syncFolderOf(const std::filesystem::path& target) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

ConfigFileBytes ImageToFileBytes(const RegisterImage& image) {
    ConfigFileBytes bytes{};
    for (int k = 0; k < kConfigFileElements; ++k) {
        const auto value = static_cast<std::uint16_t>(image[k]);
        bytes[2 * k] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[2 * k + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    return bytes;
}

void FileBytesToImage(const ConfigFileBytes& bytes, RegisterImage& image) {
    for (int k = 0; k < kConfigFileElements; ++k)
        image[k] = static_cast<std::int16_t>(bytes[2 * k + 1] << 8 | bytes[2 * k]);
}

ConfigFileContents ReadConfigFile(const std::filesystem::path& path) {
    ConfigFileContents contents;
    // Non-blocking, so that naming a pipe cannot hang the program.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid()) {
        contents.error = "Cannot open " + quoted(path) + ": " + systemReason(errno) + ".";
        return contents;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        contents.error = "Cannot read " + quoted(path) + ": " + systemReason(errno) + ".";
        return contents;
    }
    if (S_ISDIR(status.st_mode)) {
        contents.error = "Cannot read " + quoted(path) + ": " + systemReason(EISDIR) + ".";
        return contents;
    }
    if (!S_ISREG(status.st_mode)) {
        contents.error = "Cannot read " + quoted(path) + ": it is not a regular file.";
        return contents;
    }
    const ssize_t count = readFully(file.get(), contents.bytes.data(), contents.bytes.size());
    if (count < 0) {
        contents.error = "Cannot read " + quoted(path) + ": " + systemReason(errno) + ".";
        return contents;
    }
    if (static_cast<std::size_t>(count) < kConfigFileSize) {
        contents.error = quoted(path) + " is not a configuration file: it holds " +
                         std::to_string(count) + " bytes, a configuration file holds " +
                         std::to_string(kConfigFileSize) + ".";
        contents.bytes = {};
        return contents;
    }
    contents.ok = true;
    return contents;
}

FileResult WriteConfigFile(const std::filesystem::path& path, const ConfigFileBytes& bytes) {
    const std::filesystem::path target = saveTarget(path);
    const std::string cannotSave = "Cannot save " + quoted(path) + ": ";

    std::filesystem::path temporary;
    Descriptor file(createTemporaryBeside(target, temporary));
    if (!file.valid())
        return failure(cannotSave + systemReason(errno) + ".");

    // A replaced file keeps its permissions.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(file.get(), existing.st_mode & 07777);

    const bool written = writeFully(file.get(), bytes.data(), bytes.size()) &&
                         ::fsync(file.get()) == 0 && file.close() == 0;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return failure(cannotSave + systemReason(error) + ".");
    }
    syncFolderOf(target);
    return {true, {}};
}

} // namespace telmora
