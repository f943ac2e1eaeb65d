#include "link/ui/comm_ports_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace telmora {

CommPortsDialog::CommPortsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCommPorts"));
    setWindowTitle(QStringLiteral("Select Comm Port"));
    setAccessibleName(QStringLiteral("Select Comm Port"));
    setModal(true);

    frame_ = new QGroupBox(QStringLiteral("Comm Port"), this);
    frame_->setObjectName(QStringLiteral("fraCommPort"));
    frame_->setAccessibleName(QStringLiteral("Comm Port"));
    group_ = new QButtonGroup(this);
    auto* grid = new QGridLayout(frame_);
    for (int n = 1; n <= kPortCount; ++n) {
        auto* option = new QRadioButton(QStringLiteral("Comm%1").arg(n), frame_);
        option->setObjectName(QStringLiteral("optComm%1").arg(n));
        option->setEnabled(false);
        auto* device = new QLabel(frame_);
        device->setObjectName(QStringLiteral("lblComm%1Device").arg(n));
        group_->addButton(option, n);
        grid->addWidget(option, n - 1, 0);
        grid->addWidget(device, n - 1, 1);
        options_[n - 1] = option;
        devices_[n - 1] = device;
    }

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("cmdOK"));
    okButton_->setAccessibleName(QStringLiteral("OK"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame_);
    layout->addWidget(okButton_, 0, Qt::AlignRight);
}

void CommPortsDialog::LoadPorts(const std::array<bool, kPortCount>& available,
                                const PortDevices& devices) {
    for (int n = 1; n <= kPortCount; ++n) {
        const auto k = static_cast<std::size_t>(n - 1);
        const QString device =
            devices[k].empty() ? QStringLiteral("no device") : QString::fromStdString(devices[k]);
        options_[k]->setEnabled(available[k]);
        options_[k]->setAccessibleName(QStringLiteral("Comm%1, %2").arg(n).arg(device));
        devices_[k]->setText(device);
        devices_[k]->setAccessibleName(device);
    }
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

QRadioButton* CommPortsDialog::Option(int number) const {
    return options_.at(static_cast<std::size_t>(number - 1));
}

QLabel* CommPortsDialog::DeviceLabel(int number) const {
    return devices_.at(static_cast<std::size_t>(number - 1));
}

} // namespace telmora
