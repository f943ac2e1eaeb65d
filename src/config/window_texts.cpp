#include "config/window_texts.h"

#include "config/number_text.h"
#include "config/option_codes.h"

#include <cmath>
#include <string>
#include <utility>

namespace telmora {

namespace {

std::string Text(std::string_view caption) {
    return std::string(caption);
}

std::string BoxName(const char* prefix, int n, const char* suffix) {
    return prefix + std::to_string(n) + suffix;
}

// Remembers what a show wrote into a number box.
void Remember(WindowTexts& window, const std::string& name, const std::string& text, float value) {
    window.Shown[name] = ShownNumber{text, value};
}

// A box's number: the value it was shown from while its text is unchanged, else its text.
float ReadBox(const WindowTexts& window, const std::string& name, const std::string& text) {
    const auto shown = window.Shown.find(name);
    if (shown != window.Shown.end() && shown->second.Text == text) {
        return shown->second.Value;
    }
    return ReadSingle(text);
}

void ShowSwitch(const SensorConfig& record, int n, WindowShare share, WindowTexts& window) {
    WindowSwitch& sw = window.Switch(n);
    const ConstSwitchFields fields = Switch(record, n);
    sw.Setpoint = FormatTwoDecimals(fields.Setpoint);
    if (share.WidthAndMode) {
        sw.Hyst = FormatTwoDecimals(fields.Hyst);
    }
    sw.PowerUp = Text(kSwitchPowerUp.Caption(*kSwitchPowerUp.Shown(fields.PowerUp)));
    sw.EchoLoss = Text(kSwitchEchoLoss.Caption(*kSwitchEchoLoss.Shown(fields.EchoLoss)));
    if (share.WidthAndMode) {
        sw.Mode = Text(kSwitchMode.Caption(*kSwitchMode.Shown(fields.Mode)));
    }
    const SwitchPolarity polarity = *kSwitchPolarity.Shown(fields.Polarity);
    sw.Left = Text(kSwitchPolarity.Caption(polarity));
    sw.Right = Text(FarHandleCaption(polarity));
    sw.SetAllowed = kSetAllowed.Shown(fields.SetAllowed) == SetAllowed::Allowed;
    sw.Setpoint = PlacedSetpointText(sw.Setpoint);
    Remember(window, BoxName("txtSw", n, "Setpoint"), sw.Setpoint, fields.Setpoint);
    if (share.WidthAndMode) {
        Remember(window, BoxName("txtSw", n, "Hyst"), sw.Hyst, fields.Hyst);
    }
}

void ShowRecord(const SensorConfig& record, WindowShare share, WindowTexts& window) {
    window.MinRange = FormatTwoDecimals(record.MinRange);
    window.MaxRange = FormatTwoDecimals(record.MaxRange);
    for (int n = 1; n <= share.Switches; ++n) {
        ShowSwitch(record, n, share, window);
    }
    window.AnalogNearEndpoint = FormatTwoDecimals(record.AnalogNearEndpoint);
    window.AnalogFarEndpoint = FormatTwoDecimals(record.AnalogFarEndpoint);
    window.AnalogPowerUp =
        Text(kAnalogPowerUp.Caption(*kAnalogPowerUp.Shown(record.AnalogPowerUp)));
    if (const auto echoLoss = kAnalogEchoLoss.Shown(record.AnalogEchoLoss)) {
        window.AnalogEchoLoss = Text(kAnalogEchoLoss.Caption(*echoLoss));
    }
    window.AnalogSetAllowed = kSetAllowed.Shown(record.AnalogSetAllowed) == SetAllowed::Allowed;
    window.AnalogMode = Text(kAnalogMode.Caption(*kAnalogMode.Shown(record.AnalogMode)));
    window.AnalogNearOutput = FormatGeneral(record.AnalogNearOutput);
    window.AnalogFarOutput = FormatGeneral(record.AnalogFarOutput);
    window.AnalogFarEndpoint = PlacedEndpointText(window.AnalogFarEndpoint);
    window.AnalogNearEndpoint = PlacedEndpointText(window.AnalogNearEndpoint);
    window.AnalogNearOutput =
        PlacedOutputText(window.AnalogNearOutput, record.AnalogOutputMin, record.AnalogOutputMax);
    window.AnalogFarOutput =
        PlacedOutputText(window.AnalogFarOutput, record.AnalogOutputMin, record.AnalogOutputMax);
    window.Description = record.Description;
    Remember(window, "txtMinRange", window.MinRange, record.MinRange);
    Remember(window, "txtMaxRange", window.MaxRange, record.MaxRange);
    Remember(window, "txtAnalogNearEndpoint", window.AnalogNearEndpoint, record.AnalogNearEndpoint);
    Remember(window, "txtAnalogFarEndpoint", window.AnalogFarEndpoint, record.AnalogFarEndpoint);
    // An output beyond the scale is shown, and kept, as the limit it was held to.
    Remember(window, "txtAnalogNearOutput", window.AnalogNearOutput,
             LimitOutput(record.AnalogNearOutput, record.AnalogOutputMin, record.AnalogOutputMax));
    Remember(window, "txtAnalogFarOutput", window.AnalogFarOutput,
             LimitOutput(record.AnalogFarOutput, record.AnalogOutputMin, record.AnalogOutputMax));
}

std::int16_t SetAllowedCode(bool checked) {
    return kSetAllowed.Code(checked ? SetAllowed::Allowed : SetAllowed::NotAllowed);
}

void ReadSwitch(const WindowTexts& window, int n, WindowShare share, SensorConfig& record) {
    const WindowSwitch& sw = window.Switch(n);
    SwitchFields fields = Switch(record, n);
    fields.Setpoint = ReadBox(window, BoxName("txtSw", n, "Setpoint"), sw.Setpoint);
    if (share.WidthAndMode) {
        fields.Hyst = ReadBox(window, BoxName("txtSw", n, "Hyst"), sw.Hyst);
        fields.Mode = kSwitchMode.CodeOf(sw.Mode);
    }
    fields.PowerUp = kSwitchPowerUp.CodeOf(sw.PowerUp);
    fields.EchoLoss = kSwitchEchoLoss.CodeOf(sw.EchoLoss);
    fields.Polarity = kSwitchPolarity.CodeOf(sw.Left);
    fields.SetAllowed = SetAllowedCode(sw.SetAllowed);
}

void ReadWindow(const WindowTexts& window, WindowShare share, SensorConfig& record) {
    record.MinRange = ReadBox(window, "txtMinRange", window.MinRange);
    record.MaxRange = ReadBox(window, "txtMaxRange", window.MaxRange);
    for (int n = 1; n <= share.Switches; ++n) {
        ReadSwitch(window, n, share, record);
    }
    record.AnalogNearEndpoint = ReadBox(window, "txtAnalogNearEndpoint", window.AnalogNearEndpoint);
    record.AnalogFarEndpoint = ReadBox(window, "txtAnalogFarEndpoint", window.AnalogFarEndpoint);
    record.AnalogPowerUp = kAnalogPowerUp.CodeOf(window.AnalogPowerUp);
    record.AnalogEchoLoss = kAnalogEchoLoss.CodeOf(window.AnalogEchoLoss);
    record.AnalogSetAllowed = SetAllowedCode(window.AnalogSetAllowed);
    record.AnalogMode = kAnalogMode.CodeOf(window.AnalogMode);
    float nearOutput = ReadBox(window, "txtAnalogNearOutput", window.AnalogNearOutput);
    float farOutput = ReadBox(window, "txtAnalogFarOutput", window.AnalogFarOutput);
    // The encoders want the lower output first; the slope remembers which end it was.
    if (nearOutput <= farOutput) {
        record.AnalogSlope = 1;
    } else {
        std::swap(nearOutput, farOutput);
        record.AnalogSlope = 0;
    }
    record.AnalogNearOutput = nearOutput;
    record.AnalogFarOutput = farOutput;
    record.Description = window.Description;
}

} // namespace

WindowTexts DesignWindow() {
    WindowTexts window;
    window.MinRange = "6.5";
    window.MaxRange = "221";
    for (WindowSwitch& sw : window.Switches) {
        sw = WindowSwitch{"888.88",
                          "888.88",
                          Text(kSwitchMode.Caption(SwitchMode::Hyst)),
                          Text(kSwitchPowerUp.Caption(SwitchPowerUp::Off)),
                          Text(kSwitchEchoLoss.Caption(SwitchEchoLoss::NC)),
                          Text(kSwitchPolarity.Caption(SwitchPolarity::Normal)),
                          Text(FarHandleCaption(SwitchPolarity::Normal)),
                          false};
    }
    window.AnalogNearOutput = "10.0";
    window.AnalogFarOutput = "20.0";
    window.AnalogPowerUp = "Off";
    window.AnalogEchoLoss = Text(kAnalogEchoLoss.Caption(AnalogEchoLoss::NC));
    window.AnalogMode = Text(kAnalogMode.Caption(AnalogMode::Voltage));
    return window;
}

std::string PlacedSetpointText(std::string_view text) {
    return FormatTwoDecimals(ReadSingle(text));
}

std::string PlacedEndpointText(std::string_view text) {
    return IsNumber(text) ? FormatTwoDecimals(ReadSingle(text)) : std::string(text);
}

std::string PlacedOutputText(std::string_view text, float outMin, float outMax) {
    return FormatOneDecimal(LimitOutput(ReadSingle(text), outMin, outMax));
}

float LimitOutput(float value, float outMin, float outMax) {
    float v = value;
    if (v > outMax) {
        v = outMax;
    }
    if (std::isnan(v) || v < outMin) {
        v = outMin;
    }
    return v;
}

void ShowRecordA(const SensorConfig& record, WindowTexts& window) {
    ShowRecord(record, kWindowShareA, window);
}

void ShowRecordB(const SensorConfig& record, WindowTexts& window) {
    ShowRecord(record, kWindowShareB, window);
}

void ReadWindowA(const WindowTexts& window, SensorConfig& record) {
    ReadWindow(window, kWindowShareA, record);
}

void ReadWindowB(const WindowTexts& window, SensorConfig& record) {
    ReadWindow(window, kWindowShareB, record);
}

void ShowRecord(SensorFamily family, const SensorConfig& record, WindowTexts& window) {
    if (family == SensorFamily::A) {
        ShowRecordA(record, window);
    } else if (family == SensorFamily::B) {
        ShowRecordB(record, window);
    }
}

void ReadWindow(SensorFamily family, const WindowTexts& window, SensorConfig& record) {
    if (family == SensorFamily::A) {
        ReadWindowA(window, record);
    } else if (family == SensorFamily::B) {
        ReadWindowB(window, record);
    }
}

} // namespace telmora
