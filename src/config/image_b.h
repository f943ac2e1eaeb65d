#pragma once

#include "config/sensor_config.h"

// The register image of a Kelvo-B sensor: four switches with hysteresis or window mode,
// a 12-bit analog output, temperature compensation, network run modes, more filters.
// It holds every register of the family A image with the same meaning.
namespace telmora {

// Record to image. Rewrites elements 0 to 127 (element 128 keeps its value), sets
// CountDistance to the range the image selects and cuts Description to 30 characters.
// Values beyond what a register holds are forced to its nearest end.
void EncodeImageB(SensorConfig& config, RegisterImage& image);

// Image to record: sets every family B field, CountDistance and AnalogOutputMax.
// An image with the long-range flag but not the range-valid flag leaves CountDistance as
// it was.
void DecodeImageB(const RegisterImage& image, SensorConfig& config);

} // namespace telmora
