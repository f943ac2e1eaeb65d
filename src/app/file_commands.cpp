// "&Save Configuration to Disk" and "Get Configuration From Disk". A file holds a family B
// image whatever family the window shows, since that image carries every family A register
// as well.
#include "app/main_window.h"

#include "app/edit_history.h"
#include "app/recent_files.h"
#include "app/status_panel.h"
#include "config/config_file_commands.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

#include <filesystem>

namespace telmora {

namespace {

std::filesystem::path FileSystemPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

// The file dialog the configuration commands share; it keeps its folder and filter
// between uses.
QFileDialog& MainWindow::CommonDialog1() {
    if (commonDialog1_ == nullptr) {
        commonDialog1_ = new QFileDialog(this);
        commonDialog1_->setObjectName("CommonDialog1");
        commonDialog1_->setOption(QFileDialog::DontUseNativeDialog);
    }
    return *commonDialog1_;
}

void MainWindow::mnuFileSaveToFileClick() {
    SaveThroughDialog();
}

bool MainWindow::SaveThroughDialog() {
    QFileDialog& dialog = CommonDialog1();
    dialog.setWindowTitle("Save As");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("cfg");
    dialog.selectFile("*.cfg");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    return SaveConfigurationFile(dialog.selectedFiles().constFirst());
}

void MainWindow::mnuFileOpenFromFileClick() {
    if (!MayDropEdits()) {
        return;
    }
    const QString path = AskForConfigurationFile("Get File");
    if (!path.isEmpty()) {
        LoadConfigurationFile(path);
    }
}

QString MainWindow::AskForConfigurationFile(const QString& title) {
    QFileDialog& dialog = CommonDialog1();
    dialog.setWindowTitle(title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter("*.cfg");
    dialog.selectFile("*.cfg");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

bool MainWindow::SaveConfigurationFile(const QString& path) {
    // The window is read back first, as before every configuration leaves; a save that
    // fails leaves the record as it was, like the file.
    const SensorConfig saved = history_->Current();
    const SensorConfig before = config_;
    ReadWindowB();
    const FileResult result = telmora::SaveConfigurationFile(FileSystemPath(path), config_, image_);
    if (!result.Ok) {
        config_ = before;
        ShowError("Save Configuration", QString::fromStdString(result.Error));
        return false;
    }
    configFile_ = path;
    status_->ShowNote(QString("Configuration saved to %1").arg(QDir::toNativeSeparators(path)));
    history_->SetBaseline(saved);
    file_ = path;
    ShowTitle();
    recent_->Add(path);
    return true;
}

bool MainWindow::LoadConfigurationFile(const QString& path) {
    const FileResult result = telmora::LoadConfigurationFile(FileSystemPath(path), image_, config_);
    if (!result.Ok) {
        ShowError("Get Configuration", QString::fromStdString(result.Error));
        return false;
    }
    ShowRecordB();
    configFile_ = path;
    status_->ShowNote(QString("Configuration loaded from %1").arg(QDir::toNativeSeparators(path)));
    ConfigurationArrived(path);
    recent_->Add(path);
    return true;
}

} // namespace telmora
