#pragma once

#include "config/sensor_config.h"
#include "config/sensor_family.h"

#include <cstdint>
#include <string>
#include <vector>

// Checking a write by reading it back: the registers of the family's write order whose
// value read differs from the value written, and what they mean to a user.
namespace telmora {

struct RegisterMismatch {
    int Register = 0;
    int Wrote = 0; // the byte sent
    int Read = 0;  // the byte read back
};
std::vector<RegisterMismatch> DifferingRegisters(SensorFamily family, const RegisterImage& written,
                                                 const RegisterImage& readBack);

// The warning after a write that read back differently: each parameter of the family that
// decodes differently with the values written and read, then each register with its bytes.
// Empty when nothing differs.
std::string WriteCheckText(SensorFamily family, const RegisterImage& written,
                           const RegisterImage& readBack);

} // namespace telmora
