#include "config/image_b.h"

#include "config/image_common.h"
#include "config/image_words.h"

#include <algorithm>
#include <utility>

namespace telmora {

using namespace image;

namespace {

// Registers only family B has.
constexpr int kFilterRunFlags = 10;
constexpr int kNetworkFlags = 19;
constexpr int kAnalogSpan12 = 68;
constexpr int kAnalogLower12 = 70;
constexpr int kFastSlowFlag = 95;
constexpr int kNodeAddress = 96;

constexpr int kFlagTempComp = 8;
constexpr int kMax12Bit = 4095;

struct SwitchRegisters {
    int Setpoint;
    int Hyst;
    int Flags;
};
constexpr SwitchRegisters kSwitchRegisters[] = {
    {kSw1Setpoint, 91, kSw1Flags}, {kSw2Setpoint, 93, kSw2Flags}, {23, 25, 27}, {28, 30, 32}};

// A distance or time as the nearest whole count of its unit.
std::uint16_t NearestCount(float value, double unit) {
    return CountNearest(value / unit);
}

// The 12-bit analog values are counted from the scaled output rounded to single
// precision: a product just below a whole count in double that rounds up to it as a
// single gives that count.
std::uint16_t AnalogCount12(double exact, bool roundDown) {
    const double single = ToSingleOrInfinity(exact);
    return roundDown ? CountFloor(single, kMax12Bit) : CountNearest(single, kMax12Bit);
}

void PutAnalogOutputs12Bit(const SensorConfig& config, RegisterImage& image) {
    const double fullScale = AnalogFullScale(config);
    const double near = config.AnalogNearOutput;
    const double span = config.AnalogFarOutput - near;
    PutWordLowHigh(image, kAnalogLower12, AnalogCount12(near * 4095 / fullScale, false));
    std::uint16_t spanCount = AnalogCount12(span * 4095 / fullScale, IsVoltageOutput(config));
    // A rounded-down span that decodes to the far output itself keeps its count.
    if (IsVoltageOutput(config) && spanCount < kMax12Bit &&
        static_cast<float>((spanCount + 1) * fullScale / 4095 + near) <= config.AnalogFarOutput) {
        ++spanCount;
    }
    PutWordLowHigh(image, kAnalogSpan12, spanCount);
}

void PutFilterBits(const SensorConfig& config, RegisterImage& image, int& filterRunFlags) {
    switch (config.FilterType) {
    case 3: // Maximum Of
        filterRunFlags += 1;
        break;
    case 4: // Minimum Of
        filterRunFlags += 2;
        break;
    case 5: // 2 Consecutive
        filterRunFlags += 128;
        break;
    case 6: // Slow Fast
        filterRunFlags += 16;
        break;
    case 7: // Fast Slow
        PutByte(image, kFastSlowFlag, 128);
        break;
    default: // none, or the average implied by the sample count
        break;
    }
}

struct RunModeBits {
    int Operating = 0;
    int Network = 0;
    int FilterRun = 0;
};

RunModeBits RunModeBitsOf(std::int16_t runMode) {
    switch (runMode) {
    case 1:
        return {64, 0, 0};
    case 2:
        return {0, 0, 0};
    case 3:
        return {4, 0, 0};
    case 4:
        return {4, 64, 0};
    case 5:
        return {4, 32, 0};
    case 6:
        return {4, 32 + 64, 0};
    case 7: // external trigger, without the continuous bit
        return {4 + 2, 0, 0};
    case 8:
        return {0, 0, 8};
    default:
        return {64, 0, 0};
    }
}

std::int16_t DecodeRunMode(std::uint8_t operating, std::uint8_t network, std::uint8_t filterRun) {
    std::int16_t mode = (network & 64) ? 4 : 3;
    if (network & 32)
        mode = (network & 64) ? 6 : 5;
    if (!(operating & 4))
        mode = (operating & 64) ? 1 : 2;
    if ((operating & 3) == 2)
        mode = 7;
    if (filterRun & 8)
        mode = 8;
    return mode;
}

void DecodeFilter(const RegisterImage& image, SensorConfig& config) {
    const std::uint8_t samples = RegisterByte(image, kNumberOfSamples);
    const std::uint8_t filterRun = RegisterByte(image, kFilterRunFlags);
    config.NumberOfSamples = samples;
    config.FilterType = 1;
    if (samples > 1) {
        const int minMax = filterRun & 3;
        config.FilterType = minMax == 1 ? 3 : minMax == 2 ? 4 : 2;
    }
    if (filterRun & 128)
        config.FilterType = 5;
    if (filterRun & 16)
        config.FilterType = 6;
    if (RegisterByte(image, kFastSlowFlag) & 128)
        config.FilterType = 7;
    // Only the counting filters use the sample count.
    if (config.FilterType == 1 || config.FilterType >= 5)
        config.NumberOfSamples = 1;
}

} // namespace

void EncodeImageB(SensorConfig& config, RegisterImage& image) {
    std::fill(image.begin(), image.begin() + 128, std::int16_t{0});

    // Family B always writes bit 7 of the range flags; bit 5 marks long range.
    int operatingFlags = kFlagBit7;
    if (NeedsLongRange(config.MaxRange)) {
        operatingFlags += kFlagLongRange;
        config.CountDistance = kCountDistanceLong;
    } else {
        config.CountDistance = kCountDistanceNormal;
    }
    const double countDistance = config.CountDistance;

    PutRangeCounts(config, image);
    PutWordLowHigh(image, kInterval, NearestCount(config.Interval, kIntervalStepSecond));
    for (int n = 1; n <= 4; ++n) {
        const ConstSwitchFields sw = Switch(std::as_const(config), n);
        const SwitchRegisters& at = kSwitchRegisters[n - 1];
        PutWordLowHigh(image, at.Setpoint, NearestCount(sw.Setpoint, countDistance));
        PutWordLowHigh(image, at.Hyst, NearestCount(sw.Hyst, countDistance));
        PutByte(image, at.Flags, SwitchFlags(sw, true));
    }
    PutWordLowHigh(image, kAnalogNearEndpoint,
                   NearestCount(config.AnalogNearEndpoint, countDistance));
    PutWordLowHigh(image, kAnalogFarEndpoint,
                   NearestCount(config.AnalogFarEndpoint, countDistance));
    PutByte(image, kConstantOne, 1);
    PutByte(image, kAnalogFlags, AnalogFlags(config) + AnalogRangeCode(config));
    PutAnalogOutputs12Bit(config, image);
    PutAnalogOutputs8Bit(config, image);

    PutByte(image, kNumberOfSamples, config.NumberOfSamples);
    const RunModeBits runMode = RunModeBitsOf(config.RunMode);
    int filterRunFlags = runMode.FilterRun;
    PutFilterBits(config, image, filterRunFlags);
    PutByte(image, kFilterRunFlags, filterRunFlags);
    PutByte(image, kNetworkFlags, runMode.Network);
    PutByte(image, kPrimingCycles, config.PrimingCycles);

    operatingFlags += runMode.Operating;
    if (config.PBEnabled)
        operatingFlags += kFlagPBEnabled;
    if (config.TempComp)
        operatingFlags += kFlagTempComp;
    PutByte(image, kOperatingFlags, operatingFlags);

    PutByte(image, kNodeAddress, config.NodeAddress);
    PutByte(image, kNumberOfPulses, config.NumberOfPulses);
    PutDescription(config, image);
}

void DecodeImageB(const RegisterImage& image, SensorConfig& config) {
    const std::uint8_t operatingFlags = RegisterByte(image, kOperatingFlags);
    switch (operatingFlags & (kFlagBit7 | kFlagLongRange)) {
    case kFlagBit7:
        config.CountDistance = kCountDistanceNormal;
        break;
    case kFlagBit7 | kFlagLongRange:
        config.CountDistance = kCountDistanceLong;
        break;
    case 0:
        config.CountDistance = kCountDistanceNoFlags;
        break;
    default: // bit 5 without bit 7, which no encoder writes: keep the distance per count
        break;
    }
    const float countDistance = config.CountDistance;

    config.MinRange = DecodeRangeCount(image, kMinRange);
    config.MaxRange = DecodeRangeCount(image, kMaxRange);
    config.Interval = DecodeInterval(image);
    for (int n = 1; n <= 4; ++n) {
        SwitchFields sw = Switch(config, n);
        const SwitchRegisters& at = kSwitchRegisters[n - 1];
        sw.Setpoint = DecodeDistance(image, at.Setpoint, countDistance);
        sw.Hyst = DecodeDistance(image, at.Hyst, countDistance);
        DecodeSwitchFlags(RegisterByte(image, at.Flags), sw, true);
    }
    config.AnalogNearEndpoint = DecodeDistance(image, kAnalogNearEndpoint, countDistance);
    config.AnalogFarEndpoint = DecodeDistance(image, kAnalogFarEndpoint, countDistance);
    DecodeAnalogFlags(image, config);

    const double fullScale = AnalogFullScale(config);
    config.AnalogNearOutput =
        static_cast<float>(WordLowHigh(image, kAnalogLower12) / 4095.0 * fullScale);
    config.AnalogOutputMax = static_cast<float>(fullScale);
    config.AnalogFarOutput = static_cast<float>(
        WordLowHigh(image, kAnalogSpan12) * fullScale / 4095 + config.AnalogNearOutput);
    if (config.AnalogSlope == 0) // the near endpoint carries the higher output
        std::swap(config.AnalogNearOutput, config.AnalogFarOutput);

    config.RunMode = DecodeRunMode(operatingFlags, RegisterByte(image, kNetworkFlags),
                                   RegisterByte(image, kFilterRunFlags));
    config.PBEnabled = (operatingFlags & 3) == 1;
    config.TempComp = (operatingFlags & 24) == 8;
    config.PrimingCycles = RegisterByte(image, kPrimingCycles);
    config.NumberOfPulses = RegisterByte(image, kNumberOfPulses);
    config.NodeAddress = RegisterByte(image, kNodeAddress);
    DecodeFilter(image, config);

    config.Description = DecodeDescription(image);
}

} // namespace telmora
