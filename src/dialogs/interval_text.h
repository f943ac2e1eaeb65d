#pragma once

#include <string>
#include <string_view>

// The measurement interval as the run-mode dialogs show and read it: the record holds
// seconds as a float, the user types milliseconds.
namespace telmora {

// Limits of the interval the sensor can count (8 microsecond steps in 16 bits).
inline constexpr float kIntervalMinSeconds = 0.001f;
inline constexpr float kIntervalMaxSeconds = 0.524f;

// Whole milliseconds ("#0"), as family A shows the interval.
std::string FormatIntervalWholeMs(float seconds);

// Milliseconds in their shortest form, up to 7 significant digits ("33.3"), as family B
// shows the interval.
std::string FormatIntervalMs(float seconds);

// The typed milliseconds (not rounded) as seconds, forced into the interval limits.
// Text that is not a number reads as 0 and so gives the shortest interval.
float ReadIntervalSeconds(std::string_view text);

} // namespace telmora
