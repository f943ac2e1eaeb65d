#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QAction;
class QWidget;

namespace telmora {

class DataLogCommand;
class FormGeometry;
class FormSurface;
class LiveGaugesView;
class PaintCadence;
class PrintScreenCommand;
class StatisticsPanel;
class StripChartView;
struct EditorControls;
struct SensorConfig;

// What each reading updates on the main window besides the link's own state: the
// statistics, the data log, the marker's distance box, the strip chart and the gauges,
// with the "&Log Data" and "&Print Screen" commands.
class MeasurementDisplay : public QObject {
    Q_OBJECT
  public:
    // `config` is the window's record, read for the range at every reading; `editors` are
    // the output editors' controls the gauges and the print command read; `window` parents
    // the dialogs.
    MeasurementDisplay(FormSurface& surface, FormGeometry& geometry, const SensorConfig& config,
                       const EditorControls& editors, QWidget* window);
    ~MeasurementDisplay() override;

    // Start-up: marker at the range bar's end, statistics reset, chart buffer sized.
    void StartUp();

    // One reading from the sensor, in the order the window has always updated them:
    // statistics, log line, distance box, strip chart, gauges.
    void ShowReading(float distance);
    // From now on the boxes and gauges show the latest reading when `cadence` paints the
    // window, rather than at every reading: readings come faster than a screen shows them.
    void ShowReadingsWith(PaintCadence& cadence);
    // Any delivery from the serial port (it keeps the gauges from being hidden).
    void NoteReceiveEvent();

    // Menu commands; the log entry's caption follows the log.
    void SetLogMenuEntry(QAction* mnuLogDataToFile);
    void mnuLogDataToFileClick();
    void mnuFilePrintClick();

    StatisticsPanel& Statistics() { return *statistics_; }
    StripChartView& Chart() { return *chart_; }
    LiveGaugesView& Gauges() { return *gauges_; }
    DataLogCommand& Log() { return *log_; }
    PrintScreenCommand& Print() { return *print_; }

  signals:
    // The data log started (its path) or stopped (empty).
    void LogChanged(const QString& path);
    // The readings went stale ("No readings since 14:02:31") or came again (empty).
    void ReadingsNote(const QString& note);

  private:
    void ShowLatestReading();
    // A shown window whose paint pace the readings follow.
    bool Paced() const;

    StatisticsPanel* statistics_;
    StripChartView* chart_;
    LiveGaugesView* gauges_;
    DataLogCommand* log_;
    PrintScreenCommand* print_;
    QWidget* window_;
    bool paced_ = false;
    // The marker, its lines and the meter cross a third of the window: moving them
    // repaints all they pass over, so while readings stream they move at most this often.
    static constexpr int kGaugeIntervalMs = 33;
    QElapsedTimer sinceGauges_;
    QTimer gaugesDue_;
};

} // namespace telmora
