#pragma once

#include <QDialog>

#include <initializer_list>
#include <string>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace telmora {

struct SensorConfig;

// What the run-mode dialogs of both families share: the run-mode options (their button ids
// are the run-mode codes), the priming input, push-button programming, pulses and interval,
// the layout, and the rules for storing them. Made for one use over the record it edits;
// OK stores into the record, Cancel and the close box store nothing.
class RunModeDialog : public QDialog {
    Q_OBJECT
  public:
    void accept() override;

  protected:
    RunModeDialog(SensorConfig& config, QWidget* parent, const char* name, const QString& title);

    // The family's own reaction to choosing a run mode.
    virtual void RunModeOptionClick(int runMode) = 0;
    // Stores what only the family's dialog holds; called by accept() before the rest.
    virtual void StoreOwnSettings() {}

    // `note` (may be null) on top, the run-mode frame at the left, `rightFrames` stacked at
    // the right, OK and Cancel below.
    void Assemble(QWidget* note, QGroupBox* runModeFrame,
                  std::initializer_list<QGroupBox*> rightFrames, const QString& okTooltip);

    QRadioButton* AddRunModeOption(QWidget* parent, int code, const char* name,
                                   const QString& caption, const QString& tooltip);
    // The priming input and its caption (txtPrimingCycles, lblPrimingCycles).
    void MakePrimingInput(QWidget* parent, const QString& tooltip);
    QGroupBox* BuildPushButtonFrame();
    // fraPwrTiming / Frame2: the number of pulses and the interval in milliseconds.
    QGroupBox* BuildTimingFrame(const char* frameName, int boxChars, Qt::Alignment boxAlignment);

    // Push-button programming, interval, pulses and priming from the record; the priming
    // input starts disabled until a run mode that primes is shown.
    void LoadShared(const std::string& intervalText);
    void SetPushButtonEnabled(bool enabled);

    SensorConfig& config_;
    QButtonGroup* runModeOptions_ = nullptr;
    QLabel* lblPrimingCycles_ = nullptr;
    QLineEdit* txtPrimingCycles_ = nullptr;
    QRadioButton* optPBDisabled_ = nullptr;

  private:
    QGroupBox* fraPBSwitch_ = nullptr;
    QRadioButton* optPBEnabled_ = nullptr;
    QLineEdit* txtNumberOfPulses_ = nullptr;
    QLineEdit* txtInterval_ = nullptr;
};

} // namespace telmora
