#include "app/status_panel.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

namespace telmora {

namespace {

QLabel* AddField(QStatusBar* bar, const char* name) {
    auto* label = new QLabel(bar);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
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
    ShowPort(0, {});
    ShowFamily(SensorFamily::None);
    ShowActivity({});
    ShowLog({});
}

void StatusPanel::ShowPort(int number, const QString& device) {
    if (number < 1) {
        SetField(port_, "Serial port", "No port open");
        return;
    }
    const QString text = device.isEmpty() ? QString("Port %1").arg(number)
                                          : QString("Port %1: %2").arg(number).arg(device);
    SetField(port_, "Serial port", text);
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

void StatusPanel::ShowNote(const QString& note) {
    bar_->showMessage(note, 5000);
}

} // namespace telmora
