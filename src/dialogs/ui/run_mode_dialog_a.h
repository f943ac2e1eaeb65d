#pragma once

#include "dialogs/ui/run_mode_dialog.h"

class QGroupBox;

namespace telmora {

// frmRunModeA: how a Kelvo-A sensor runs (continuous, polled or triggered), its priming
// cycles, push-button programming, interval and pulses.
class RunModeDialogA : public RunModeDialog {
    Q_OBJECT
  public:
    // Fills the controls from `config`. A run mode family A does not have shows as
    // "Continuous (RS232)" with the priming input enabled; the record keeps it until OK.
    RunModeDialogA(SensorConfig& config, QWidget* parent = nullptr);

    // Shows the dialog modally over `parent`; true when the user pressed OK.
    static bool Edit(SensorConfig& config, QWidget* parent);

  protected:
    void RunModeOptionClick(int runMode) override;

  private:
    QGroupBox* BuildRunModeFrame();
    void Load();
};

} // namespace telmora
