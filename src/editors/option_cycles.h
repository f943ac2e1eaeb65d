#pragma once

#include <string_view>

// The option labels of the output editors step through their states when clicked. The
// window keeps the state as the label's caption, so each step starts from the caption it
// finds; a caption that is none of the expected words steps to the first state.
namespace telmora {

enum class SwitchMode { Hyst, Wind };
enum class SwitchPowerUp { Off, On };
enum class SwitchEchoLoss { NC, Off, On };
enum class SwitchPolarity { Normal, Reversed }; // Normal: "Off" near the sensor, "On" beyond
enum class AnalogMode { Voltage, Current };
enum class AnalogEchoLoss { NC, Low, High };
enum class AnalogPowerUp { Low, High };

std::string_view Caption(SwitchMode mode);         // "Hyst", "Wind"
std::string_view Caption(SwitchPowerUp state);     // "Off", "On"
std::string_view Caption(SwitchEchoLoss response); // "NC", "Off", "On"
std::string_view Caption(AnalogMode mode);         // "Voltage", "Current"
std::string_view Caption(AnalogEchoLoss response); // "NC", "Low", "High"
std::string_view Caption(AnalogPowerUp state);     // "Low", "High"

// "Hyst" and "Wind" alternate.
SwitchMode SwitchModeAfterClick(std::string_view caption);
// "Off" and "On" alternate.
SwitchPowerUp SwitchPowerUpAfterClick(std::string_view caption);
// "NC", "On", "Off", "NC"...
SwitchEchoLoss SwitchEchoLossAfterClick(std::string_view caption);
// "Reverse Polarity" flips the captions either side of the setpoint.
SwitchPolarity PolarityAfterReverse(std::string_view nearHandleCaption);
// "Voltage" and "Current" alternate.
AnalogMode AnalogModeAfterClick(std::string_view caption);
// "NC", "Low", "High", "NC"...
AnalogEchoLoss AnalogEchoLossAfterClick(std::string_view caption);
// "Low" and "High" alternate.
AnalogPowerUp AnalogPowerUpAfterClick(std::string_view caption);

// Top of the analog output scale: 0 to 10 V or 0 to 20 mA.
float AnalogOutputMaxFor(AnalogMode mode);
// An output carried over a mode change: 0 to 10 V and 0 to 20 mA map onto each other by a
// factor of 2, so every handle stays where it was.
double OutputAfterModeChange(double output, AnalogMode newMode);

} // namespace telmora
