#include "editors/option_cycles.h"

namespace telmora {

std::string_view Caption(SwitchMode mode) {
    return mode == SwitchMode::Wind ? "Wind" : "Hyst";
}

std::string_view Caption(SwitchPowerUp state) {
    return state == SwitchPowerUp::On ? "On" : "Off";
}

std::string_view Caption(SwitchEchoLoss response) {
    switch (response) {
    case SwitchEchoLoss::Off:
        return "Off";
    case SwitchEchoLoss::On:
        return "On";
    default:
        return "NC";
    }
}

std::string_view Caption(AnalogMode mode) {
    return mode == AnalogMode::Current ? "Current" : "Voltage";
}

std::string_view Caption(AnalogEchoLoss response) {
    switch (response) {
    case AnalogEchoLoss::Low:
        return "Low";
    case AnalogEchoLoss::High:
        return "High";
    default:
        return "NC";
    }
}

std::string_view Caption(AnalogPowerUp state) {
    return state == AnalogPowerUp::High ? "High" : "Low";
}

SwitchMode SwitchModeAfterClick(std::string_view caption) {
    return caption == "Hyst" ? SwitchMode::Wind : SwitchMode::Hyst;
}

SwitchPowerUp SwitchPowerUpAfterClick(std::string_view caption) {
    return caption == "On" ? SwitchPowerUp::Off : SwitchPowerUp::On;
}

SwitchEchoLoss SwitchEchoLossAfterClick(std::string_view caption) {
    if (caption == "NC") {
        return SwitchEchoLoss::On;
    }
    if (caption == "On") {
        return SwitchEchoLoss::Off;
    }
    return SwitchEchoLoss::NC;
}

SwitchPolarity PolarityAfterReverse(std::string_view nearHandleCaption) {
    return nearHandleCaption == "On" ? SwitchPolarity::Normal : SwitchPolarity::Reversed;
}

AnalogMode AnalogModeAfterClick(std::string_view caption) {
    return caption == "Current" ? AnalogMode::Voltage : AnalogMode::Current;
}

AnalogEchoLoss AnalogEchoLossAfterClick(std::string_view caption) {
    if (caption == "NC") {
        return AnalogEchoLoss::Low;
    }
    if (caption == "Low") {
        return AnalogEchoLoss::High;
    }
    return AnalogEchoLoss::NC;
}

AnalogPowerUp AnalogPowerUpAfterClick(std::string_view caption) {
    return caption == "Low" ? AnalogPowerUp::High : AnalogPowerUp::Low;
}

float AnalogOutputMaxFor(AnalogMode mode) {
    return mode == AnalogMode::Current ? 20.0f : 10.0f;
}

double OutputAfterModeChange(double output, AnalogMode newMode) {
    return newMode == AnalogMode::Voltage ? output / 2 : output * 2;
}

} // namespace telmora
