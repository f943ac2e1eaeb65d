#include "sensor_image.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <vector>

#include <cstdio>
#include <unistd.h>

namespace telmora::sim {

namespace {

constexpr std::size_t kFileElements = 128;
constexpr std::size_t kFileBytes = 2 * kFileElements;

struct Element {
    int index;
    int value;
};

void putDescription(RegisterImage& image, const std::string& text) {
    image[33] = static_cast<std::int16_t>(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        image[34 + i] = static_cast<unsigned char>(text[i]);
    }
}

RegisterImage imageOf(std::initializer_list<Element> elements) {
    RegisterImage image{};
    putDescription(image, "<describe configuration here>");
    for (Element e : elements) {
        image[e.index] = static_cast<std::int16_t>(e.value);
    }
    return image;
}

} // namespace

RegisterImage FactoryImage(Family family) {
    if (family == Family::A) {
        // Normal range; 10 pulses; range 6.5 to 221.72 inch; 50 ms interval; switch 1 at
        // 12 inch, switch 2 at 24 inch; 4 to 20 mA over 6.5 to 30 inch; continuous with
        // pushbutton programming; no filter; one priming cycle.
        return imageOf({{11, 10},  {64, 120}, {66, 255}, {67, 15},  {72, 106}, {73, 24},
                        {74, 218}, {75, 13},  {76, 18},  {77, 180}, {78, 27},  {79, 16},
                        {80, 128}, {81, 7},   {82, 161}, {83, 34},  {84, 17},  {85, 51},
                        {86, 204}, {87, 193}, {88, 1},   {89, 1},   {90, 1}});
    }
    // Long range; 10 pulses; range 8 to 221.77 inch; switches at 12, 24, 36 and 48 inch
    // with 0.25 inch hysteresis; 4 to 20 mA over 10 to 30 inch; continuous with
    // temperature compensation and pushbutton programming; average of 3 samples.
    return imageOf({{11, 10},  {23, 199}, {24, 20},  {25, 37},  {27, 18},  {28, 180}, {29, 27},
                    {30, 37},  {32, 16},  {64, 147}, {66, 255}, {67, 15},  {68, 204}, {69, 12},
                    {70, 51},  {71, 3},   {72, 106}, {73, 24},  {74, 237}, {75, 6},   {76, 18},
                    {77, 218}, {78, 13},  {79, 16},  {80, 198}, {81, 5},   {82, 81},  {83, 17},
                    {84, 17},  {85, 51},  {86, 204}, {87, 233}, {88, 3},   {89, 1},   {90, 1},
                    {91, 37},  {93, 37}});
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
