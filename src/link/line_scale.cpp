#include "link/line_scale.h"

#include "config/image_a.h"
#include "config/image_b.h"

#include <cstdio>

namespace telmora {

namespace {

std::string InchesPerCount(float countDistance) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(countDistance));
    return std::string(text) + " inch per count";
}

} // namespace

float ImageCountDistance(SensorFamily family, const RegisterImage& image, float current) {
    // The decoders are the one place that knows the flags; only CountDistance is kept.
    SensorConfig scratch;
    scratch.CountDistance = current;
    if (family == SensorFamily::A)
        DecodeImageA(image, scratch);
    else if (family == SensorFamily::B)
        DecodeImageB(image, scratch);
    return scratch.CountDistance;
}

bool ScaleFinder::Start() {
    if (!protocol_.PortOpen() || !protocol_.StartDetection())
        return false;
    state_ = State::Detecting;
    family_ = SensorFamily::None;
    return true;
}

bool ScaleFinder::ExchangeEnded(const ExchangeResult& result) {
    if (!Running() || result.Outcome == ExchangeOutcome::Stopped)
        return false;
    if (result.Outcome == ExchangeOutcome::PortLost) {
        state_ = State::GaveWay;
        return true;
    }
    if (state_ == State::Detecting) {
        if (!result.Completed()) {
            state_ = State::NoSensor;
            return true;
        }
        family_ = result.Family;
        if (protocol_.StartRegisterRead(family_, kScaleRegister)) {
            state_ = State::Reading;
            return false;
        }
        state_ = State::NoReply;
    } else {
        // The protocol took the scale from the reply itself.
        state_ = result.Completed() ? State::Found : State::NoReply;
    }
    // The sensor answered the detection: it streams again only after the end command.
    protocol_.SendEnd();
    return true;
}

bool ScaleFinder::GiveWay() {
    if (!Running())
        return false;
    const bool framesSent = state_ == State::Reading || protocol_.DetectTries() > 0;
    state_ = State::GaveWay;
    protocol_.StopExchange();
    if (framesSent)
        protocol_.SendEnd();
    return true;
}

std::string ScaleFoundText(const ScaleFinder& finder, float countDistance) {
    switch (finder.Outcome()) {
    case ScaleFinder::State::Found:
        return ScaleKnownText(countDistance);
    case ScaleFinder::State::NoSensor:
        return "Distances assume " + InchesPerCount(countDistance) + ": no sensor answered";
    case ScaleFinder::State::NoReply:
        return "Distances assume " + InchesPerCount(countDistance) +
               ": the sensor did not tell its range";
    default:
        return {};
    }
}

std::string ScaleKnownText(float countDistance) {
    return "Distances in " + InchesPerCount(countDistance) + ", as the sensor counts";
}

std::string ScaleAssumedText(float countDistance) {
    return "Distances assume " + InchesPerCount(countDistance) +
           " until a configuration is read from the sensor";
}

} // namespace telmora
