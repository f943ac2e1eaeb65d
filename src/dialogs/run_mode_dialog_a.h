#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace telmora {

struct SensorConfig;

// frmRunModeA: how a Kelvo-A sensor runs (continuous, polled or triggered), its priming
// cycles, push-button programming, interval and pulses. Made for one use over the record
// it edits; OK stores into the record, Cancel and the close box store nothing.
class RunModeDialogA : public QDialog {
    Q_OBJECT
  public:
    // Fills the controls from `config`. A run mode family A does not have shows as
    // "Continuous (RS232)" with the priming input enabled; the record keeps it until OK.
    RunModeDialogA(SensorConfig& config, QWidget* parent = nullptr);

    // Shows the dialog modally over `parent`; true when the user pressed OK.
    static bool Edit(SensorConfig& config, QWidget* parent);

    void accept() override;

  private:
    QGroupBox* BuildRunModeFrame();
    QGroupBox* BuildPushButtonFrame();
    QGroupBox* BuildTimingFrame();
    void Load();
    void RunModeOptionClick(int runMode);
    void SetPushButtonEnabled(bool enabled);

    SensorConfig& config_;
    QButtonGroup* runModeOptions_; // ids are the run-mode codes
    QLabel* lblPrimingCycles_ = nullptr;
    QLineEdit* txtPrimingCycles_ = nullptr;
    QGroupBox* fraPBSwitch_ = nullptr;
    QRadioButton* optPBEnabled_ = nullptr;
    QRadioButton* optPBDisabled_ = nullptr;
    QLineEdit* txtNumberOfPulses_ = nullptr;
    QLineEdit* txtInterval_ = nullptr;
};

} // namespace telmora
