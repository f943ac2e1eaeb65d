#pragma once

#include "command_line.h"

#include "config/config_fields.h"
#include "config/sensor_config.h"

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

// kelvo's subcommands. Each writes its result to `out`, reports a failure as one line on
// `err` and returns the exit status (exit_codes.h).
namespace telmora::kelvo {

// The whole program: parses `args` (without the program name) and runs the command.
int RunKelvo(std::span<const std::string> args, std::ostream& out, std::ostream& err);

int RunDetect(const Options& options, std::ostream& out, std::ostream& err);
int RunRead(const Options& options, std::ostream& out, std::ostream& err);
int RunWrite(const Options& options, std::ostream& out, std::ostream& err);
int RunShow(const Options& options, std::ostream& out, std::ostream& err);
int RunMonitor(const Options& options, std::ostream& out, std::ostream& err);
int RunDiff(const Options& options, std::ostream& out, std::ostream& err);
int RunReport(const Options& options, std::ostream& out, std::ostream& err);

// Detects the sensor on options.Port, reads its configuration and ends the exchange. The
// exit status; on success the family and the registers read.
int ReadSensor(const Options& options, SensorFamily& family, RegisterImage& image,
               std::ostream& err);

// The configuration file at `path` as a register image; false after one line on `err`.
bool ReadFileImage(const std::string& path, RegisterImage& image, std::ostream& err);

// A sensor's registers beside a file's, each as the window would send it to a sensor of
// `family` after reading the sensor or loading the file.
std::vector<FieldComparison> CompareSensorWithFile(SensorFamily family,
                                                   const RegisterImage& sensorImage,
                                                   const RegisterImage& fileImage);

} // namespace telmora::kelvo
