#pragma once

#include "display/live_gauges.h"
#include "display/ui/editor_controls.h"
#include "editors/scale.h"

#include <QObject>
#include <QPointer>
#include <QTime>
#include <QTimer>

#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QWidget;

namespace telmora {

class FormGeometry;
class FormLine;
class FormShape;
class FormSurface;
struct SensorConfig;

// The target marker, the two target lines, the analog output meter and the echo symbol.
// They read the range bar, the range of the record and the analog output editor's boxes,
// which other parts of the window own and hand over when the view is built.
class LiveGaugesView : public QObject {
    Q_OBJECT
  public:
    static constexpr int kTimer2IntervalMs = 50;
    using Clock = std::function<QTime()>; // local time of day

    LiveGaugesView(FormSurface& surface, FormGeometry& geometry, const SensorConfig& config,
                   const EditorControls& editors);

    // Puts the marker at the right end of the range bar (start-up).
    void PlaceMarkerAtRangeEnd();
    // Shows a reading in the marker's distance box; the readings are fresh again.
    void ShowCurrentDistance(float distance);
    // Moves the marker, the target lines and the meter to a reading.
    void UpdateGauges(float distance);
    // The two above in steps, for readings that arrive faster than the screen shows them:
    // NoteReading() makes the readings fresh at once; ShowNoted() shows the latest reading in
    // the box, and on the gauges when `gaugesToo` (else ShowNotedOnGauges() does, later).
    void NoteReading(float distance);
    void ShowNoted(bool gaugesToo = true);
    void ShowNotedOnGauges();
    // The box a reading changes first; marking it for a paint brings ShowNoted() soon.
    QWidget* DistanceBox() const;
    // Any delivery from the sensor, whether or not it completes a reading.
    void NoteReceiveEvent() { timer_.NoteReceiveEvent(); }
    // One tick of Timer2; driven by the 50 ms timer, or by a test.
    void Timer2Timer();
    QTimer& Timer2() { return timer2_; }

    const GaugeTimer& TimerState() const { return timer_; }
    // The clock that stamps readings (the local time unless a test sets one).
    void SetClock(Clock clock) { clock_ = std::move(clock); }

  signals:
    // No reading for five seconds: "No readings since hh:mm:ss" (the last reading's time);
    // empty when readings come again.
    void ReadingsNote(const QString& note);

  private:
    void BuildControls(FormSurface& surface);
    BarSpan RangeBar() const;
    void SetTargetShown(bool shown);
    void MarkReadingsFresh();

    FormGeometry& geometry_;
    const SensorConfig& config_;
    GaugeTimer timer_;
    QTimer timer2_;
    Clock clock_;
    QTime lastReading_;
    bool staleShown_ = false;
    std::optional<float> noted_;
    std::optional<float> notedForGauges_;

    QFrame* frame1_ = nullptr;
    QLineEdit* txtCurrentDistance_ = nullptr;
    FormLine* linTargetLineTop_ = nullptr;
    FormLine* linTargetLineBottom_ = nullptr;
    QFrame* fraVoltmeter_ = nullptr;
    QLabel* lblVoltMeter_ = nullptr;
    FormShape* shpKelvoA_ = nullptr;
    FormShape* shpEcho_ = nullptr;

    // Controls of the range bar and of the analog output editor.
    QPointer<QWidget> lblRange_;
    QPointer<QLineEdit> txtAnalogNearEndpoint_;
    QPointer<QLineEdit> txtAnalogFarEndpoint_;
    QPointer<QLineEdit> txtAnalogNearOutput_;
    QPointer<QLineEdit> txtAnalogFarOutput_;
    QPointer<QLabel> lblAnalogEchoLoss_;
};

} // namespace telmora
