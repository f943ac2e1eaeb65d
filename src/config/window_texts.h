#pragma once

#include "config/sensor_config.h"
#include "config/sensor_family.h"

#include <array>
#include <map>
#include <string>
#include <string_view>

// The main window is the working copy of a configuration: a record shown on it becomes
// texts and option captions, and the record that leaves (to a file or a sensor) is read
// back from those texts. Distances pass through two-decimal texts, analog outputs through
// general text clamped to the output scale and rewritten with one decimal, options through
// their captions (config/option_codes.h). The window copies these texts to and from its
// controls; kelvo replays the same trip without a window, so both save and send the same.
namespace telmora {

// One switch row of the window.
struct WindowSwitch {
    std::string Setpoint;    // txtSwNSetpoint
    std::string Hyst;        // txtSwNHyst
    std::string Mode;        // lblSwNMode
    std::string PowerUp;     // lblSwNPowerUp
    std::string EchoLoss;    // lblSwNEchoLoss
    std::string Left;        // lblSwNLeft: the polarity's near-handle caption
    std::string Right;       // lblSwNRight
    bool SetAllowed = false; // check mark on mnuSwNSetAllowed
};

// A number box as the window last wrote it when it showed a record: the text and the
// full value it was written from. While the box still shows that text, reading it back
// gives the value, so a configuration passed on unedited never loses precision to the
// box's two (or one) decimals.
struct ShownNumber {
    std::string Text;
    float Value = 0;
};

// Every control of the main window that holds part of a configuration.
struct WindowTexts {
    std::string MinRange; // txtMinRange (lblMinRange shows the same text)
    std::string MaxRange; // txtMaxRange (lblMaxRange shows the same text)
    std::array<WindowSwitch, 4> Switches;
    std::string AnalogNearEndpoint; // txtAnalogNearEndpoint
    std::string AnalogFarEndpoint;  // txtAnalogFarEndpoint
    std::string AnalogNearOutput;   // txtAnalogNearOutput
    std::string AnalogFarOutput;    // txtAnalogFarOutput
    std::string AnalogPowerUp;      // lblAnalogPowerUp
    std::string AnalogEchoLoss;     // lblAnalogEchoLoss
    std::string AnalogMode;         // lblAnalogMode
    bool AnalogSetAllowed = false;  // check mark on mnuAnalogSetAllowed
    std::string Description;        // txtDescription
    // The number boxes written by the last show, by control name ("txtSw1Setpoint").
    std::map<std::string, ShownNumber> Shown;

    WindowSwitch& Switch(int n) { return Switches.at(static_cast<std::size_t>(n - 1)); }
    const WindowSwitch& Switch(int n) const { return Switches.at(static_cast<std::size_t>(n - 1)); }
};

// The share of the window a family's record covers: family A has switches 1 and 2
// without width or mode, family B all four with both.
struct WindowShare {
    int Switches;
    bool WidthAndMode;
};
inline constexpr WindowShare kWindowShareA{2, false};
inline constexpr WindowShare kWindowShareB{4, true};

// The controls as the window is built, before any record is shown (the analog power-up
// label shows "Off", a caption no level has).
WindowTexts DesignWindow();

// The placements' rewriting of a box (PlaceSwN, PlaceAnalog...): a setpoint is rewritten
// with two decimals; an endpoint only when it is a number (anything else stays as typed);
// an output is held within [outMin, outMax] and written with one decimal. Numbers are read
// in single precision, as the window holds them.
std::string PlacedSetpointText(std::string_view text);
std::string PlacedEndpointText(std::string_view text);
std::string PlacedOutputText(std::string_view text, float outMin, float outMax);

// An output entry held within the scale: above outMax gives outMax, then below outMin gives
// outMin. A value that is not a number gives outMin.
float LimitOutput(float value, float outMin, float outMax);

// Record to window: the two-decimal texts, the captions of the codes, then the placements'
// rewriting (outputs clamped to the record's output scale). Controls outside the family's
// share keep their texts, and so does a label whose code has no caption (analog echo
// loss 12).
void ShowRecordA(const SensorConfig& record, WindowTexts& window);
void ShowRecordB(const SensorConfig& record, WindowTexts& window);

// Window to record: numbers read from the texts (a box still showing what the last show
// wrote there gives the value it was written from), codes from the captions, the outputs put
// in rising order with AnalogSlope telling which end carries the lower one. Fields outside
// the family's share keep their values.
void ReadWindowA(const WindowTexts& window, SensorConfig& record);
void ReadWindowB(const WindowTexts& window, SensorConfig& record);

// The family's show or read-back (family None changes nothing).
void ShowRecord(SensorFamily family, const SensorConfig& record, WindowTexts& window);
void ReadWindow(SensorFamily family, const WindowTexts& window, SensorConfig& record);

} // namespace telmora
