#pragma once

#include "link/ui/port_probe.h"

#include <QObject>
#include <QString>

#include <array>

class QWidget;

namespace telmora {

class CommPortsDialog;
class SensorLink;
class SerialDeviceSource;

// Port selection: which of the ports 1 to 4 can be opened, the user's choice in
// frmCommPorts, the choice remembered in "CustFile", and opening the chosen port.
// The main window owns one; it calls OpenSavedPort at start-up and chooseComPort from
// "&ComPort".
class PortChooser : public QObject {
    Q_OBJECT
  public:
    // `custFilePath` is the file that remembers the port ("CustFile" in the working
    // directory); the dialog is created as a child of `dialogParent`.
    PortChooser(SensorLink& link, QWidget* dialogParent,
                QString custFilePath = QStringLiteral("CustFile"), QObject* parent = nullptr);
    ~PortChooser() override;

    // Closes the open port and finds out which ports can be opened, without changing any
    // port's line settings and without touching a port another program holds.
    void ScanPorts();
    // Start-up: opens the port saved in "CustFile", asking through the dialog first when
    // none valid is saved.
    void OpenSavedPort();
    // "&ComPort": scan, let the user choose, remember the choice and open the port.
    void ChooseComPort();

    // Where the dialog's choosers find the serial devices present (the system's list
    // unless set); not owned.
    void SetDeviceSource(const SerialDeviceSource* source);

    int PortNumber() const { return portNumber_; }
    const std::array<bool, 4>& PortAvailable() const { return portAvailable_; }
    // Why each port is or is not available, as the last scan found.
    const std::array<PortCheck, 4>& PortChecks() const { return portChecks_; }
    CommPortsDialog& Dialog() { return *dialog_; }

  private:
    void ShowDialog();
    void SavePortNumber();

    SensorLink& link_;
    CommPortsDialog* dialog_;
    QString custFilePath_;
    int portNumber_ = 0;
    std::array<bool, 4> portAvailable_{};
    std::array<PortCheck, 4> portChecks_{};
};

} // namespace telmora
