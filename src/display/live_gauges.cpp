#include "display/live_gauges.h"

#include "config/number_text.h"
#include "config/option_codes.h"

#include <algorithm>
#include <limits>

namespace telmora {

namespace {

std::int16_t RoundToInt16(double value) {
    return static_cast<std::int16_t>(
        std::clamp<std::int32_t>(RoundHalfEven(value), std::numeric_limits<std::int16_t>::min(),
                                 std::numeric_limits<std::int16_t>::max()));
}

} // namespace

std::optional<double> MeterValue(float d, const AnalogCharacteristic& analog,
                                 std::string_view echoLossCaption) {
    // The distance is compared in single precision, as the boxes' numbers are shown.
    const float nearEnd = static_cast<float>(analog.NearEndpoint);
    const float farEnd = static_cast<float>(analog.FarEndpoint);
    if (nearEnd < d && d < farEnd) {
        return analog.NearOutput + (d - analog.NearEndpoint) *
                                       (analog.FarOutput - analog.NearOutput) /
                                       (analog.FarEndpoint - analog.NearEndpoint);
    }
    if (d == 0) {
        const bool farIsLarger = analog.FarEndpoint > analog.NearEndpoint;
        const double atLargerDistance = farIsLarger ? analog.FarOutput : analog.NearOutput;
        const double atSmallerDistance = farIsLarger ? analog.NearOutput : analog.FarOutput;
        const std::optional<AnalogEchoLoss> response = kAnalogEchoLoss.WithCaption(echoLossCaption);
        if (response == AnalogEchoLoss::High) {
            return atLargerDistance;
        }
        if (response == AnalogEchoLoss::Low) {
            return atSmallerDistance;
        }
        return std::nullopt;
    }
    std::optional<double> value;
    if (d <= nearEnd) {
        value = analog.NearOutput;
    }
    if (d >= farEnd) {
        value = analog.FarOutput;
    }
    return value;
}

TickResult GaugeTimer::Tick(const EchoTrack& track) {
    TickResult result;
    silenceTicks_ = static_cast<std::int16_t>(silenceTicks_ + 1);
    if (readingTicks_ <= kSilenceTicksLimit) {
        ++readingTicks_;
    }
    double targetLeft = track.TargetLeft;
    if (silenceTicks_ > kSilenceTicksLimit) {
        silenceTicks_ = 0;
        result.HideGauges = true;
        targetLeft = track.RangeBarRight;
    }

    echoX_ = static_cast<std::int16_t>(echoOutbound_ ? echoX_ + kEchoStep : echoX_ - kEchoStep);
    double echoHeight = track.EchoHeight;
    const double sensorRight = track.SensorLeft + track.SensorWidth;
    if (sensorRight > echoX_) {
        echoX_ = RoundToInt16(sensorRight);
        echoOutbound_ = true;
        echoHeight = kEchoStartHeight;
    }
    if (echoX_ > targetLeft) {
        echoOutbound_ = false;
        echoX_ = RoundToInt16(targetLeft);
    }
    result.EchoLeft = echoX_;
    result.EchoTop = track.SensorTop + track.SensorHeight / 2 - echoHeight / 2;
    result.EchoHeight = echoHeight + kEchoGrowth;
    return result;
}

} // namespace telmora
