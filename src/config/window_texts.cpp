#include "config/window_texts.h"

#include "config/number_text.h"
#include "config/option_codes.h"

#include <cmath>
#include <string>
#include <utility>

namespace telmora {

namespace {

std::string text(std::string_view caption) {
    return std::string(caption);
}

std::string boxName(const char* prefix, int n, const char* suffix) {
    return prefix + std::to_string(n) + suffix;
}

// Remembers what a show wrote into a number box.
void remember(WindowTexts& window, const std::string& name, const std::string& text, float value) {
    window.Shown[name] = ShownNumber{text, value};
}

// A box's number: the value it was shown from while its text is unchanged, else its text.
float readBox(const WindowTexts& window, const std::string& name, const std::string& text) {
    const auto shown = window.Shown.find(name);
    if (shown != window.Shown.end() && shown->second.text == text) {
        return shown->second.value;
    }
    return ReadSingle(text);
}

void showSwitch(const SensorConfig& record, int n, WindowShare share, WindowTexts& window) {
    WindowSwitch& sw = window.Switch(n);
    const ConstSwitchFields fields = Switch(record, n);
    sw.Setpoint = FormatTwoDecimals(fields.Setpoint);
    if (share.widthAndMode) {
        sw.Hyst = FormatTwoDecimals(fields.Hyst);
    }
    sw.PowerUp = text(kSwitchPowerUp.Caption(*kSwitchPowerUp.Shown(fields.PowerUp)));
    sw.EchoLoss = text(kSwitchEchoLoss.Caption(*kSwitchEchoLoss.Shown(fields.EchoLoss)));
    if (share.widthAndMode) {
        sw.Mode = text(kSwitchMode.Caption(*kSwitchMode.Shown(fields.Mode)));
    }
    const SwitchPolarity polarity = *kSwitchPolarity.Shown(fields.Polarity);
    sw.Left = text(kSwitchPolarity.Caption(polarity));
    sw.Right = text(FarHandleCaption(polarity));
    sw.SetAllowed = kSetAllowed.Shown(fields.SetAllowed) == SetAllowed::Allowed;
    sw.Setpoint = PlacedSetpointText(sw.Setpoint);
    remember(window, boxName("txtSw", n, "Setpoint"), sw.Setpoint, fields.Setpoint);
    if (share.widthAndMode) {
        remember(window, boxName("txtSw", n, "Hyst"), sw.Hyst, fields.Hyst);
    }
}

void showRecord(const SensorConfig& record, WindowShare share, WindowTexts& window) {
    window.MinRange = FormatTwoDecimals(record.MinRange);
    window.MaxRange = FormatTwoDecimals(record.MaxRange);
    for (int n = 1; n <= share.switches; ++n) {
        showSwitch(record, n, share, window);
    }
    window.AnalogNearEndpoint = FormatTwoDecimals(record.AnalogNearEndpoint);
    window.AnalogFarEndpoint = FormatTwoDecimals(record.AnalogFarEndpoint);
    window.AnalogPowerUp =
        text(kAnalogPowerUp.Caption(*kAnalogPowerUp.Shown(record.AnalogPowerUp)));
    if (const auto echoLoss = kAnalogEchoLoss.Shown(record.AnalogEchoLoss)) {
        window.AnalogEchoLoss = text(kAnalogEchoLoss.Caption(*echoLoss));
    }
    window.AnalogSetAllowed = kSetAllowed.Shown(record.AnalogSetAllowed) == SetAllowed::Allowed;
    window.AnalogMode = text(kAnalogMode.Caption(*kAnalogMode.Shown(record.AnalogMode)));
    window.AnalogNearOutput = FormatGeneral(record.AnalogNearOutput);
    window.AnalogFarOutput = FormatGeneral(record.AnalogFarOutput);
    window.AnalogFarEndpoint = PlacedEndpointText(window.AnalogFarEndpoint);
    window.AnalogNearEndpoint = PlacedEndpointText(window.AnalogNearEndpoint);
    window.AnalogNearOutput =
        PlacedOutputText(window.AnalogNearOutput, record.AnalogOutputMin, record.AnalogOutputMax);
    window.AnalogFarOutput =
        PlacedOutputText(window.AnalogFarOutput, record.AnalogOutputMin, record.AnalogOutputMax);
    window.Description = record.Description;
    remember(window, "txtMinRange", window.MinRange, record.MinRange);
    remember(window, "txtMaxRange", window.MaxRange, record.MaxRange);
    remember(window, "txtAnalogNearEndpoint", window.AnalogNearEndpoint, record.AnalogNearEndpoint);
    remember(window, "txtAnalogFarEndpoint", window.AnalogFarEndpoint, record.AnalogFarEndpoint);
    // An output beyond the scale is shown, and kept, as the limit it was held to.
    remember(window, "txtAnalogNearOutput", window.AnalogNearOutput,
             LimitOutput(record.AnalogNearOutput, record.AnalogOutputMin, record.AnalogOutputMax));
    remember(window, "txtAnalogFarOutput", window.AnalogFarOutput,
             LimitOutput(record.AnalogFarOutput, record.AnalogOutputMin, record.AnalogOutputMax));
}

std::int16_t setAllowedCode(bool checked) {
    return kSetAllowed.Code(checked ? SetAllowed::Allowed : SetAllowed::NotAllowed);
}

void readSwitch(const WindowTexts& window, int n, WindowShare share, SensorConfig& record) {
    const WindowSwitch& sw = window.Switch(n);
    SwitchFields fields = Switch(record, n);
    fields.Setpoint = readBox(window, boxName("txtSw", n, "Setpoint"), sw.Setpoint);
    if (share.widthAndMode) {
        fields.Hyst = readBox(window, boxName("txtSw", n, "Hyst"), sw.Hyst);
        fields.Mode = kSwitchMode.CodeOf(sw.Mode);
    }
    fields.PowerUp = kSwitchPowerUp.CodeOf(sw.PowerUp);
    fields.EchoLoss = kSwitchEchoLoss.CodeOf(sw.EchoLoss);
    fields.Polarity = kSwitchPolarity.CodeOf(sw.Left);
    fields.SetAllowed = setAllowedCode(sw.SetAllowed);
}

void readWindow(const WindowTexts& window, WindowShare share, SensorConfig& record) {
    record.MinRange = readBox(window, "txtMinRange", window.MinRange);
    record.MaxRange = readBox(window, "txtMaxRange", window.MaxRange);
    for (int n = 1; n <= share.switches; ++n) {
        readSwitch(window, n, share, record);
    }
    record.AnalogNearEndpoint = readBox(window, "txtAnalogNearEndpoint", window.AnalogNearEndpoint);
    record.AnalogFarEndpoint = readBox(window, "txtAnalogFarEndpoint", window.AnalogFarEndpoint);
    record.AnalogPowerUp = kAnalogPowerUp.CodeOf(window.AnalogPowerUp);
    record.AnalogEchoLoss = kAnalogEchoLoss.CodeOf(window.AnalogEchoLoss);
    record.AnalogSetAllowed = setAllowedCode(window.AnalogSetAllowed);
    record.AnalogMode = kAnalogMode.CodeOf(window.AnalogMode);
    float nearOutput = readBox(window, "txtAnalogNearOutput", window.AnalogNearOutput);
    float farOutput = readBox(window, "txtAnalogFarOutput", window.AnalogFarOutput);
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
                          text(kSwitchMode.Caption(SwitchMode::Hyst)),
                          text(kSwitchPowerUp.Caption(SwitchPowerUp::Off)),
                          text(kSwitchEchoLoss.Caption(SwitchEchoLoss::NC)),
                          text(kSwitchPolarity.Caption(SwitchPolarity::Normal)),
                          text(FarHandleCaption(SwitchPolarity::Normal)),
                          false};
    }
    window.AnalogNearOutput = "10.0";
    window.AnalogFarOutput = "20.0";
    window.AnalogPowerUp = "Off";
    window.AnalogEchoLoss = text(kAnalogEchoLoss.Caption(AnalogEchoLoss::NC));
    window.AnalogMode = text(kAnalogMode.Caption(AnalogMode::Voltage));
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
    showRecord(record, kWindowShareA, window);
}

void ShowRecordB(const SensorConfig& record, WindowTexts& window) {
    showRecord(record, kWindowShareB, window);
}

void ReadWindowA(const WindowTexts& window, SensorConfig& record) {
    readWindow(window, kWindowShareA, record);
}

void ReadWindowB(const WindowTexts& window, SensorConfig& record) {
    readWindow(window, kWindowShareB, record);
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
