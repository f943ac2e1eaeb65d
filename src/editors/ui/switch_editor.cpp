#include "editors/ui/switch_editor.h"

#include "config/number_text.h"
#include "config/option_codes.h"
#include "config/window_texts.h"
#include "editors/entry_limits.h"
#include "editors/handle_layout.h"
#include "editors/ui/range_editor.h"
#include "form/editor_widgets.h"
#include "form/form_geometry.h"
#include "form/form_surface.h"

#include <QAction>
#include <QMenu>

namespace telmora {

namespace {

constexpr double kFirstRowTop = 720;
constexpr double kRowPitch = 480;
constexpr double kRowHeight = 255;

// Tooltips were written one switch at a time and differ in small ways; they are kept as
// the users know them.
struct SwitchTexts {
    const char* ModeTip;
    const char* PowerUpTip;
    const char* EchoLossTip;
};

SwitchTexts TextsOf(int n) {
    switch (n) {
    case 1:
        return {"Click to toggle Hysteresis and Window Modes",
                "Power Up Sw1 state / Click to change", "Echo Loss response / Click to change"};
    case 2:
        return {"Click to toggle Hysteresis and Window Modes",
                "Power Up Sw2 state / Click to change", "Echo Loss response / Click to change"};
    case 3:
        return {"Click to toggle Hysteresis and Window modes",
                "Power up Sw3 state / Click to change", "Echo Loss Response / Click to change"};
    default:
        return {"Click to toggle Hysteresis and Window modes",
                "Power up Sw4 State / Click to change", "Echo Loss Resonse / Click to change"};
    }
}

void ShowHandle(HandleLabel* handle, const QString& side, const QString& caption, QColor colour,
                int n) {
    handle->setText(caption);
    SetBackground(handle, colour);
    handle->setAccessibleName(
        QString("Switch %1 setpoint handle, %2 side: %3").arg(n).arg(side, caption));
}

} // namespace

SwitchEditor::SwitchEditor(int n, FormSurface& surface, FormGeometry& geometry,
                           SensorConfig& config, const RangeEditor& range, QObject* parent)
    : QObject(parent), n_(n), surface_(surface), geometry_(geometry), config_(config),
      range_(range) {
    if (n_ == 1) {
        BuildHeaders(surface);
    }
    BuildRow(surface);
    popUp_ = BuildSwitchPopUp(n_, &surface);
    ConnectEvents();

    SetPolarityNormal();
    SetModeHyst();
    SetEchoLossNC();
    SetPowerUpOff();
}

void SwitchEditor::BuildHeaders(FormSurface& surface) {
    lblModeHeading_ = MakeCaption(&surface, "lblMode", "Mode", Qt::AlignCenter);
    geometry_.Place(lblModeHeading_, {7320, 465, 495, 255});
    lblHystHeading_ = MakeCaption(&surface, "lblHyst", "Hyst/ Wind", Qt::AlignCenter);
    lblHystHeading_->setWordWrap(true);
    geometry_.Place(lblHystHeading_, {7800, 240, 615, 480});
    geometry_.Place(MakeCaption(&surface, "lblSw1EL", "EL", Qt::AlignCenter),
                    {8400, 465, 495, 255});
    geometry_.Place(MakeCaption(&surface, "lblSw1PU", "PU", Qt::AlignCenter),
                    {8880, 465, 495, 255});
}

void SwitchEditor::BuildRow(FormSurface& surface) {
    const double top = kFirstRowTop + kRowPitch * (n_ - 1);
    const QString sw = QString("lblSw%1").arg(n_);
    const SwitchTexts texts = TextsOf(n_);
    const char* handleTip = "Drag to desired setpoint / Right click for options";

    lblCaption_ = MakeCaption(&surface, sw, QString("Switch%1").arg(n_));
    geometry_.Place(lblCaption_, {60, top, 750, kRowHeight});

    // Until the first placement the handles meet in the middle of the bar.
    lblLeft_ = new HandleLabel(&surface, sw + "Left", {}, handleTip);
    geometry_.Place(lblLeft_, {840, top, 3247.5, kRowHeight});
    lblRight_ = new HandleLabel(&surface, sw + "Right", {}, handleTip);
    geometry_.Place(lblRight_, {4087.5, top, 3247.5, kRowHeight});

    txtSetpoint_ =
        new EntryBox(&surface, QString("txtSw%1Setpoint").arg(n_),
                     QString("Switch %1 setpoint").arg(n_), QString("Enter Sw%1 setpoint").arg(n_));
    txtSetpoint_->setText(Qs(DesignWindow().Switch(n_).Setpoint));
    geometry_.Place(txtSetpoint_, {3780, top - 120, 615, 225});
    lblSetpointUnits_ =
        MakeCaption(&surface, sw + "SetpointUnits", "inches", Qt::AlignLeft | Qt::AlignBottom);
    geometry_.Place(lblSetpointUnits_, {4395, top - 240, 615, 255});

    lblMode_ =
        new OptionLabel(&surface, sw + "Mode", QString("Switch %1 mode").arg(n_), texts.ModeTip);
    geometry_.Place(lblMode_, {7320, top, 495, kRowHeight});
    txtHyst_ = new EntryBox(&surface, QString("txtSw%1Hyst").arg(n_),
                            QString("Switch %1 hysteresis or window width").arg(n_),
                            "Enter Hysteresis or Window Width");
    txtHyst_->setText(Qs(DesignWindow().Switch(n_).Hyst));
    geometry_.Place(txtHyst_, {7800, top, 615, kRowHeight});
    lblEchoLoss_ =
        new OptionLabel(&surface, sw + "EchoLoss", QString("Switch %1 echo loss response").arg(n_),
                        texts.EchoLossTip);
    geometry_.Place(lblEchoLoss_, {8400, top, 495, kRowHeight});
    lblPowerUp_ = new OptionLabel(&surface, sw + "PowerUp",
                                  QString("Switch %1 power-up state").arg(n_), texts.PowerUpTip);
    geometry_.Place(lblPowerUp_, {8880, top, 495, kRowHeight});
}

QList<QWidget*> SwitchEditor::FamilyBOnlyWidgets() const {
    QList<QWidget*> widgets;
    if (lblModeHeading_ != nullptr) {
        widgets << lblModeHeading_ << lblHystHeading_;
    }
    if (n_ <= 2) {
        return widgets << lblMode_ << txtHyst_;
    }
    return widgets << lblCaption_ << lblLeft_ << lblRight_ << txtSetpoint_ << lblSetpointUnits_
                   << lblEchoLoss_ << lblPowerUp_ << lblMode_ << txtHyst_;
}

void SwitchEditor::ConnectEvents() {
    connect(txtSetpoint_, &EntryBox::Entered, this, &SwitchEditor::TakeSetpoint);
    connect(txtSetpoint_, &EntryBox::FocusLeft, this, &SwitchEditor::TakeSetpoint);
    connect(txtHyst_, &EntryBox::Entered, this, &SwitchEditor::TakeWidth);
    connect(txtHyst_, &EntryBox::FocusLeft, this, &SwitchEditor::TakeWidth);

    connect(lblMode_, &OptionLabel::Clicked, this,
            [this] { ShowMode(kSwitchMode.AfterClick(lblMode_->text().toStdString())); });
    connect(lblPowerUp_, &OptionLabel::Clicked, this,
            [this] { ShowPowerUp(kSwitchPowerUp.AfterClick(lblPowerUp_->text().toStdString())); });
    connect(lblEchoLoss_, &OptionLabel::Clicked, this, [this] {
        ShowEchoLoss(kSwitchEchoLoss.AfterClick(lblEchoLoss_->text().toStdString()));
    });

    lblLeft_->LeadPair(lblRight_, txtSetpoint_);
    connect(lblLeft_, &HandleLabel::Stepped, this, &SwitchEditor::StepSetpoint);
    connect(lblLeft_, &HandleLabel::MenuAsked, popUp_.Menu,
            [this](QPoint globalPosition) { popUp_.Menu->popup(globalPosition); });
    for (HandleLabel* handle : {lblLeft_, lblRight_}) {
        connect(handle, &HandleLabel::Pressed, this, &SwitchEditor::HandlePressed);
        connect(handle, &HandleLabel::Released, this, [this] { dragging_ = false; });
        connect(handle, &HandleLabel::Moved, this,
                [this, handle](QPointF position) { DragTo(handle, position); });
    }

    connect(popUp_.Polarity, &QAction::triggered, this, &SwitchEditor::ReversePolarity);
    connect(popUp_.EchoLossNc, &QAction::triggered, this, &SwitchEditor::SetEchoLossNC);
    connect(popUp_.EchoLossOff, &QAction::triggered, this, &SwitchEditor::SetEchoLossOff);
    connect(popUp_.EchoLossOn, &QAction::triggered, this, &SwitchEditor::SetEchoLossOn);
    connect(popUp_.PowerUpOn, &QAction::triggered, this, &SwitchEditor::SetPowerUpOn);
    connect(popUp_.PowerUpOff, &QAction::triggered, this, &SwitchEditor::SetPowerUpOff);
    connect(popUp_.ModeHyst, &QAction::triggered, this, &SwitchEditor::SetModeHyst);
    connect(popUp_.ModeWind, &QAction::triggered, this, &SwitchEditor::SetModeWind);
}

void SwitchEditor::Place() {
    const std::string shown = PlacedSetpointText(txtSetpoint_->text().toStdString());
    txtSetpoint_->setText(QString::fromStdString(shown));
    const float setpoint = ReadSingle(shown);

    const BarSpan bar = range_.Bar();
    const float x = DistanceToX(bar, setpoint, range_.ShownMin(), range_.ShownMax());
    const PairLayout layout =
        PlaceHandlePair(x, static_cast<float>(geometry_.Left(lblLeft_)), bar.Right(),
                        static_cast<float>(geometry_.Width(txtSetpoint_)));
    geometry_.SetWidth(lblLeft_, layout.FirstSize);
    geometry_.SetLeft(lblRight_, layout.SecondStart);
    geometry_.SetWidth(lblRight_, layout.SecondSize);
    geometry_.SetLeft(txtSetpoint_, layout.BoxStart);
    geometry_.SetLeft(lblSetpointUnits_, layout.UnitsStart);
}

void SwitchEditor::HandlePressed(Qt::MouseButton button, QPoint globalPosition) {
    if (button == Qt::RightButton) {
        popUp_.Menu->popup(globalPosition);
        return;
    }
    dragging_ = true;
}

// The pointer's place on the window is taken from where the handle really stands on the
// screen, so a handle rounded to whole pixels does not shift the setpoint.
void SwitchEditor::DragTo(HandleLabel* handle, QPointF position) {
    if (!dragging_) {
        return;
    }
    const double pointer = geometry_.PixelsToTwips(handle->mapTo(&surface_, position)).x();
    const float setpoint =
        DraggedDistance(range_.Bar(), 0, static_cast<float>(pointer), range_.ShownMin(),
                        range_.ShownMax(), static_cast<float>(geometry_.Left(lblLeft_)));
    MoveSetpoint(setpoint);
}

void SwitchEditor::StepSetpoint(int steps) {
    MoveSetpoint(SteppedValue(ReadSingle(txtSetpoint_->text().toStdString()), steps, 2,
                              range_.ShownMin(), range_.ShownMax()));
}

void SwitchEditor::MoveSetpoint(float setpoint) {
    txtSetpoint_->setText(QString::fromStdString(FormatTwoDecimals(setpoint)));
    Place();
}

float SwitchEditor::Limited(const QString& name, float entry) {
    const EntryOutcome outcome = DistanceEntry(name.toStdString(), entry, range_.ShownMax());
    if (!outcome.Note.empty()) {
        emit LimitNoted(QString::fromStdString(outcome.Note));
    }
    return outcome.Value;
}

void SwitchEditor::TakeSetpoint() {
    const float entry = ReadSingle(txtSetpoint_->text().toStdString());
    const float setpoint = Limited(QString("Switch %1 setpoint").arg(n_), entry);
    if (setpoint != entry) {
        txtSetpoint_->setText(QString::fromStdString(FormatTwoDecimals(setpoint)));
    }
    Place();
}

void SwitchEditor::TakeWidth() {
    float& hyst = Switch(config_, n_).Hyst;
    hyst = Limited(QString("Switch %1 width").arg(n_), ReadSingle(txtHyst_->text().toStdString()));
    txtHyst_->setText(QString::fromStdString(FormatTwoDecimals(hyst)));
}

void SwitchEditor::ShowMode(SwitchMode mode) {
    const bool wind = mode == SwitchMode::Wind;
    lblMode_->Show(Qs(kSwitchMode.Caption(mode)), wind ? kEditorMagenta : kEditorCyan,
                   Qs(kSwitchMode.Meaning(mode)));
    popUp_.ModeHyst->setChecked(!wind);
    popUp_.ModeWind->setChecked(wind);
}

void SwitchEditor::ShowPowerUp(SwitchPowerUp state) {
    const bool on = state == SwitchPowerUp::On;
    lblPowerUp_->Show(Qs(kSwitchPowerUp.Caption(state)), on ? kEditorRed : kEditorGreen,
                      Qs(kSwitchPowerUp.Meaning(state)));
    popUp_.PowerUpOn->setChecked(on);
    popUp_.PowerUpOff->setChecked(!on);
}

void SwitchEditor::ShowEchoLoss(SwitchEchoLoss response) {
    const QColor colour = response == SwitchEchoLoss::NC   ? kEditorYellow
                          : response == SwitchEchoLoss::On ? kEditorRed
                                                           : kEditorGreen;
    lblEchoLoss_->Show(Qs(kSwitchEchoLoss.Caption(response)), colour,
                       Qs(kSwitchEchoLoss.Meaning(response)));
    popUp_.EchoLossNc->setChecked(response == SwitchEchoLoss::NC);
    popUp_.EchoLossOff->setChecked(response == SwitchEchoLoss::Off);
    popUp_.EchoLossOn->setChecked(response == SwitchEchoLoss::On);
}

void SwitchEditor::ShowPolarity(SwitchPolarity polarity) {
    const bool normal = polarity == SwitchPolarity::Normal;
    ShowHandle(lblLeft_, "near", Qs(kSwitchPolarity.Caption(polarity)),
               normal ? kEditorGreen : kEditorRed, n_);
    ShowHandle(lblRight_, "far", Qs(FarHandleCaption(polarity)), normal ? kEditorRed : kEditorGreen,
               n_);
}

void SwitchEditor::ReversePolarity() {
    ShowPolarity(kSwitchPolarity.AfterClick(lblLeft_->text().toStdString()));
}

} // namespace telmora
