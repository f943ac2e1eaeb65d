#pragma once

#include "config/sensor_config.h"
#include "config/sensor_family.h"

// The codec of a family chosen at run time: family A's for A, family B's otherwise.
namespace telmora {

void EncodeImage(SensorFamily family, SensorConfig& config, RegisterImage& image);
void DecodeImage(SensorFamily family, const RegisterImage& image, SensorConfig& config);

// The record an image of `family` holds, decoded onto a default record.
SensorConfig DecodedImage(SensorFamily family, const RegisterImage& image);

} // namespace telmora
