#include "link/ui/port_chooser.h"

#include "link/cust_file.h"
#include "link/port_map.h"
#include "link/ui/comm_ports_dialog.h"
#include "link/ui/port_probe.h"
#include "link/ui/sensor_link.h"

#include <QFile>

namespace telmora {

namespace {

bool IsValidPort(int number) {
    return number >= 1 && number <= kPortCount;
}

} // namespace

PortChooser::PortChooser(SensorLink& link, QWidget* dialogParent, QString custFilePath,
                         QObject* parent)
    : QObject(parent), link_(link), dialog_(new CommPortsDialog(dialogParent)),
      custFilePath_(std::move(custFilePath)) {}

PortChooser::~PortChooser() = default;

void PortChooser::ScanPorts() {
    portAvailable_.fill(false);
    link_.ClosePort();
    const PortDevices devices = LoadPortDevices();
    for (std::size_t k = 0; k < devices.size(); ++k) {
        portChecks_[k] = CheckPort(QString::fromStdString(devices[k]));
        portAvailable_[k] = portChecks_[k].Usable();
    }
}

void PortChooser::SetDeviceSource(const SerialDeviceSource* source) {
    dialog_->SetDeviceSource(source);
}

void PortChooser::OpenSavedPort() {
    portNumber_ = ReadCustFile(QFile::encodeName(custFilePath_).toStdString());
    if (!IsValidPort(portNumber_)) {
        ShowDialog();
        SavePortNumber();
    }
    if (IsValidPort(portNumber_))
        link_.OpenPort(portNumber_);
}

void PortChooser::ChooseComPort() {
    if (link_.IsBusy())
        return;
    ScanPorts();
    SavePortNumber();
    dialog_->SelectPort(portNumber_);
    // A lost port coming back meanwhile is opened afterwards, as the user chose.
    link_.HoldReplugWatch(true);
    ShowDialog();
    link_.HoldReplugWatch(false);
    SavePortNumber();
    if (IsValidPort(portNumber_))
        link_.OpenPort(portNumber_);
}

void PortChooser::ShowDialog() {
    // The options follow the latest scan every time the dialog is shown, so it never
    // offers a port the scan found unusable.
    dialog_->LoadPorts(portChecks_, LoadPortDevices());
    // "OK" takes the first selected option (and has saved the mapping the user changed);
    // "Cancel" or closing the dialog keeps the port and the mapping.
    if (dialog_->exec() == QDialog::Accepted && dialog_->SelectedPort() != 0)
        portNumber_ = dialog_->SelectedPort();
}

void PortChooser::SavePortNumber() {
    WriteCustFile(QFile::encodeName(custFilePath_).toStdString(),
                  static_cast<std::int16_t>(portNumber_));
}

} // namespace telmora
