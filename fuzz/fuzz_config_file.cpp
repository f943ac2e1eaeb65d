// "Get Configuration From Disk" on a file holding any bytes: read, checked for its size,
// and decoded as a family B image.
#include "config/config_file_commands.h"

#include <cstdint>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace telmora;
    static const int file = ::memfd_create("telmora-fuzz.cfg", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(file);
    if (file < 0 || ::ftruncate(file, 0) != 0 ||
        ::pwrite(file, bytes, size, 0) != static_cast<ssize_t>(size))
        return 0;
    RegisterImage image{};
    SensorConfig config;
    LoadFactoryDefaultsB(config);
    const FileResult result = LoadConfigurationFile(path, image, config);
    if (result.Ok != (size >= kConfigFileSize) || result.Ok != result.Error.empty())
        __builtin_trap(); // a whole file loads; a short one is refused with a reason
    return 0;
}
