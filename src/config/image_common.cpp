#include "config/image_common.h"

#include "config/image_words.h"
#include "config/windows1252.h"

#include <algorithm>
#include <vector>

namespace telmora::image {

bool NeedsLongRange(float maxRange) {
    return maxRange / kTickInch > 65535.0;
}

void PutRangeCounts(const SensorConfig& config, RegisterImage& image) {
    PutWordLowHigh(image, kMinRange, CountFloorOf(config.MinRange, kRangeStepInch, RangeOfCount));
    PutWordLowHigh(image, kMaxRange, CountFloorOf(config.MaxRange, kRangeStepInch, RangeOfCount));
}

int SwitchFlags(const ConstSwitchFields& sw, bool withMode) {
    int flags = (sw.PowerUp & 1) + (sw.Polarity & 2) + (sw.EchoLoss & 12) + (sw.SetAllowed & 16);
    if (withMode)
        flags += sw.Mode & 96;
    return flags;
}

bool IsVoltageOutput(const SensorConfig& config) {
    return config.AnalogMode == 128;
}

double AnalogFullScale(const SensorConfig& config) {
    return IsVoltageOutput(config) ? 10 : 20;
}

int AnalogFlags(const SensorConfig& config) {
    return (config.AnalogPowerUp & 2) + (config.AnalogSlope & 1) + (config.AnalogEchoLoss & 12) +
           (config.AnalogSetAllowed & 16) + (IsVoltageOutput(config) ? 128 : 0);
}

int AnalogRangeCode(const SensorConfig& config) {
    const float lower = config.AnalogNearOutput;
    const float upper = config.AnalogFarOutput;
    if (IsVoltageOutput(config)) {
        if (lower == 0 && upper == 10)
            return 0;
        if (lower == 0 && upper == 5)
            return 32;
        if (lower == 1 && upper == 5)
            return 64;
        return 96;
    }
    return lower == 4 && upper == 20 ? 0 : 96;
}

void PutAnalogOutputs8Bit(const SensorConfig& config, RegisterImage& image) {
    const double fullScale = AnalogFullScale(config);
    const int lower = CountNearest(config.AnalogNearOutput * 255.0 / fullScale, kMaxByteValue);
    PutByte(image, kAnalogLower8, lower);
    const int span =
        CountNearest(config.AnalogFarOutput * 255.0 / fullScale - lower, kMaxByteValue);
    PutByte(image, kAnalogSpan8, span);
}

void PutDescription(SensorConfig& config, RegisterImage& image) {
    // The record holds UTF-8, the sensor Windows-1252; a character with no Windows-1252
    // code is stored as '?' in the image while the record keeps the character itself.
    config.Description =
        std::string(FirstCharacters(config.Description, kDescriptionMaxCharacters));
    const std::vector<std::uint8_t> codes = Utf8ToWindows1252(config.Description);
    PutByte(image, kDescriptionLength, static_cast<int>(codes.size()));
    for (std::size_t i = 0; i < codes.size(); ++i)
        PutByte(image, kDescriptionFirst + static_cast<int>(i), codes[i]);
}

float RangeOfCount(int count) {
    return static_cast<float>(count * 16 * kTickInch);
}

float IntervalOfCount(int count) {
    return static_cast<float>(count * 8 * 0.000001);
}

float DistanceOfCount(int count, float countDistance) {
    return ToSingleOrInfinity(count * static_cast<double>(countDistance));
}

float DecodeRangeCount(const RegisterImage& image, int k) {
    return RangeOfCount(WordLowHigh(image, k));
}

float DecodeInterval(const RegisterImage& image) {
    return IntervalOfCount(WordLowHigh(image, kInterval));
}

float DecodeDistance(const RegisterImage& image, int k, float countDistance) {
    return DistanceOfCount(WordLowHigh(image, k), countDistance);
}

void DecodeSwitchFlags(std::uint8_t flags, SwitchFields sw, bool withMode) {
    sw.PowerUp = static_cast<std::int16_t>(flags & 1);
    sw.EchoLoss = static_cast<std::int16_t>(flags & 12);
    sw.Polarity = static_cast<std::int16_t>(flags & 2);
    if (withMode)
        sw.Mode = static_cast<std::int16_t>(flags & 96);
    sw.SetAllowed = static_cast<std::int16_t>(flags & 16);
}

void DecodeAnalogFlags(const RegisterImage& image, SensorConfig& config) {
    const std::uint8_t flags = RegisterByte(image, kAnalogFlags);
    config.AnalogPowerUp = static_cast<std::int16_t>(flags & 2);
    config.AnalogSlope = static_cast<std::int16_t>(flags & 1);
    config.AnalogEchoLoss = static_cast<std::int16_t>(flags & 12);
    config.AnalogSetAllowed = static_cast<std::int16_t>(flags & 16);
    config.AnalogMode = static_cast<std::int16_t>(flags & 128);
}

std::string DecodeDescription(const RegisterImage& image) {
    const std::size_t length =
        std::min<std::size_t>(RegisterByte(image, kDescriptionLength), kDescriptionMaxCharacters);
    std::string codes;
    for (std::size_t i = 0; i < length; ++i)
        codes += static_cast<char>(RegisterByte(image, kDescriptionFirst + static_cast<int>(i)));
    return Windows1252ToUtf8(codes);
}

} // namespace telmora::image
