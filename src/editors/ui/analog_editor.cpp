#include "editors/ui/analog_editor.h"

#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"
#include "config/number_text.h"
#include "form/editor_widgets.h"
#include "editors/handle_layout.h"
#include "editors/option_cycles.h"
#include "editors/ui/range_editor.h"

#include <QAction>
#include <QLabel>

namespace telmora {

namespace {

QString Qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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
    const std::string text = pair.box->text().toStdString();
    if (IsNumberText(text)) {
        pair.box->setText(QString::fromStdString(FormatTwoDecimals(ReadSingle(text))));
    }
    const BarSpan bar = range_.Bar();
    const float x = DistanceToX(bar, Read(pair.box), range_.ShownMin(), range_.ShownMax());
    const PairLayout layout =
        PlaceHandlePair(x, static_cast<float>(geometry_.Left(pair.first)), bar.right(),
                        static_cast<float>(geometry_.Width(pair.box)));
    geometry_.SetWidth(pair.first, layout.firstSize);
    geometry_.SetLeft(pair.second, layout.secondStart);
    geometry_.SetWidth(pair.second, layout.secondSize);
    geometry_.SetLeft(pair.box, layout.boxStart);
    geometry_.SetLeft(pair.units, layout.unitsStart);
    SetLineEnds(pair, x, 0, true);
}

void AnalogEditor::PlaceOutput(HandlePair& pair) {
    const float limited =
        LimitOutput(Read(pair.box), config_.AnalogOutputMin, config_.AnalogOutputMax);
    pair.box->setText(QString::fromStdString(FormatOneDecimal(limited)));

    const OutputSpan scale{static_cast<float>(geometry_.Top(shpAnalogBox_)),
                           static_cast<float>(geometry_.Height(shpAnalogBox_))};
    const float y =
        OutputToY(scale, Read(pair.box), config_.AnalogOutputMin, config_.AnalogOutputMax);
    // The upper handle keeps its top on the box's top edge.
    const PairLayout layout = PlaceHandlePair(y, scale.top, scale.bottom(),
                                              static_cast<float>(geometry_.Height(pair.box)));
    geometry_.SetHeight(pair.first, layout.firstSize);
    geometry_.SetTop(pair.second, layout.secondStart);
    geometry_.SetHeight(pair.second, layout.secondSize);
    geometry_.SetTop(pair.box, layout.boxStart);
    geometry_.SetTop(pair.units, layout.unitsStart);
    SetLineEnds(pair, 0, y, false);
}

void AnalogEditor::SetLineEnds(const HandlePair& pair, double x, double y, bool horizontal) {
    for (const LineEnd& end : pair.lineEnds) {
        TwipPoint p =
            end.end == End::Start ? geometry_.LineStart(end.line) : geometry_.LineEnd(end.line);
        if (horizontal) {
            p.x = x;
        } else {
            p.y = y;
        }
        if (end.end == End::Start) {
            geometry_.SetLineStart(end.line, p);
        } else {
            geometry_.SetLineEnd(end.line, p);
        }
    }
}

// The pointer's place on the window is taken from where the handle really stands on the
// screen, so a handle rounded to whole pixels does not shift the value.
void AnalogEditor::DragEndpoint(HandlePair& pair, HandleLabel* handle, QPointF position) {
    if (!pair.dragging) {
        return;
    }
    const double pointer = geometry_.PixelsToTwips(handle->mapTo(&surface_, position)).x();
    const float endpoint =
        DraggedDistance(range_.Bar(), 0, static_cast<float>(pointer), range_.ShownMin(),
                        range_.ShownMax(), static_cast<float>(geometry_.Left(pair.first)));
    pair.box->setText(QString::fromStdString(FormatTwoDecimals(endpoint)));
    PlaceEndpoint(pair);
}

void AnalogEditor::DragOutput(HandlePair& pair, HandleLabel* handle, QPointF position) {
    if (!pair.dragging) {
        return;
    }
    const double pointer = geometry_.PixelsToTwips(handle->mapTo(&surface_, position)).y();
    const OutputSpan scale{static_cast<float>(geometry_.Top(shpAnalogBox_)),
                           static_cast<float>(geometry_.Height(shpAnalogBox_))};
    const float output = DraggedOutput(scale, 0, static_cast<float>(pointer),
                                       config_.AnalogOutputMin, config_.AnalogOutputMax);
    pair.box->setText(QString::fromStdString(FormatOneDecimal(output)));
    PlaceOutput(pair);
}

void AnalogEditor::ChangeAnalogMode() {
    const AnalogMode mode = AnalogModeAfterClick(lblAnalogMode_->text().toStdString());
    if (mode == AnalogMode::Voltage) {
        SetAnalogModeVoltage();
    } else {
        SetAnalogModeCurrent();
    }
    config_.AnalogOutputMax = AnalogOutputMaxFor(mode);
    for (EntryBox* box : {farOutput_.box, nearOutput_.box}) {
        box->setText(QString::fromStdString(FormatGeneral(OutputAfterModeChange(Read(box), mode))));
    }
    PlaceAnalogFarEndpoint();
    PlaceAnalogNearEndpoint();
    PlaceAnalogNearOutput();
    PlaceAnalogFarOutput();
}

void AnalogEditor::SetAnalogModeVoltage() {
    lblAnalogMode_->Show(Qs(Caption(AnalogMode::Voltage)), kEditorRed);
    nearOutput_.units->setText("volts");
    farOutput_.units->setText("volts");
    nearOutput_.units->setAccessibleName("volts");
    farOutput_.units->setAccessibleName("volts");
}

void AnalogEditor::SetAnalogModeCurrent() {
    lblAnalogMode_->Show(Qs(Caption(AnalogMode::Current)), kEditorGreen);
    nearOutput_.units->setText("ma");
    farOutput_.units->setText("ma");
    nearOutput_.units->setAccessibleName("ma");
    farOutput_.units->setAccessibleName("ma");
}

void AnalogEditor::SetAnalogEchoLossNC() {
    lblAnalogEchoLoss_->Show(Qs(Caption(AnalogEchoLoss::NC)), kEditorYellow);
    echoLossNC_->setChecked(true);
    echoLossLow_->setChecked(false);
    echoLossHigh_->setChecked(false);
}

void AnalogEditor::SetAnalogEchoLossLow() {
    lblAnalogEchoLoss_->Show(Qs(Caption(AnalogEchoLoss::Low)), kEditorGreen);
    echoLossLow_->setChecked(true);
    echoLossNC_->setChecked(false);
    echoLossHigh_->setChecked(false);
}

void AnalogEditor::SetAnalogEchoLossHigh() {
    lblAnalogEchoLoss_->Show(Qs(Caption(AnalogEchoLoss::High)), kEditorRed);
    echoLossHigh_->setChecked(true);
    echoLossNC_->setChecked(false);
    echoLossLow_->setChecked(false);
}

void AnalogEditor::SetAnalogPowerUpLow() {
    lblAnalogPowerUp_->Show(Qs(Caption(AnalogPowerUp::Low)), kEditorGreen);
    powerUpLow_->setChecked(true);
    powerUpHigh_->setChecked(false);
}

void AnalogEditor::SetAnalogPowerUpHigh() {
    lblAnalogPowerUp_->Show(Qs(Caption(AnalogPowerUp::High)), kEditorRed);
    powerUpHigh_->setChecked(true);
    powerUpLow_->setChecked(false);
}

} // namespace telmora
