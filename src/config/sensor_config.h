#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace telmora {

// The sensor's parameter image as the link carries it: one element per register number
// 0 to 128, each holding an 8-bit value 0 to 255. Values wider than 8 bits take two
// consecutive registers, low byte first.
using RegisterImage = std::array<std::int16_t, 129>;

// Inches per count of the sensor's time-of-flight counter.
inline constexpr float kCountDistanceNormal = 0.003384f;
inline constexpr float kCountDistanceLong = 0.006768f;
inline constexpr float kCountDistanceNoFlags = 0.013536f;

// One sensor configuration in engineering units, shared by both families: each family
// uses a subset of the fields and leaves the others untouched, so family B's switches 3
// and 4 survive a switch to family A and back. Codes are the exact bit patterns the
// option contributes to one of the sensor's flag registers.
struct SensorConfig {
    float MinRange = 0; // inch
    float MaxRange = 0; // inch
    float Interval = 0; // second
    std::int16_t NumberOfPulses = 0;
    std::int16_t PrimingCycles = 0;
    std::int16_t NodeAddress = 0;
    std::int16_t RunMode = 0; // 1..7 as offered by the dialogs; 8 only reported by family B
    bool PBEnabled = false;
    bool TempComp = false;
    std::int16_t FilterType = 0; // 1 None .. 7 Fast Slow
    std::int16_t NumberOfSamples = 0;
    std::string Description; // UTF-8 here; stored in the sensor as Windows-1252
    float CountDistance = kCountDistanceNormal;

    float Sw1Setpoint = 0, Sw2Setpoint = 0, Sw3Setpoint = 0, Sw4Setpoint = 0;
    float Sw1Hyst = 0, Sw2Hyst = 0, Sw3Hyst = 0, Sw4Hyst = 0;
    std::int16_t Sw1Polarity = 0, Sw2Polarity = 0, Sw3Polarity = 0, Sw4Polarity = 0; // 0, 2
    std::int16_t Sw1Mode = 0, Sw2Mode = 0, Sw3Mode = 0, Sw4Mode = 0;                 // 0, 32
    std::int16_t Sw1EchoLoss = 0, Sw2EchoLoss = 0, Sw3EchoLoss = 0, Sw4EchoLoss = 0; // 0,4,8
    std::int16_t Sw1PowerUp = 0, Sw2PowerUp = 0, Sw3PowerUp = 0, Sw4PowerUp = 0;     // 0, 1
    std::int16_t Sw1SetAllowed = 0, Sw2SetAllowed = 0, Sw3SetAllowed = 0, Sw4SetAllowed = 0; // 0,16

    float AnalogNearEndpoint = 0;      // inch
    float AnalogFarEndpoint = 0;       // inch
    float AnalogNearOutput = 0;        // volt or mA
    float AnalogFarOutput = 0;         // volt or mA
    std::int16_t AnalogSlope = 0;      // 1 rising with distance, 0 falling
    std::int16_t AnalogMode = 0;       // 0 current, 128 voltage
    std::int16_t AnalogPowerUp = 0;    // 0 Low, 2 High
    std::int16_t AnalogEchoLoss = 0;   // 0 NC, 4 Low, 8 High
    std::int16_t AnalogSetAllowed = 0; // 0, 16
    float AnalogOutputMin = 0;
    float AnalogOutputMax = 10;

    bool operator==(const SensorConfig&) const = default;
};

// The fields of switch N (1 to 4), so that code serving every switch is written once.
struct SwitchFields {
    float& Setpoint;
    float& Hyst;
    std::int16_t& Polarity;
    std::int16_t& Mode;
    std::int16_t& EchoLoss;
    std::int16_t& PowerUp;
    std::int16_t& SetAllowed;
};
SwitchFields Switch(SensorConfig& config, int n);

struct ConstSwitchFields {
    const float& Setpoint;
    const float& Hyst;
    const std::int16_t& Polarity;
    const std::int16_t& Mode;
    const std::int16_t& EchoLoss;
    const std::int16_t& PowerUp;
    const std::int16_t& SetAllowed;
};
ConstSwitchFields Switch(const SensorConfig& config, int n);

// Factory defaults: each sets the fields its family uses and leaves every other field,
// CountDistance included, as it was.
void LoadFactoryDefaultsA(SensorConfig& config);
void LoadFactoryDefaultsB(SensorConfig& config);

} // namespace telmora
