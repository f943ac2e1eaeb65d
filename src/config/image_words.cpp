#include "config/image_words.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace telmora {

std::uint8_t RegisterByte(const RegisterImage& image, int k) {
    return static_cast<std::uint8_t>(static_cast<std::uint16_t>(image[k]) & 0xFF);
}

void PutByte(RegisterImage& image, int k, int value) {
    image[k] = static_cast<std::int16_t>(std::clamp(value, 0, int{kMaxByteValue}));
}

void PutWordLowHigh(RegisterImage& image, int k, std::uint16_t count) {
    image[k] = static_cast<std::int16_t>(count & 0xFF);
    image[k + 1] = static_cast<std::int16_t>(count >> 8);
}

std::uint16_t WordLowHigh(const RegisterImage& image, int k) {
    return static_cast<std::uint16_t>(RegisterByte(image, k + 1) << 8 | RegisterByte(image, k));
}

std::uint16_t CountFloor(double quotient, std::uint16_t maxCount) {
    if (!(quotient > 0)) // also NaN
        return 0;
    if (quotient >= maxCount)
        return maxCount;
    return static_cast<std::uint16_t>(std::floor(quotient));
}

std::uint16_t CountNearest(double quotient, std::uint16_t maxCount) {
    if (!(quotient > 0))
        return 0;
    if (quotient >= maxCount)
        return maxCount;
    // Decided on the exact fraction, independent of the floating-point rounding mode.
    const double below = std::floor(quotient);
    const double fraction = quotient - below; // exact for quotients below 2^52
    auto count = static_cast<std::uint32_t>(below);
    if (fraction > 0.5 || (fraction == 0.5 && count % 2 == 1))
        ++count;
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(count, maxCount));
}

float ToSingleOrInfinity(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (value > kLargest)
        return std::numeric_limits<float>::infinity();
    if (value < -kLargest)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value); // NaN stays NaN
}

} // namespace telmora
