#pragma once

#include "link/port_map.h"
#include "link/ui/port_probe.h"

#include <QDialog>
#include <QList>

#include <array>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace telmora {

class SensorSearch;
class SerialDeviceSource;
struct SerialDevice;

// frmCommPorts, "Select Comm Port": one option per port, "Comm1" to "Comm4", each with
// the device it leads to beside it and a chooser that maps it to any serial device
// present; "Find Sensor", "OK" and "Cancel". A port that cannot be opened is disabled and
// says why in its tooltip. "OK" saves the mapping the user changed; "Cancel" keeps the
// mapping and the selection as they were. The dialog is hidden after use, not destroyed,
// so it keeps its selection between showings.
class CommPortsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CommPortsDialog(QWidget* parent = nullptr);
    ~CommPortsDialog() override;

    // Where the choosers' devices come from (the system's list unless set); not owned.
    void SetDeviceSource(const SerialDeviceSource* source);

    // Shows each port's device and whether it can be opened, and fills the choosers.
    void LoadPorts(const std::array<PortCheck, kPortCount>& checks, const PortDevices& devices);
    // Selects the option of port `number`; no option when `number` is not 1 to 4.
    void SelectPort(int number);
    // The first selected option in the order Comm1 to Comm4, or 0 when none is.
    int SelectedPort() const;
    // Each port's device as the user has left it.
    const PortDevices& Mapping() const { return mapping_; }

    QRadioButton* Option(int number) const;
    QLabel* DeviceLabel(int number) const;
    QComboBox* DeviceChooser(int number) const;
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }
    QPushButton* FindButton() const { return findButton_; }
    QLabel* FindProgress() const { return findProgress_; }

    void accept() override;
    void reject() override;

  private:
    void FillChooser(int number, const QList<SerialDevice>& present);
    void ChooseDevice(int number, const QString& device);
    void ShowPort(int number, const PortCheck& check);
    void FindSensor();
    void SearchFinished(int number);
    void SetSearching(bool searching);

    const SerialDeviceSource* source_ = nullptr;
    QGroupBox* frame_;
    QButtonGroup* group_;
    std::array<QRadioButton*, kPortCount> options_{};
    std::array<QLabel*, kPortCount> devices_{};
    std::array<QComboBox*, kPortCount> choosers_{};
    QLabel* findProgress_;
    QPushButton* findButton_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    SensorSearch* search_;
    PortDevices loaded_{};
    PortDevices mapping_{};
    bool stopped_ = false;
};

} // namespace telmora
