#include "sensor_image.h"

#include "config/image_a.h"
#include "config/image_b.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include <cstdio>
#include <unistd.h>

namespace telmora::sim {

namespace {

constexpr std::size_t kFileElements = 128;
constexpr std::size_t kFileBytes = 2 * kFileElements;

} // namespace

RegisterImage FactoryImage(Family family) {
    SensorConfig config;
    RegisterImage image{};
    if (family == Family::A) {
        LoadFactoryDefaultsA(config);
        EncodeImageA(config, image);
    } else {
        LoadFactoryDefaultsB(config);
        EncodeImageB(config, image);
    }
    return image;
}

float CountDistanceOf(const RegisterImage& image, Family family, float previous) {
    const int flags = image[87];
    const bool longRange = (flags & 32) != 0;
    if (family == Family::A) {
        return longRange ? kCountDistanceLong : kCountDistanceNormal;
    }
    if ((flags & 128) != 0) {
        return longRange ? kCountDistanceLong : kCountDistanceNormal;
    }
    return longRange ? previous : kCountDistanceNoFlags;
}

ImageLoad LoadImageFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {std::nullopt, "cannot open " + path + ": " + std::strerror(errno)};
    }
    std::vector<unsigned char> bytes(kFileBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), kFileBytes);
    if (static_cast<std::size_t>(in.gcount()) != kFileBytes) {
        return {std::nullopt, path + " holds " + std::to_string(in.gcount()) +
                                  " bytes; a configuration file holds 256"};
    }
    RegisterImage image{};
    for (std::size_t k = 0; k < kFileElements; ++k) {
        auto value = static_cast<std::int16_t>(bytes[2 * k] | (bytes[2 * k + 1] << 8));
        if (value < 0 || value > 255) {
            return {std::nullopt, path + ": element " + std::to_string(k) + " holds " +
                                      std::to_string(value) + "; a register holds 0 to 255"};
        }
        image[k] = value;
    }
    return {image, {}};
}

std::string SaveImageFile(const std::string& path, const RegisterImage& image) {
    std::vector<char> bytes(kFileBytes);
    for (std::size_t k = 0; k < kFileElements; ++k) {
        auto word = static_cast<std::uint16_t>(image[k]);
        bytes[2 * k] = static_cast<char>(word & 0xFF);
        bytes[2 * k + 1] = static_cast<char>(word >> 8);
    }
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return "cannot write " + temporary;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::string error = "cannot replace " + path + ": " + std::strerror(errno);
        std::remove(temporary.c_str());
        return error;
    }
    return {};
}

} // namespace telmora::sim
