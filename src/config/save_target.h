#pragma once

#include <filesystem>
#include <string>

// Where a save really writes. Shared by the configuration file and the data log.
namespace telmora {

struct SaveTarget {
    // The file to create or replace: `path` with every symbolic link followed, also one
    // that leads to a file not yet there, so a save writes through the link and keeps it.
    std::filesystem::path Path;
    // Empty when the target may be written; otherwise why not, as the end of a sentence
    // ("it is a named pipe, not a file").
    std::string Refusal;
};

// Follows `path`'s symbolic links and refuses a folder, a named pipe, a device or a socket:
// writing one would hang, damage it or replace it with a plain file.
SaveTarget ResolveSaveTarget(const std::filesystem::path& path);

} // namespace telmora
