#pragma once

#include "config/sensor_config.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

// The configuration file: elements 0 to 127 of a family B register image, each a 16-bit
// signed integer, least significant byte first; 256 bytes, no header.
namespace telmora {

inline constexpr std::size_t kConfigFileSize = 256;
inline constexpr int kConfigFileElements = 128;
using ConfigFileBytes = std::array<std::uint8_t, kConfigFileSize>;

ConfigFileBytes ImageToFileBytes(const RegisterImage& image);
// Sets elements 0 to 127; element 128, which the file does not hold, keeps its value.
void FileBytesToImage(const ConfigFileBytes& bytes, RegisterImage& image);

// Outcome of a file operation. On failure `error` is a sentence for the user naming the
// file and the reason, and nothing has changed.
struct FileResult {
    bool Ok = false;
    std::string Error;
};

struct ConfigFileContents {
    bool Ok = false;
    std::string Error;
    ConfigFileBytes Bytes{};
};

// The first 256 bytes of the file. A file that does not exist, is not a regular file,
// cannot be read or holds fewer than 256 bytes is refused; nothing is created.
ConfigFileContents ReadConfigFile(const std::filesystem::path& path);

// Replaces the file with exactly these 256 bytes, atomically: the bytes go to a new file
// in the same folder, reach the disk, and only then take the name. A failure (no access,
// disk full) leaves any earlier file as it was and no temporary file behind, and so does
// a save killed on the way (the next save clears what one killed at its very end left).
// A symbolic link is written through, also to a file not yet there; a folder, named pipe
// or device is refused.
FileResult WriteConfigFile(const std::filesystem::path& path, const ConfigFileBytes& bytes);

// The same for any file the program writes whole (chart data and images, reports).
FileResult WriteFileAtomically(const std::filesystem::path& path, const void* data,
                               std::size_t size);

} // namespace telmora
