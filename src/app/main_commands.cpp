// The main window's menu commands.
#include "app/main_window.h"

#include "app/about_box.h"
#include "app/status_panel.h"
#include "config/image_a.h"
#include "config/image_b.h"
#include "dialogs/ui/filter_dialog_a.h"
#include "dialogs/ui/filter_dialog_b.h"
#include "dialogs/ui/run_mode_dialog_a.h"
#include "dialogs/ui/run_mode_dialog_b.h"
#include "display/ui/measurement_display.h"
#include "link/ui/port_chooser.h"
#include "link/ui/sensor_link.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMessageBox>

namespace telmora {

// The Sensor Type entries change only how the window is set up: nothing is sent to the
// sensor and the record keeps every value, so switching back shows them again.
void MainWindow::mnuSensorTypeKelvoAClick() {
    SetFamily(SensorFamily::A);
}

void MainWindow::mnuSensorTypeKelvoBClick() {
    SetFamily(SensorFamily::B);
}

void MainWindow::mnuFiltersClick() {
    if (familyB_) {
        FilterDialogB::Edit(config_, this);
    } else if (familyA_) {
        FilterDialogA::Edit(config_, this);
    }
}

void MainWindow::mnuProcessingClick() {
    if (familyB_) {
        RunModeDialogB::Edit(config_, this);
    } else if (familyA_) {
        RunModeDialogA::Edit(config_, this);
    }
}

void MainWindow::mnuFileNewFactoryConfigurationClick() {
    if (familyB_) {
        LoadFactoryDefaultsB(config_);
        ShowRecordB();
    } else if (familyA_) {
        LoadFactoryDefaultsA(config_);
        ShowRecordA();
    }
}

void MainWindow::ShowRecord(SensorFamily family, const RegisterImage& image) {
    image_ = image;
    if (family == SensorFamily::A) {
        DecodeImageA(image_, config_);
        ShowRecordA();
    } else if (family == SensorFamily::B) {
        DecodeImageB(image_, config_);
        ShowRecordB();
    }
}

RegisterImage MainWindow::ReadWindow(SensorFamily family) {
    if (family == SensorFamily::A) {
        ReadWindowA();
        EncodeImageA(config_, image_);
    } else if (family == SensorFamily::B) {
        ReadWindowB();
        EncodeImageB(config_, image_);
    }
    return image_;
}

void MainWindow::mnuFileSaveToSensorClick() {
    link_->SaveConfigurationToSensor();
}

void MainWindow::mnuFileOpenFromSensorClick() {
    link_->GetConfigurationFromSensor();
}

void MainWindow::mnuComPortClick() {
    chooser_->ChooseComPort();
}

void MainWindow::mnuFilePrintClick() {
    display_->mnuFilePrintClick();
}

void MainWindow::mnuLogDataToFileClick() {
    display_->mnuLogDataToFileClick();
}

void MainWindow::mnuHelpClick() {
    help_.Show(this);
}

void MainWindow::mnuHelpAboutClick() {
    ShowAbout(this);
}

// Leaving while the sensor is being written leaves it partly written: the user decides,
// and the write goes on while the question is open.
bool MainWindow::MayLeave() {
    if (!link_->IsWriting()) {
        return true;
    }
    return QMessageBox::question(
               this, QString::fromUtf8(kWarningTitle.data(), kWarningTitle.size()),
               "The sensor is being written. Leaving now leaves it partly "
               "written. Leave anyway?",
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

// Ends the program at once: a waiting exchange ends (a read or detection tells the sensor
// to stream again), every event loop returns, and the window's components close their
// files as they are destroyed.
void MainWindow::mnuFileExitClick() {
    if (!MayLeave()) {
        return;
    }
    link_->Leave();
    QCoreApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!MayLeave()) {
        event->ignore();
        return;
    }
    event->accept();
    link_->Leave();
    QCoreApplication::exit(0);
}

} // namespace telmora
