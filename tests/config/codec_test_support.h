#pragma once

// Shared by the codec tests: both families' codecs, register words, and the record's
// fields by name so that tables can list the fields they expect.

#include "config/image_a.h"
#include "config/image_b.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace telmora::testing {

template <typename T> struct Field {
    const char* name;
    T SensorConfig::*member;
};

// clang-format off
#define TELMORA_F(name) {#name, &SensorConfig::name}
inline const Field<float> kFloatFields[] = {
    TELMORA_F(MinRange), TELMORA_F(MaxRange), TELMORA_F(Interval), TELMORA_F(CountDistance),
    TELMORA_F(Sw1Setpoint), TELMORA_F(Sw2Setpoint), TELMORA_F(Sw3Setpoint), TELMORA_F(Sw4Setpoint),
    TELMORA_F(Sw1Hyst), TELMORA_F(Sw2Hyst), TELMORA_F(Sw3Hyst), TELMORA_F(Sw4Hyst),
    TELMORA_F(AnalogNearEndpoint), TELMORA_F(AnalogFarEndpoint), TELMORA_F(AnalogNearOutput),
    TELMORA_F(AnalogFarOutput), TELMORA_F(AnalogOutputMin), TELMORA_F(AnalogOutputMax)};
inline const Field<std::int16_t> kIntFields[] = {
    TELMORA_F(NumberOfPulses), TELMORA_F(PrimingCycles), TELMORA_F(NodeAddress), TELMORA_F(RunMode),
    TELMORA_F(FilterType), TELMORA_F(NumberOfSamples), TELMORA_F(Sw1Polarity), TELMORA_F(Sw2Polarity),
    TELMORA_F(Sw3Polarity), TELMORA_F(Sw4Polarity), TELMORA_F(Sw1Mode), TELMORA_F(Sw2Mode),
    TELMORA_F(Sw3Mode), TELMORA_F(Sw4Mode), TELMORA_F(Sw1EchoLoss), TELMORA_F(Sw2EchoLoss),
    TELMORA_F(Sw3EchoLoss), TELMORA_F(Sw4EchoLoss), TELMORA_F(Sw1PowerUp), TELMORA_F(Sw2PowerUp),
    TELMORA_F(Sw3PowerUp), TELMORA_F(Sw4PowerUp), TELMORA_F(Sw1SetAllowed), TELMORA_F(Sw2SetAllowed),
    TELMORA_F(Sw3SetAllowed), TELMORA_F(Sw4SetAllowed), TELMORA_F(AnalogSlope), TELMORA_F(AnalogMode),
    TELMORA_F(AnalogPowerUp), TELMORA_F(AnalogEchoLoss), TELMORA_F(AnalogSetAllowed)};
inline const Field<bool> kBoolFields[] = {TELMORA_F(PBEnabled), TELMORA_F(TempComp)};
#undef TELMORA_F
// clang-format on

// Fields by name; floats are given as the single itself, so comparisons are exact.
using Fields = std::vector<std::pair<const char*, double>>;

// Calls visit(member) for the named field; false when there is none.
template <typename Config, typename Visit>
bool VisitField(Config& c, std::string_view name, Visit visit) {
    bool known = false;
    auto look = [&](const auto& fields) {
        for (const auto& f : fields)
            if (name == f.name) {
                known = true;
                visit(c.*f.member);
            }
    };
    look(kFloatFields);
    look(kIntFields);
    look(kBoolFields);
    return known;
}

inline void SetFields(SensorConfig& config, const Fields& values) {
    for (const auto& [name, value] : values)
        EXPECT_TRUE(VisitField(config, name, [&](auto& field) {
            field = static_cast<std::remove_reference_t<decltype(field)>>(value);
        })) << name;
}

inline ::testing::AssertionResult HasFields(const SensorConfig& config, const Fields& expected) {
    std::ostringstream out;
    out.precision(9);
    for (const auto& [name, value] : expected) {
        if (!VisitField(config, name, [&](const auto& field) {
                if (static_cast<double>(field) != value)
                    out << name << ": expected " << value << ", got " << field << "\n";
            }))
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
