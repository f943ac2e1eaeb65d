#pragma once

#include "config/sensor_config.h"

#include <nlohmann/json.hpp>

#include <string>

// Records as the conformance vectors write them: floats as exact decimals of singles,
// descriptions as Unicode text of their Windows-1252 characters.
namespace telmora::testing {

nlohmann::json LoadCodecVectors();

SensorConfig RecordFromJson(const nlohmann::json& record);
RegisterImage ImageFromJson(const nlohmann::json& image);

// The record right after start-up: family B defaults, CountDistance 0.003384.
SensorConfig StartupRecord();

// Every field that differs, bit for bit, as "Field: expected X, got Y" lines; empty
// when the records are identical.
std::string RecordDifferences(const SensorConfig& expected, const SensorConfig& actual);

// Elements that differ, as "[k] expected X, got Y" lines.
std::string ImageDifferences(const RegisterImage& expected, const RegisterImage& actual);

} // namespace telmora::testing
