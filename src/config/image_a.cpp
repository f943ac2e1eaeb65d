#include "config/image_a.h"

#include "config/image_common.h"
#include "config/image_words.h"

#include <algorithm>
#include <utility>

namespace telmora {

using namespace image;

namespace {

// Setpoint register and flag register of switches 1 and 2.
constexpr int kSwitchSetpoint[] = {kSw1Setpoint, kSw2Setpoint};
constexpr int kSwitchFlags[] = {kSw1Flags, kSw2Flags};

// Bits of the operating flags that select the run mode; a mode family A lacks runs
// continuously and the record is told so.
int RunModeBits(SensorConfig& config) {
    switch (config.RunMode) {
    case 1:
        return 64;
    case 2:
        return 0;
    case 3:
        return 4;
    case 7:
        return 4 + 2 + 64;
    default:
        config.RunMode = 1;
        return 64;
    }
}

// Family A's only filter is the average, implied by a sample count above 1.
void KeepFamilyAFilter(SensorConfig& config) {
    if (config.FilterType != 1 && config.FilterType != 2)
        config.FilterType = config.NumberOfSamples >= 2 ? 2 : 1;
}

// A distance as whole counts of CountDistance, rounded down.
std::uint16_t DistanceCount(float distance, float countDistance) {
    return CountFloorOf(distance, countDistance, [countDistance](int count) {
        return DistanceOfCount(count, countDistance);
    });
}

} // namespace

void EncodeImageA(SensorConfig& config, RegisterImage& image) {
    std::fill(image.begin(), image.begin() + 128, std::int16_t{0});

    int operatingFlags = 0;
    if (NeedsLongRange(config.MaxRange)) {
        operatingFlags += kFlagLongRange;
        config.CountDistance = kCountDistanceLong;
    } else {
        config.CountDistance = kCountDistanceNormal;
    }
    const float countDistance = config.CountDistance;

    PutRangeCounts(config, image);
    PutWordLowHigh(image, kInterval,
                   CountFloorOf(config.Interval, kIntervalStepSecond, IntervalOfCount));
    for (int n = 1; n <= 2; ++n) {
        const ConstSwitchFields sw = Switch(std::as_const(config), n);
        PutWordLowHigh(image, kSwitchSetpoint[n - 1], DistanceCount(sw.Setpoint, countDistance));
        PutByte(image, kSwitchFlags[n - 1], SwitchFlags(sw, false));
    }
    PutWordLowHigh(image, kAnalogNearEndpoint,
                   DistanceCount(config.AnalogNearEndpoint, countDistance));
    PutWordLowHigh(image, kAnalogFarEndpoint,
                   DistanceCount(config.AnalogFarEndpoint, countDistance));
    PutByte(image, kConstantOne, 1);
    PutAnalogOutputs8Bit(config, image);
    PutByte(image, kAnalogFlags, AnalogFlags(config) + AnalogRangeCode(config));

    PutByte(image, kNumberOfSamples, config.NumberOfSamples);
    KeepFamilyAFilter(config);
    PutByte(image, kPrimingCycles, config.PrimingCycles);
    PutByte(image, kNumberOfPulses, config.NumberOfPulses);

    operatingFlags += kFlagBit7 + RunModeBits(config);
    if (config.PBEnabled)
        operatingFlags += kFlagPBEnabled;
    PutByte(image, kOperatingFlags, operatingFlags);

    PutDescription(config, image);
}

void DecodeImageA(const RegisterImage& image, SensorConfig& config) {
    const std::uint8_t operatingFlags = RegisterByte(image, kOperatingFlags);
    config.CountDistance =
        (operatingFlags & kFlagLongRange) ? kCountDistanceLong : kCountDistanceNormal;

    config.MinRange = DecodeRangeCount(image, kMinRange);
    config.MaxRange = DecodeRangeCount(image, kMaxRange);
    config.Interval = DecodeInterval(image);
    for (int n = 1; n <= 2; ++n) {
        SwitchFields sw = Switch(config, n);
        sw.Setpoint = DecodeDistance(image, kSwitchSetpoint[n - 1], config.CountDistance);
        DecodeSwitchFlags(RegisterByte(image, kSwitchFlags[n - 1]), sw, false);
    }
    config.AnalogNearEndpoint = DecodeDistance(image, kAnalogNearEndpoint, config.CountDistance);
    config.AnalogFarEndpoint = DecodeDistance(image, kAnalogFarEndpoint, config.CountDistance);
    DecodeAnalogFlags(image, config);

    const double fullScale = AnalogFullScale(config);
    const int lower = RegisterByte(image, kAnalogLower8);
    const int span = RegisterByte(image, kAnalogSpan8);
    config.AnalogNearOutput = static_cast<float>(lower / 255.0 * fullScale);
    config.AnalogOutputMax = static_cast<float>(fullScale);
    config.AnalogFarOutput = static_cast<float>((lower + span) * fullScale / 255.0);
    if (config.AnalogSlope == 0) // the near endpoint carries the higher output
        std::swap(config.AnalogNearOutput, config.AnalogFarOutput);

    config.RunMode = 3;
    if (!(operatingFlags & 4))
        config.RunMode = (operatingFlags & 64) ? 1 : 2;
    if ((operatingFlags & 3) == 2)
        config.RunMode = 7;
    config.PBEnabled = (operatingFlags & 3) == 1;

    const std::uint8_t samples = RegisterByte(image, kNumberOfSamples);
    config.NumberOfSamples = samples;
    config.FilterType = samples > 1 ? 2 : 1;
    config.PrimingCycles = RegisterByte(image, kPrimingCycles);
    config.NumberOfPulses = RegisterByte(image, kNumberOfPulses);

    config.Description = DecodeDescription(image);
}

} // namespace telmora
