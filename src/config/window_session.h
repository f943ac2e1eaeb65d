#pragma once

#include "config/sensor_config.h"
#include "config/sensor_family.h"
#include "config/window_texts.h"

// The main window's sessions replayed without a window, built on the core's round trip
// through the window's texts (config/window_texts.h): kelvo saves and sends what the
// window would, and the window's compare puts the side it does not show through the same
// trip as the side it shows.
namespace telmora {

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

// Right after start-up, "Get Configuration From Sensor" on a sensor of `family` whose
// registers read `sensorImage`, then "Save Configuration To Sensor": the image written back.
RegisterImage SensorImageAfterSensorRead(SensorFamily family, const RegisterImage& sensorImage);

// The record as the window shows it, read back as a save or a send reads it: right after
// start-up and "Get Configuration From Disk" of a file holding `fileImage` (family B
// layout), or "Get Configuration From Sensor" on a sensor of `family`.
SensorConfig RecordShownFromFile(const RegisterImage& fileImage);
SensorConfig RecordShownAfterSensorRead(SensorFamily family, const RegisterImage& sensorImage);

} // namespace telmora
