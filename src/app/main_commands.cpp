// The main window's menu commands.
#include "app/main_window.h"

#include "app/about_box.h"
#include "app/edit_history.h"
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

namespace {

// Runs a dialog over the record; what it changed, on OK or (as family A's filters do on
// opening) on its own, is one step named after it.
template <typename Dialog>
void EditInDialog(SensorConfig& config, QWidget* parent, EditHistory& history) {
    history.Note();
    Dialog dialog(config, parent);
    dialog.exec();
    history.Note(dialog.windowTitle());
}

} // namespace

void MainWindow::mnuFiltersClick() {
    if (familyB_) {
        EditInDialog<FilterDialogB>(config_, this, *history_);
    } else if (familyA_) {
        EditInDialog<FilterDialogA>(config_, this, *history_);
    }
}

void MainWindow::mnuProcessingClick() {
    if (familyB_) {
        EditInDialog<RunModeDialogB>(config_, this, *history_);
    } else if (familyA_) {
        EditInDialog<RunModeDialogA>(config_, this, *history_);
    }
}

void MainWindow::mnuFileNewFactoryConfigurationClick() {
    if ((!familyA_ && !familyB_) || !MayDropEdits()) {
        return;
    }
    if (familyB_) {
        LoadFactoryDefaultsB(config_);
        ShowRecordB();
    } else {
        LoadFactoryDefaultsA(config_);
        ShowRecordA();
    }
    ConfigurationArrived({});
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
    ConfigurationArrived({});
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

// The baseline is the window as the command began: an edit made while the exchange runs
// stays marked unsaved, whether or not it reached the sensor.
void MainWindow::mnuFileSaveToSensorClick() {
    const SensorConfig sent = history_->Current();
    if (link_->SaveConfigurationToSensor()) {
        history_->SetBaseline(sent);
    }
}

void MainWindow::mnuFileOpenFromSensorClick() {
    if (link_->IsBusy() || !MayDropEdits()) {
        return;
    }
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
    if (!MayLeave() || !MayDropEdits()) {
        return;
    }
    link_->Leave();
    QCoreApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!MayLeave() || !MayDropEdits()) {
        event->ignore();
        return;
    }
    event->accept();
    link_->Leave();
    QCoreApplication::exit(0);
}

} // namespace telmora
