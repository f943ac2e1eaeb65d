#include "display/ui/data_log_command.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

namespace telmora {

DataLogCommand::DataLogCommand(QWidget* window, Clock clock)
    : QObject(window), window_(window), clock_(std::move(clock)) {
    if (!clock_) {
        clock_ = [] { return QTime::currentTime(); };
    }
}

void DataLogCommand::SetMenuEntry(QAction* mnuLogDataToFile) {
    menuEntry_ = mnuLogDataToFile;
    ShowCaption();
}

void DataLogCommand::mnuLogDataToFileClick() {
    if (LogActive()) {
        StopLog();
        return;
    }
    // A save dialog, so that choosing an existing file asks before it is replaced.
    QFileDialog dialog(window_, "Select Log File Name");
    dialog.setObjectName("dlgLogFile");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter("Log Files (*.log)");
    dialog.setDefaultSuffix("log");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The question is asked here rather than by the dialog, whose own check depends on a
    // folder listing it fills in the background and can miss a file that exists.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        ShowCaption();
        return;
    }
    const QString path = dialog.selectedFiles().constFirst();
    if (QFileInfo::exists(path) && !ConfirmReplace(path)) {
        ShowCaption();
        return;
    }
    StartLog(path);
}

bool DataLogCommand::ConfirmReplace(const QString& path) {
    QMessageBox question(QMessageBox::Warning, "Select Log File Name",
                         QString("%1 already exists.\nDo you want to replace it?")
                             .arg(QDir::toNativeSeparators(path)),
                         QMessageBox::Yes | QMessageBox::No, window_);
    question.setObjectName("msgReplaceLog");
    question.setDefaultButton(QMessageBox::No);
    return question.exec() == QMessageBox::Yes;
}

bool DataLogCommand::StartLog(const QString& path) {
    StopLog();
    std::string error;
    if (!log_.Open(path.toStdString(), error)) {
        ShowCaption();
        Tell(QString("The log file %1 could not be created: %2.")
                 .arg(QDir::toNativeSeparators(path), QString::fromStdString(error)));
        return false;
    }
    ShowCaption();
    emit LogChanged(Path());
    return true;
}

void DataLogCommand::StopLog() {
    if (!log_.IsOpen()) {
        return;
    }
    const QString path = Path();
    std::string error;
    const bool closed = log_.Close(error);
    ShowCaption();
    emit LogChanged({});
    if (!closed) {
        Tell(QString("The end of the log file %1 could not be written: %2.")
                 .arg(QDir::toNativeSeparators(path), QString::fromStdString(error)));
    }
}

void DataLogCommand::WriteReading(float distance) {
    if (!log_.IsOpen()) {
        return;
    }
    const QTime now = clock_();
    std::string error;
    if (log_.Write(LogLine({now.hour(), now.minute(), now.second()}, distance), error)) {
        return;
    }
    const QString path = Path();
    std::string ignored;
    log_.Close(ignored);
    ShowCaption();
    emit LogChanged({});
    Tell(QString("Logging stopped: the log file %1 could not be written (%2). The lines "
                 "logged before this reading are in the file.")
             .arg(QDir::toNativeSeparators(path), QString::fromStdString(error)));
}

void DataLogCommand::ShowCaption() {
    if (menuEntry_) {
        menuEntry_->setText(LogActive() ? "&StopLogging" : "&Log Data");
    }
}

void DataLogCommand::Tell(const QString& text) {
    // Not modal to the caller: the line writer runs inside the serial port's receive
    // event, which must return before the next delivery is taken.
    auto* box = new QMessageBox(QMessageBox::Warning, "Warning", text, QMessageBox::Ok, window_);
    box->setObjectName("msgDataLog");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace telmora
