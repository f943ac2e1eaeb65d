#include "record_json.h"

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace telmora::testing {

namespace {

template <typename T> struct Field {
    const char* name;
    T SensorConfig::*member;
};

const Field<float> kFloatFields[] = {
    {"MinRange", &SensorConfig::MinRange},
    {"MaxRange", &SensorConfig::MaxRange},
    {"Interval", &SensorConfig::Interval},
    {"CountDistance", &SensorConfig::CountDistance},
    {"Sw1Setpoint", &SensorConfig::Sw1Setpoint},
    {"Sw2Setpoint", &SensorConfig::Sw2Setpoint},
    {"Sw3Setpoint", &SensorConfig::Sw3Setpoint},
    {"Sw4Setpoint", &SensorConfig::Sw4Setpoint},
    {"Sw1Hyst", &SensorConfig::Sw1Hyst},
    {"Sw2Hyst", &SensorConfig::Sw2Hyst},
    {"Sw3Hyst", &SensorConfig::Sw3Hyst},
    {"Sw4Hyst", &SensorConfig::Sw4Hyst},
    {"AnalogNearEndpoint", &SensorConfig::AnalogNearEndpoint},
    {"AnalogFarEndpoint", &SensorConfig::AnalogFarEndpoint},
    {"AnalogNearOutput", &SensorConfig::AnalogNearOutput},
    {"AnalogFarOutput", &SensorConfig::AnalogFarOutput},
    {"AnalogOutputMin", &SensorConfig::AnalogOutputMin},
    {"AnalogOutputMax", &SensorConfig::AnalogOutputMax},
};

const Field<std::int16_t> kIntFields[] = {
    {"NumberOfPulses", &SensorConfig::NumberOfPulses},
    {"PrimingCycles", &SensorConfig::PrimingCycles},
    {"NodeAddress", &SensorConfig::NodeAddress},
    {"RunMode", &SensorConfig::RunMode},
    {"FilterType", &SensorConfig::FilterType},
    {"NumberOfSamples", &SensorConfig::NumberOfSamples},
    {"Sw1Polarity", &SensorConfig::Sw1Polarity},
    {"Sw2Polarity", &SensorConfig::Sw2Polarity},
    {"Sw3Polarity", &SensorConfig::Sw3Polarity},
    {"Sw4Polarity", &SensorConfig::Sw4Polarity},
    {"Sw1Mode", &SensorConfig::Sw1Mode},
    {"Sw2Mode", &SensorConfig::Sw2Mode},
    {"Sw3Mode", &SensorConfig::Sw3Mode},
    {"Sw4Mode", &SensorConfig::Sw4Mode},
    {"Sw1EchoLoss", &SensorConfig::Sw1EchoLoss},
    {"Sw2EchoLoss", &SensorConfig::Sw2EchoLoss},
    {"Sw3EchoLoss", &SensorConfig::Sw3EchoLoss},
    {"Sw4EchoLoss", &SensorConfig::Sw4EchoLoss},
    {"Sw1PowerUp", &SensorConfig::Sw1PowerUp},
    {"Sw2PowerUp", &SensorConfig::Sw2PowerUp},
    {"Sw3PowerUp", &SensorConfig::Sw3PowerUp},
    {"Sw4PowerUp", &SensorConfig::Sw4PowerUp},
    {"Sw1SetAllowed", &SensorConfig::Sw1SetAllowed},
    {"Sw2SetAllowed", &SensorConfig::Sw2SetAllowed},
    {"Sw3SetAllowed", &SensorConfig::Sw3SetAllowed},
    {"Sw4SetAllowed", &SensorConfig::Sw4SetAllowed},
    {"AnalogSlope", &SensorConfig::AnalogSlope},
    {"AnalogMode", &SensorConfig::AnalogMode},
    {"AnalogPowerUp", &SensorConfig::AnalogPowerUp},
    {"AnalogEchoLoss", &SensorConfig::AnalogEchoLoss},
    {"AnalogSetAllowed", &SensorConfig::AnalogSetAllowed},
};

const Field<bool> kBoolFields[] = {
    {"PBEnabled", &SensorConfig::PBEnabled},
    {"TempComp", &SensorConfig::TempComp},
};

// The vectors write each float as the exact decimal of a single, so the nearest single
// is that value itself.
float exactSingle(const nlohmann::json& value) {
    return std::strtof(value.get<std::string>().c_str(), nullptr);
}

std::string floatText(float value) {
    std::ostringstream out;
    out.precision(9);
    out << value << " (0x" << std::hex << std::bit_cast<std::uint32_t>(value) << ")";
    return out.str();
}

} // namespace

nlohmann::json LoadCodecVectors() {
    std::ifstream in(std::string(TELMORA_TEST_DATA) + "/codec.json");
    if (!in)
        throw std::runtime_error("codec.json missing from the test data");
    return nlohmann::json::parse(in);
}

SensorConfig RecordFromJson(const nlohmann::json& record) {
    SensorConfig config;
    for (const auto& f : kFloatFields)
        config.*f.member = exactSingle(record.at(f.name));
    for (const auto& f : kIntFields)
        config.*f.member = record.at(f.name).get<std::int16_t>();
    for (const auto& f : kBoolFields)
        config.*f.member = record.at(f.name).get<bool>();
    config.Description = record.at("Description").get<std::string>(); // UTF-8
    return config;
}

RegisterImage ImageFromJson(const nlohmann::json& image) {
    RegisterImage result{};
    if (image.size() != result.size())
        throw std::runtime_error("image of " + std::to_string(image.size()) + " elements");
    for (std::size_t k = 0; k < result.size(); ++k)
        result[k] = image.at(k).get<std::int16_t>();
    return result;
}

SensorConfig StartupRecord() {
    SensorConfig config;
    config.CountDistance = kCountDistanceNormal;
    config.AnalogOutputMax = 10;
    LoadFactoryDefaultsB(config);
    return config;
}

std::string RecordDifferences(const SensorConfig& expected, const SensorConfig& actual) {
    std::ostringstream out;
    for (const auto& f : kFloatFields) {
        const float e = expected.*f.member;
        const float a = actual.*f.member;
        if (std::bit_cast<std::uint32_t>(e) != std::bit_cast<std::uint32_t>(a))
            out << f.name << ": expected " << floatText(e) << ", got " << floatText(a) << "\n";
    }
    for (const auto& f : kIntFields) {
        if (expected.*f.member != actual.*f.member)
            out << f.name << ": expected " << expected.*f.member << ", got " << actual.*f.member
                << "\n";
    }
    for (const auto& f : kBoolFields) {
        if (expected.*f.member != actual.*f.member)
            out << f.name << ": expected " << expected.*f.member << ", got " << actual.*f.member
                << "\n";
    }
    if (expected.Description != actual.Description)
        out << "Description: expected \"" << expected.Description << "\", got \""
            << actual.Description << "\"\n";
    return out.str();
}

std::string ImageDifferences(const RegisterImage& expected, const RegisterImage& actual) {
    std::ostringstream out;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        if (expected[k] != actual[k])
            out << "[" << k << "] expected " << expected[k] << ", got " << actual[k] << "\n";
    }
    return out.str();
}

} // namespace telmora::testing
