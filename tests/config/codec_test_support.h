#pragma once

// Shared by the codec tests: both families' codecs, register words, and the record's
// fields by name so that tables can list the fields they expect.

#include "config/image_a.h"
#include "config/image_b.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

namespace telmora::testing {

template <typename T> struct Field {
    const char* name;
    T SensorConfig::*member;
};

// clang-format off
#define TELMORA_FIELD(name) {#name, &SensorConfig::name}
inline const Field<float> kFloatFields[] = {
    TELMORA_FIELD(MinRange), TELMORA_FIELD(MaxRange), TELMORA_FIELD(Interval),
    TELMORA_FIELD(CountDistance), TELMORA_FIELD(Sw1Setpoint), TELMORA_FIELD(Sw2Setpoint),
    TELMORA_FIELD(Sw3Setpoint), TELMORA_FIELD(Sw4Setpoint), TELMORA_FIELD(Sw1Hyst),
    TELMORA_FIELD(Sw2Hyst), TELMORA_FIELD(Sw3Hyst), TELMORA_FIELD(Sw4Hyst),
    TELMORA_FIELD(AnalogNearEndpoint), TELMORA_FIELD(AnalogFarEndpoint),
    TELMORA_FIELD(AnalogNearOutput), TELMORA_FIELD(AnalogFarOutput),
    TELMORA_FIELD(AnalogOutputMin), TELMORA_FIELD(AnalogOutputMax)};
inline const Field<std::int16_t> kIntFields[] = {
    TELMORA_FIELD(NumberOfPulses), TELMORA_FIELD(PrimingCycles), TELMORA_FIELD(NodeAddress),
    TELMORA_FIELD(RunMode), TELMORA_FIELD(FilterType), TELMORA_FIELD(NumberOfSamples),
    TELMORA_FIELD(Sw1Polarity), TELMORA_FIELD(Sw2Polarity), TELMORA_FIELD(Sw3Polarity),
    TELMORA_FIELD(Sw4Polarity), TELMORA_FIELD(Sw1Mode), TELMORA_FIELD(Sw2Mode),
    TELMORA_FIELD(Sw3Mode), TELMORA_FIELD(Sw4Mode), TELMORA_FIELD(Sw1EchoLoss),
    TELMORA_FIELD(Sw2EchoLoss), TELMORA_FIELD(Sw3EchoLoss), TELMORA_FIELD(Sw4EchoLoss),
    TELMORA_FIELD(Sw1PowerUp), TELMORA_FIELD(Sw2PowerUp), TELMORA_FIELD(Sw3PowerUp),
    TELMORA_FIELD(Sw4PowerUp), TELMORA_FIELD(Sw1SetAllowed), TELMORA_FIELD(Sw2SetAllowed),
    TELMORA_FIELD(Sw3SetAllowed), TELMORA_FIELD(Sw4SetAllowed), TELMORA_FIELD(AnalogSlope),
    TELMORA_FIELD(AnalogMode), TELMORA_FIELD(AnalogPowerUp), TELMORA_FIELD(AnalogEchoLoss),
    TELMORA_FIELD(AnalogSetAllowed)};
inline const Field<bool> kBoolFields[] = {TELMORA_FIELD(PBEnabled), TELMORA_FIELD(TempComp)};
#undef TELMORA_FIELD
// clang-format on

// Expected fields by name; floats are given as the single itself, so comparison is exact.
using Fields = std::vector<std::pair<const char*, double>>;

inline ::testing::AssertionResult HasFields(const SensorConfig& config, const Fields& expected) {
    std::ostringstream out;
    out.precision(9);
    for (const auto& [name, value] : expected) {
        bool known = false;
        auto check = [&](const auto& fields) {
            for (const auto& f : fields) {
                if (std::string_view(f.name) != name)
                    continue;
                known = true;
                if (static_cast<double>(config.*f.member) != value)
                    out << name << ": expected " << value << ", got " << config.*f.member << "\n";
            }
        };
        check(kFloatFields);
        check(kIntFields);
        check(kBoolFields);
        if (!known)
            out << "no field " << name << "\n";
    }
    if (out.str().empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << out.str();
}

inline int Word(const RegisterImage& image, int k) {
    return image[k + 1] * 256 + image[k];
}

inline ::testing::AssertionResult AllRegisterValues(const RegisterImage& image) {
    for (int k = 0; k < 128; ++k) {
        if (image[k] < 0 || image[k] > 255)
            return ::testing::AssertionFailure() << "element " << k << " = " << image[k];
    }
    return ::testing::AssertionSuccess();
}

inline SensorConfig DefaultsB() {
    SensorConfig config;
    LoadFactoryDefaultsB(config);
    return config;
}

using Encoder = void (*)(SensorConfig&, RegisterImage&);
using Decoder = void (*)(const RegisterImage&, SensorConfig&);

} // namespace telmora::testing
