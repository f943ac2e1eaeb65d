#pragma once

#include "config/sensor_family.h"
#include "link/link_protocol.h"

#include <string>
#include <string_view>

// Texts the link gives the user beyond the two fixed warnings of link_host.h.
namespace telmora {

inline constexpr std::string_view kNoPortOpenText =
    "No serial port is open. Choose the sensor's port with ComPort.";

// After a read or write stopped because the sensor did not answer `result`'s
// unanswered register, or answered it damaged on every try: which register, why, and
// what that means for the sensor and the window. Empty for any other result.
std::string StoppedExchangeText(const ExchangeResult& result);

// The status-bar confirmation of a completed read or write.
std::string CompletedExchangeText(const ExchangeResult& result);
// ... and of a write read back the same.
std::string VerifiedWriteText(SensorFamily family);

inline constexpr std::string_view kWriteUncheckedText =
    "The configuration was written, but the sensor did not answer when it was read back to "
    "check it.";

} // namespace telmora
