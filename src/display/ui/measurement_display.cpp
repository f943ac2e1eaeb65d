#include "display/ui/measurement_display.h"

#include "display/ui/data_log_command.h"
#include "display/ui/live_gauges_view.h"
#include "display/ui/print_screen.h"
#include "display/ui/statistics_panel.h"
#include "display/ui/strip_chart_view.h"
#include "form/form_surface.h"

namespace telmora {

MeasurementDisplay::MeasurementDisplay(FormSurface& surface, FormGeometry& geometry,
                                       const SensorConfig& config, const EditorControls& editors,
                                       QWidget* window)
    : QObject(window), statistics_(new StatisticsPanel(surface, geometry)),
      chart_(new StripChartView(surface, geometry, config)),
      gauges_(new LiveGaugesView(surface, geometry, config, editors)),
      log_(new DataLogCommand(window)),
      print_(new PrintScreenCommand(surface, *chart_, editors.txtMaxRange, window)) {
    connect(log_, &DataLogCommand::LogChanged, this, &MeasurementDisplay::LogChanged);
    connect(gauges_, &LiveGaugesView::ReadingsNote, this, &MeasurementDisplay::ReadingsNote);
}

MeasurementDisplay::~MeasurementDisplay() = default;

void MeasurementDisplay::StartUp() {
    gauges_->PlaceMarkerAtRangeEnd();
    statistics_->InitStats();
    chart_->SizeBuffer();
}

void MeasurementDisplay::ShowReading(float distance) {
    statistics_->DoStats(distance);
    log_->WriteReading(distance);
    gauges_->ShowCurrentDistance(distance);
    chart_->ChartAddPoint(distance);
    gauges_->UpdateGauges(distance);
}

void MeasurementDisplay::NoteReceiveEvent() {
    gauges_->NoteReceiveEvent();
}

void MeasurementDisplay::SetLogMenuEntry(QAction* mnuLogDataToFile) {
    log_->SetMenuEntry(mnuLogDataToFile);
}

void MeasurementDisplay::mnuLogDataToFileClick() {
    log_->mnuLogDataToFileClick();
}

void MeasurementDisplay::mnuFilePrintClick() {
    print_->mnuFilePrintClick();
}

} // namespace telmora
