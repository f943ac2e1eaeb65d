// The main window's menu commands.
#include "app/main_window.h"

#include "app/status_panel.h"
#include "config/image_a.h"
#include "config/image_b.h"
#include "dialogs/filter_dialog_a.h"
#include "dialogs/filter_dialog_b.h"
#include "dialogs/run_mode_dialog_a.h"
#include "dialogs/run_mode_dialog_b.h"

#include <QAction>
#include <QCoreApplication>

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

void MainWindow::mnuFileSaveToFileClick() {
    // TODO(config): the save dialog and the configuration file functions.
}

void MainWindow::mnuFileOpenFromFileClick() {
    // TODO(config): the open dialog and the configuration file functions.
}

bool MainWindow::SaveConfigurationFile(const QString& path) {
    // TODO(config): write the family B image through the configuration file functions.
    (void)path;
    return false;
}

bool MainWindow::LoadConfigurationFile(const QString& path) {
    // TODO(config): read the image through the configuration file functions.
    (void)path;
    return false;
}

void MainWindow::mnuFileSaveToSensorClick() {
    // TODO(link): SensorLink::saveConfigurationToSensor.
}

void MainWindow::mnuFileOpenFromSensorClick() {
    // TODO(link): SensorLink::getConfigurationFromSensor.
}

void MainWindow::mnuComPortClick() {
    // TODO(link): PortChooser::chooseComPort.
}

void MainWindow::mnuFilePrintClick() {
    // TODO(display): print the window.
}

void MainWindow::mnuLogDataToFileClick() {
    // TODO(display): start or stop the data log.
}

void MainWindow::mnuHelpClick() {
    help_.Show(this);
}

// Ends the program at once: every event loop returns, a running exchange included, and
// the window's components close their files as they are destroyed.
void MainWindow::mnuFileExitClick() {
    QCoreApplication::exit(0);
}

} // namespace telmora
