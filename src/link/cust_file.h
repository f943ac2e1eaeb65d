#pragma once

#include <cstdint>
#include <filesystem>

// "CustFile": the one setting kept between runs, the chosen port number, in the file's
// first two bytes as a signed 16-bit little-endian integer. Bytes after them are kept
// and never read.
namespace telmora {

// The saved port number. A missing file is created empty; a file shorter than two bytes
// or one that cannot be read gives 0, which is no valid port.
std::int16_t ReadCustFile(const std::filesystem::path& path);

// Writes `number` into the first two bytes, creating the file if needed. False when the
// file cannot be written.
bool WriteCustFile(const std::filesystem::path& path, std::int16_t number);

} // namespace telmora
