#include "config/save_target.h"

#include <cerrno>
#include <system_error>

#include <sys/stat.h>

namespace telmora {

namespace {

// As many links as the system itself follows in one path.
constexpr int kMaxLinks = 40;

std::string Refusal(mode_t mode) {
    if (S_ISDIR(mode))
        return "it is a folder";
    if (S_ISFIFO(mode))
        return "it is a named pipe, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    return {};
}

} // namespace

SaveTarget ResolveSaveTarget(const std::filesystem::path& path) {
    SaveTarget target{path, {}};
    for (int links = 0;; ++links) {
        struct stat status {};
        if (::lstat(target.Path.c_str(), &status) != 0)
            return target; // not there yet: the save creates it (or reports why it cannot)
        if (!S_ISLNK(status.st_mode)) {
            target.Refusal = Refusal(status.st_mode);
            return target;
        }
        if (links == kMaxLinks) {
            target.Refusal = std::generic_category().message(ELOOP);
            return target;
        }
        std::error_code error;
        const std::filesystem::path next = std::filesystem::read_symlink(target.Path, error);
        if (error) {
            target.Refusal = error.message();
            return target;
        }
        target.Path = next.is_absolute() ? next : target.Path.parent_path() / next;
    }
}

} // namespace telmora
