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
    const float nearEnd = static_cast<float>(analog.nearEndpoint);
    const float farEnd = static_cast<float>(analog.farEndpoint);
    if (nearEnd < d && d < farEnd) {
        return analog.nearOutput + (d - analog.nearEndpoint) *
                                       (analog.farOutput - analog.nearOutput) /
                                       (analog.farEndpoint - analog.nearEndpoint);
    }
    if (d == 0) {
        const bool farIsLarger = analog.farEndpoint > analog.nearEndpoint;
        const double atLargerDistance = farIsLarger ? analog.farOutput : analog.nearOutput;
        const double atSmallerDistance = farIsLarger ? analog.nearOutput : analog.farOutput;
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
        value = analog.nearOutput;
    }
    if (d >= farEnd) {
        value = analog.farOutput;
    }
    return value;
}

TickResult GaugeTimer::Tick(const EchoTrack& track) {
    TickResult result;
    silenceTicks_ = static_cast<std::int16_t>(silenceTicks_ + 1);
    if (readingTicks_ <= kSilenceTicksLimit) {
        ++readingTicks_;
    }
    double targetLeft = track.targetLeft;
    if (silenceTicks_ > kSilenceTicksLimit) {
        silenceTicks_ = 0;
        result.hideGauges = true;
        targetLeft = track.rangeBarRight;
    }

    echoX_ = static_cast<std::int16_t>(echoOutbound_ ? echoX_ + kEchoStep : echoX_ - kEchoStep);
    double echoHeight = track.echoHeight;
    const double sensorRight = track.sensorLeft + track.sensorWidth;
    if (sensorRight > echoX_) {
        echoX_ = RoundToInt16(sensorRight);
        echoOutbound_ = true;
        echoHeight = kEchoStartHeight;
    }
    if (echoX_ > targetLeft) {
        echoOutbound_ = false;
        echoX_ = RoundToInt16(targetLeft);
    }
    result.echoLeft = echoX_;
    result.echoTop = track.sensorTop + track.sensorHeight / 2 - echoHeight / 2;
    result.echoHeight = echoHeight + kEchoGrowth;
    return result;
}

} // namespace telmora
