#include "config/config_fields.h"

#include "config/option_codes.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace telmora {

namespace {

std::string_view RunModeName(int code) {
    return code == 8 ? "run mode 8, offered by no dialog" : kSensorRunMode.CaptionOfCode(code);
}

std::string_view PolarityName(int code) {
    return code == 0   ? "normal: off near the sensor, on beyond"
           : code == 2 ? "reversed: on near the sensor, off beyond"
                       : "";
}
std::string_view SlopeName(int code) {
    return code == 1 ? "output rises with distance" : code == 0 ? "output falls with distance" : "";
}

} // namespace

void VisitFields(const SensorConfig& r, const FieldVisitor& v) {
    const std::string_view outputUnit =
        kAnalogMode.WithCode(r.AnalogMode) == AnalogMode::Voltage ? "volts" : "ma";
    v.Number("MinRange", r.MinRange, "inches");
    v.Number("MaxRange", r.MaxRange, "inches");
    v.Number("Interval", r.Interval, "seconds");
    v.Code("NumberOfPulses", r.NumberOfPulses, {});
    v.Code("PrimingCycles", r.PrimingCycles, {});
    v.Code("NodeAddress", r.NodeAddress, {});
    v.Code("RunMode", r.RunMode, RunModeName(r.RunMode));
    v.Flag("PBEnabled", r.PBEnabled);
    v.Flag("TempComp", r.TempComp);
    v.Code("FilterType", r.FilterType, kSensorFilter.CaptionOfCode(r.FilterType));
    v.Code("NumberOfSamples", r.NumberOfSamples, {});
    v.Text("Description", r.Description);
    v.Number("CountDistance", r.CountDistance, "inches per count");
    for (int n = 1; n <= 4; ++n) {
        const ConstSwitchFields sw = Switch(r, n);
        const std::string prefix = "Sw" + std::to_string(n);
        v.Number(prefix + "Setpoint", sw.Setpoint, "inches");
        v.Number(prefix + "Hyst", sw.Hyst, "inches");
        v.Code(prefix + "Polarity", sw.Polarity, PolarityName(sw.Polarity));
        v.Code(prefix + "Mode", sw.Mode, kSwitchMode.ExplainedCaptionOfCode(sw.Mode));
        v.Code(prefix + "EchoLoss", sw.EchoLoss,
               kSwitchEchoLoss.ExplainedCaptionOfCode(sw.EchoLoss));
        v.Code(prefix + "PowerUp", sw.PowerUp, kSwitchPowerUp.ExplainedCaptionOfCode(sw.PowerUp));
        v.Code(prefix + "SetAllowed", sw.SetAllowed, kSetAllowed.CaptionOfCode(sw.SetAllowed));
    }
    v.Number("AnalogNearEndpoint", r.AnalogNearEndpoint, "inches");
    v.Number("AnalogFarEndpoint", r.AnalogFarEndpoint, "inches");
    v.Number("AnalogNearOutput", r.AnalogNearOutput, outputUnit);
    v.Number("AnalogFarOutput", r.AnalogFarOutput, outputUnit);
    v.Code("AnalogSlope", r.AnalogSlope, SlopeName(r.AnalogSlope));
    v.Code("AnalogMode", r.AnalogMode, kAnalogMode.ExplainedCaptionOfCode(r.AnalogMode));
    v.Code("AnalogPowerUp", r.AnalogPowerUp,
           kAnalogPowerUp.ExplainedCaptionOfCode(r.AnalogPowerUp));
    v.Code("AnalogEchoLoss", r.AnalogEchoLoss,
           kAnalogEchoLoss.ExplainedCaptionOfCode(r.AnalogEchoLoss));
    v.Code("AnalogSetAllowed", r.AnalogSetAllowed, kSetAllowed.CaptionOfCode(r.AnalogSetAllowed));
    v.Number("AnalogOutputMin", r.AnalogOutputMin, outputUnit);
    v.Number("AnalogOutputMax", r.AnalogOutputMax, outputUnit);
}

std::string ShortestText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::vector<FieldRow> FieldRows(const SensorConfig& record) {
    std::vector<FieldRow> rows;
    FieldVisitor v;
    v.Number = [&](std::string_view name, float value, std::string_view unit) {
        rows.push_back({std::string(name), ShortestText(value), std::string(unit), {}});
    };
    v.Code = [&](std::string_view name, int value, std::string_view meaning) {
        rows.push_back({std::string(name), std::to_string(value), {}, std::string(meaning)});
    };
    v.Flag = [&](std::string_view name, bool value) {
        rows.push_back({std::string(name), value ? "true" : "false", {}, {}});
    };
    v.Text = [&](std::string_view name, const std::string& value) {
        rows.push_back({std::string(name), value, {}, {}});
    };
    VisitFields(record, v);
    return rows;
}

