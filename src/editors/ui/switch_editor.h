#pragma once

#include "config/option_codes.h"
#include "config/sensor_config.h"
#include "editors/ui/switch_popup.h"
#include "form/editor_widgets.h"

#include <QList>
#include <QObject>
#include <QPointF>

namespace telmora {

class FormGeometry;
class FormSurface;
class RangeEditor;

// One switch output's row under the range bar: two handles meeting at the setpoint, the
// setpoint box over the meeting point, and the mode, width, echo-loss and power-up fields
// right of the bar. The row keeps the switch's state in its controls; only the width box
// writes the record (SwNHyst) directly.
class SwitchEditor : public QObject {
    Q_OBJECT
  public:
    // Builds switch n's row (n = 1 to 4) on `surface` with its design content: normal
    // polarity, "Hyst", "NC", "Off" and "888.88" in both boxes. Switch 1 also creates the
    // column headers. `range` gives the bar and the bounds the row is placed on.
    SwitchEditor(int n, FormSurface& surface, FormGeometry& geometry, SensorConfig& config,
                 const RangeEditor& range, QObject* parent = nullptr);

    int Number() const { return n_; }

    // PlaceSwN: rewrites the setpoint with two decimals and moves the handles, the box and
    // its unit label to the setpoint's place on the bar.
    void Place();

    // The display operations (SetSwNModeHyst ...): caption, colour and the pop-up's check
    // marks together; they touch nothing else.
    void ShowMode(SwitchMode mode);
    void ShowPowerUp(SwitchPowerUp state);
    void ShowEchoLoss(SwitchEchoLoss response);
    void ShowPolarity(SwitchPolarity polarity);
    void SetModeHyst() { ShowMode(SwitchMode::Hyst); }
    void SetModeWind() { ShowMode(SwitchMode::Wind); }
    void SetPowerUpOn() { ShowPowerUp(SwitchPowerUp::On); }
    void SetPowerUpOff() { ShowPowerUp(SwitchPowerUp::Off); }
    void SetEchoLossNC() { ShowEchoLoss(SwitchEchoLoss::NC); }
    void SetEchoLossOff() { ShowEchoLoss(SwitchEchoLoss::Off); }
    void SetEchoLossOn() { ShowEchoLoss(SwitchEchoLoss::On); }
    void SetPolarityNormal() { ShowPolarity(SwitchPolarity::Normal); }
    void SetPolarityReversed() { ShowPolarity(SwitchPolarity::Reversed); }

    // The setpoint box's Enter or leaving it: a setpoint beyond what the sensor can hold is
    // shown as the value it will hold, with a note; then PlaceSwN.
    void TakeSetpoint();
    // The width box's Enter or leaving it: SwNHyst = its number within what the sensor can
    // hold, shown with two decimals.
    void TakeWidth();

    // SwNDragging: a drag of this row's handles is in progress.
    bool Dragging() const { return dragging_; }

    EntryBox* SetpointBox() const { return txtSetpoint_; }
    EntryBox* WidthBox() const { return txtHyst_; }
    HandleLabel* NearHandle() const { return lblLeft_; }
    HandleLabel* FarHandle() const { return lblRight_; }
    QLabel* SetpointUnits() const { return lblSetpointUnits_; }
    OptionLabel* ModeLabel() const { return lblMode_; }
    OptionLabel* EchoLossLabel() const { return lblEchoLoss_; }
    OptionLabel* PowerUpLabel() const { return lblPowerUp_; }
    const SwitchPopUp& PopUp() const { return popUp_; }

    // The row's controls a Kelvo-B window shows and a Kelvo-A window hides, in the order
    // the family layout visits them. Kelvo-A has switches 1 and 2 without mode or width:
    // rows 1 and 2 give their mode and width fields (row 1 with those columns' headings),
    // rows 3 and 4 every control of the row. The pop-up's "Mode" submenu goes with them.
    QList<QWidget*> FamilyBOnlyWidgets() const;

  signals:
    // An entry was limited; the note says which limit applied.
    void LimitNoted(const QString& note);

  private:
    // `entry` within what the sensor can hold; a limited entry is noted.
    float Limited(const QString& name, float entry);
    void BuildRow(FormSurface& surface);
    void BuildHeaders(FormSurface& surface);
    void ConnectEvents();
    void HandlePressed(Qt::MouseButton button, QPoint globalPosition);
    void DragTo(HandleLabel* handle, QPointF position);
    // An arrow key on the near handle: the setpoint moves by steps of 0.01 inch within the
    // bar's range, as a drag would move it.
    void StepSetpoint(int steps);
    // Where a drag or a key moved the setpoint: the box shows it and the row is placed.
    void MoveSetpoint(float setpoint);
    void ReversePolarity();

    int n_;
    FormSurface& surface_;
    FormGeometry& geometry_;
    SensorConfig& config_;
    const RangeEditor& range_;
    bool dragging_ = false;

    QLabel* lblCaption_ = nullptr;
    QLabel* lblModeHeading_ = nullptr; // switch 1 only
    QLabel* lblHystHeading_ = nullptr; // switch 1 only
    HandleLabel* lblLeft_ = nullptr;
    HandleLabel* lblRight_ = nullptr;
    EntryBox* txtSetpoint_ = nullptr;
    QLabel* lblSetpointUnits_ = nullptr;
    OptionLabel* lblMode_ = nullptr;
    EntryBox* txtHyst_ = nullptr;
    OptionLabel* lblEchoLoss_ = nullptr;
    OptionLabel* lblPowerUp_ = nullptr;
    SwitchPopUp popUp_;
};

} // namespace telmora
