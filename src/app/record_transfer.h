#pragma once

#include "config/sensor_config.h"

class QLineEdit;

namespace telmora {

class OutputEditors;
struct MainMenus;

// The record and the main window meet only at two moments: a configuration that arrives
// (factory defaults, a sensor read, a file) is shown on the window, and the window is read
// back into the record just before a configuration leaves (to the sensor or a file).
// Between the two the window's text boxes, option captions and Security check marks are
// the working copy, and the values reach the record as the window shows them. Family A
// covers switches 1 and 2 without width or mode; family B all four switches with both.
class RecordTransfer {
  public:
    RecordTransfer(OutputEditors& editors, QLineEdit& description, SensorConfig& config,
                   const MainMenus& menus);

    void ShowRecordA() { ShowRecord(2, false); }
    void ShowRecordB() { ShowRecord(4, true); }
    void ReadWindowA() { ReadWindow(2, false); }
    void ReadWindowB() { ReadWindow(4, true); }

  private:
    void ShowRecord(int switches, bool withMode);
    void ShowSwitch(int n, bool withMode);
    void ShowAnalog();
    void ReadWindow(int switches, bool withMode);
    void ReadSwitch(int n, bool withMode);
    void ReadAnalog();

    OutputEditors& editors_;
    QLineEdit& description_;
    SensorConfig& config_;
    const MainMenus& menus_;
};

} // namespace telmora
