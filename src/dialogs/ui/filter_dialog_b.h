#pragma once

#include <QDialog>

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace telmora {

struct SensorConfig;

// frmFilterB: chooses one of a Kelvo-B sensor's seven filters and, for the average,
// maximum and minimum, how many measurements they combine. Made for one use over the
// record it edits; OK stores into the record, Cancel and the close box store nothing.
class FilterDialogB : public QDialog {
    Q_OBJECT
  public:
    // Fills the controls from `config`; a filter code outside 1 to 7 selects no option
    // and leaves the record alone.
    FilterDialogB(SensorConfig& config, QWidget* parent = nullptr);

    // Shows the dialog modally over `parent`; true when the user pressed OK.
    static bool Edit(SensorConfig& config, QWidget* parent);

    void accept() override;

  private:
    void Load();
    void FilterOptionClick(int filterType);

    SensorConfig& config_;
    QButtonGroup* filterOptions_; // ids are the filter codes
    QLabel* lblNumberOfSamples_;
    QLineEdit* txtNumberOfSamples_;
};

} // namespace telmora
