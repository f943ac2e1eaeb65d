#include "config_report.h"

#include "config/config_fields.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <string_view>

namespace telmora::kelvo {

std::string ConfigurationText(const SensorConfig& record) {
    std::string out;
    for (const FieldRow& row : FieldRows(record)) {
        out.append(row.Name).append(": ").append(row.Value);
        if (!row.Unit.empty())
            out.append(" ").append(row.Unit);
        if (!row.Meaning.empty())
            out.append(" (").append(row.Meaning).append(")");
        out.append("\n");
    }
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
