#pragma once

#include "config/sensor_config.h"
#include "config/sensor_family.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Every field of the configuration record with its unit or its code's meaning, in the
// record's order: what a report, a comparison or a script lists.
namespace telmora {

struct FieldVisitor {
    std::function<void(std::string_view, float, std::string_view unit)> Number;
    std::function<void(std::string_view, int, std::string_view meaning)> Code;
    std::function<void(std::string_view, bool)> Flag;
    std::function<void(std::string_view, const std::string&)> Text;
};
void VisitFields(const SensorConfig& record, const FieldVisitor& visitor);

// The shortest decimal text that reads back as exactly `value` ("221.77045", "0.05").
std::string ShortestText(float value);

// One field as text: "MaxRange", "221.77045", "inches"; a code's meaning in `Meaning`.
struct FieldRow {
    std::string Name;
    std::string Value;
    std::string Unit;
    std::string Meaning;
};
std::vector<FieldRow> FieldRows(const SensorConfig& record);

// The field's caption as the window and its dialogs name it ("Switch 1 setpoint" for
// "Sw1Setpoint"), for tables people read; the field's own name when it has none.
std::string_view FieldCaption(std::string_view name);

// Whether a sensor of `family` holds the field: a Kelvo-A holds two switches without mode
// or hysteresis, no analog mode or output scale, node address, temperature setting or
// filter choice of its own. Every field for B and None.
bool FamilyHoldsField(SensorFamily family, std::string_view name);

// The fields of two records that a sensor of `family` holds, side by side; `Differs`
// marks a field whose values differ.
struct FieldComparison {
    std::string Name;
    std::string Unit; // the left record's unit (the analog outputs' follow its mode)
    std::string Left;
    std::string Right;
    bool Differs = false;
    std::string LeftMeaning; // a code's meaning on each side ("Hyst: hysteresis mode, ...")
    std::string RightMeaning;
};
std::vector<FieldComparison> CompareFields(const SensorConfig& left, const SensorConfig& right,
                                           SensorFamily family);
std::size_t CountDifferences(const std::vector<FieldComparison>& fields);

// The comparison as a plain-text table under a heading naming the two sides, a "*" before
// each differing row, then "N differences": what kelvo prints and the window copies.
std::string ComparisonText(const std::vector<FieldComparison>& fields, const std::string& left,
                           const std::string& right);

} // namespace telmora
