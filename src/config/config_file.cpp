#include "config/config_file.h"

#include "config/save_target.h"

#include <cerrno>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace telmora {

namespace {

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

FileResult Failure(std::string message) {
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
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }

  private:
    int fd_;
};

// Reads up to `size` bytes; returns the count read, or -1 with errno set.
ssize_t ReadFully(int fd, std::uint8_t* data, std::size_t size) {
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

bool WriteFully(int fd, const std::uint8_t* data, std::size_t size) {
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

std::filesystem::path FolderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// The name a temporary file beside `target` takes just before it replaces the target:
// hidden, and naming the process that made it, so a later save can tell whose it is.
std::string TemporaryPrefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".";
}

std::filesystem::path TemporaryName(const std::filesystem::path& target) {
    static unsigned serial = 0;
    return FolderOf(target) / (TemporaryPrefix(target) + std::to_string(::getpid()) + "." +
                               std::to_string(++serial) + ".tmp");
}

// A save killed between naming its temporary file and the rename leaves that file; the
// next save of the same target removes those whose process has ended.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
    const std::string prefix = TemporaryPrefix(target);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(FolderOf(target), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            !name.ends_with(".tmp"))
            continue;
        const std::string rest = name.substr(prefix.size());
        const std::size_t dot = rest.find('.');
        if (dot == 0 || dot == std::string::npos || rest.find_first_not_of("0123456789") != dot)
            continue;
        const long pid = std::stol(rest.substr(0, dot));
        if (pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            ::unlink(entry.path().c_str());
    }
}

// A new, empty file beside the target, created with the permissions a new file gets
// (the user's umask applies). Where the file system allows it the file has no name until
// it is complete, so a save killed while writing leaves nothing; `named` tells which.
// Returns -1 with errno set on failure.
int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& created,
                          bool& named) {
    const int unnamed = ::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    named = unnamed < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL);
    if (!named)
        return unnamed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = TemporaryName(target);
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1; // errno is EEXIST
}

// Gives the complete unnamed file a name beside the target, for the rename.
bool NameTemporary(int fd, const std::filesystem::path& target, std::filesystem::path& named) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        named = TemporaryName(target);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, named.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// Makes the rename durable. Some file systems cannot sync a folder; the new file is in
// place either way, so a failure here is not reported.
void SyncFolderOf(const std::filesystem::path& target) {
    const int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    if (!file.Valid()) {
        contents.Error = "Cannot open " + Quoted(path) + ": " + SystemReason(errno) + ".";
        return contents;
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        contents.Error = "Cannot read " + Quoted(path) + ": " + SystemReason(errno) + ".";
        return contents;
    }
    if (S_ISDIR(status.st_mode)) {
        contents.Error = "Cannot read " + Quoted(path) + ": " + SystemReason(EISDIR) + ".";
        return contents;
    }
    if (!S_ISREG(status.st_mode)) {
        contents.Error = "Cannot read " + Quoted(path) + ": it is not a regular file.";
        return contents;
    }
    const ssize_t count = ReadFully(file.Get(), contents.Bytes.data(), contents.Bytes.size());
    if (count < 0) {
        contents.Error = "Cannot read " + Quoted(path) + ": " + SystemReason(errno) + ".";
        return contents;
    }
    if (static_cast<std::size_t>(count) < kConfigFileSize) {
        contents.Error = Quoted(path) + " is not a configuration file: it holds " +
                         std::to_string(count) + " bytes, a configuration file holds " +
                         std::to_string(kConfigFileSize) + ".";
        contents.Bytes = {};
        return contents;
    }
    contents.Ok = true;
    return contents;
}

FileResult WriteConfigFile(const std::filesystem::path& path, const ConfigFileBytes& bytes) {
    return WriteFileAtomically(path, bytes.data(), bytes.size());
}

FileResult WriteFileAtomically(const std::filesystem::path& path, const void* data,
                               std::size_t size) {
    const std::string cannotSave = "Cannot save " + Quoted(path) + ": ";
    const SaveTarget resolved = ResolveSaveTarget(path);
    if (!resolved.Refusal.empty())
        return Failure(cannotSave + resolved.Refusal + ".");
    const std::filesystem::path& target = resolved.Path;
    RemoveStaleTemporaries(target);

    std::filesystem::path temporary;
    bool named = false;
    Descriptor file(CreateTemporaryBeside(target, temporary, named));
    if (!file.Valid())
        return Failure(cannotSave + SystemReason(errno) + ".");

    // A replaced file keeps its permissions.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(file.Get(), existing.st_mode & 07777);

    const bool written = WriteFully(file.Get(), static_cast<const std::uint8_t*>(data), size) &&
                         ::fsync(file.Get()) == 0 &&
                         (named || NameTemporary(file.Get(), target, temporary));
    if (written)
        named = true;
    // Renamed while still open (its bytes are on the disk already), so that a kill leaves
    // the named file behind only for the shortest time.
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        if (named)
            ::unlink(temporary.c_str());
        return Failure(cannotSave + SystemReason(error) + ".");
    }
    SyncFolderOf(target);
    return {true, {}};
}

} // namespace telmora
