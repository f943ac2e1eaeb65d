#pragma once

#include "config/sensor_config.h"
#include "config/sensor_family.h"

#include <array>
#include <string>

// The main window's share in what reaches a file or a sensor. The window is the working
// copy of a configuration: a record shown on it becomes texts and option captions, and the
// record that leaves is read back from those texts. Distances pass through two-decimal
// texts, analog outputs through general text clamped to the output scale and rewritten with
// one decimal, options through their captions. kelvo replays that trip here so that what
// it saves or sends is what the window would, without a window.
namespace telmora::kelvo {

// One switch row of the window.
struct WindowSwitch {
    std::string Setpoint;    // txtSwNSetpoint
    std::string Hyst;        // txtSwNHyst
    std::string Mode;        // lblSwNMode: "Hyst" or "Wind"
    std::string PowerUp;     // lblSwNPowerUp: "Off" or "On"
    std::string EchoLoss;    // lblSwNEchoLoss: "NC", "Off" or "On"
    std::string Left;        // lblSwNLeft: "Off" (normal polarity) or "On" (reversed)
    std::string Right;       // lblSwNRight
    bool SetAllowed = false; // check mark on mnuSwNSetAllowed
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
    std::string AnalogPowerUp;      // lblAnalogPowerUp: "Low" or "High"
    std::string AnalogEchoLoss;     // lblAnalogEchoLoss: "NC", "Low" or "High"
    std::string AnalogMode;         // lblAnalogMode: "Voltage" or "Current"
    bool AnalogSetAllowed = false;  // check mark on mnuAnalogSetAllowed
    std::string Description;        // txtDescription

    WindowSwitch& Switch(int n) { return Switches.at(static_cast<std::size_t>(n - 1)); }
    const WindowSwitch& Switch(int n) const { return Switches.at(static_cast<std::size_t>(n - 1)); }
};

// The controls as the window is built, before any record is shown.
WindowTexts DesignWindow();

// Record to window: the two-decimal texts, the captions set by the editors' state
// operations, then the placements (switch setpoints reformatted, outputs clamped to the
// record's output scale and rewritten with one decimal). A family A record leaves the
// controls only family B has as they were. A caption the record's code does not name
// (analog echo loss 12) keeps what it showed.
void ShowRecordA(const SensorConfig& record, WindowTexts& window);
void ShowRecordB(const SensorConfig& record, WindowTexts& window);

// Window to record: numbers read from the texts, codes from the captions, the outputs put
// in rising order with AnalogSlope telling which end carries the lower one. Fields the
// window does not hold keep their values.
void ReadWindowA(const WindowTexts& window, SensorConfig& record);
void ReadWindowB(const WindowTexts& window, SensorConfig& record);

// The family's show or read-back (family None changes nothing).
void ShowRecord(SensorFamily family, const SensorConfig& record, WindowTexts& window);
void ReadWindow(SensorFamily family, const WindowTexts& window, SensorConfig& record);

// The record, register image and window right after the program has started: family B
// defaults shown, CountDistance 0.003384, an image of zeros.
struct WindowSession {
    SensorConfig Record;
    RegisterImage Image{};
    WindowTexts Window;
};
WindowSession StartUpSession();

// Right after start-up, "Get Configuration From Sensor" on a sensor of `family` whose
// registers read `sensorImage`, then "&Save Configuration to Disk": the image whose
// elements 0 to 127 the file holds.
RegisterImage FileImageAfterSensorRead(SensorFamily family, const RegisterImage& sensorImage);

// Right after start-up, "Get Configuration From Disk" of a file holding `fileImage`
// (elements 0 to 127), then "Save Configuration To Sensor" to a sensor of `family` (the
// window set up for that family): the image whose registers are written.
RegisterImage SensorImageFromFile(const RegisterImage& fileImage, SensorFamily family);

} // namespace telmora::kelvo
