#pragma once

#include "config/sensor_config.h"

// The register image of a Kelvo-A sensor: two switches, one analog output.
namespace telmora {

// Record to image. Rewrites elements 0 to 127 (element 128 keeps its value) and corrects
// the record where the sensor cannot hold its value: CountDistance follows the range the
// image selects, Description is cut to 30 characters, a run mode family A lacks becomes
// "Continuous (RS232)" and a filter it lacks becomes "Average Of" or none, by the sample
// count. Values beyond what a register holds are forced to its nearest end.
void EncodeImageA(SensorConfig& config, RegisterImage& image);

// Image to record: sets the family A fields, CountDistance and AnalogOutputMax; the
// fields only family B has keep their values.
void DecodeImageA(const RegisterImage& image, SensorConfig& config);

} // namespace telmora
