#include "config_report.h"

#include "config/option_codes.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdint>
#include <functional>
#include <string_view>

namespace telmora::kelvo {

namespace {

std::string_view runModeName(int code) {
    return code == 8 ? "run mode 8, offered by no dialog" : kSensorRunMode.CaptionOfCode(code);
}

std::string_view polarityName(int code) {
    return code == 0   ? "normal: off near the sensor, on beyond"
           : code == 2 ? "reversed: on near the sensor, off beyond"
                       : "";
}
std::string_view slopeName(int code) {
    return code == 1 ? "output rises with distance" : code == 0 ? "output falls with distance" : "";
}

// Visits every field in the record's order, so the text and the JSON list the same.
struct FieldVisitor {
    std::function<void(std::string_view, float, std::string_view unit)> number;
    std::function<void(std::string_view, int, std::string_view meaning)> code;
    std::function<void(std::string_view, bool)> flag;
    std::function<void(std::string_view, const std::string&)> text;
};

void visitFields(const SensorConfig& r, const FieldVisitor& v) {
    const std::string_view outputUnit =
        kAnalogMode.WithCode(r.AnalogMode) == AnalogMode::Voltage ? "volts" : "ma";
    v.number("MinRange", r.MinRange, "inches");
    v.number("MaxRange", r.MaxRange, "inches");
    v.number("Interval", r.Interval, "seconds");
    v.code("NumberOfPulses", r.NumberOfPulses, {});
    v.code("PrimingCycles", r.PrimingCycles, {});
    v.code("NodeAddress", r.NodeAddress, {});
    v.code("RunMode", r.RunMode, runModeName(r.RunMode));
    v.flag("PBEnabled", r.PBEnabled);
    v.flag("TempComp", r.TempComp);
    v.code("FilterType", r.FilterType, kSensorFilter.CaptionOfCode(r.FilterType));
    v.code("NumberOfSamples", r.NumberOfSamples, {});
    v.text("Description", r.Description);
    v.number("CountDistance", r.CountDistance, "inches per count");
    for (int n = 1; n <= 4; ++n) {
        const ConstSwitchFields sw = Switch(r, n);
        const std::string prefix = "Sw" + std::to_string(n);
        v.number(prefix + "Setpoint", sw.Setpoint, "inches");
        v.number(prefix + "Hyst", sw.Hyst, "inches");
        v.code(prefix + "Polarity", sw.Polarity, polarityName(sw.Polarity));
        v.code(prefix + "Mode", sw.Mode, kSwitchMode.CaptionOfCode(sw.Mode));
        v.code(prefix + "EchoLoss", sw.EchoLoss, kSwitchEchoLoss.CaptionOfCode(sw.EchoLoss));
        v.code(prefix + "PowerUp", sw.PowerUp, kSwitchPowerUp.CaptionOfCode(sw.PowerUp));
        v.code(prefix + "SetAllowed", sw.SetAllowed, kSetAllowed.CaptionOfCode(sw.SetAllowed));
    }
    v.number("AnalogNearEndpoint", r.AnalogNearEndpoint, "inches");
    v.number("AnalogFarEndpoint", r.AnalogFarEndpoint, "inches");
    v.number("AnalogNearOutput", r.AnalogNearOutput, outputUnit);
    v.number("AnalogFarOutput", r.AnalogFarOutput, outputUnit);
    v.code("AnalogSlope", r.AnalogSlope, slopeName(r.AnalogSlope));
    v.code("AnalogMode", r.AnalogMode, kAnalogMode.CaptionOfCode(r.AnalogMode));
    v.code("AnalogPowerUp", r.AnalogPowerUp, kAnalogPowerUp.CaptionOfCode(r.AnalogPowerUp));
    v.code("AnalogEchoLoss", r.AnalogEchoLoss, kAnalogEchoLoss.CaptionOfCode(r.AnalogEchoLoss));
    v.code("AnalogSetAllowed", r.AnalogSetAllowed, kSetAllowed.CaptionOfCode(r.AnalogSetAllowed));
    v.number("AnalogOutputMin", r.AnalogOutputMin, outputUnit);
    v.number("AnalogOutputMax", r.AnalogOutputMax, outputUnit);
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
    v.number = [&](std::string_view name, float value, std::string_view unit) {
        out.append(name).append(": ").append(ShortestText(value));
        out.append(" ").append(unit).append("\n");
    };
    v.code = [&](std::string_view name, int value, std::string_view meaning) {
        out.append(name).append(": ").append(std::to_string(value));
        if (!meaning.empty()) {
            out.append(" (").append(meaning).append(")");
        }
        out.append("\n");
    };
    v.flag = [&](std::string_view name, bool value) {
        out.append(name).append(": ").append(value ? "true" : "false").append("\n");
    };
    v.text = [&](std::string_view name, const std::string& value) {
        out.append(name).append(": ").append(value).append("\n");
    };
    visitFields(record, v);
    return out;
}

std::string ConfigurationJson(const SensorConfig& record) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    FieldVisitor v;
    // A float goes out as its shortest decimal, not as the longer double it widens to.
    v.number = [&](std::string_view name, float value, std::string_view) {
        const std::string text = ShortestText(value);
        double shortest = value;
        std::from_chars(text.data(), text.data() + text.size(), shortest);
        json[std::string(name)] = shortest;
    };
    v.code = [&](std::string_view name, int value, std::string_view) {
        json[std::string(name)] = value;
    };
    v.flag = [&](std::string_view name, bool value) { json[std::string(name)] = value; };
    v.text = [&](std::string_view name, const std::string& value) {
        json[std::string(name)] = value;
    };
    visitFields(record, v);
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace telmora::kelvo
