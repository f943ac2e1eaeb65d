#include "config/sensor_config.h"

#include <bit>

namespace telmora {

namespace {
template <typename Config, typename Fields> Fields SwitchFieldsOf(Config& c, int n) {
    switch (n) {
    case 1:
        return {c.Sw1Setpoint, c.Sw1Hyst,    c.Sw1Polarity,  c.Sw1Mode,
                c.Sw1EchoLoss, c.Sw1PowerUp, c.Sw1SetAllowed};
    case 2:
        return {c.Sw2Setpoint, c.Sw2Hyst,    c.Sw2Polarity,  c.Sw2Mode,
                c.Sw2EchoLoss, c.Sw2PowerUp, c.Sw2SetAllowed};
    case 3:
        return {c.Sw3Setpoint, c.Sw3Hyst,    c.Sw3Polarity,  c.Sw3Mode,
                c.Sw3EchoLoss, c.Sw3PowerUp, c.Sw3SetAllowed};
    default:
        return {c.Sw4Setpoint, c.Sw4Hyst,    c.Sw4Polarity,  c.Sw4Mode,
                c.Sw4EchoLoss, c.Sw4PowerUp, c.Sw4SetAllowed};
    }
}

const std::string kDefaultDescription = "<describe configuration here>";

// Fields both families default alike.
void LoadCommonDefaults(SensorConfig& c) {
    c.Interval = 50.0f / 1000.0f;
    c.NumberOfPulses = 10;
    c.PrimingCycles = 1;
    c.RunMode = 1;
    c.PBEnabled = true;
    c.Description = kDefaultDescription;
    c.Sw1Setpoint = 12.0f;
    c.Sw2Setpoint = 24.0f;
    c.Sw1Polarity = 2;
    c.Sw2Polarity = 0;
    for (int n = 1; n <= 2; ++n) {
        SwitchFields sw = Switch(c, n);
        sw.EchoLoss = 0;
        sw.PowerUp = 0;
        sw.SetAllowed = 16;
    }
    c.AnalogFarEndpoint = 30.0f;
    c.AnalogNearOutput = 4.0f;
    c.AnalogFarOutput = 20.0f;
    c.AnalogSlope = 1;
    c.AnalogMode = 0;
    c.AnalogPowerUp = 0;
    c.AnalogEchoLoss = 0;
    c.AnalogSetAllowed = 16;
    c.AnalogOutputMin = 0.0f;
    c.AnalogOutputMax = 20.0f;
}
} // namespace

SwitchFields Switch(SensorConfig& config, int n) {
    return SwitchFieldsOf<SensorConfig, SwitchFields>(config, n);
}

ConstSwitchFields Switch(const SensorConfig& config, int n) {
    return SwitchFieldsOf<const SensorConfig, ConstSwitchFields>(config, n);
}

void LoadFactoryDefaultsA(SensorConfig& c) {
    LoadCommonDefaults(c);
    c.MinRange = 6.5f;
    c.MaxRange = std::bit_cast<float>(0x435DB852u); // 221.72
    c.FilterType = 1;
    c.NumberOfSamples = 1;
    c.AnalogNearEndpoint = 6.5f;
}

void LoadFactoryDefaultsB(SensorConfig& c) {
    LoadCommonDefaults(c);
    c.MinRange = 8.0f;
    c.MaxRange = std::bit_cast<float>(0x435DC53Cu); // the float nearest 65535 counts
    c.TempComp = true;
    c.FilterType = 2;
    c.NumberOfSamples = 3;
    c.Sw3Setpoint = 36.0f;
    c.Sw4Setpoint = 48.0f;
    c.Sw3Polarity = 2;
    c.Sw4Polarity = 0;
    for (int n = 1; n <= 4; ++n) {
        SwitchFields sw = Switch(c, n);
        sw.Hyst = 0.25f;
        sw.Mode = 0;
        sw.EchoLoss = 0;
        sw.PowerUp = 0;
        sw.SetAllowed = 16;
    }
    c.AnalogNearEndpoint = 10.0f;
}

} // namespace telmora