std::string_view FieldCaption(std::string_view name) {
    struct Caption {
        std::string_view Field;
        std::string_view Text;
    };
    // The window's accessible names where the window shows the field, else the caption
    // of the dialog or menu entry that sets it.
    static constexpr std::array<Caption, 52> kCaptions{{
        {"MinRange", "Minimum range"},
        {"MaxRange", "Maximum range"},
        {"Interval", "Interval"},
        {"NumberOfPulses", "Number of pulses"},
        {"PrimingCycles", "Priming cycles"},
        {"NodeAddress", "Node address"},
        {"RunMode", "Run mode"},
        {"PBEnabled", "Pushbutton enabled"},
        {"TempComp", "Temperature compensation"},
        {"FilterType", "Filter type"},
        {"NumberOfSamples", "Filter number of samples"},
        {"Description", "Configuration description"},
        {"CountDistance", "Distance per count"},
        {"Sw1Setpoint", "Switch 1 setpoint"},
        {"Sw1Hyst", "Switch 1 hysteresis or window width"},
        {"Sw1Polarity", "Switch 1 polarity"},
        {"Sw1Mode", "Switch 1 mode"},
        {"Sw1EchoLoss", "Switch 1 echo loss response"},
        {"Sw1PowerUp", "Switch 1 power-up state"},
        {"Sw1SetAllowed", "Switch 1 pushbutton set allowed"},
        {"Sw2Setpoint", "Switch 2 setpoint"},
        {"Sw2Hyst", "Switch 2 hysteresis or window width"},
        {"Sw2Polarity", "Switch 2 polarity"},
        {"Sw2Mode", "Switch 2 mode"},
        {"Sw2EchoLoss", "Switch 2 echo loss response"},
        {"Sw2PowerUp", "Switch 2 power-up state"},
        {"Sw2SetAllowed", "Switch 2 pushbutton set allowed"},
        {"Sw3Setpoint", "Switch 3 setpoint"},
        {"Sw3Hyst", "Switch 3 hysteresis or window width"},
        {"Sw3Polarity", "Switch 3 polarity"},
        {"Sw3Mode", "Switch 3 mode"},
        {"Sw3EchoLoss", "Switch 3 echo loss response"},
        {"Sw3PowerUp", "Switch 3 power-up state"},
        {"Sw3SetAllowed", "Switch 3 pushbutton set allowed"},
        {"Sw4Setpoint", "Switch 4 setpoint"},
        {"Sw4Hyst", "Switch 4 hysteresis or window width"},
        {"Sw4Polarity", "Switch 4 polarity"},
        {"Sw4Mode", "Switch 4 mode"},
        {"Sw4EchoLoss", "Switch 4 echo loss response"},
        {"Sw4PowerUp", "Switch 4 power-up state"},
        {"Sw4SetAllowed", "Switch 4 pushbutton set allowed"},
        {"AnalogNearEndpoint", "Analog near endpoint"},
        {"AnalogFarEndpoint", "Analog far endpoint"},
        {"AnalogNearOutput", "Analog output at near endpoint"},
        {"AnalogFarOutput", "Analog output at far endpoint"},
        {"AnalogSlope", "Analog output slope"},
        {"AnalogMode", "Analog output mode"},
        {"AnalogPowerUp", "Analog power-up state"},
        {"AnalogEchoLoss", "Analog echo loss response"},
        {"AnalogSetAllowed", "Analog pushbutton set allowed"},
        {"AnalogOutputMin", "Analog output scale minimum"},
        {"AnalogOutputMax", "Analog output scale maximum"},
    }};
    for (const Caption& caption : kCaptions) {
        if (caption.Field == name)
            return caption.Text;
    }
    return name;
}

bool FamilyHoldsField(SensorFamily family, std::string_view name) {
    // What a Kelvo-A's registers carry (its filter follows from the sample count).
    static constexpr std::array<std::string_view, 28> kFamilyAFields{
        "MinRange",           "MaxRange",          "Interval",         "NumberOfPulses",
        "PrimingCycles",      "RunMode",           "PBEnabled",        "NumberOfSamples",
        "Description",        "CountDistance",     "Sw1Setpoint",      "Sw2Setpoint",
        "Sw1Polarity",        "Sw2Polarity",       "Sw1EchoLoss",      "Sw2EchoLoss",
        "Sw1PowerUp",         "Sw2PowerUp",        "Sw1SetAllowed",    "Sw2SetAllowed",
        "AnalogNearEndpoint", "AnalogFarEndpoint", "AnalogNearOutput", "AnalogFarOutput",
        "AnalogSlope",        "AnalogEchoLoss",    "AnalogPowerUp",    "AnalogSetAllowed"};
    return family != SensorFamily::A ||
           std::find(kFamilyAFields.begin(), kFamilyAFields.end(), name) != kFamilyAFields.end();
}

std::vector<FieldComparison> CompareFields(const SensorConfig& left, const SensorConfig& right,
                                           SensorFamily family) {
    const std::vector<FieldRow> a = FieldRows(left);
    const std::vector<FieldRow> b = FieldRows(right);
    std::vector<FieldComparison> fields;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (FamilyHoldsField(family, a[i].Name))
            fields.push_back({a[i].Name, a[i].Unit, a[i].Value, b[i].Value,
                              a[i].Value != b[i].Value, a[i].Meaning, b[i].Meaning});
    }
    return fields;
}

std::size_t CountDifferences(const std::vector<FieldComparison>& fields) {
    return static_cast<std::size_t>(
        std::count_if(fields.begin(), fields.end(), [](const auto& f) { return f.Differs; }));
}

std::string ComparisonText(const std::vector<FieldComparison>& fields, const std::string& left,
                           const std::string& right) {
    std::size_t nameWidth = 0;
    std::size_t leftWidth = left.size();
    for (const FieldComparison& f : fields) {
        nameWidth = std::max(nameWidth, f.Name.size());
        leftWidth = std::max(leftWidth, f.Left.size());
    }
    const auto pad = [](const std::string& text, std::size_t width) {
        return text + std::string(width - std::min(width, text.size()), ' ');
    };
    std::string text =
        "  " + pad("", nameWidth) + "  " + pad(left, leftWidth) + "  " + right + "\n";
    for (const FieldComparison& f : fields) {
        text += (f.Differs ? "* " : "  ") + pad(f.Name, nameWidth) + "  " + pad(f.Left, leftWidth) +
                "  " + f.Right;
        if (!f.Unit.empty())
            text += "  " + f.Unit;
        text += "\n";
    }
    const std::size_t differences = CountDifferences(fields);
    text +=
        std::to_string(differences) + (differences == 1 ? " difference" : " differences") + "\n";
    return text;
}

} // namespace telmora
