#include "display/ui/data_log_command.h"

#include "display/ui/local_time.h"

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
        clock_ = [] { return QDateTime::currentDateTime(); };
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
    const QString textFilter = "Log Files (*.log)";
    const QString csvFilter = "CSV (*.csv)";
    dialog.setNameFilters({textFilter, csvFilter});
    dialog.selectNameFilter(textFilter);
    dialog.setDefaultSuffix("log");
    // A name typed without an extension gets the chosen type's.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, csvFilter](const QString& f) {
        dialog.setDefaultSuffix(f == csvFilter ? "csv" : "log");
    });
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
    const bool csv =
        dialog.selectedNameFilter() == csvFilter || path.endsWith(".csv", Qt::CaseInsensitive);
    StartLog(path, csv ? LogFormat::Csv : LogFormat::Text);
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
    return StartLog(path,
                    path.endsWith(".csv", Qt::CaseInsensitive) ? LogFormat::Csv : LogFormat::Text);
}

bool DataLogCommand::StartLog(const QString& path, LogFormat format) {
    StopLog();
    std::string error;
    const bool opened = log_.Open(path.toStdString(), error) &&
                        (format != LogFormat::Csv || log_.Write(kCsvLogHeader, error));
    if (!opened) {
        std::string ignored;
        log_.Close(ignored);
        ShowCaption();
        Tell(QString("The log file %1 could not be created: %2.")
                 .arg(QDir::toNativeSeparators(path), QString::fromStdString(error)));
        return false;
    }
    format_ = format;
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
    const LocalDateTime now = ToLocalDateTime(clock_());
    const std::string line =
        format_ == LogFormat::Csv ? CsvLogLine(now, distance) : LogLine(now.Time, distance);
    std::string error;
    if (log_.Write(line, error)) {
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
