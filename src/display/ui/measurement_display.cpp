#include "display/ui/measurement_display.h"

#include "display/ui/data_log_command.h"
#include "display/ui/live_gauges_view.h"
#include "display/ui/paint_cadence.h"
#include "display/ui/print_screen.h"
#include "display/ui/statistics_panel.h"
#include "display/ui/strip_chart_view.h"
#include "form/form_surface.h"

#include <QWidget>

namespace telmora {

MeasurementDisplay::MeasurementDisplay(FormSurface& surface, FormGeometry& geometry,
                                       const SensorConfig& config, const EditorControls& editors,
                                       QWidget* window)
    : QObject(window), statistics_(new StatisticsPanel(surface, geometry)),
      chart_(new StripChartView(surface, geometry, config)),
      gauges_(new LiveGaugesView(surface, geometry, config, editors)),
      log_(new DataLogCommand(window)),
      print_(new PrintScreenCommand(surface, *chart_, editors.txtMaxRange, window)),
      window_(window) {
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
    statistics_->CountReading(distance);
    log_->WriteReading(distance);
    gauges_->NoteReading(distance);
    chart_->ChartAddPoint(distance);
    // Showing every reading costs layout and region work 160 times a second for a screen
    // that shows 60 frames: a visible paced window shows the latest one at its next paint.
    if (Paced())
        gauges_->DistanceBox()->update();
    else
        ShowLatestReading();
}

void MeasurementDisplay::ShowLatestReading() {
    statistics_->ShowCounted();
    if (!Paced()) {
        gauges_->ShowNoted();
        return;
    }
    const qint64 since = sinceGauges_.isValid() ? sinceGauges_.elapsed() : kGaugeIntervalMs;
    const bool gaugesDue = since >= kGaugeIntervalMs;
    gauges_->ShowNoted(gaugesDue);
    if (gaugesDue) {
        sinceGauges_.start();
    } else if (!gaugesDue_.isActive()) {
        // The last reading of a burst still reaches the gauges.
        gaugesDue_.start(static_cast<int>(kGaugeIntervalMs - since));
    }
}

bool MeasurementDisplay::Paced() const {
    return paced_ && window_ != nullptr && window_->isVisible();
}

void MeasurementDisplay::ShowReadingsWith(PaintCadence& cadence) {
    paced_ = true;
    gaugesDue_.setSingleShot(true);
    connect(&gaugesDue_, &QTimer::timeout, this, [this] {
        sinceGauges_.start();
        gauges_->ShowNotedOnGauges();
    });
    connect(&cadence, &PaintCadence::AboutToPaint, this, &MeasurementDisplay::ShowLatestReading);
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
    ShowLatestReading();
    print_->mnuFilePrintClick();
}

} // namespace telmora
