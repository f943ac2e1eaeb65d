// "&Commissioning Report...": a PDF record of what the sensor is set up to do, made from
// the window as it stands, with the readings shown since the statistics were reset.
#include "app/main_window.h"

#include "app/status_panel.h"
#include "display/commissioning_report.h"
#include "display/ui/measurement_display.h"
#include "display/ui/report_pdf.h"
#include "display/ui/statistics_panel.h"
#include "display/ui/strip_chart_view.h"
#include "link/ui/sensor_link.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <ctime>

namespace telmora {

void MainWindow::mnuFileReportClick() {
    // A dialog of its own, so the configuration commands' dialog keeps its filter.
    QFileDialog dialog(this, "Commissioning Report");
    dialog.setObjectName("dlgReport");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter("PDF (*.pdf)");
    dialog.setDefaultSuffix("pdf");
    const QFileInfo config(configFile_);
    if (!configFile_.isEmpty())
        dialog.setDirectory(config.absolutePath());
    dialog.selectFile((configFile_.isEmpty() ? QString("sensor") : config.completeBaseName()) +
                      "-report.pdf");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    WriteCommissioningReport(dialog.selectedFiles().constFirst());
}

bool MainWindow::WriteCommissioningReport(const QString& path) {
    ReportSource source;
    // The window's texts are what the report records; reading them leaves the record as
    // it was, as nothing has been saved or sent.
    const SensorConfig before = config_;
    if (familyA_)
        ReadWindowA();
    else
        ReadWindowB();
    source.Record = config_;
    config_ = before;
    source.Family = SelectedFamily();
    source.DateTime = LocalDateTimeText(std::time(nullptr));
    if (link_->IsPortOpen()) {
        source.Port = "Port " + std::to_string(link_->PortNumber());
        source.Device = link_->PortDevice().toStdString();
    }
    source.ConfigFile = QDir::toNativeSeparators(configFile_).toStdString();
    StatisticsPanel& statistics = display_->Statistics();
    if (statistics.Figures().NumOfSamples > 0)
        source.Statistics = statistics.ShownTexts();
    source.Trace = CurrentSweep(display_->Chart().Model());

    QString error;
    if (!WriteReportPdf(BuildCommissioningReport(source), path, error)) {
        ShowError("Commissioning Report", error);
        return false;
    }
    status_->ShowNote(QString("Report written to %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

} // namespace telmora
