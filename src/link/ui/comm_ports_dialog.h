#pragma once

#include "link/port_map.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace telmora {

// frmCommPorts, "Select Comm Port": one option per port, "Comm1" to "Comm4", each with
// the device it leads to beside it, and "OK". The dialog is hidden after use, not
// destroyed, so it keeps its selection between showings.
class CommPortsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CommPortsDialog(QWidget* parent = nullptr);

    // Enables the option of every available port and shows each port's device.
    void LoadPorts(const std::array<bool, kPortCount>& available, const PortDevices& devices);
    // Selects the option of port `number`; no option when `number` is not 1 to 4.
    void SelectPort(int number);
    // The first selected option in the order Comm1 to Comm4, or 0 when none is.
    int SelectedPort() const;

    QRadioButton* Option(int number) const;
    QLabel* DeviceLabel(int number) const;
    QPushButton* OkButton() const { return okButton_; }

  private:
    QGroupBox* frame_;
    QButtonGroup* group_;
    std::array<QRadioButton*, kPortCount> options_{};
    std::array<QLabel*, kPortCount> devices_{};
    QPushButton* okButton_;
};

} // namespace telmora
