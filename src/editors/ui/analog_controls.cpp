// Construction of the analog output area: its drawing, handles, boxes, option labels and
// pop-up menu. The operations live in analog_editor.cpp.
#include "editors/ui/analog_editor.h"

#include "config/option_codes.h"
#include "config/window_texts.h"
#include "form/editor_widgets.h"
#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"

#include <QAction>
#include <QMenu>

namespace telmora {

namespace {

HandleLabel* MakeHandle(FormSurface& surface, FormGeometry& geometry, const char* name,
                        const QString& accessibleName, const char* toolTip, TwipRect design,
                        Qt::CursorShape cursor) {
    auto* handle = new HandleLabel(&surface, name, accessibleName, toolTip);
    SetBackground(handle, kEditorOrange);
    handle->setCursor(cursor);
    geometry.Place(handle, design);
    return handle;
}

// The corners close the orange frame the handles make around the box; they are drawings.
void MakeCorner(FormSurface& surface, FormGeometry& geometry, const char* name, TwipRect design) {
    auto* corner = new FormShape(&surface, name, FormShape::Kind::Rectangle);
    corner->SetFillColor(kEditorOrange);
    corner->SetBorderWidth(0);
    geometry.Place(corner, design);
}

QAction* AddCheckable(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(true);
    return action;
}

} // namespace

AnalogEditor::AnalogEditor(FormSurface& surface, FormGeometry& geometry, SensorConfig& config,
                           const RangeEditor& range, QObject* parent)
    : QObject(parent), surface_(surface), geometry_(geometry), config_(config), range_(range) {
    BuildBox(surface);
    BuildHandles(surface);
    BuildBoxes(surface);
    BuildOptions(surface);
    BuildPopUp(surface);
    ConnectPair(farEndpoint_, true, &AnalogEditor::PlaceAnalogFarEndpoint);
    ConnectPair(nearEndpoint_, true, &AnalogEditor::PlaceAnalogNearEndpoint);
    ConnectPair(nearOutput_, false, &AnalogEditor::PlaceAnalogNearOutput);
    ConnectPair(farOutput_, false, &AnalogEditor::PlaceAnalogFarOutput);

    SetAnalogEchoLossNC();
    // The design's captions: the mode's without its units, and a power-up caption no level
    // has.
    const WindowTexts design = DesignWindow();
    lblAnalogMode_->Show(Qs(design.AnalogMode), kEditorRed);
    lblAnalogPowerUp_->Show(Qs(design.AnalogPowerUp), kEditorGreen);
}

void AnalogEditor::BuildBox(FormSurface& surface) {
    // The backdrop takes the right clicks of the whole area; the drawings above it let
    // clicks through.
    auto* back =
        new HandleLabel(&surface, "lblAnalogBack", "Analog output", "Right click for options");
    back->unsetCursor();
    geometry_.Place(back, {600, 3240, 6975, 1455});
    connect(back, &HandleLabel::Pressed, this, [this](Qt::MouseButton button, QPoint global) {
        if (button == Qt::RightButton) {
            popUp_->popup(global);
        }
    });

    auto* outer = new FormShape(&surface, "shpAnalogBox2", FormShape::Kind::Rectangle);
    geometry_.Place(outer, {720, 3480, 6735, 975});
    shpAnalogBox_ = new FormShape(&surface, "shpAnalogBox", FormShape::Kind::Rectangle);
    shpAnalogBox_->SetFillColor(Qt::white);
    geometry_.Place(shpAnalogBox_, {840, 3600, 6495, 735});

    linAnalogNearSetpoint_ = new FormLine(&surface, "linAnalogNearSetpoint", kEditorGreen);
    geometry_.PlaceLine(linAnalogNearSetpoint_, {2160, 3480}, {2160, 4440});
    linAnalogFarSetpoint_ = new FormLine(&surface, "linAnalogFarSetpoint", kEditorGreen);
    geometry_.PlaceLine(linAnalogFarSetpoint_, {4440, 3480}, {4440, 4440});
    linAnalogLeft_ = new FormLine(&surface, "linAnalogLeft", kEditorRed, 2);
    geometry_.PlaceLine(linAnalogLeft_, {720, 4080}, {2160, 4080});
    linAnalogMid_ = new FormLine(&surface, "linAnalogMid", kEditorRed, 2);
    geometry_.PlaceLine(linAnalogMid_, {2160, 4080}, {4440, 3600});
    linAnalogRight_ = new FormLine(&surface, "linAnalogRight", kEditorRed, 2);
    geometry_.PlaceLine(linAnalogRight_, {4440, 3600}, {7440, 3600});
}

void AnalogEditor::BuildHandles(FormSurface& surface) {
    FormGeometry& g = geometry_;
    farEndpoint_.First = MakeHandle(
        surface, g, "lblAnalogTopLeft", "Analog far endpoint handle, left part",
        "Drag to desired analog far endpoint", {840, 3360, 2655, 135}, Qt::SizeHorCursor);
    farEndpoint_.Second = MakeHandle(
        surface, g, "lblAnalogTopRight", "Analog far endpoint handle, right part",
        "Drag to desired analog far enpoint", {3480, 3360, 3855, 135}, Qt::SizeHorCursor);
    nearEndpoint_.First = MakeHandle(
        surface, g, "lblAnalogBottomLeft", "Analog near endpoint handle, left part",
        "Drag to desired analog near endpoint", {840, 4440, 2655, 135}, Qt::SizeHorCursor);
    nearEndpoint_.Second = MakeHandle(
        surface, g, "lblAnalogBottomRight", "Analog near endpoint handle, right part",
        "Drag to desired analog near setpoint", {3480, 4440, 3855, 135}, Qt::SizeHorCursor);
    nearOutput_.First = MakeHandle(surface, g, "lblAnalogLeftTop",
                                   "Analog output at near endpoint handle, upper part", nullptr,
                                   {600, 3600, 135, 615}, Qt::SizeVerCursor);
    nearOutput_.Second = MakeHandle(surface, g, "lblAnalogLeftBottom",
                                    "Analog output at near endpoint handle, lower part", nullptr,
                                    {600, 4200, 135, 135}, Qt::SizeVerCursor);
    farOutput_.First = MakeHandle(surface, g, "lblAnalogRightTop",
                                  "Analog output at far endpoint handle, upper part", nullptr,
                                  {7440, 3600, 135, 375}, Qt::SizeVerCursor);
    farOutput_.Second = MakeHandle(surface, g, "lblAnalogRightBottom",
                                   "Analog output at far endpoint handle, lower part", nullptr,
                                   {7440, 3960, 135, 375}, Qt::SizeVerCursor);

    MakeCorner(surface, g, "lblATL", {600, 3360, 240, 135});
    MakeCorner(surface, g, "lblATR", {7335, 3360, 240, 135});
    MakeCorner(surface, g, "lblABL", {600, 4440, 240, 135});
    MakeCorner(surface, g, "lblABR", {7335, 4440, 240, 135});
    MakeCorner(surface, g, "lblALT", {600, 3360, 135, 240});
    MakeCorner(surface, g, "lblALB", {600, 4335, 135, 240});
    MakeCorner(surface, g, "lblART", {7440, 3360, 135, 240});
    MakeCorner(surface, g, "lblARB", {7440, 4335, 135, 240});

    farEndpoint_.LineEnds = {{linAnalogMid_, End::Finish},
                             {linAnalogRight_, End::Start},
                             {linAnalogFarSetpoint_, End::Start},
                             {linAnalogFarSetpoint_, End::Finish}};
    nearEndpoint_.LineEnds = {{linAnalogLeft_, End::Finish},
                              {linAnalogMid_, End::Start},
                              {linAnalogNearSetpoint_, End::Start},
                              {linAnalogNearSetpoint_, End::Finish}};
    nearOutput_.LineEnds = {
        {linAnalogLeft_, End::Start}, {linAnalogLeft_, End::Finish}, {linAnalogMid_, End::Start}};
    farOutput_.LineEnds = {{linAnalogRight_, End::Start},
                           {linAnalogRight_, End::Finish},
                           {linAnalogMid_, End::Finish}};
}

void AnalogEditor::BuildBoxes(FormSurface& surface) {
    const Qt::Alignment unitAlign = Qt::AlignLeft | Qt::AlignVCenter;
    nearEndpoint_.Box = new EntryBox(&surface, "txtAnalogNearEndpoint", "Analog near endpoint",
                                     "Enter analog near endpoint");
    geometry_.Place(nearEndpoint_.Box, {1560, 4560, 615, 285});
    nearEndpoint_.Units = MakeCaption(&surface, "lblAnalogNearEndpointUnits", "inches", unitAlign);
    geometry_.Place(nearEndpoint_.Units, {2160, 4560, 615, 255});

    farEndpoint_.Box = new EntryBox(&surface, "txtAnalogFarEndpoint", "Analog far endpoint",
                                    "Enter analog far endpoint");
    geometry_.Place(farEndpoint_.Box, {5760, 3120, 615, 285});
    farEndpoint_.Units = MakeCaption(&surface, "lblAnalogFarEndpointUnits", "inches", unitAlign);
    geometry_.Place(farEndpoint_.Units, {6360, 3120, 615, 255});

    nearOutput_.Box =
        new EntryBox(&surface, "txtAnalogNearOutput", "Analog output at near endpoint",
                     "Enter analog output at near endpoint");
    nearOutput_.Box->setText(Qs(DesignWindow().AnalogNearOutput));
    geometry_.Place(nearOutput_.Box, {120, 3720, 495, 285});
    nearOutput_.Units = MakeCaption(&surface, "lblAnalogNearOutputUnits", "ma", unitAlign);
    geometry_.Place(nearOutput_.Units, {120, 3960, 375, 255});

    farOutput_.Box = new EntryBox(&surface, "txtAnalogFarOutput", "Analog output at far endpoint",
                                  "Enter analog output at far endpoint");
    farOutput_.Box->setText(Qs(DesignWindow().AnalogFarOutput));
    geometry_.Place(farOutput_.Box, {7560, 3480, 495, 285});
    farOutput_.Units = MakeCaption(&surface, "lblAnalogFarOutputUnits", "ma", unitAlign);
    geometry_.Place(farOutput_.Units, {7560, 3720, 375, 255});
}

void AnalogEditor::BuildOptions(FormSurface& surface) {
    const Qt::Alignment centre = Qt::AlignCenter;
    geometry_.Place(MakeCaption(&surface, "lblAmode", "Mode", centre), {8520, 3840, 735, 255});
    lblAnalogMode_ = new OptionLabel(&surface, "lblAnalogMode", "Analog output mode",
                                     "Click to change between voltage and current output");
    geometry_.Place(lblAnalogMode_, {8520, 4080, 735, 255});
    geometry_.Place(MakeCaption(&surface, "lblAnalogEL", "EL", centre), {8400, 3240, 495, 255});
    lblAnalogEchoLoss_ = new OptionLabel(&surface, "lblAnalogEchoLoss", "Analog echo loss response",
                                         "Analog Echo Loss response / Click to change");
    geometry_.Place(lblAnalogEchoLoss_, {8400, 3480, 495, 255});
    geometry_.Place(MakeCaption(&surface, "lblAnalogPU", "PU", centre), {8880, 3240, 495, 255});
    lblAnalogPowerUp_ = new OptionLabel(&surface, "lblAnalogPowerUp", "Analog power-up state",
                                        "Analog Power Up state / Click to change");
    geometry_.Place(lblAnalogPowerUp_, {8880, 3480, 495, 255});

    connect(lblAnalogMode_, &OptionLabel::Clicked, this, &AnalogEditor::ChangeAnalogMode);
    connect(lblAnalogEchoLoss_, &OptionLabel::Clicked, this, [this] {
        ShowAnalogEchoLoss(kAnalogEchoLoss.AfterClick(lblAnalogEchoLoss_->text().toStdString()));
    });
    connect(lblAnalogPowerUp_, &OptionLabel::Clicked, this, [this] {
        ShowAnalogPowerUp(kAnalogPowerUp.AfterClick(lblAnalogPowerUp_->text().toStdString()));
    });
}

void AnalogEditor::BuildPopUp(FormSurface& surface) {
    popUp_ = new QMenu("AnalogPopUp", &surface);
    popUp_->setObjectName("mnuAnalogPopUp");
    popUp_->setAccessibleName("Analog output options");
    QMenu* echoLoss = popUp_->addMenu("&Echo Loss Response");
    echoLoss->setObjectName("mnuAnalogEchoLoss");
    echoLoss->menuAction()->setObjectName("mnuAnalogEchoLoss");
    echoLossNC_ = AddCheckable(echoLoss, "mnuAnalogEchoLossNC", "No &Change");
    echoLossHigh_ =
        AddCheckable(echoLoss, "mnuAnalogEchoLossHigh",
                     WithAccessKey(Qs(kAnalogEchoLoss.Caption(AnalogEchoLoss::High)), 'h'));
    echoLossLow_ =
        AddCheckable(echoLoss, "mnuAnalogEchoLossLow",
                     WithAccessKey(Qs(kAnalogEchoLoss.Caption(AnalogEchoLoss::Low)), 'l'));
    popUp_->addSeparator()->setObjectName("mnusep7");
    QMenu* powerUp = popUp_->addMenu("&Power Up State");
    powerUp->setObjectName("mnuAnalogPowerUp");
    powerUp->menuAction()->setObjectName("mnuAnalogPowerUp");
    powerUpHigh_ =
        AddCheckable(powerUp, "mnuAnalogPowerUpHigh",
                     WithAccessKey(Qs(kAnalogPowerUp.Caption(AnalogPowerUp::High)), 'h'));
    powerUpLow_ = AddCheckable(powerUp, "mnuAnalogPowerUpLow",
                               WithAccessKey(Qs(kAnalogPowerUp.Caption(AnalogPowerUp::Low)), 'l'));

    connect(echoLossNC_, &QAction::triggered, this, &AnalogEditor::SetAnalogEchoLossNC);
    connect(echoLossLow_, &QAction::triggered, this, &AnalogEditor::SetAnalogEchoLossLow);
    connect(echoLossHigh_, &QAction::triggered, this, &AnalogEditor::SetAnalogEchoLossHigh);
    connect(powerUpLow_, &QAction::triggered, this, &AnalogEditor::SetAnalogPowerUpLow);
    connect(powerUpHigh_, &QAction::triggered, this, &AnalogEditor::SetAnalogPowerUpHigh);
}

void AnalogEditor::ConnectPair(HandlePair& pair, bool horizontal, void (AnalogEditor::*place)()) {
    const auto take = [this, &pair, horizontal, place] {
        TakeEntry(pair, !horizontal);
        (this->*place)();
    };
    connect(pair.Box, &EntryBox::Entered, this, take);
    connect(pair.Box, &EntryBox::FocusLeft, this, take);
    pair.First->LeadPair(pair.Second, pair.Box);
    connect(pair.First, &HandleLabel::Stepped, this,
            [this, &pair, horizontal](int steps) { StepPair(pair, horizontal, steps); });
    // The area's pop-up, which the mouse opens on the backdrop, opens from any pair.
    connect(pair.First, &HandleLabel::MenuAsked, popUp_,
            [this](QPoint globalPosition) { popUp_->popup(globalPosition); });
    // Any button starts a drag here, the right one included; the area's pop-up opens only
    // from the backdrop.
    for (HandleLabel* handle : {pair.First, pair.Second}) {
        connect(handle, &HandleLabel::Pressed, this, [&pair] { pair.Dragging = true; });
        connect(handle, &HandleLabel::Released, this, [&pair] { pair.Dragging = false; });
        connect(handle, &HandleLabel::Moved, this,
                [this, &pair, handle, horizontal](QPointF position) {
                    if (horizontal) {
                        DragEndpoint(pair, handle, position);
                    } else {
                        DragOutput(pair, handle, position);
                    }
                });
    }
}

} // namespace telmora
