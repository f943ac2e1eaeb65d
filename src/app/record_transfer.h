#pragma once

#include "config/sensor_config.h"
#include "config/sensor_family.h"
#include "config/window_texts.h"

#include <map>
#include <string>
#include <vector>

class QLineEdit;

namespace telmora {

class OutputEditors;
struct MainMenus;

// The record and the main window meet only at two moments: a configuration that arrives
// (factory defaults, a sensor read, a file) is shown on the window, and the window is read
// back into the record just before a configuration leaves (to the sensor or a file).
// Between the two the window's text boxes, option captions and Security check marks are
// the working copy. What the texts say is decided by the core's round trip
// (config/window_texts.h); this class only copies them to and from the controls.
class RecordTransfer {
  public:
    RecordTransfer(OutputEditors& editors, QLineEdit& description, SensorConfig& config,
                   const MainMenus& menus);

    void ShowRecordA() { Show(SensorFamily::A); }
    void ShowRecordB() { Show(SensorFamily::B); }
    void ReadWindowA() { ReadWindow(SensorFamily::A, Texts(), config_); }
    void ReadWindowB() { ReadWindow(SensorFamily::B, Texts(), config_); }
    // What ReadWindowB would make of the record, leaving the record as it is. Family B's
    // share is the whole window, whatever family it is set up for.
    SensorConfig WindowRecord() const;

  private:
    void Show(SensorFamily family);
    // The controls' texts, captions and check marks as they stand.
    WindowTexts Texts() const;
    // Writes the family's share of `texts` onto the controls through the editors' display
    // operations, then places the handles.
    void Apply(const WindowTexts& texts, WindowShare share);
    void ApplySwitch(const WindowSwitch& texts, int n, bool widthAndMode);
    void ApplyAnalog(const WindowTexts& texts);
    // The number boxes whose shown values are remembered.
    std::vector<QLineEdit*> NumberBoxes() const;
    // A box's text that differs from what the last show wrote there drops its value.
    void Forget(const QLineEdit* box);

    OutputEditors& editors_;
    QLineEdit& description_;
    SensorConfig& config_;
    const MainMenus& menus_;
    // What the last show wrote into each number box, by control name.
    std::map<std::string, ShownNumber> shown_;
};

} // namespace telmora
