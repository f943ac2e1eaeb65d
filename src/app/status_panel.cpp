#include "app/status_panel.h"

#include "link/link_protocol.h"
#include "link/ui/sensor_link.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

namespace telmora {

namespace {

QLabel* AddField(QStatusBar* bar, const char* name) {
    auto* label = new QLabel(bar);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setContentsMargins(4, 0, 4, 0);
    bar->addPermanentWidget(label);
    return label;
}

// The label shows `text`; a screen reader speaks it after what the field is.
void SetField(QLabel* label, const QString& what, const QString& text) {
    label->setText(text);
    label->setAccessibleName(what + ": " + text);
    label->setVisible(!text.isEmpty());
}

} // namespace

StatusPanel::StatusPanel(QStatusBar* bar) : bar_(bar) {
    progress_ = new QProgressBar(bar);
    progress_->setObjectName("ProgressBar1");
    progress_->setAccessibleName("Configuration transfer progress");
    progress_->setRange(10, 100);
    progress_->setFormat("register %v");
    progress_->setMaximumWidth(180);
    progress_->hide();
    bar->addPermanentWidget(progress_);

    activity_ = AddField(bar, "lblStatusActivity");
    port_ = AddField(bar, "lblStatusPort");
    family_ = AddField(bar, "lblStatusFamily");
    log_ = AddField(bar, "lblStatusLog");
    readings_ = AddField(bar, "lblStatusReadings");
    scale_ = AddField(bar, "lblStatusScale");
    ShowPort(0, {});
    ShowFamily(SensorFamily::None);
    ShowActivity({});
    ShowLog({});
    ShowReadings({});
    ShowScale({});
}

void StatusPanel::ShowReadings(const QString& note) {
    SetField(readings_, "Readings", note);
}

void StatusPanel::FollowLink(const SensorLink& link) {
    const auto showPort = [this, &link] { ShowPort(link.PortNumber(), link.PortDevice()); };
    QObject::connect(&link, &SensorLink::PortOpenChanged, bar_, showPort);
    QObject::connect(&link, &SensorLink::PortError, bar_, [this, &link](const QString& message) {
        ShowPort(link.PortNumber(), link.PortDevice(), message);
    });
    QObject::connect(&link, &SensorLink::BusyChanged, bar_, [this](bool busy) {
        ShowActivity(busy ? QString("Looking for the sensor") : QString());
    });
    QObject::connect(&link, &SensorLink::ProgressChanged, bar_, [this, &link](int registerNumber) {
        progress_->setValue(registerNumber);
        const char* what = link.Protocol().LinkState() == 4 ? "Writing" : "Reading";
        ShowActivity(QString("%1 configuration: register %2").arg(what).arg(registerNumber));
    });
    QObject::connect(&link, &SensorLink::ProgressVisibleChanged, progress_, &QWidget::setVisible);
    showPort();
}

void StatusPanel::ShowPort(int number, const QString& device, const QString& problem) {
    QString text = "No port open";
    if (number >= 1) {
        text = device.isEmpty() ? QString("Comm%1").arg(number)
                                : QString("Comm%1: %2").arg(number).arg(device);
    }
    SetField(port_, "Serial port", text);
    port_->setToolTip(problem);
    port_->setAccessibleDescription(problem);
}

void StatusPanel::ShowFamily(SensorFamily family) {
    switch (family) {
    case SensorFamily::A:
        SetField(family_, "Sensor family", "Kelvo-A");
        break;
    case SensorFamily::B:
        SetField(family_, "Sensor family", "Kelvo-B");
        break;
    case SensorFamily::None:
        SetField(family_, "Sensor family", "No sensor family");
        break;
    }
}

void StatusPanel::ShowActivity(const QString& activity) {
    SetField(activity_, "Link", activity);
}

void StatusPanel::ShowLog(const QString& path) {
    SetField(log_, "Data log",
             path.isEmpty() ? QString("Not logging")
                            : QString("Logging to %1").arg(QDir::toNativeSeparators(path)));
}

void StatusPanel::ShowScale(const QString& note) {
    SetField(scale_, "Distance scale", note);
}

void StatusPanel::ShowNote(const QString& note) {
    bar_->showMessage(note, 5000);
}

} // namespace telmora
