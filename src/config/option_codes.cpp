#include "config/option_codes.h"

namespace telmora {

float AnalogOutputMaxFor(AnalogMode mode) {
    return mode == AnalogMode::Current ? 20.0f : 10.0f;
}

double OutputAfterModeChange(double output, AnalogMode newMode) {
    return newMode == AnalogMode::Voltage ? output / 2 : output * 2;
}

} // namespace telmora
