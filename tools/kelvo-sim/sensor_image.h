#pragma once

#include "config/sensor_config.h"
#include "sim_options.h"

#include <optional>
#include <string>

namespace telmora::sim {

// The register image a new sensor of this family holds: its factory configuration.
RegisterImage FactoryImage(Family family);

// Inches per count that the sensor's range flags in register 87 select. A family B
// pattern that names no range (bit 5 without bit 7) leaves the sensor as it was.
float CountDistanceOf(const RegisterImage& image, Family family, float previous);

// A configuration file: elements 0 to 127 as 16-bit little-endian integers, 256 bytes.
// Element 128 is not stored and loads as 0. Bytes after the first 256 are ignored.
struct ImageLoad {
    std::optional<RegisterImage> Image;
    std::string Error;
};
ImageLoad LoadImageFile(const std::string& path);

// Writes the image in the same format, replacing the file in one step so that a reader
// never sees half of it. Returns an error text, empty on success.
std::string SaveImageFile(const std::string& path, const RegisterImage& image);

} // namespace telmora::sim
