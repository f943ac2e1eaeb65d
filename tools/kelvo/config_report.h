#pragma once

#include "config/sensor_config.h"

#include <string>

// A configuration record written out for people and for scripts.
namespace telmora::kelvo {

// One field a line, "Name: value unit", in the record's order; codes are followed by
// their meaning in parentheses.
std::string ConfigurationText(const SensorConfig& record);

// One JSON object keyed by the record's field names.
std::string ConfigurationJson(const SensorConfig& record);

} // namespace telmora::kelvo
