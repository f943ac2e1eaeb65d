#pragma once

#include "config/sensor_config.h"

#include <cstdint>

// Byte-level access to the register image and the conversion of engineering values to
// register counts. Every value that leaves the encoders passes through these helpers, so
// an image element never holds anything but a register value 0 to 255.
namespace telmora {

inline constexpr std::uint16_t kMaxWordCount = 65535;
inline constexpr std::uint16_t kMaxByteValue = 255;

// The 8-bit value of register k. Elements of an image loaded from a file may hold any
// 16-bit number; the sensor's registers keep only their low eight bits.
std::uint8_t RegisterByte(const RegisterImage& image, int k);

// Register k = value forced into 0..255.
void PutByte(RegisterImage& image, int k, int value);

// A two-register count: element k holds the low byte, element k + 1 the high byte.
void PutWordLowHigh(RegisterImage& image, int k, std::uint16_t count);
std::uint16_t WordLowHigh(const RegisterImage& image, int k);

// Counts of a quotient, forced into 0..maxCount: a negative quotient or NaN gives 0, a
// quotient at or beyond maxCount (infinity included) gives maxCount.
std::uint16_t CountFloor(double quotient, std::uint16_t maxCount = kMaxWordCount);
// Nearest whole count, a half going to the even neighbour (255.5 gives 256, 254.5 gives 254).
std::uint16_t CountNearest(double quotient, std::uint16_t maxCount = kMaxWordCount);

// A double rounded to single precision; magnitudes beyond the float range become
// infinities instead of relying on an out-of-range conversion.
float ToSingleOrInfinity(double value);

} // namespace telmora
