#include "display/ui/live_gauges_view.h"

#include "config/number_text.h"
#include "config/sensor_config.h"
#include "form/display_controls.h"
#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

namespace telmora {

namespace {

// The range bar at the window's design size, for a window that has none.
constexpr double kRangeBarLeft = 840;
constexpr double kRangeBarWidth = 6495;
constexpr double kRangeBarRight = kRangeBarLeft + kRangeBarWidth;

// The marker's row lies between the switch editors and the analog editor.
constexpr TwipRect kFrame1Design{kRangeBarRight, 2580, 855, 615};
constexpr TwipRect kVoltmeterDesign{kRangeBarRight, 3240, 615, 495};

QString ToText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

LiveGaugesView::LiveGaugesView(FormSurface& surface, FormGeometry& geometry,
                               const SensorConfig& config, const EditorControls& editors)
    : QObject(&surface), geometry_(geometry), config_(config), lblRange_(editors.lblRange),
      txtAnalogNearEndpoint_(editors.txtAnalogNearEndpoint),
      txtAnalogFarEndpoint_(editors.txtAnalogFarEndpoint),
      txtAnalogNearOutput_(editors.txtAnalogNearOutput),
      txtAnalogFarOutput_(editors.txtAnalogFarOutput),
      lblAnalogEchoLoss_(editors.lblAnalogEchoLoss) {
    BuildControls(surface);
    // Nothing is measured yet: the marker, its lines and the meter appear with the first
    // reading.
    SetTargetShown(false);
    fraVoltmeter_->setVisible(false);
    timer2_.setInterval(kTimer2IntervalMs);
    connect(&timer2_, &QTimer::timeout, this, &LiveGaugesView::Timer2Timer);
    timer2_.start();
}

void LiveGaugesView::BuildControls(FormSurface& surface) {
    shpKelvoA_ = new FormShape(&surface, "shpKelvoA", FormShape::Kind::Rectangle);
    shpKelvoA_->SetFillColor(QColor(64, 64, 64));
    shpKelvoA_->setAccessibleName("Sensor");
    geometry_.Place(shpKelvoA_, {240, 2737, 360, 300});
    shpEcho_ = new FormShape(&surface, "shpEcho", FormShape::Kind::Oval);
    shpEcho_->SetBorderColor(QColor(0, 0, 160));
    shpEcho_->SetBorderWidth(2);
    shpEcho_->setAccessibleName("Echo");
    geometry_.Place(shpEcho_, {600, 2762, 120, kEchoStartHeight});

    linTargetLineTop_ = new FormLine(&surface, "linTargetLineTop", QColor(0, 0, 255));
    geometry_.PlaceLine(linTargetLineTop_, {kRangeBarRight, 2520}, {kRangeBarRight, 600});
    linTargetLineBottom_ = new FormLine(&surface, "linTargetLineBottom", QColor(0, 0, 255));
    geometry_.PlaceLine(linTargetLineBottom_, {kRangeBarRight, 3240}, {kRangeBarRight, 4680});

    frame1_ = new QFrame(&surface);
    frame1_->setObjectName("Frame1");
    frame1_->setAccessibleName("Target");
    frame1_->setFrameShape(QFrame::Box);
    frame1_->setAutoFillBackground(true);
    geometry_.Place(frame1_, kFrame1Design);
    MakeLabel(frame1_, geometry_, "Label3", "Target", {240, 30, 555, 210});
    txtCurrentDistance_ = MakeValueBox(frame1_, geometry_, "txtCurrentDistance", "Target distance",
                                       {240, 270, 555, 285});
    txtCurrentDistance_->setText(ToText(FormatTwoDecimals(0)));
    // The longest distance a sensor reports has three whole digits.
    FitTextToBox(txtCurrentDistance_, QStringLiteral("888.88"));
    // The pointer at the marker's left edge points at the distance on the range bar.
    const TwipPoint tip{30, 307};
    const TwipPoint pointer[4][2] = {
        {tip, {195, 187}}, {tip, {195, 427}}, {{195, 187}, {195, 427}}, {tip, {195, 307}}};
    const char* pointerNames[4] = {"Line1", "Line2", "Line3", "Line4"};
    for (int i = 0; i < 4; ++i) {
        auto* line = new FormLine(frame1_, pointerNames[i], QColor(0, 0, 255));
        geometry_.PlaceLine(line, pointer[i][0], pointer[i][1]);
    }

    fraVoltmeter_ = new QFrame(&surface);
    fraVoltmeter_->setObjectName("fraVoltmeter");
    fraVoltmeter_->setAccessibleName("Analog output meter");
    geometry_.Place(fraVoltmeter_, kVoltmeterDesign);
    auto* face = new FormShape(fraVoltmeter_, "shpVoltMeter", FormShape::Kind::RoundedRectangle);
    face->SetFillColor(QColor(255, 128, 0));
    geometry_.Place(face, {0, 0, kVoltmeterDesign.Width, kVoltmeterDesign.Height});
    lblVoltMeter_ = MakeLabel(fraVoltmeter_, geometry_, "lblVoltMeter", "20.0",
                              {0, 0, kVoltmeterDesign.Width, kVoltmeterDesign.Height});
    lblVoltMeter_->setAlignment(Qt::AlignCenter);
    lblVoltMeter_->setToolTip("Meter indicating analog output");
    lblVoltMeter_->setAccessibleName("Analog output meter");
    QFont bold = lblVoltMeter_->font();
    bold.setBold(true);
    lblVoltMeter_->setFont(bold);
}

BarSpan LiveGaugesView::RangeBar() const {
    if (!lblRange_.isNull() && geometry_.IsPlaced(lblRange_)) {
        const TwipRect r = geometry_.Rect(lblRange_);
        return {static_cast<float>(r.Left), static_cast<float>(r.Width)};
    }
    return {static_cast<float>(kRangeBarLeft * geometry_.ScaleX()),
            static_cast<float>(kRangeBarWidth * geometry_.ScaleX())};
}

void LiveGaugesView::PlaceMarkerAtRangeEnd() {
    geometry_.SetLeft(frame1_, RangeBar().Right());
}

void LiveGaugesView::ShowCurrentDistance(float distance) {
    ShowValue(txtCurrentDistance_, ToText(FormatTwoDecimals(distance)));
    MarkReadingsFresh();
}

void LiveGaugesView::NoteReading(float distance) {
    noted_ = distance;
    notedForGauges_ = distance;
    MarkReadingsFresh();
}

void LiveGaugesView::ShowNoted(bool gaugesToo) {
    if (noted_) {
        ShowValue(txtCurrentDistance_, ToText(FormatTwoDecimals(*noted_)));
        noted_.reset();
    }
    if (gaugesToo)
        ShowNotedOnGauges();
}

void LiveGaugesView::ShowNotedOnGauges() {
    if (!notedForGauges_)
        return;
    const float distance = *notedForGauges_;
    notedForGauges_.reset();
    UpdateGauges(distance);
}

QWidget* LiveGaugesView::DistanceBox() const {
    return txtCurrentDistance_;
}

void LiveGaugesView::MarkReadingsFresh() {
    lastReading_ = clock_ ? clock_() : QTime::currentTime();
    timer_.NoteReading();
    if (staleShown_) {
        staleShown_ = false;
        emit ReadingsNote({});
    }
}

void LiveGaugesView::UpdateGauges(float distance) {
    const BarSpan bar = RangeBar();
    const float x = DistanceToX(bar, distance, config_.MinRange, config_.MaxRange);
    fraVoltmeter_->setVisible(true);

    if (txtAnalogNearEndpoint_ && txtAnalogFarEndpoint_ && txtAnalogNearOutput_ &&
        txtAnalogFarOutput_ && lblAnalogEchoLoss_) {
        const AnalogCharacteristic analog{ReadNumber(txtAnalogNearEndpoint_->text().toStdString()),
                                          ReadNumber(txtAnalogFarEndpoint_->text().toStdString()),
                                          ReadNumber(txtAnalogNearOutput_->text().toStdString()),
                                          ReadNumber(txtAnalogFarOutput_->text().toStdString())};
        const std::optional<double> value =
            MeterValue(distance, analog, lblAnalogEchoLoss_->text().toStdString());
        if (value) {
            lblVoltMeter_->setText(ToText(FormatOneDecimal(*value)));
        }
    }

    if (distance > 0) {
        geometry_.SetLeft(frame1_, x);
        for (FormLine* line : {linTargetLineTop_, linTargetLineBottom_}) {
            geometry_.SetLineEnds(line, {x, geometry_.LineStart(line).Y},
                                  {x, geometry_.LineEnd(line).Y});
        }
        SetTargetShown(true);
        geometry_.SetLeft(fraVoltmeter_, x);
    } else {
        SetTargetShown(false);
        geometry_.SetLeft(frame1_, bar.Right());
    }
}

void LiveGaugesView::SetTargetShown(bool shown) {
    linTargetLineTop_->setVisible(shown);
    linTargetLineBottom_->setVisible(shown);
    frame1_->setVisible(shown);
}

void LiveGaugesView::Timer2Timer() {
    const TwipRect sensor = geometry_.Rect(shpKelvoA_);
    EchoTrack track;
    track.SensorLeft = sensor.Left;
    track.SensorTop = sensor.Top;
    track.SensorWidth = sensor.Width;
    track.SensorHeight = sensor.Height;
    track.EchoHeight = geometry_.Height(shpEcho_);
    track.TargetLeft = geometry_.Left(frame1_);
    track.RangeBarRight = RangeBar().Right();
    const TickResult tick = timer_.Tick(track);
    if (timer_.ReadingsStale() && !staleShown_) {
        staleShown_ = true;
        emit ReadingsNote("No readings since " + lastReading_.toString("hh:mm:ss"));
    }
    if (tick.HideGauges) {
        SetTargetShown(false);
        geometry_.SetLeft(frame1_, track.RangeBarRight);
        fraVoltmeter_->setVisible(false);
    }
    TwipRect echo = geometry_.Rect(shpEcho_);
    echo.Left = tick.EchoLeft;
    echo.Top = tick.EchoTop;
    echo.Height = tick.EchoHeight;
    geometry_.SetRect(shpEcho_, echo);
}

} // namespace telmora
