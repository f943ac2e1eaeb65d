#include "link/cust_file.h"

#include <fstream>

namespace telmora {

std::int16_t ReadCustFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error)
        std::ofstream(path, std::ios::binary); // an empty file, read as no valid port

    std::ifstream file(path, std::ios::binary);
    unsigned char bytes[2] = {};
    if (!file.read(reinterpret_cast<char*>(bytes), 2))
        return 0;
    const auto word = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
    return static_cast<std::int16_t>(word);
}

bool WriteCustFile(const std::filesystem::path& path, std::int16_t number) {
    const auto word = static_cast<std::uint16_t>(number);
    const char bytes[2] = {static_cast<char>(word & 0xFF), static_cast<char>(word >> 8)};
    // Open for update so that bytes after the first two stay; create the file first if
    // it is missing.
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!file.is_open()) {
        file.clear();
        file.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
    }
    if (!file.is_open())
        return false;
    file.seekp(0);
    file.write(bytes, 2);
    file.flush();
    return static_cast<bool>(file);
}

} // namespace telmora
