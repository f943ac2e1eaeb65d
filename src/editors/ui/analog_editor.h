#pragma once

#include "config/option_codes.h"
#include "config/sensor_config.h"
#include "form/editor_widgets.h"

#include <QObject>
#include <QPointF>

#include <vector>

class QAction;
class QMenu;

namespace telmora {

class FormGeometry;
class FormLine;
class FormShape;
class FormSurface;
class RangeEditor;

// The analog output's transfer function under the switch rows: the analog box spans the
// range bar horizontally and the output scale (AnalogOutputMin at its bottom,
// AnalogOutputMax at its top) vertically. A red polyline draws the output, green lines
// mark the endpoints, and four pairs of orange handles around the box set the two
// endpoint distances (above and below) and the two outputs (left and right). The editor
// keeps its state in its controls; only the mode click writes the record
// (AnalogOutputMax).
class AnalogEditor : public QObject {
    Q_OBJECT
  public:
    // Builds the area on `surface` with its design content ("Voltage", "NC", "Off",
    // outputs "10.0" and "20.0").
    AnalogEditor(FormSurface& surface, FormGeometry& geometry, SensorConfig& config,
                 const RangeEditor& range, QObject* parent = nullptr);

    // Placements: each reads its box and moves its handle pair, box, unit label and the
    // line ends that meet there. Endpoint texts that are numbers are rewritten with two
    // decimals (other text stays as typed and is placed by its leading number); outputs
    // are held within the output scale and rewritten with one decimal.
    void PlaceAnalogFarEndpoint();
    void PlaceAnalogNearEndpoint();
    void PlaceAnalogNearOutput();
    void PlaceAnalogFarOutput();

    // Display operations: caption, colour, unit labels and the pop-up's check marks.
    void ShowAnalogMode(AnalogMode mode);
    void ShowAnalogEchoLoss(AnalogEchoLoss response);
    void ShowAnalogPowerUp(AnalogPowerUp level);
    void SetAnalogModeVoltage() { ShowAnalogMode(AnalogMode::Voltage); }
    void SetAnalogModeCurrent() { ShowAnalogMode(AnalogMode::Current); }
    void SetAnalogEchoLossNC() { ShowAnalogEchoLoss(AnalogEchoLoss::NC); }
    void SetAnalogEchoLossLow() { ShowAnalogEchoLoss(AnalogEchoLoss::Low); }
    void SetAnalogEchoLossHigh() { ShowAnalogEchoLoss(AnalogEchoLoss::High); }
    void SetAnalogPowerUpLow() { ShowAnalogPowerUp(AnalogPowerUp::Low); }
    void SetAnalogPowerUpHigh() { ShowAnalogPowerUp(AnalogPowerUp::High); }

    // A click on the mode label: switches voltage and current, sets AnalogOutputMax, carries
    // both outputs over by a factor of 2 and places everything again.
    void ChangeAnalogMode();

    bool AnalogFarEndpointDragging() const { return farEndpoint_.Dragging; }
    bool AnalogNearEndpointDragging() const { return nearEndpoint_.Dragging; }
    bool AnalogNearOutputDragging() const { return nearOutput_.Dragging; }
    bool AnalogFarOutputDragging() const { return farOutput_.Dragging; }

    EntryBox* FarEndpointBox() const { return farEndpoint_.Box; }
    EntryBox* NearEndpointBox() const { return nearEndpoint_.Box; }
    EntryBox* NearOutputBox() const { return nearOutput_.Box; }
    EntryBox* FarOutputBox() const { return farOutput_.Box; }
    OptionLabel* ModeLabel() const { return lblAnalogMode_; }
    OptionLabel* EchoLossLabel() const { return lblAnalogEchoLoss_; }
    OptionLabel* PowerUpLabel() const { return lblAnalogPowerUp_; }
    QMenu* PopUpMenu() const { return popUp_; }

  signals:
    // An entry was limited; the note says which limit applied.
    void LimitNoted(const QString& note);

  private:
    enum class End { Start, Finish };
    struct LineEnd {
        FormLine* Line;
        AnalogEditor::End End;
    };
    // Two handles meeting at a value, with the value's box, its unit label, the line ends
    // that follow the meeting point and the pair's dragging flag.
    struct HandlePair {
        HandleLabel* First = nullptr; // left of (or above) the meeting point
        HandleLabel* Second = nullptr;
        EntryBox* Box = nullptr;
        QLabel* Units = nullptr;
        std::vector<LineEnd> LineEnds;
        bool Dragging = false;
    };

    void BuildBox(FormSurface& surface);
    void BuildHandles(FormSurface& surface);
    void BuildBoxes(FormSurface& surface);
    void BuildOptions(FormSurface& surface);
    void BuildPopUp(FormSurface& surface);
    void ConnectPair(HandlePair& pair, bool horizontal, void (AnalogEditor::*place)());
    // An entry in the pair's box held to what the configuration can store, with a note.
    void TakeEntry(HandlePair& pair, bool output);

    void PlaceEndpoint(HandlePair& pair);
    void PlaceOutput(HandlePair& pair);
    void DragEndpoint(HandlePair& pair, HandleLabel* handle, QPointF position);
    void DragOutput(HandlePair& pair, HandleLabel* handle, QPointF position);
    // An arrow key on the pair's leading handle: the value moves by steps of its box's last
    // decimal within its scale, as a drag would move it.
    void StepPair(HandlePair& pair, bool horizontal, int steps);
    // Where a drag or a key moved a value: its box shows it and the pair is placed.
    void MoveEndpoint(HandlePair& pair, float endpoint);
    void MoveOutput(HandlePair& pair, float output);
    void SetLineEnds(const HandlePair& pair, double x, double y, bool horizontal);

    FormSurface& surface_;
    FormGeometry& geometry_;
    SensorConfig& config_;
    const RangeEditor& range_;

    FormShape* shpAnalogBox_ = nullptr;
    FormLine* linAnalogLeft_ = nullptr;
    FormLine* linAnalogMid_ = nullptr;
    FormLine* linAnalogRight_ = nullptr;
    FormLine* linAnalogNearSetpoint_ = nullptr;
    FormLine* linAnalogFarSetpoint_ = nullptr;
    HandlePair farEndpoint_;  // top pair
    HandlePair nearEndpoint_; // bottom pair
    HandlePair nearOutput_;   // left pair
    HandlePair farOutput_;    // right pair
    OptionLabel* lblAnalogMode_ = nullptr;
    OptionLabel* lblAnalogEchoLoss_ = nullptr;
    OptionLabel* lblAnalogPowerUp_ = nullptr;

    QMenu* popUp_ = nullptr;
    QAction* echoLossNC_ = nullptr;
    QAction* echoLossHigh_ = nullptr;
    QAction* echoLossLow_ = nullptr;
    QAction* powerUpHigh_ = nullptr;
    QAction* powerUpLow_ = nullptr;
};

} // namespace telmora
