#include "editors/ui/analog_editor.h"

#include "config/number_text.h"
#include "config/option_codes.h"
#include "config/window_texts.h"
#include "editors/entry_limits.h"
#include "editors/handle_layout.h"
#include "editors/ui/range_editor.h"
#include "form/editor_widgets.h"
#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"

#include <QAction>
#include <QLabel>

namespace telmora {

namespace {

float Read(const EntryBox* box) {
    return ReadSingle(box->text().toStdString());
}

} // namespace

void AnalogEditor::PlaceAnalogFarEndpoint() {
    PlaceEndpoint(farEndpoint_);
}
void AnalogEditor::PlaceAnalogNearEndpoint() {
    PlaceEndpoint(nearEndpoint_);
}
void AnalogEditor::PlaceAnalogNearOutput() {
    PlaceOutput(nearOutput_);
}
void AnalogEditor::PlaceAnalogFarOutput() {
    PlaceOutput(farOutput_);
}

void AnalogEditor::PlaceEndpoint(HandlePair& pair) {
    pair.Box->setText(QString::fromStdString(PlacedEndpointText(pair.Box->text().toStdString())));
    const BarSpan bar = range_.Bar();
    const float x = DistanceToX(bar, Read(pair.Box), range_.ShownMin(), range_.ShownMax());
    const PairLayout layout =
        PlaceHandlePair(x, static_cast<float>(geometry_.Left(pair.First)), bar.Right(),
                        static_cast<float>(geometry_.Width(pair.Box)));
    geometry_.SetWidth(pair.First, layout.FirstSize);
    geometry_.SetLeft(pair.Second, layout.SecondStart);
    geometry_.SetWidth(pair.Second, layout.SecondSize);
    geometry_.SetLeft(pair.Box, layout.BoxStart);
    geometry_.SetLeft(pair.Units, layout.UnitsStart);
    SetLineEnds(pair, x, 0, true);
}

void AnalogEditor::TakeEntry(HandlePair& pair, bool output) {
    const float entry = Read(pair.Box);
    const char* name = &pair == &nearEndpoint_  ? "Analog near endpoint"
                       : &pair == &farEndpoint_ ? "Analog far endpoint"
                       : &pair == &nearOutput_  ? "Analog near output"
                                                : "Analog far output";
    const EntryOutcome outcome =
        output ? OutputEntry(name, entry, config_.AnalogOutputMin, config_.AnalogOutputMax,
                             pair.Units->text().toStdString())
               : DistanceEntry(name, entry, range_.ShownMax());
    if (outcome.Note.empty()) {
        return;
    }
    if (!output) { // the output placement itself holds an output within the scale
        pair.Box->setText(QString::fromStdString(FormatTwoDecimals(outcome.Value)));
    }
    emit LimitNoted(QString::fromStdString(outcome.Note));
}

void AnalogEditor::PlaceOutput(HandlePair& pair) {
    pair.Box->setText(QString::fromStdString(PlacedOutputText(
        pair.Box->text().toStdString(), config_.AnalogOutputMin, config_.AnalogOutputMax)));

    const OutputSpan scale{static_cast<float>(geometry_.Top(shpAnalogBox_)),
                           static_cast<float>(geometry_.Height(shpAnalogBox_))};
    const float y =
        OutputToY(scale, Read(pair.Box), config_.AnalogOutputMin, config_.AnalogOutputMax);
    // The upper handle keeps its top on the box's top edge.
    const PairLayout layout = PlaceHandlePair(y, scale.Top, scale.Bottom(),
                                              static_cast<float>(geometry_.Height(pair.Box)));
    geometry_.SetHeight(pair.First, layout.FirstSize);
    geometry_.SetTop(pair.Second, layout.SecondStart);
    geometry_.SetHeight(pair.Second, layout.SecondSize);
    geometry_.SetTop(pair.Box, layout.BoxStart);
    geometry_.SetTop(pair.Units, layout.UnitsStart);
    SetLineEnds(pair, 0, y, false);
}

void AnalogEditor::SetLineEnds(const HandlePair& pair, double x, double y, bool horizontal) {
    for (const LineEnd& end : pair.LineEnds) {
        TwipPoint p =
            end.End == End::Start ? geometry_.LineStart(end.Line) : geometry_.LineEnd(end.Line);
        if (horizontal) {
            p.X = x;
        } else {
            p.Y = y;
        }
        if (end.End == End::Start) {
            geometry_.SetLineStart(end.Line, p);
        } else {
            geometry_.SetLineEnd(end.Line, p);
        }
    }
}

// The pointer's place on the window is taken from where the handle really stands on the
// screen, so a handle rounded to whole pixels does not shift the value.
void AnalogEditor::DragEndpoint(HandlePair& pair, HandleLabel* handle, QPointF position) {
    if (!pair.Dragging) {
        return;
    }
    const double pointer = geometry_.PixelsToTwips(handle->mapTo(&surface_, position)).x();
    const float endpoint =
        DraggedDistance(range_.Bar(), 0, static_cast<float>(pointer), range_.ShownMin(),
                        range_.ShownMax(), static_cast<float>(geometry_.Left(pair.First)));
    MoveEndpoint(pair, endpoint);
}

void AnalogEditor::MoveEndpoint(HandlePair& pair, float endpoint) {
    pair.Box->setText(QString::fromStdString(FormatTwoDecimals(endpoint)));
    PlaceEndpoint(pair);
}

void AnalogEditor::DragOutput(HandlePair& pair, HandleLabel* handle, QPointF position) {
    if (!pair.Dragging) {
        return;
    }
    const double pointer = geometry_.PixelsToTwips(handle->mapTo(&surface_, position)).y();
    const OutputSpan scale{static_cast<float>(geometry_.Top(shpAnalogBox_)),
                           static_cast<float>(geometry_.Height(shpAnalogBox_))};
    const float output = DraggedOutput(scale, 0, static_cast<float>(pointer),
                                       config_.AnalogOutputMin, config_.AnalogOutputMax);
    MoveOutput(pair, output);
}

void AnalogEditor::MoveOutput(HandlePair& pair, float output) {
    pair.Box->setText(QString::fromStdString(FormatOneDecimal(output)));
    PlaceOutput(pair);
}

void AnalogEditor::StepPair(HandlePair& pair, bool horizontal, int steps) {
    const float value = Read(pair.Box);
    if (horizontal) {
        MoveEndpoint(pair, SteppedValue(value, steps, 2, range_.ShownMin(), range_.ShownMax()));
    } else {
        MoveOutput(pair,
                   SteppedValue(value, steps, 1, config_.AnalogOutputMin, config_.AnalogOutputMax));
    }
}

void AnalogEditor::ChangeAnalogMode() {
    const AnalogMode mode = kAnalogMode.AfterClick(lblAnalogMode_->text().toStdString());
    ShowAnalogMode(mode);
    config_.AnalogOutputMax = AnalogOutputMaxFor(mode);
    for (EntryBox* box : {farOutput_.Box, nearOutput_.Box}) {
        box->setText(QString::fromStdString(FormatGeneral(OutputAfterModeChange(Read(box), mode))));
    }
    PlaceAnalogFarEndpoint();
    PlaceAnalogNearEndpoint();
    PlaceAnalogNearOutput();
    PlaceAnalogFarOutput();
}

void AnalogEditor::ShowAnalogMode(AnalogMode mode) {
    const bool voltage = mode == AnalogMode::Voltage;
    lblAnalogMode_->Show(Qs(kAnalogMode.Caption(mode)), voltage ? kEditorRed : kEditorGreen,
                         Qs(kAnalogMode.Meaning(mode)));
    const QString units = voltage ? "volts" : "ma";
    for (QLabel* label : {nearOutput_.Units, farOutput_.Units}) {
        label->setText(units);
        label->setAccessibleName(units);
    }
}

void AnalogEditor::ShowAnalogEchoLoss(AnalogEchoLoss response) {
    const QColor colour = response == AnalogEchoLoss::NC    ? kEditorYellow
                          : response == AnalogEchoLoss::Low ? kEditorGreen
                                                            : kEditorRed;
    lblAnalogEchoLoss_->Show(Qs(kAnalogEchoLoss.Caption(response)), colour,
                             Qs(kAnalogEchoLoss.Meaning(response)));
    echoLossNC_->setChecked(response == AnalogEchoLoss::NC);
    echoLossLow_->setChecked(response == AnalogEchoLoss::Low);
    echoLossHigh_->setChecked(response == AnalogEchoLoss::High);
}

void AnalogEditor::ShowAnalogPowerUp(AnalogPowerUp level) {
    const bool high = level == AnalogPowerUp::High;
    lblAnalogPowerUp_->Show(Qs(kAnalogPowerUp.Caption(level)), high ? kEditorRed : kEditorGreen,
                            Qs(kAnalogPowerUp.Meaning(level)));
    powerUpHigh_->setChecked(high);
    powerUpLow_->setChecked(!high);
}

} // namespace telmora
