#pragma once

#include "dialogs/ui/run_mode_dialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace telmora {

// frmRunModeB: how a Kelvo-B sensor runs (continuous, polled, on an RS-485 network or
// triggered), its node address, priming cycles, push-button programming, temperature
// compensation, interval and pulses.
class RunModeDialogB : public RunModeDialog {
    Q_OBJECT
  public:
    // Fills the controls from `config`. Run mode 8, which only the sensor can set, selects
    // no option and shows a note saying so; OK keeps it unless the user picks a mode.
    RunModeDialogB(SensorConfig& config, QWidget* parent = nullptr);

    // Shows the dialog modally over `parent`; true when the user pressed OK.
    static bool Edit(SensorConfig& config, QWidget* parent);

  protected:
    void RunModeOptionClick(int runMode) override;
    void StoreOwnSettings() override;

  private:
    QGroupBox* BuildRunModeFrame();
    QGroupBox* BuildTempCompFrame();
    void Load();

    QLabel* lblRunModeNote_ = nullptr;
    QLabel* lblNodeAddress_ = nullptr;
    QLineEdit* txtNodeAddress_ = nullptr;
    QRadioButton* optTempCompOn_ = nullptr;
    QRadioButton* optTempCompOff_ = nullptr;
};

} // namespace telmora
