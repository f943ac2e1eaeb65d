#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace telmora {

struct SensorConfig;

// frmRunModeB: how a Kelvo-B sensor runs (continuous, polled, on an RS-485 network or
// triggered), its node address, priming cycles, push-button programming, temperature
// compensation, interval and pulses. Made for one use over the record it edits; OK
// stores into the record, Cancel and the close box store nothing.
class RunModeDialogB : public QDialog {
    Q_OBJECT
  public:
    // Fills the controls from `config`. Run mode 8, which only the sensor can set, selects
    // no option and shows a note saying so; OK keeps it unless the user picks a mode.
    RunModeDialogB(SensorConfig& config, QWidget* parent = nullptr);

    // Shows the dialog modally over `parent`; true when the user pressed OK.
    static bool Edit(SensorConfig& config, QWidget* parent);

    void accept() override;

  private:
    QGroupBox* BuildRunModeFrame();
    QGroupBox* BuildPushButtonFrame();
    QGroupBox* BuildTempCompFrame();
    QGroupBox* BuildTimingFrame();
    void Load();
    void RunModeOptionClick(int runMode);
    void SetPushButtonEnabled(bool enabled);

    SensorConfig& config_;
    QButtonGroup* runModeOptions_ = nullptr; // ids are the run-mode codes
    QLabel* lblRunModeNote_ = nullptr;
    QLabel* lblNodeAddress_ = nullptr;
    QLineEdit* txtNodeAddress_ = nullptr;
    QLabel* lblPrimingCycles_ = nullptr;
    QLineEdit* txtPrimingCycles_ = nullptr;
    QGroupBox* fraPBSwitch_ = nullptr;
    QRadioButton* optPBEnabled_ = nullptr;
    QRadioButton* optPBDisabled_ = nullptr;
    QRadioButton* optTempCompOn_ = nullptr;
    QRadioButton* optTempCompOff_ = nullptr;
    QLineEdit* txtNumberOfPulses_ = nullptr;
    QLineEdit* txtInterval_ = nullptr;
};

} // namespace telmora
