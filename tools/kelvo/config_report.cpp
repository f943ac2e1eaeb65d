#include "config_report.h"

#include "config/option_codes.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdint>
#include <functional>
#include <string_view>

namespace telmora::kelvo {

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

// Visits every field in the record's order, so the text and the JSON list the same.
struct FieldVisitor {
    std::function<void(std::string_view, float, std::string_view unit)> Number;
    std::function<void(std::string_view, int, std::string_view meaning)> Code;
    std::function<void(std::string_view, bool)> Flag;
    std::function<void(std::string_view, const std::string&)> Text;
};

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
        v.Code(prefix + "Mode", sw.Mode, kSwitchMode.CaptionOfCode(sw.Mode));
        v.Code(prefix + "EchoLoss", sw.EchoLoss, kSwitchEchoLoss.CaptionOfCode(sw.EchoLoss));
        v.Code(prefix + "PowerUp", sw.PowerUp, kSwitchPowerUp.CaptionOfCode(sw.PowerUp));
        v.Code(prefix + "SetAllowed", sw.SetAllowed, kSetAllowed.CaptionOfCode(sw.SetAllowed));
    }
    v.Number("AnalogNearEndpoint", r.AnalogNearEndpoint, "inches");
    v.Number("AnalogFarEndpoint", r.AnalogFarEndpoint, "inches");
    v.Number("AnalogNearOutput", r.AnalogNearOutput, outputUnit);
    v.Number("AnalogFarOutput", r.AnalogFarOutput, outputUnit);
    v.Code("AnalogSlope", r.AnalogSlope, SlopeName(r.AnalogSlope));
    v.Code("AnalogMode", r.AnalogMode, kAnalogMode.CaptionOfCode(r.AnalogMode));
    v.Code("AnalogPowerUp", r.AnalogPowerUp, kAnalogPowerUp.CaptionOfCode(r.AnalogPowerUp));
    v.Code("AnalogEchoLoss", r.AnalogEchoLoss, kAnalogEchoLoss.CaptionOfCode(r.AnalogEchoLoss));
    v.Code("AnalogSetAllowed", r.AnalogSetAllowed, kSetAllowed.CaptionOfCode(r.AnalogSetAllowed));
    v.Number("AnalogOutputMin", r.AnalogOutputMin, outputUnit);
    v.Number("AnalogOutputMax", r.AnalogOutputMax, outputUnit);
}

} // namespace

std::string ShortestText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string ConfigurationText(const SensorConfig& record) {
    std::string out;
    FieldVisitor v;
    v.Number = [&](std::string_view name, float value, std::string_view unit) {
        out.append(name).append(": ").append(ShortestText(value));
        out.append(" ").append(unit).append("\n");
    };
    v.Code = [&](std::string_view name, int value, std::string_view meaning) {
        out.append(name).append(": ").append(std::to_string(value));
        if (!meaning.empty()) {
            out.append(" (").append(meaning).append(")");
        }
        out.append("\n");
    };
    v.Flag = [&](std::string_view name, bool value) {
        out.append(name).append(": ").append(value ? "true" : "false").append("\n");
    };
    v.Text = [&](std::string_view name, const std::string& value) {
        out.append(name).append(": ").append(value).append("\n");
    };
    VisitFields(record, v);
    return out;
}

std::string ConfigurationJson(const SensorConfig& record) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    FieldVisitor v;
    // A float goes out as its shortest decimal, not as the longer double it widens to.
    v.Number = [&](std::string_view name, float value, std::string_view) {
        const std::string text = ShortestText(value);
        double shortest = value;
        std::from_chars(text.data(), text.data() + text.size(), shortest);
        json[std::string(name)] = shortest;
    };
    v.Code = [&](std::string_view name, int value, std::string_view) {
        json[std::string(name)] = value;
    };
    v.Flag = [&](std::string_view name, bool value) { json[std::string(name)] = value; };
    v.Text = [&](std::string_view name, const std::string& value) {
        json[std::string(name)] = value;
    };
    VisitFields(record, v);
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace telmora::kelvo
