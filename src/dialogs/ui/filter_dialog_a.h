#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace telmora {

struct SensorConfig;

// frmFilterA: chooses a Kelvo-A sensor's filter, none or the average of 2 to 255
// measurements. Made for one use over the record it edits; OK stores into the record,
// Cancel and the close box store nothing.
class FilterDialogA : public QDialog {
    Q_OBJECT
  public:
    // Fills the controls from `config`. A filter type that family A does not have is
    // put back to "None" in the record at once, whatever the user does next.
    FilterDialogA(SensorConfig& config, QWidget* parent = nullptr);

    // Shows the dialog modally over `parent`; true when the user pressed OK.
    static bool Edit(SensorConfig& config, QWidget* parent);

    void accept() override;

  private:
    void Load();
    void optFilterNoneClick();
    void optAverageOfClick();

    SensorConfig& config_;
    QRadioButton* optFilterNone_;
    QRadioButton* optAverageOf_;
    QLabel* lblNumberOfSamples_;
    QLineEdit* txtNumberOfSamples_;
};

} // namespace telmora
