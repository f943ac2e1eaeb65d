#include "link/ui/comm_ports_dialog.h"

#include "link/ui/port_map_file.h"
#include "link/ui/sensor_search.h"
#include "link/ui/serial_devices.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace telmora {

namespace {

QString DeviceText(const QString& device) {
    return device.isEmpty() ? QStringLiteral("no device") : device;
}

} // namespace

CommPortsDialog::CommPortsDialog(QWidget* parent)
    : QDialog(parent), source_(&SystemDevices()), search_(new SensorSearch(this)) {
    setObjectName(QStringLiteral("frmCommPorts"));
    setWindowTitle(QStringLiteral("Select Comm Port"));
    setAccessibleName(QStringLiteral("Select Comm Port"));
    setModal(true);

    frame_ = new QGroupBox(QStringLiteral("Comm Port"), this);
    frame_->setObjectName(QStringLiteral("fraCommPort"));
    frame_->setAccessibleName(QStringLiteral("Comm Port"));
    group_ = new QButtonGroup(this);
    auto* grid = new QGridLayout(frame_);
    grid->setColumnStretch(1, 1);
    QWidget* previous = nullptr;
    for (int n = 1; n <= kPortCount; ++n) {
        const auto k = static_cast<std::size_t>(n - 1);
        auto* option = new QRadioButton(QStringLiteral("Comm%1").arg(n), frame_);
        option->setObjectName(QStringLiteral("optComm%1").arg(n));
        option->setAccessibleName(QStringLiteral("Comm %1").arg(n));
        option->setEnabled(false);
        auto* device = new QLabel(frame_);
        device->setObjectName(QStringLiteral("lblComm%1Device").arg(n));
        device->setAccessibleName(QStringLiteral("Comm %1 device").arg(n));
        device->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto* chooser = new QComboBox(frame_);
        chooser->setObjectName(QStringLiteral("cboComm%1Device").arg(n));
        chooser->setAccessibleName(QStringLiteral("Map Comm %1 to").arg(n));
        chooser->setToolTip(QStringLiteral("Map Comm%1 to a serial device present").arg(n));
        chooser->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        connect(chooser, &QComboBox::activated, this, [this, n, chooser](int index) {
            ChooseDevice(n, chooser->itemData(index).toString());
        });
        group_->addButton(option, n);
        grid->addWidget(option, n - 1, 0);
        grid->addWidget(device, n - 1, 1);
        grid->addWidget(chooser, n - 1, 2);
        options_[k] = option;
        devices_[k] = device;
        choosers_[k] = chooser;
        // Row by row: a port's option, then its chooser.
        if (previous != nullptr)
            setTabOrder(previous, option);
        setTabOrder(option, chooser);
        previous = chooser;
    }

    findProgress_ = new QLabel(this);
    findProgress_->setObjectName(QStringLiteral("lblFindProgress"));
    findProgress_->setAccessibleName(QStringLiteral("Find Sensor progress"));
    findButton_ = new QPushButton(QStringLiteral("&Find Sensor"), this);
    findButton_->setObjectName(QStringLiteral("cmdFindSensor"));
    findButton_->setAccessibleName(QStringLiteral("Find Sensor"));
    findButton_->setToolTip(
        QStringLiteral("Try each port offered in turn and select the first whose sensor answers"));
    findButton_->setAutoDefault(false);
    connect(findButton_, &QPushButton::clicked, this, &CommPortsDialog::FindSensor);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("cmdOK"));
    okButton_->setAccessibleName(QStringLiteral("OK"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cmdCancel"));
    cancelButton_->setAccessibleName(QStringLiteral("Cancel"));
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(previous, findButton_);
    setTabOrder(findButton_, okButton_);
    setTabOrder(okButton_, cancelButton_);

    connect(search_, &SensorSearch::Trying, this,
            [this](int number, const QString& device, int index, int count) {
                findProgress_->setText(QStringLiteral("Trying Comm%1 (%2), %3 of %4...")
                                           .arg(number)
                                           .arg(device)
                                           .arg(index)
                                           .arg(count));
            });
    connect(search_, &SensorSearch::Finished, this, &CommPortsDialog::SearchFinished);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(findButton_);
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame_);
    layout->addWidget(findProgress_);
    layout->addLayout(buttons);
}

CommPortsDialog::~CommPortsDialog() = default;

void CommPortsDialog::SetDeviceSource(const SerialDeviceSource* source) {
    source_ = source != nullptr ? source : &SystemDevices();
}

void CommPortsDialog::LoadPorts(const std::array<PortCheck, kPortCount>& checks,
                                const PortDevices& devices) {
    loaded_ = devices;
    mapping_ = devices;
    findProgress_->clear();
    const QList<SerialDevice> present = source_->Devices();
    for (int n = 1; n <= kPortCount; ++n) {
        FillChooser(n, present);
        ShowPort(n, checks[static_cast<std::size_t>(n - 1)]);
    }
}

