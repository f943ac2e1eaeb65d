#pragma once

#include "config/image_words.h"
#include "config/sensor_config.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The parts of the register image that both sensor families lay out alike: the range and
// interval counts, the switch and analog flag registers, the 8-bit analog outputs and the
// description.
namespace telmora::image {

// Units of the counts. The sensor's counter ticks in steps of 0.003384 inch; the range
// registers count sixteen ticks, the interval register eight microseconds.
inline constexpr double kTickInch = 0.003384;
inline constexpr double kRangeStepInch = 0.054144; // 16 ticks
inline constexpr double kIntervalStepSecond = 0.000008;

// Registers shared by both families.
inline constexpr int kNumberOfPulses = 11;
inline constexpr int kDescriptionLength = 33;
inline constexpr int kDescriptionFirst = 34;
inline constexpr int kMinRange = 64;
inline constexpr int kMaxRange = 66;
inline constexpr int kInterval = 72;
inline constexpr int kSw1Setpoint = 74;
inline constexpr int kSw1Flags = 76;
inline constexpr int kSw2Setpoint = 77;
inline constexpr int kSw2Flags = 79;
inline constexpr int kAnalogNearEndpoint = 80;
inline constexpr int kAnalogFarEndpoint = 82;
inline constexpr int kAnalogFlags = 84;
inline constexpr int kAnalogLower8 = 85;
inline constexpr int kAnalogSpan8 = 86;
inline constexpr int kOperatingFlags = 87;
inline constexpr int kNumberOfSamples = 88;
inline constexpr int kPrimingCycles = 89;
inline constexpr int kConstantOne = 90;

// Bits of the operating flags register.
inline constexpr int kFlagPBEnabled = 1;
inline constexpr int kFlagLongRange = 32;
inline constexpr int kFlagBit7 = 128;

inline constexpr std::size_t kDescriptionMaxCharacters = 30;

// Encoding ---------------------------------------------------------------------------------

// True when MaxRange needs more than 65535 ticks, so the sensor must count in double ticks.
bool NeedsLongRange(float maxRange);

// The single a count decodes to, for ranges (range steps), the interval and distances.
float RangeOfCount(int count);
float IntervalOfCount(int count);
float DistanceOfCount(int count, float countDistance);

// Whole counts of `unit` in `value`, rounded down as the record holds it: the largest
// count whose decoded single is not above `value`. A decoded value thus gives back its own
// count, even where the single lies just below count x unit.
template <typename Decoded> std::uint16_t CountFloorOf(float value, double unit, Decoded decoded) {
    std::uint16_t count = CountFloor(value / unit);
    if (count < kMaxWordCount && decoded(count + 1) <= value) {
        ++count;
    }
    return count;
}

// Elements 64 to 67: MinRange and MaxRange as whole range steps, rounded down.
void PutRangeCounts(const SensorConfig& config, RegisterImage& image);

// Flag register of one switch. Each code contributes only its own bits, so a code
// holding a value it should not cannot spill into a neighbour's bits or past 255.
int SwitchFlags(const ConstSwitchFields& sw, bool withMode);

// Element 84 without the range code.
int AnalogFlags(const SensorConfig& config);
bool IsVoltageOutput(const SensorConfig& config);
double AnalogFullScale(const SensorConfig& config); // 10 V or 20 mA

// Bits 5 and 6 of element 84: the standard output ranges the sensor knows by name.
int AnalogRangeCode(const SensorConfig& config);

// Elements 85 and 86: lower output and span in 1/255 of full scale, halves to even.
void PutAnalogOutputs8Bit(const SensorConfig& config, RegisterImage& image);

// Cuts config.Description to 30 characters and writes its length and Windows-1252 codes
// into elements 33 onward.
void PutDescription(SensorConfig& config, RegisterImage& image);

// Decoding ---------------------------------------------------------------------------------

float DecodeRangeCount(const RegisterImage& image, int k); // inch
float DecodeInterval(const RegisterImage& image);          // second
float DecodeDistance(const RegisterImage& image, int k, float countDistance);

void DecodeSwitchFlags(std::uint8_t flags, SwitchFields sw, bool withMode);
void DecodeAnalogFlags(const RegisterImage& image, SensorConfig& config);

// At most 30 characters, whatever element 33 claims, so a foreign image can never make
// the description reach past the characters' registers.
std::string DecodeDescription(const RegisterImage& image);

} // namespace telmora::image
