#pragma once

// Shared by the codec tests: both families' codecs, register words, and the record as JSON,
// so that tables name the fields they set or expect and a failure names each field that
// differs. Floats are given as the single itself, so comparisons are exact.

#include "../support/golden_gtest.h"
#include "config/image_a.h"
#include "config/image_b.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <charconv>

namespace telmora {
// clang-format off
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(SensorConfig, MinRange, MaxRange, Interval, NumberOfPulses,
    PrimingCycles, NodeAddress, RunMode, PBEnabled, TempComp, FilterType, NumberOfSamples,
    Description, CountDistance, Sw1Setpoint, Sw2Setpoint, Sw3Setpoint, Sw4Setpoint, Sw1Hyst,
    Sw2Hyst, Sw3Hyst, Sw4Hyst, Sw1Polarity, Sw2Polarity, Sw3Polarity, Sw4Polarity, Sw1Mode,
    Sw2Mode, Sw3Mode, Sw4Mode, Sw1EchoLoss, Sw2EchoLoss, Sw3EchoLoss, Sw4EchoLoss, Sw1PowerUp,
    Sw2PowerUp, Sw3PowerUp, Sw4PowerUp, Sw1SetAllowed, Sw2SetAllowed, Sw3SetAllowed,
    Sw4SetAllowed, AnalogNearEndpoint, AnalogFarEndpoint, AnalogNearOutput, AnalogFarOutput,
    AnalogSlope, AnalogMode, AnalogPowerUp, AnalogEchoLoss, AnalogSetAllowed, AnalogOutputMin,
    AnalogOutputMax)
// clang-format on
} // namespace telmora

namespace telmora::testing {

using Fields = nlohmann::json;

// `config` with the named fields set to `fields`' values.
inline SensorConfig With(const SensorConfig& config, const Fields& fields) {
    nlohmann::json all = config;
    for (const auto& [name, value] : fields.items()) {
        EXPECT_TRUE(all.contains(name)) << "no field " << name;
        all[name] = value;
    }
    return all.get<SensorConfig>();
}

// One field a line, each value exact, for EXPECT_EQ to show the lines that differ.
inline std::string Dump(const SensorConfig& config) {
    return nlohmann::json(config).dump(0);
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

// Each field of `after` that differs from `before`, one "name = value" a line, singles exact.
inline std::string Changes(const nlohmann::json& before, const nlohmann::json& after) {
    const auto was = before.flatten(), now = after.flatten();
    std::string lines;
    for (const auto& [key, value] : now.items()) {
        if (was.contains(key) && was[key] == value) {
            continue;
        }
        std::string text = value.dump();
        if (value.is_number_float()) {
            char single[32];
            *std::to_chars(single, single + 31, value.get<float>()).ptr = 0;
            text = single;
        }
        lines += key.substr(1) + " = " + text + "\n";
    }
    return lines.empty() ? "no change\n" : lines;
}

using telmora::test::ExpectGolden;

using Encoder = void (*)(SensorConfig&, RegisterImage&);
using Decoder = void (*)(const RegisterImage&, SensorConfig&);

} // namespace telmora::testing
