#pragma once

#include "config/config_file.h"
#include "config/sensor_config.h"

#include <filesystem>

// What "Get Configuration From Disk" and "&Save Configuration to Disk" do once the user
// has chosen a file. Whatever family the window shows, a file holds a family B image,
// which carries every family A register as well.
namespace telmora {

// Reads the file into elements 0 to 127 of the image and decodes it as family B into the
// record; the caller then shows the record. On failure the image and record are as they
// were and the result names the file and the reason.
FileResult LoadConfigurationFile(const std::filesystem::path& path, RegisterImage& image,
                                 SensorConfig& config);

// Call after reading the window back into the record. Encodes the record as family B and
// writes elements 0 to 127 to the file. On success the record (CountDistance, a cut
// Description) and the image are updated as the encoder leaves them; on failure neither
// changes and any earlier file is intact.
FileResult SaveConfigurationFile(const std::filesystem::path& path, SensorConfig& config,
                                 RegisterImage& image);

} // namespace telmora