// The chooser offers "none", every device present, and the port's own device when it
// is none of them (a link or a pseudo-terminal the list does not know).
void CommPortsDialog::FillChooser(int number, const QList<SerialDevice>& present) {
    QComboBox* chooser = DeviceChooser(number);
    const QString current = QString::fromStdString(mapping_[static_cast<std::size_t>(number - 1)]);
    chooser->clear();
    chooser->addItem(QStringLiteral("none"), QString());
    int selected = 0;
    for (const SerialDevice& device : present) {
        chooser->addItem(device.Caption(), device.MapPath());
        chooser->setItemData(chooser->count() - 1, device.MapPath(), Qt::ToolTipRole);
        if (selected == 0 && device.IsNamedBy(current))
            selected = chooser->count() - 1;
    }
    if (selected == 0 && !current.isEmpty()) {
        chooser->insertItem(1, current, current);
        selected = 1;
    }
    chooser->setCurrentIndex(selected);
}

void CommPortsDialog::ChooseDevice(int number, const QString& device) {
    mapping_[static_cast<std::size_t>(number - 1)] = device.toStdString();
    findProgress_->clear();
    ShowPort(number, CheckPort(device));
}

void CommPortsDialog::ShowPort(int number, const PortCheck& check) {
    const auto k = static_cast<std::size_t>(number - 1);
    const QString device = DeviceText(QString::fromStdString(mapping_[k]));
    QRadioButton* option = options_[k];
    if (!check.Usable() && option->isChecked()) {
        group_->setExclusive(false);
        option->setChecked(false);
        group_->setExclusive(true);
    }
    option->setEnabled(check.Usable());
    // A disabled port says why; Qt shows tooltips on disabled controls too.
    option->setToolTip(check.Usable() ? device : check.Reason);
    option->setAccessibleDescription(check.Usable() ? device
                                                    : device + QStringLiteral(", ") + check.Reason);
    // The reason is shown too, but not the obvious one of a port that leads nowhere.
    const bool saysWhy = !check.Usable() && check.State != PortState::NotMapped;
    devices_[k]->setText(saysWhy ? device + QStringLiteral(" - ") + check.Reason : device);
    devices_[k]->setToolTip(check.Usable() ? QString() : check.Reason);
}

void CommPortsDialog::SelectPort(int number) {
    // An exclusive group keeps one option checked; lift that to clear them all.
    group_->setExclusive(false);
    for (auto* option : options_)
        option->setChecked(false);
    group_->setExclusive(true);
    if (number >= 1 && number <= kPortCount)
        options_[static_cast<std::size_t>(number - 1)]->setChecked(true);
}

int CommPortsDialog::SelectedPort() const {
    for (int n = 1; n <= kPortCount; ++n)
        if (options_[static_cast<std::size_t>(n - 1)]->isChecked())
            return n;
    return 0;
}

void CommPortsDialog::FindSensor() {
    if (search_->Running()) {
        stopped_ = true;
        search_->Stop();
        return;
    }
    QList<std::pair<int, QString>> ports;
    for (int n = 1; n <= kPortCount; ++n)
        if (Option(n)->isEnabled())
            ports.append({n, QString::fromStdString(mapping_[static_cast<std::size_t>(n - 1)])});
    if (ports.isEmpty()) {
        findProgress_->setText(QStringLiteral("No port can be opened to look for the sensor."));
        return;
    }
    stopped_ = false;
    SetSearching(true);
    search_->Start(ports);
}

void CommPortsDialog::SearchFinished(int number) {
    SetSearching(false);
    if (number != 0) {
        SelectPort(number);
        findProgress_->setText(QStringLiteral("The sensor answered on Comm%1.").arg(number));
    } else {
        findProgress_->setText(stopped_ ? QStringLiteral("Search stopped.")
                                        : QStringLiteral("No sensor answered on any port."));
    }
}

void CommPortsDialog::SetSearching(bool searching) {
    findButton_->setText(searching ? QStringLiteral("&Stop") : QStringLiteral("&Find Sensor"));
    findButton_->setAccessibleName(searching ? QStringLiteral("Stop finding the sensor")
                                             : QStringLiteral("Find Sensor"));
    frame_->setEnabled(!searching);
    okButton_->setEnabled(!searching);
}

void CommPortsDialog::accept() {
    if (search_->Running()) {
        stopped_ = true;
        search_->Stop();
    }
    if (const QString error = SavePortMapChanges(loaded_, mapping_); !error.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Warning"), error);
        return; // the dialog stays, the choice can be made again or cancelled
    }
    loaded_ = mapping_;
    QDialog::accept();
}

void CommPortsDialog::reject() {
    if (search_->Running()) {
        stopped_ = true;
        search_->Stop();
    }
    mapping_ = loaded_;
    QDialog::reject();
}

QRadioButton* CommPortsDialog::Option(int number) const {
    return options_.at(static_cast<std::size_t>(number - 1));
}

QLabel* CommPortsDialog::DeviceLabel(int number) const {
    return devices_.at(static_cast<std::size_t>(number - 1));
}

QComboBox* CommPortsDialog::DeviceChooser(int number) const {
    return choosers_.at(static_cast<std::size_t>(number - 1));
}

} // namespace telmora
